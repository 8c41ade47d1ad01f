#include "metrics_text.h"

#include <cmath>
#include <cstdio>

#include "engines/control/counter_meanings.h"

namespace {

void Family(std::string& out, const char* name, const char* type, const char* help) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

void Sample(std::string& out, const std::string& name, const std::string& labels, double value) {
    char number[64];
    if (std::isfinite(value)) {
        std::snprintf(number, sizeof number, "%.17g", value);
    } else {
        std::snprintf(number, sizeof number, "%s", std::isnan(value) ? "NaN" : "+Inf");
    }
    out += name;
    if (!labels.empty()) out += "{" + labels + "}";
    out += " ";
    out += number;
    out += "\n";
}

std::string StakeLabel(int stake) {
    return "stake=\"" + std::to_string(kStakePence[stake]) + "\"";
}

void RecordFamilies(std::string& out, const MeterReport& report) {
    const MeterFigures& figures = report.figures;
    Family(out, "vantor_meter", "gauge",
           "Each of the 181 counters of the record file, by index, with its meaning.");
    for (int index = 0; index < kCounterCount; ++index) {
        Sample(out, "vantor_meter",
               "index=\"" + std::to_string(index) + "\",name=\"" +
                   LabelValue(CounterMeaning(index)) + "\"",
               report.reading.contents.counters[index]);
    }
    Family(out, "vantor_balance", "gauge",
           "Payout controller balance per stake in pence; above 0 the stake has paid out more "
           "than its target.");
    for (int stake = 0; stake < kStakeCount; ++stake)
        Sample(out, "vantor_balance", StakeLabel(stake), figures.balances[stake].pence);
    Family(out, "vantor_band", "gauge", "Band the game plays each stake in now.");
    for (int stake = 0; stake < kStakeCount; ++stake)
        Sample(out, "vantor_band", StakeLabel(stake), figures.balances[stake].band);
    Family(out, "vantor_games_sold_total", "counter", "Games sold per stake.");
    for (int stake = 0; stake < kStakeCount; ++stake) {
        Sample(out, "vantor_games_sold_total", StakeLabel(stake),
               static_cast<double>(figures.stakes[stake].gamesSold));
    }
    Family(out, "vantor_money_taken_pence_total", "counter",
           "Money taken for games at both stakes, in pence.");
    Sample(out, "vantor_money_taken_pence_total", "",
           static_cast<double>(figures.overall.takenPence));
    Family(out, "vantor_money_paid_pence_total", "counter",
           "Money paid out in winnings at both stakes, in pence (counter 23).");
    Sample(out, "vantor_money_paid_pence_total", "",
           static_cast<double>(figures.overall.paidPence));
}

}  // namespace

std::string LabelValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string MetricsText(const MetricsInput& input) {
    std::string out;
    out.reserve(24 * 1024);
    Family(out, "vantor_record_file_ok", "gauge",
           "1 when the record file was read whole and sound, 0 when it is missing, damaged or "
           "incomplete.");
    Sample(out, "vantor_record_file_ok", "", input.recordOk ? 1 : 0);
    if (input.record) RecordFamilies(out, *input.record);
    Family(out, "vantor_ledger_ok", "gauge", "1 when the credit ledger could be read.");
    Sample(out, "vantor_ledger_ok", "", input.money ? 1 : 0);
    if (input.money) {
        Family(out, "vantor_credit_pence", "gauge", "The player's credit in pence.");
        Sample(out, "vantor_credit_pence", "", input.money->credit);
        Family(out, "vantor_bank_pence", "gauge", "The player's bank in pence.");
        Sample(out, "vantor_bank_pence", "", input.money->bank);
    }
    Family(out, "vantor_game_running", "gauge", "1 when the game program is running.");
    Sample(out, "vantor_game_running", "", input.gameRunning ? 1 : 0);
    return out;
}
