// What a run of the real game needs in its working directory, and what it leaves there.
#pragma once

#include <optional>
#include <string>

#include "engines/control/record_file.h"

// The small content set in the current directory: every sprite file as a plain picture (drawing
// stays cheap, so games run fast) and the real question packs.
void WriteGameContent();

// The record file "data/brasswick.rec" as the game wrote it: nothing when it is absent. `problem`
// says what is wrong with it (empty when it is whole and its counters agree with each other, the
// counts of a game following its sale but for the game in play and `gamesCutShort` killed ones).
struct RecordReading {
    bool present = false;
    RecordContents contents;
    std::string problem;
};
RecordReading ReadGameRecord(int gamesCutShort = 0);

// Games sold according to a record: 50p games plus £1 games.
int GamesSold(const RecordContents& contents);

// The game's log, "~system/logs/Vantor.txt".
std::string GameLog();
