// A program run in the background, for tests that act while it runs (take a screenshot, wait
// for a line in its trace) and must never leave it behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
  public:
    // Starts `path` with the arguments. `environment` adds or replaces NAME=VALUE entries of this
    // process's environment; standard output and error go to `outputFile`. When `passFd` is given
    // the child gets that descriptor as its descriptor 3.
    ChildProcess(const std::string& path, const std::vector<std::string>& args,
                 const std::vector<std::string>& environment, const std::string& outputFile,
                 std::optional<int> passFd = std::nullopt);
    // Kills the program if it still runs, and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // True while it has not ended.
    bool Running();
    // Waits for the end: the exit status, 128 + the signal that ended it, or nothing on time-out.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    // Asks it to end with `signal` and waits for it (killing it after five seconds).
    void Stop(int signal);

  private:
    bool Reap(int options);

    pid_t pid_ = -1;
    std::optional<int> status_;
};
