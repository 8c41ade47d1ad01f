#include "payout_plot.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <vector>

extern char** environ;

namespace {

// Debian's own Python: the one that has Pillow (a pyenv python3 first on the PATH may not).
const char* const kPython = "/usr/bin/python3";

// The plot program installed beside this one.
std::string PlotProgramPath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "payout-plot.py";
    std::string path(self, static_cast<size_t>(length));
    return path.substr(0, path.rfind('/') + 1) + "payout-plot.py";
}

}  // namespace

bool DrawPayoutPlot(const std::string& csvPath, const std::string& pngPath, std::string& error) {
    const std::string program = PlotProgramPath();
    std::vector<std::string> args{kPython, program, csvPath, pngPath};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t child;
    if (posix_spawn(&child, kPython, nullptr, nullptr, argv.data(), environ) != 0) {
        error = std::string("cannot run ") + kPython;
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "the plot could not be drawn (" + program + ")";
        return false;
    }
    return true;
}
