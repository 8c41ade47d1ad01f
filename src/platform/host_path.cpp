#include "platform/host_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace platform {
namespace {

std::string NormaliseSeparators(std::string_view name) {
    std::string path;
    path.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !path.empty() && path.back() == '/') continue;
        path.push_back(c);
    }
    return path;
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        if (slash > start) parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// The entry of `directory` whose name equals `component` without regard to case, or the
// component itself when there is none.
std::string MatchInDirectory(const std::string& directory, const std::string& component) {
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return component;
    std::string found = component;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, component.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

std::string HostPath(std::string_view name) {
    std::string path = NormaliseSeparators(name);
    if (path.empty() || Exists(path)) return path;

    std::string mapped = path.front() == '/' ? "/" : "";
    for (const std::string& component : SplitComponents(path)) {
        std::string candidate = mapped + component;
        if (!Exists(candidate)) candidate = mapped + MatchInDirectory(mapped, component);
        mapped = candidate + "/";
    }
    mapped.pop_back();
    if (path.back() == '/') mapped.push_back('/');
    return mapped;
}

}  // namespace platform
