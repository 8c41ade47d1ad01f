// The listener the game connects to: 127.0.0.1 only. Several connections are served at once by
// one loop, a few commands of each in turn (see Client::AnswerTurn), so a client that is silent,
// sends a byte at a time or floods the service never holds up the game; an idle connection is never
// dropped. SIGTERM and SIGINT end the service after the command in hand, whatever the clients are
// doing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "client.h"
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
    // Serves every client until a stop signal arrives.
    void Run();

  private:
    // Gives each client its turn; true when some have more commands waiting.
    bool GiveEachClientATurn();
    // Waits up to `timeout_ms` (-1: for ever) for sockets or a stop signal and reads, sends and
    // accepts what is ready. False on a stop signal.
    bool ServeReadySockets(int timeout_ms);
    void AcceptClients();
    void CloseFinishedClients();

    Ledger& ledger_;
    int listener_ = -1;
    int stop_signals_ = -1;
    uint16_t port_ = 0;
    std::vector<std::unique_ptr<Client>> clients_;
};
