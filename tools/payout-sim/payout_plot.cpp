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

    // The plot program says in one line what went wrong; that line becomes the error.
    int complaint[2];
    if (pipe(complaint) != 0) {
        error = "cannot run the plot program";
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, complaint[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, complaint[0]);
    pid_t child;
    const int spawned = posix_spawn(&child, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(complaint[1]);
    std::string said;
    char buffer[1024];
    ssize_t got;
    while (spawned == 0 && (got = read(complaint[0], buffer, sizeof buffer)) > 0)
        said.append(buffer, static_cast<size_t>(got));
    close(complaint[0]);
    if (spawned != 0) {
        error = std::string("cannot run ") + kPython;
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        while (!said.empty() && said.back() == '\n')
            said.pop_back();
        const std::string lastLine = said.substr(said.rfind('\n') + 1);
        error = lastLine.empty() ? "the plot could not be drawn (" + program + ")" : lastLine;
        return false;
    }
    return true;
}
