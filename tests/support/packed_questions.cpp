#include "support/packed_questions.h"

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

class PackedQuestions {
  public:
    PackedQuestions() {
        std::string pattern = fs::temp_directory_path() / "vantor-packs-XXXXXX";
        if (mkdtemp(pattern.data())) directory_ = pattern;
        const ProgramResult packed = RunProgram(
            "pack-questions", {VANTOR_SOURCE_DIR "/content/questions", directory_.string()});
        made_ = !directory_.empty() && packed.exitStatus == 0;
    }
    // A child forked by a death test exits through here too: only the process that made the packs
    // removes them, so the tests after it still find them.
    ~PackedQuestions() {
        if (getpid() != owner_) return;
        std::error_code ignored;
        if (!directory_.empty()) fs::remove_all(directory_, ignored);
    }
    PackedQuestions(const PackedQuestions&) = delete;
    PackedQuestions& operator=(const PackedQuestions&) = delete;

    bool CopyInto(const fs::path& target) const {
        std::error_code error;
        fs::copy(directory_, target,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        return made_ && !error;
    }

  private:
    const pid_t owner_ = getpid();
    fs::path directory_;
    bool made_ = false;
};

}  // namespace

bool CopyPackedQuestionsInto(const fs::path& target) {
    static const PackedQuestions packs;
    return packs.CopyInto(target);
}
