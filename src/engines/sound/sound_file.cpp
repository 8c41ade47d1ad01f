#include "engines/sound/sound_file.h"

#include <cstdio>
#include <memory>

bool ReadSoundFile(const std::string& path, size_t largest, std::vector<uint8_t>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "rb"), fclose);
    if (!file || fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = ftell(file.get());
    if (size < 0 || static_cast<unsigned long>(size) > largest ||
        fseek(file.get(), 0, SEEK_SET) != 0)
        return false;
    bytes.assign(static_cast<size_t>(size), 0);
    return fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}
