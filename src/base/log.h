// The diagnostic log: one plain-text file per run under the working-directory tree, every line
// stamped with the local date and time and flushed at once.
#pragma once

// Creates "~system", "~system/logs" and "~system/upload" in that order, each attempted even when
// an earlier one failed; one that already exists counts as made. 0, or -1 if any failed.
int MakeWorkDirs();

// Opens "~system/logs/Vantor.txt" afresh and writes the start banner. 0, or -1 with logging off.
int LogOpen();

// Writes the time-stamp prefix and the formatted message, flushes, and mirrors the message to
// the debugger output. Does nothing without a format or an open log. Always 0.
int LogPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Closes the log and turns logging off; -1 if it was not open.
int LogClose();

// Accepts developer trace texts and writes nothing anywhere. Always 0.
int Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The version text of the start banner.
extern const char* const kVersionText;
