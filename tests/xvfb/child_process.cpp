#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "support/environment.h"

ChildProcess::ChildProcess(const std::string& path, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment,
                           const std::string& outputFile, std::optional<int> passFd) {
    std::vector<std::string> argvStrings{path};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = ChangedEnvironment(environment);
    std::vector<char*> argv = NullTerminated(argvStrings);
    std::vector<char*> envp = NullTerminated(envStrings);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (passFd) posix_spawn_file_actions_adddup2(&actions, *passFd, 3);
    // Its own process group, so that a stop reaches whatever it started too.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), envp.data()) == 0)
        pid_ = pid;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (Running()) Stop(SIGKILL);
}

bool ChildProcess::Reap(int options) {
    if (status_) return true;
    int status = 0;
    if (waitpid(pid_, &status, options) != pid_) return false;
    status_ = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    return true;
}

bool ChildProcess::Running() {
    return Started() && !Reap(WNOHANG);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    const auto giveUp = std::chrono::steady_clock::now() + timeout;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= giveUp) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
}

void ChildProcess::Stop(int signal) {
    if (!Running()) return;
    kill(-pid_, signal);
    if (!Wait(std::chrono::seconds(5))) {
        kill(-pid_, SIGKILL);
        Reap(0);
    }
}
