// The picture of a run's payout over its games, drawn by payout-plot.py (matplotlib) from the CSV.
#pragma once

#include <string>

// Draws the series of `csvPath` into the PNG `pngPath`. False with a message when it fails.
bool DrawPayoutPlot(const std::string& csvPath, const std::string& pngPath, std::string& error);
