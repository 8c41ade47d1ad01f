// Whole sound files read into memory, with a ceiling so that a wrong file cannot exhaust it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the file at `path` into `bytes`. False when it cannot be opened or read, or is larger
// than `largest` bytes.
bool ReadSoundFile(const std::string& path, size_t largest, std::vector<uint8_t>& bytes);
