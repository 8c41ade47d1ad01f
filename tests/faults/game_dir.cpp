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

// Counters that every finished game moves together; a record that breaks one of these was not
// written whole by the game.
std::string CounterProblem(const RecordContents& contents) {
    const int games = GamesSold(contents);
    if (contents.counters[counter::kGames50p] !=
        Sum(contents, counter::kGames50pByBand, counter::kGames50pByBand + 6))
        return "50p games differ from their sum by band";
    if (contents.counters[counter::kGamesPound] !=
        Sum(contents, counter::kGamesPoundByBand, counter::kGamesPoundByBand + 6))
        return "pound games differ from their sum by band";
    if (Sum(contents, counter::kBankBelow500, counter::kBank1000Up) != games)
        return "bank readings differ from the games sold";
    if (contents.counters[counter::kQuestionRoundsLost] +
            contents.counters[counter::kBallGamesReached] !=
        games)
        return "question rounds lost and ball games reached differ from the games sold";
    if (contents.counters[counter::kQuestionsAsked] < games)
        return "fewer questions asked than games sold";
    return {};
}

}  // namespace

void WriteGameContent() {
    WritePlainSpriteFiles(Colour{40, 60, 80});
    if (!CopyPackedQuestionsInto(fs::current_path())) ADD_FAILURE() << "question packs";
}

RecordReading ReadGameRecord() {
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
        reading.problem = CounterProblem(reading.contents);
    }
    return reading;
}

int GamesSold(const RecordContents& contents) {
    return contents.counters[counter::kGames50p] + contents.counters[counter::kGamesPound];
}

std::string GameLog() {
    return ReadFileText("~system/logs/Vantor.txt");
}
