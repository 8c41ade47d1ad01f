// The real game program as a separate process: started headless in the current directory,
// stopped by its own hand or by kill -9, with its exit status and its processor time.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct GameExit {
    int exitStatus = -1;  // 0 to 255 when it exited by itself
    int signal = 0;       // the signal that ended it, if one did
};

class GameProcess {
  public:
    // Starts `vantor --headless --credit-port PORT --trace trace.txt` with `more` arguments;
    // its output goes to output.txt.
    GameProcess(uint16_t creditPort, const std::vector<std::string>& more);
    // Kills the game if it is still running.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Waits until the game ends by itself.
    GameExit Wait();
    // Waits up to `ms` of wall time, or until `stopWaiting` says so (it is asked about four
    // times a millisecond); true when the game ended meanwhile (then `exit` tells how).
    bool WaitFor(int ms, GameExit& exit, const std::function<bool()>& stopWaiting = {});
    // kill -9 now (unless it has already ended), then reaps it.
    GameExit Kill();

  private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    GameExit exit_;
};

// Processor time (user and system) a running process has used so far, in seconds; -1 when it
// cannot be read.
double ProcessCpuSeconds(pid_t pid);
