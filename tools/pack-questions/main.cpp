// pack-questions SOURCE_DIR OUTPUT_DIR
// Reads the question bank (SOURCE_DIR/01-*.txt to 24-*.txt, any number of topic files per
// category) and writes the game's 48 question packs
// to OUTPUT_DIR/Questions/trueorfalse/Data01.pck to Data48.pck: for category c, Data(2c-1) holds
// its true statements and Data(2c) its false ones. The same bank always gives the same bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pack-questions SOURCE_DIR OUTPUT_DIR\n");
        return 2;
    }
    try {
        const std::vector<BankCategory> bank = ReadBank(argv[1]);
        const fs::path packDir = fs::path(argv[2]) / "Questions" / "trueorfalse";
        fs::create_directories(packDir);
        PackTotals totals;
        for (const BankCategory& category : bank) {
            WriteFile(PackPath(packDir, 2 * category.number - 1),
                      PackBytes(category, category.trueStatements, totals));
            WriteFile(PackPath(packDir, 2 * category.number),
                      PackBytes(category, category.falseStatements, totals));
        }
        std::printf(
            "pack-questions: %zu statements in 48 packs, %zu bytes (%zu before compression), "
            "in %s\n",
            totals.statements, totals.packBytes, totals.plainBytes, packDir.string().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pack-questions: %s\n", error.what());
        return 1;
    }
    return 0;
}
