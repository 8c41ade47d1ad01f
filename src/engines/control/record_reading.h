// Reading a record file by path for inspection (the operator's meter listing), without touching
// it: unlike the start-up load, nothing is deleted or changed, whatever state the file is in.
// The values are decoded exactly as the game decodes them at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engines/control/record_file.h"

struct RecordReading {
    // Why the file could not be read (missing, not a regular file, read error); empty when it was.
    std::string failure;
    uint64_t fileSize = 0;
    // False for a file of 10 bytes or fewer, which the game treats as damaged and deletes.
    bool loadable = false;
    // Whole balances and counters the file holds, 0 to 183; the rest stay zero, as the game
    // starts from zero for values a short file cannot hold.
    size_t valuesHeld = 0;
    // A balance stored as something other than a finite number (the game loads it as 0).
    bool balanceNotFinite[kStakeCount] = {};
    RecordContents contents;
};

inline constexpr size_t kRecordValueCount = kStakeCount + kCounterCount;  // 183

// Reads the record file at `path` (a host path, used as it stands).
RecordReading ReadRecordAt(const std::string& path);
