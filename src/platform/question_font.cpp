#include <filesystem>
#include <string>

#include "platform/backend.h"

namespace platform {

bool BoldSansFontInstalled() {
    // Arial Bold on a cabinet set up from Windows; DejaVu Sans Bold or Liberation Sans Bold on a
    // Debian one.
    static const char* const kNames[] = {"arialbd.ttf", "Arial_Bold.ttf", "DejaVuSans-Bold.ttf",
                                         "LiberationSans-Bold.ttf"};
    std::error_code error;
    for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
        for (auto it = std::filesystem::recursive_directory_iterator(root, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            const std::string name = it->path().filename().string();
            for (const char* wanted : kNames)
                if (name == wanted) return true;
        }
        error.clear();
    }
    return false;
}

}  // namespace platform
