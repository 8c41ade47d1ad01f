// Start-up cost of counting the 48 question packs, and the cost of drawing one question, on packs
// of statements of about 55 characters: 28 a pack as the first bank shipped, and 125 a pack (6,000
// statements), the size of the grown bank.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/random.h"
#include "rules/pack_format.h"
#include "rules/question_packs.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> PackLines(int fileNumber, int statementsPerPack) {
    static const char* const kStatements[] = {
        "The River Severn is the longest river in Great Britain.",
        "A standard first-class stamp was once sold for #1.",
        "Mercury is the planet closest to the Sun.",
        "The Battle of Hastings was fought in 1066.",
        "Which of the Beatles were born in Liverpool? All four of them.",
        "Penguins live in the wild only in the southern hemisphere.",
        "Edinburgh Castle stands on an extinct volcano.",
    };
    std::vector<std::string> lines;
    for (int n = 0; n < statementsPerPack; ++n) {
        lines.push_back("m" + std::string(kStatements[(fileNumber + n) % 7]) + "*" +
                        std::to_string(fileNumber * 100 + n));
    }
    return lines;
}

// A content directory holding the 48 packs, made once and used as the working directory.
class PackDirectory {
  public:
    explicit PackDirectory(int statementsPerPack) {
        std::string pattern = (fs::temp_directory_path() / "vantor-bench-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        const fs::path packDir = path_ / "Questions" / "trueorfalse";
        fs::create_directories(packDir);
        for (int fileNumber = 1; fileNumber <= kPackCount; ++fileNumber) {
            char name[16];
            std::snprintf(name, sizeof name, "Data%02d.pck", fileNumber);
            const std::string bytes = BuildPack(PackLines(fileNumber, statementsPerPack));
            std::ofstream(packDir / name, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        fs::current_path(path_);
    }
    ~PackDirectory() {
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(path_);
    }

  private:
    fs::path path_;
};

void LoadAllPacks(benchmark::State& state) {
    PackDirectory packs(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadQuestionPacks());
}
BENCHMARK(LoadAllPacks)->Arg(28)->Arg(125)->Unit(benchmark::kMicrosecond);

void LoadOneQuestion(benchmark::State& state) {
    PackDirectory packs(static_cast<int>(state.range(0)));
    LoadQuestionPacks();
    SeedRandom(1);
    for (auto _ : state) {
        LoadQuestion(static_cast<int>(1 + RandomBelow(kCategoryCount)), 1);
        benchmark::DoNotOptimize(QuestionText());
    }
}
BENCHMARK(LoadOneQuestion)->Arg(28)->Arg(125)->Unit(benchmark::kMicrosecond);

}  // namespace
