#include "game_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/run_program.h"

extern char** environ;

namespace {

GameExit ExitOf(int status) {
    GameExit exit;
    if (WIFEXITED(status)) exit.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) exit.signal = WTERMSIG(status);
    return exit;
}

}  // namespace

GameProcess::GameProcess(uint16_t creditPort, const std::vector<std::string>& more) {
    const std::string program = ProgramPath("vantor");
    std::vector<std::string> arguments{
        program, "--headless", "--credit-port", std::to_string(creditPort), "--trace", "trace.txt"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "output.txt",
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

GameProcess::~GameProcess() {
    Kill();
}

GameExit GameProcess::Wait() {
    while (!reaped_ && pid_ > 0) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, 0);
        if (done < 0 && errno == EINTR) continue;
        reaped_ = true;
        if (done == pid_) exit_ = ExitOf(status);
    }
    return exit_;
}

bool GameProcess::WaitFor(int ms, GameExit& exit, const std::function<bool()>& stopWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!reaped_ && pid_ > 0) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            exit_ = ExitOf(status);
        } else if (done < 0 && errno != EINTR) {
            reaped_ = true;
        } else if (std::chrono::steady_clock::now() >= deadline || (stopWaiting && stopWaiting())) {
            return false;
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
    }
    exit = exit_;
    return true;
}

GameExit GameProcess::Kill() {
    if (!reaped_ && pid_ > 0) kill(pid_, SIGKILL);
    return Wait();
}

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold blanks: the fields that follow start after its closing bracket.
    const size_t bracket = text.rfind(')');
    if (bracket == std::string::npos) return -1;
    std::istringstream fields(text.substr(bracket + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) user = std::stoull(field);
        if (number == 15) system = std::stoull(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}
