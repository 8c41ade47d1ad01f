// One connection to the service (the game, or any other local client), as the service loop sees
// it: commands read but not yet answered, and replies not yet sent. What one client may hold is
// bounded: its commands are read only when the last batch has been answered, and none is answered
// while more than kMaxUnsentBytes of replies wait for it to read them. A client that sends
// without reading thus stops being read until it catches up; the others are served meanwhile.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "ledger.h"
#include "protocol.h"

inline constexpr std::size_t kMaxUnsentBytes = 64 * 1024;
inline constexpr int kCommandsPerTurn = 64;

class Client {
  public:
    // Takes over a connected, non-blocking socket and closes it when destroyed.
    explicit Client(int socket);
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    int socket() const { return socket_; }

    // What the service loop should wait for on this client's socket.
    bool WantsToRead() const;
    bool WantsToWrite() const { return !unsent_.empty(); }
    // A command is waiting and its reply would fit.
    bool HasCommandToAnswer() const;
    // The connection has failed, or nothing more will be read or answered and every reply has
    // gone: close it.
    bool Finished() const { return broken_ || (leaving_ && commands_.empty() && unsent_.empty()); }

    // Reads what has arrived.
    void Receive();
    // Answers this client's share of one turn and queues the replies: waiting commands up to the
    // first change (one transaction per turn, so a client streaming changes cannot make the
    // others wait for many commits) and at most kCommandsPerTurn. "TERM" answers nothing and
    // ends the connection.
    void AnswerTurn(Ledger& ledger);
    // Sends what the socket takes now.
    void Send();

  private:
    int socket_;
    CommandStream stream_;
    std::deque<Command> commands_;
    std::string unsent_;
    bool leaving_ = false;  // "TERM" came or the client stopped sending
    bool broken_ = false;
};
