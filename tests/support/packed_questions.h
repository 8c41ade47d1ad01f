// The real question bank packed once per test program, in a temporary directory of that process
// alone (test programs run side by side), and removed when the program ends.
#pragma once

#include <filesystem>

// Copies the packed "Questions" tree into `target`. False when packing or copying failed.
bool CopyPackedQuestionsInto(const std::filesystem::path& target);
