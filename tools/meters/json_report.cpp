#include <nlohmann/json.hpp>

#include <string>

#include "engines/control/counter_meanings.h"
#include "game_text.h"
#include "meter_report.h"

namespace {

using Json = nlohmann::ordered_json;  // fields in the order the listing gives them

// Text for JSON, which must be UTF-8: the game's own texts may be code page 1252.
Json Text(const std::string& text) {
    return Utf8Text(text);
}

// A figure, or null for none (a number that is not finite is written as null too).
Json Figure(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json Warnings(const std::vector<std::string>& warnings) {
    Json list = Json::array();
    for (const std::string& warning : warnings)
        list.push_back(Text(warning));
    return list;
}

Json Balances(const MeterFigures& figures) {
    Json list = Json::array();
    for (int stake = 0; stake < kStakeCount; ++stake) {
        const BalanceFigure& balance = figures.balances[stake];
        list.push_back({{"stake_pence", kStakePence[stake]},
                        {"balance_pence", static_cast<double>(balance.pence)},
                        {"band", balance.band}});
    }
    return list;
}

Json Counters(const MeterReport& report) {
    Json list = Json::array();
    for (int index = 0; index < kCounterCount; ++index) {
        const CounterRange& range = *FindCounterRange(index);
        const bool inFile = static_cast<size_t>(kStakeCount + index) < report.reading.valuesHeld;
        list.push_back({{"index", index},
                        {"value", report.reading.contents.counters[index]},
                        {"meaning", Text(CounterMeaning(index))},
                        {"group", CounterGroupName(range.group)},
                        {"unit", UnitName(range.unit)},
                        {"in_file", inFile}});
    }
    return list;
}

Json Payout(const PayoutFigures& figure) {
    return {{"games_sold", figure.gamesSold},
            {"taken_pence", figure.takenPence},
            {"paid_pence", figure.paidPence},
            {"payout_percent", Figure(figure.payoutPercent)}};
}

Json Figures(const MeterFigures& figures) {
    Json stakes = Json::array();
    for (int stake = 0; stake < kStakeCount; ++stake) {
        Json entry = {{"stake_pence", kStakePence[stake]}};
        entry.update(Payout(figures.stakes[stake]));
        stakes.push_back(entry);
    }
    return {{"target_payout_percent", kTargetPayoutPercent},
            {"stakes", stakes},
            {"overall", Payout(figures.overall)},
            {"playing_seconds", figures.playingSeconds},
            {"average_game_seconds", Figure(figures.averageGameSeconds)}};
}

}  // namespace

std::string JsonReport(const MeterReport& report) {
    const RecordReading& reading = report.reading;
    const std::string& date = reading.contents.firstWritten;
    Json out = {{"file", Text(report.path)},
                {"size", static_cast<int64_t>(reading.fileSize)},
                {"loadable", reading.loadable},
                {"first_written", date.empty() ? Json(nullptr) : Text(date)},
                {"warnings", Warnings(report.warnings)},
                {"negative_counters", NegativeCounters(reading)}};
    if (!reading.loadable) {
        out["balances"] = Json::array();
        out["counters"] = Json::array();
        out["figures"] = nullptr;
    } else {
        out["balances"] = Balances(report.figures);
        out["counters"] = Counters(report);
        out["figures"] = Figures(report.figures);
    }
    // Plain ASCII: anything else is written as \u escapes.
    return out.dump(1, ' ', true) + "\n";
}
