// Helpers for driving the built credit-service program: scratch directories, operator commands,
// a running service on a free port, and a game's connection to it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A fresh directory, removed with everything in it when the test ends.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

struct CommandOutput {
    int exit_code = -1;
    std::string out;  // what it printed on stdout
    std::string err;  // and on stderr
};

// Runs `credit-service <arguments>` to completion. `environment` adds NAME=VALUE entries;
// VANTOR_CREDIT_DB is otherwise removed so that tests never touch a real ledger.
CommandOutput RunCreditService(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& environment = {});

// The balances `credit-service status` prints: {credit, bank}, or {-1, -1} when it fails.
std::pair<int, int> StatusOf(const std::string& db);

// `credit-service serve --db <db> --port 0`, started and waited for until it is listening.
class RunningService {
  public:
    explicit RunningService(const std::string& db);
    ~RunningService();
    RunningService(const RunningService&) = delete;
    RunningService& operator=(const RunningService&) = delete;

    bool listening() const { return port_ != 0; }
    uint16_t port() const { return port_; }
    // Sends the signal and waits: the exit code, or 128 + the signal that ended it; -1 when it
    // was still running long after (it is then killed).
    int Stop(int signal_number);
    // kill -9, waiting until it has gone.
    void Kill();

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    uint16_t port_ = 0;
};

// One game's TCP connection to the service.
class GameConnection {
  public:
    explicit GameConnection(uint16_t port);
    ~GameConnection();
    GameConnection(const GameConnection&) = delete;
    GameConnection& operator=(const GameConnection&) = delete;

    bool connected() const { return socket_ >= 0; }
    int socket() const { return socket_; }
    bool Send(std::string_view bytes);
    // The next reply line with its CR LF; empty when the service closed the connection or said
    // nothing within `timeout_ms`.
    std::string ReadLine(int timeout_ms = 10000);
    std::string Exchange(std::string_view command) {
        return Send(command) ? ReadLine() : std::string();
    }
    // True when the service closes the connection within `timeout_ms`.
    bool ClosedByService(int timeout_ms = 10000);

  private:
    int socket_ = -1;
    std::string buffered_;
};
