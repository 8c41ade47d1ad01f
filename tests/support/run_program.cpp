#include "support/run_program.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/environment.h"

namespace {

// Reads both pipes to their ends (a program that fills one while the other waits is not held up).
void ReadBoth(int outFd, int errFd, ProgramResult& result) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* streams[2] = {&result.standardOutput, &result.standardError};
    int open = 2;
    while (open > 0 && poll(fds, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            streams[i]->append(buffer, static_cast<size_t>(got));
        }
    }
}

}  // namespace

std::string ProgramPath(const std::string& program) {
    return std::string(VANTOR_BIN_DIR) + "/" + program;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
    ProgramResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0) return result;
    if (pipe(errPipe) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    std::vector<std::string> argStrings{ProgramPath(program)};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = ChangedEnvironment(environment);
    std::vector<char*> argv = NullTerminated(argStrings);
    std::vector<char*> envp = NullTerminated(envStrings);
    const pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            close(fd);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    ReadBoth(outPipe[0], errPipe[0], result);
    result.output = result.standardOutput + result.standardError;
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}
