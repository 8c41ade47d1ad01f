#include "game_dir.h"

#include <filesystem>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "support/packed_questions.h"
#include "support/small_content.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;

int Sum(const RecordContents& contents, int first, int last) {
    return std::accumulate(contents.counters + first, contents.counters + last + 1, 0);
}

// The game's own counts fall behind the games sold by the games cut short at most: a sale is saved
// the moment it is booked, and the counts of its game (its band, the bank reading, how its question
// round went) only as the game goes on, so a game killed or still in play is sold without them.
bool WithinGamesCutShort(int counted, int games, int cutShort) {
    return counted <= games && counted >= games - cutShort;
}

// Counters that every game moves together; a record that breaks one of these was not written
// whole by the game.
std::string CounterProblem(const RecordContents& contents, int cutShort) {
    const int games = GamesSold(contents);
    const int games50p = contents.counters[counter::kGames50p];
    const int gamesPound = contents.counters[counter::kGamesPound];
    if (!WithinGamesCutShort(Sum(contents, counter::kGames50pByBand, counter::kGames50pByBand + 6),
                             games50p, cutShort))
        return "50p games differ from their sum by band";
    if (!WithinGamesCutShort(
            Sum(contents, counter::kGamesPoundByBand, counter::kGamesPoundByBand + 6), gamesPound,
            cutShort))
        return "pound games differ from their sum by band";
    if (!WithinGamesCutShort(Sum(contents, counter::kBankBelow500, counter::kBank1000Up), games,
                             cutShort))
        return "bank readings differ from the games sold";
    if (!WithinGamesCutShort(contents.counters[counter::kQuestionRoundsLost] +
                                 contents.counters[counter::kBallGamesReached],
                             games, cutShort))
        return "question rounds lost and ball games reached differ from the games sold";
    if (contents.counters[counter::kQuestionsAsked] < games - cutShort)
        return "fewer questions asked than games sold";
    return {};
}

}  // namespace

void WriteGameContent() {
    WritePlainSpriteFiles(Colour{40, 60, 80});
    if (!CopyPackedQuestionsInto(fs::current_path())) ADD_FAILURE() << "question packs";
}

RecordReading ReadGameRecord(int gamesCutShort) {
    RecordReading reading;
    const fs::path path = "data/brasswick.rec";
    if (!fs::exists(path)) return reading;
    reading.present = true;
    const std::string text = ReadFileText(path.string());
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    if (bytes.size() != kRecordFileSize) {
        reading.problem = "record file of " + std::to_string(bytes.size()) + " bytes";
    } else if (!DecodeRecord(bytes, reading.contents)) {
        reading.problem = "record file does not decode";
    } else if (reading.contents.firstWritten.empty()) {
        reading.problem = "record file without its date";
    } else {
        reading.problem = CounterProblem(reading.contents, gamesCutShort + 1);
    }
    return reading;
}

int GamesSold(const RecordContents& contents) {
    return contents.counters[counter::kGames50p] + contents.counters[counter::kGamesPound];
}

std::string GameLog() {
    return ReadFileText("~system/logs/Vantor.txt");
}
