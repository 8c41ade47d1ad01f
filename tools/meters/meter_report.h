// The meter listing of one record file, for the operator (text) and for machines (JSON).
#pragma once

#include <string>
#include <vector>

#include "engines/control/counter_meanings.h"
#include "meter_figures.h"

struct MeterReport {
    std::string path;
    RecordReading reading;  // a file that could be opened and read (no failure)
    MeterFigures figures;
    std::vector<std::string> warnings;
};

MeterReport MakeReport(const std::string& path, const RecordReading& reading);

// Header and warnings, both balances with their bands, every counter on a line of its own that
// begins with its index (grouped: games sold, question round, ball game, wins, offers, playing
// time), then the figures. A file too short to load gets the header and warnings only.
std::string TextReport(const MeterReport& report);

// One JSON object: file, size, date, warnings, balances with bands, the 181 counters in index
// order as {index, value, meaning, group, unit, in_file}, and the figures.
std::string JsonReport(const MeterReport& report);

// What a counter's value is in: "count", "pence" or "seconds".
const char* UnitName(CounterUnit unit);
