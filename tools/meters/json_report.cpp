#include <string>

#include "engines/control/counter_meanings.h"
#include "json_text.h"
#include "meter_report.h"

namespace {

std::string Field(const char* name, const std::string& value) {
    return JsonString(name) + ":" + value;
}

std::string Integer(int64_t value) {
    return std::to_string(value);
}

std::string Warnings(const std::vector<std::string>& warnings) {
    std::string out = "[";
    for (size_t i = 0; i < warnings.size(); ++i)
        out += (i > 0 ? "," : "") + JsonString(warnings[i]);
    return out + "]";
}

std::string Balances(const MeterFigures& figures) {
    std::string out = "[";
    for (int stake = 0; stake < kStakeCount; ++stake) {
        const BalanceFigure& balance = figures.balances[stake];
        out += (stake > 0 ? "," : "");
        out += "{" + Field("stake_pence", Integer(kStakePence[stake])) + "," +
               Field("balance_pence", JsonNumber(balance.pence)) + "," +
               Field("band", Integer(balance.band)) + "}";
    }
    return out + "]";
}

std::string Counters(const MeterReport& report) {
    std::string out = "[";
    for (int index = 0; index < kCounterCount; ++index) {
        const CounterRange& range = *FindCounterRange(index);
        const bool inFile = static_cast<size_t>(kStakeCount + index) < report.reading.valuesHeld;
        out += (index > 0 ? ",\n  " : "\n  ");
        out += "{" + Field("index", Integer(index)) + "," +
               Field("value", Integer(report.reading.contents.counters[index])) + "," +
               Field("meaning", JsonString(CounterMeaning(index))) + "," +
               Field("group", JsonString(CounterGroupName(range.group))) + "," +
               Field("unit", JsonString(UnitName(range.unit))) + "," +
               Field("in_file", inFile ? "true" : "false") + "}";
    }
    return out + "]";
}

std::string Payout(const PayoutFigures& figure) {
    return Field("games_sold", Integer(figure.gamesSold)) + "," +
           Field("taken_pence", Integer(figure.takenPence)) + "," +
           Field("paid_pence", Integer(figure.paidPence)) + "," +
           Field("payout_percent", JsonNumber(figure.payoutPercent));
}

std::string Figures(const MeterFigures& figures) {
    std::string stakes = "[";
    for (int stake = 0; stake < kStakeCount; ++stake) {
        stakes += (stake > 0 ? "," : "");
        stakes += "{" + Field("stake_pence", Integer(kStakePence[stake])) + "," +
                  Payout(figures.stakes[stake]) + "}";
    }
    stakes += "]";
    return "{" + Field("target_payout_percent", Integer(kTargetPayoutPercent)) + "," +
           Field("stakes", stakes) + "," + Field("overall", "{" + Payout(figures.overall) + "}") +
           "," + Field("playing_seconds", Integer(figures.playingSeconds)) + "," +
           Field("average_game_seconds", JsonNumber(figures.averageGameSeconds)) + "}";
}

}  // namespace

std::string JsonReport(const MeterReport& report) {
    const RecordReading& reading = report.reading;
    const std::string& date = reading.contents.firstWritten;
    std::string out = "{" + Field("file", JsonString(report.path)) + ",\n";
    out += Field("size", Integer(static_cast<int64_t>(reading.fileSize))) + ",\n";
    out += Field("loadable", reading.loadable ? "true" : "false") + ",\n";
    out += Field("first_written", date.empty() ? "null" : JsonString(date)) + ",\n";
    out += Field("warnings", Warnings(report.warnings)) + ",\n";
    if (!reading.loadable) {
        out += Field("balances", "[]") + ",\n" + Field("counters", "[]") + ",\n" +
               Field("figures", "null");
    } else {
        out += Field("balances", Balances(report.figures)) + ",\n";
        out += Field("counters", Counters(report)) + ",\n";
        out += Field("figures", Figures(report.figures));
    }
    return out + "}\n";
}
