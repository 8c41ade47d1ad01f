// The question pack reader over any bytes: the bytes become the first pack of the table, held in a
// scratch file; every line is read and expanded as the start-up count and the question screen do,
// then the game reads one random question of that pack.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/random.h"
#include "rules/question_packs.h"

namespace {

QuestionPack& fuzzedPack = questionPacks[0];
std::string scratchDirectory;
std::string scratchPack;

void WritePack(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(scratchPack.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fclose(file) != 0) std::abort();
}

void RemoveScratchDirectory() {
    std::remove(scratchPack.c_str());
    rmdir(scratchDirectory.c_str());
}

// Expands a line into buffers of a few sizes: the text always ends inside its buffer.
void CheckExpanded(const char* line) {
    for (size_t outSize : {size_t{1}, size_t{7}, kQuestionTextSize}) {
        char out[kQuestionTextSize + 1];
        out[outSize] = 'X';
        ExpandQuestionText(line, out, outSize);
        if (std::strlen(out) >= outSize || out[outSize] != 'X') std::abort();
    }
}

// Reads the pack to its end as the start-up count does: a question for every line read before
// the end was met.
int CountQuestions(size_t size) {
    PackFile pack(fuzzedPack.fileName);
    if (!pack.IsOpen()) std::abort();
    int reads = 0;
    while (!pack.AtEnd()) {
        pack.ReadPackLine();
        ++reads;
        if (std::strlen(pack.Line()) >= kPackLineSize) std::abort();
        CheckExpanded(pack.Line());
        if (static_cast<size_t>(reads) > size + 1) std::abort();  // one read a line at most
    }
    return reads > 0 ? reads - 1 : 0;
}

}  // namespace

// The first pack of the table now names a file in a scratch directory.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vantor-fuzz-pack-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    scratchDirectory = pattern;
    scratchPack = scratchDirectory + "/Data01.pck";
    fuzzedPack.fileName = scratchPack.c_str();
    std::atexit(RemoveScratchDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WritePack(data, size);
    fuzzedPack.questionCount = CountQuestions(size);
    SeedRandom(static_cast<uint32_t>(size));
    LoadQuestion(fuzzedPack.category, fuzzedPack.truth);
    if (std::strlen(QuestionText()) >= kQuestionTextSize) std::abort();
    return 0;
}
