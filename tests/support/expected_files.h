// The files tests compare a run with (traces, path reports, golden images) and the one switch
// that rewrites them: with VANTOR_UPDATE_EXPECTED=1 in the environment, every comparison writes
// what the run produced over its expected file instead of comparing (README, "Tests").
#pragma once

#include <string>

bool UpdatingExpected();

// Compares the text with the file at `path` below the source tree ("tests/x/expected/y.trace"),
// or rewrites that file under the switch.
void ExpectFileText(const std::string& text, const std::string& path);
