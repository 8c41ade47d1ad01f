// The listener the game connects to: 127.0.0.1 only, one game at a time. A game's connection is
// served until it disconnects or sends "TERM"; then the next one is accepted. SIGTERM and SIGINT
// end the service between commands.
#pragma once

#include <cstdint>
#include <string>

#include "ledger.h"

class CreditServer {
  public:
    // Blocks SIGTERM and SIGINT so that they are seen only as stop requests in Run.
    explicit CreditServer(Ledger& ledger);
    ~CreditServer();
    CreditServer(const CreditServer&) = delete;
    CreditServer& operator=(const CreditServer&) = delete;

    // Binds 127.0.0.1:port (0 picks a free port). False and a reason in `error` on failure.
    bool Listen(uint16_t port, std::string& error);
    // The port actually bound.
    uint16_t port() const { return port_; }
    // Serves games until a stop signal arrives.
    void Run();

  private:
    enum class Event { Ready, Stop };
    Event WaitFor(int fd);
    // Serves one game; Stop when a stop signal arrived meanwhile.
    Event ServeGame(int connection);

    Ledger& ledger_;
    int listener_ = -1;
    int stop_signals_ = -1;
    uint16_t port_ = 0;
};
