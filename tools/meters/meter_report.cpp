#include "meter_report.h"

MeterReport MakeReport(const std::string& path, const RecordReading& reading) {
    MeterReport report{path, reading, ComputeFigures(reading.contents), RecordWarnings(reading)};
    return report;
}

const char* UnitName(CounterUnit unit) {
    switch (unit) {
        case CounterUnit::Pence:
            return "pence";
        case CounterUnit::Seconds:
            return "seconds";
        case CounterUnit::Count:
            break;
    }
    return "count";
}
