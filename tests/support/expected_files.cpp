#include "support/expected_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/work_dir.h"

bool UpdatingExpected() {
    const char* update = std::getenv("VANTOR_UPDATE_EXPECTED");
    return update != nullptr && std::string(update) == "1";
}

void ExpectFileText(const std::string& text, const std::string& path) {
    const std::string file = std::string(VANTOR_SOURCE_DIR) + "/" + path;
    if (UpdatingExpected()) {
        WriteFileText(file, text);
        return;
    }
    EXPECT_EQ(text, ReadFileText(file))
        << "expected in " << path << " (VANTOR_UPDATE_EXPECTED=1 rewrites it)";
}
