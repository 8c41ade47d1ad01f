// The cabinet's figures in the Prometheus text format (version 0.0.4), for a monitoring system
// that scrapes many cabinets.
#pragma once

#include <optional>
#include <string>

#include "account.h"
#include "meter_report.h"

struct MetricsInput {
    // The record file's report when the file could be read and loaded; nothing otherwise.
    const MeterReport* record = nullptr;
    bool recordOk = false;          // read, loaded and without any warning
    std::optional<Balances> money;  // nothing when the ledger could not be read
    bool gameRunning = false;
};

std::string MetricsText(const MetricsInput& input);

// A label value escaped as the text format wants it (backslash, double quote, line feed).
std::string LabelValue(const std::string& text);
