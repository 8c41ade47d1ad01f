#include "support/environment.h"

extern char** environ;

namespace {

bool NamesTheVariable(const std::string& change, const std::string& entry) {
    const std::string name = change.substr(0, change.find('='));
    return entry.compare(0, name.size() + 1, name + "=") == 0;
}

}  // namespace

std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        bool changed = false;
        for (const std::string& change : changes)
            changed = changed || NamesTheVariable(change, *entry);
        if (!changed) entries.emplace_back(*entry);
    }
    for (const std::string& change : changes)
        if (change.find('=') != std::string::npos) entries.push_back(change);
    return entries;
}

std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
