#include "support/run_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

std::string ProgramPath(const std::string& program) {
    return std::string(VANTOR_BIN_DIR) + "/" + program;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    ProgramResult result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return result;
    const std::string path = ProgramPath(program);
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        result.output.append(buffer, got);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}
