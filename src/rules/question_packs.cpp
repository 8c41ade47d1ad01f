#include "rules/question_packs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "base/log.h"
#include "base/random.h"
#include "platform/host_path.h"
#include "rules/pack_format.h"
#include "rules/question_rules.h"

QuestionPack questionPacks[kPackCount + 1] = {
    {"Questions\\trueorfalse\\Data01.pck", 1, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data02.pck", 1, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data03.pck", 2, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data04.pck", 2, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data05.pck", 3, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data06.pck", 3, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data07.pck", 4, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data08.pck", 4, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data09.pck", 5, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data10.pck", 5, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data11.pck", 6, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data12.pck", 6, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data13.pck", 7, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data14.pck", 7, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data15.pck", 8, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data16.pck", 8, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data17.pck", 9, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data18.pck", 9, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data19.pck", 10, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data20.pck", 10, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data21.pck", 11, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data22.pck", 11, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data23.pck", 12, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data24.pck", 12, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data25.pck", 13, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data26.pck", 13, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data27.pck", 14, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data28.pck", 14, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data29.pck", 15, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data30.pck", 15, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data31.pck", 16, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data32.pck", 16, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data33.pck", 17, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data34.pck", 17, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data35.pck", 18, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data36.pck", 18, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data37.pck", 19, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data38.pck", 19, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data39.pck", 20, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data40.pck", 20, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data41.pck", 21, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data42.pck", 21, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data43.pck", 22, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data44.pck", 22, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data45.pck", 23, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data46.pck", 23, " FALSE", 0, 0, 0},
    {"Questions\\trueorfalse\\Data47.pck", 24, " TRUE ", 1, 0, 0},
    {"Questions\\trueorfalse\\Data48.pck", 24, " FALSE", 0, 0, 0},
    {nullptr, 0, nullptr, 0, 0, 0},
};

// Rows by the question's place in the round, columns by level 0 to 4. Low levels (a cabinet that
// has paid out more than its target) give harder questions; level 4 keeps the whole round easy.
const int difficultyTable[kDifficultyRows][kQuestionLevels] = {
    {2, 1, 1, 1, 1},  // first question
    {2, 1, 1, 1, 1},  // second
    {2, 1, 1, 1, 1},  // third
    {3, 2, 2, 1, 1},  // fourth
    {3, 3, 2, 1, 1},  // fifth
    {3, 3, 3, 2, 1},  // sixth
    {3, 3, 3, 3, 1},  // seventh
    {3, 3, 3, 3, 1},  // eighth
};

int questionsAskedThisRound = 0;

namespace {

char questionText[kQuestionTextSize] = "";
int questionAnswer = 0;

const QuestionPack* FindPack(int category, int truth) {
    for (const QuestionPack* pack = questionPacks; pack->fileName != nullptr; ++pack) {
        if (pack->truth == truth && pack->category == category) return pack;
    }
    return nullptr;
}

// Questions in a pack: one per line read before the end of the file was met. A last line without
// its line feed is read together with the end, so it is not counted.
int CountPackQuestions(PackFile& pack) {
    int reads = 0;
    while (!pack.AtEnd()) {
        pack.ReadPackLine();
        ++reads;
    }
    return reads > 0 ? reads - 1 : 0;
}

void SetNotFound(int category, int truth) {
    std::snprintf(questionText, sizeof questionText, "NOT FOUND! %d, %d", category, truth);
}

bool IsDifficultyLetter(char c) {
    return std::any_of(std::begin(kDifficultyGroups), std::end(kDifficultyGroups),
                       [c](const DifficultyGroup& group) { return group.letter == c; });
}

int CategoryOfDifficulty(int difficulty) {
    const DifficultyGroup& group = kDifficultyGroups[std::clamp(difficulty, 1, 3) - 1];
    return group.firstCategory +
           static_cast<int>(RandomBelow(static_cast<unsigned>(group.categoryCount)));
}

}  // namespace

namespace {

// A pack is a plain file: a directory, a pipe or a device in its place is as good as missing (a
// pipe could hold start-up for ever).
std::FILE* OpenPackFile(const char* fileName) {
    const int fd = open(platform::HostPath(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    std::FILE* file = nullptr;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) file = fdopen(fd, "rb");
    if (file == nullptr) close(fd);
    return file;
}

}  // namespace

PackFile::PackFile(const char* fileName) : file_(OpenPackFile(fileName)) {
    atEnd_ = file_ == nullptr;
}

PackFile::~PackFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void PackFile::ReadPackLine() {
    std::size_t length = 0;
    while (!atEnd_) {
        const int read = std::fgetc(file_);
        const std::size_t position = position_++;
        if (read == EOF) {
            atEnd_ = true;
            break;
        }
        const char byte = static_cast<char>(DecipherPackByte(static_cast<uint8_t>(read), position));
        if (byte == '\n') break;
        // A zero byte would end the line early; like every control byte it is never shown.
        if (byte == '\0') continue;
        // Past the buffer the line is still read, to keep the key position, but not kept.
        if (length < kPackLineSize - 1) line_[length++] = byte;
    }
    line_[length] = '\0';
}

void ExpandQuestionText(const char* line, char* out, std::size_t outSize) {
    if (outSize == 0) return;
    std::string text = ExpandPackText(line);
    const std::size_t star = text.rfind(kReferenceMark);
    if (star != std::string::npos) text.erase(star);
    if (!text.empty() && IsDifficultyLetter(text[0])) text[0] = ' ';
    const std::size_t kept = std::min(text.size(), outSize - 1);
    std::memcpy(out, text.data(), kept);
    out[kept] = '\0';
}

int LoadQuestionPacks() {
    for (QuestionPack* pack = questionPacks; pack->fileName != nullptr; ++pack) {
        PackFile file(pack->fileName);
        if (!file.IsOpen()) {
            LogPrint("Question pack %s cannot be opened\n", pack->fileName);
            return 0;
        }
        pack->questionCount = CountPackQuestions(file);
    }
    return 1;
}

void ChooseQuestion(uint8_t fixed, int difficulty) {
    questionAnswer = RandomBelow(2) != 0 ? 1 : 0;
    difficulty = NextQuestionDifficulty(fixed, difficulty);
    LoadQuestion(CategoryOfDifficulty(difficulty), questionAnswer);
}

void LoadQuestion(int category, int truth) {
    const QuestionPack* pack = FindPack(category, truth);
    if (pack == nullptr || pack->questionCount <= 0) {
        SetNotFound(category, truth);
        return;
    }
    questionText[0] = '\0';
    PackFile file(pack->fileName);
    if (!file.IsOpen()) {
        LogPrint("Question pack %s cannot be opened\n", pack->fileName);
        SetNotFound(category, truth);
        return;
    }
    const unsigned skipped = RandomBelow(static_cast<unsigned>(pack->questionCount));
    for (unsigned line = 0; line < skipped; ++line)
        file.ReadPackLine();
    file.ReadPackLine();
    ExpandQuestionText(file.Line(), questionText, sizeof questionText);
}

const char* QuestionText() {
    return questionText;
}
int QuestionAnswer() {
    return questionAnswer;
}

void ForgetQuestion() {
    questionText[0] = '\0';
    questionAnswer = 0;
    questionsAskedThisRound = 0;
}
