// pack-questions [OPTION]... SOURCE_DIR OUTPUT_DIR
// Reads the question bank (SOURCE_DIR/01-*.txt to 24-*.txt, any number of topic files per
// category) and writes the game's 48 question packs
// to OUTPUT_DIR/Questions/trueorfalse/Data01.pck to Data48.pck: for category c, Data(2c-1) holds
// its true statements and Data(2c) its false ones. The same bank always gives the same bytes.
#include <getopt.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bank_checks.h"
#include "bank_source.h"
#include "rules/pack_format.h"

namespace fs = std::filesystem;

namespace {

// The pack line of a statement: its difficulty letter, the text, and the reference after the "*"
// (category, topic file letter and source line), which the game never shows but lets an operator
// find the source.
std::string PackLine(const BankCategory& category, const BankStatement& statement) {
    return DifficultyLetter(category.number) + statement.text + kReferenceMark +
           PackReference(category, statement);
}

// What the packs hold, for the closing line.
struct PackTotals {
    std::size_t statements = 0;
    std::size_t plainBytes = 0;  // the lines with their line feeds, before compression
    std::size_t packBytes = 0;
};

std::string PackBytes(const BankCategory& category, const std::vector<BankStatement>& statements,
                      PackTotals& totals) {
    std::vector<std::string> lines;
    for (const BankStatement& statement : statements) {
        lines.push_back(PackLine(category, statement));
        totals.plainBytes += lines.back().size() + 1;
    }
    std::string bytes = BuildPack(lines);
    totals.statements += statements.size();
    totals.packBytes += bytes.size();
    return bytes;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(path.string() + ": cannot be written");
}

fs::path PackPath(const fs::path& packDir, int fileNumber) {
    char name[16];
    std::snprintf(name, sizeof name, "Data%02d.pck", fileNumber);
    return packDir / name;
}

constexpr const char* kUsage = "usage: pack-questions [OPTION]... SOURCE_DIR OUTPUT_DIR\n";

constexpr const char* kHelp =
    "Turns the question bank into the game's 48 enciphered question packs.\n"
    "\n"
    "Reads every SOURCE_DIR/NN-*.txt (NN = 01 to 24, the category; several topic files of a\n"
    "category are merged in file-name order) and writes OUTPUT_DIR/Questions/trueorfalse/\n"
    "Data01.pck to Data48.pck. The same bank always gives the same bytes. Prints what it wrote\n"
    "and the chance that a game asks some statement twice, at each question level.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n"
    "Exit status: 0 packs written, 1 the bank has a fault (named with its file and line) or a\n"
    "pack cannot be written, 2 a usage error.\n";

// The chance of a repeat at each level, the question and prize levels alike, and the worst
// pairing of the two.
void PrintRepeatChances(const PackSizes& sizes) {
    std::printf("pack-questions: chance of a repeated statement in a game of %d questions:",
                kMostQuestionsInAGame);
    for (int level = 0; level < kQuestionLevels; ++level) {
        std::printf("%s level %d %.2f %%", level == 0 ? "" : ",", level,
                    100.0 * RepeatChance(sizes, level, level));
    }
    std::printf("; at most %.2f %% for any question and prize levels\n",
                100.0 * WorstRepeatChance(sizes));
}

int UsageError(const char* what) {
    std::fprintf(stderr, "pack-questions: %s (try 'pack-questions --help')\n", what);
    return 2;
}

int Pack(const fs::path& sourceDir, const fs::path& outputDir) {
    const std::vector<BankCategory> bank = ReadBank(sourceDir);
    const fs::path packDir = outputDir / "Questions" / "trueorfalse";
    fs::create_directories(packDir);
    PackTotals totals;
    for (const BankCategory& category : bank) {
        WriteFile(PackPath(packDir, 2 * category.number - 1),
                  PackBytes(category, category.trueStatements, totals));
        WriteFile(PackPath(packDir, 2 * category.number),
                  PackBytes(category, category.falseStatements, totals));
    }
    std::printf(
        "pack-questions: %zu statements in 48 packs, %zu bytes (%zu before compression), in %s\n",
        totals.statements, totals.packBytes, totals.plainBytes, packDir.string().c_str());
    PrintRepeatChances(PackSizesOf(bank));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    static const option kOptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    for (int opt; (opt = getopt_long(argc, argv, "+hV", kOptions, nullptr)) != -1;) {
        switch (opt) {
            case 'h':
                std::printf("%s\n%s", kUsage, kHelp);
                return 0;
            case 'V':
                std::printf("pack-questions %s\n", VANTOR_VERSION_TEXT);
                return 0;
            default: {
                const std::string option = optopt != 0
                                               ? std::string("-") + static_cast<char>(optopt)
                                               : std::string(argv[optind - 1]);
                return UsageError(("unknown option " + option).c_str());
            }
        }
    }
    if (argc - optind != 2) {
        return UsageError(argc - optind < 2 ? "SOURCE_DIR and OUTPUT_DIR are both needed"
                                            : "more than SOURCE_DIR and OUTPUT_DIR given");
    }
    try {
        return Pack(argv[optind], argv[optind + 1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pack-questions: %s\n", error.what());
        return 1;
    }
}
