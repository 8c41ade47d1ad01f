// A scripted stand-in for the credit service, for tests of anything that talks to it.
//
// It listens on 127.0.0.1 at a port the system picks, accepts one connection and answers every
// command line it receives (a line ends with "\n") with the next scripted reply, sent whole in one
// piece. It records every command line exactly as received, so tests can assert the bytes sent.
// "TERM\r\n" gets no reply, as the protocol says.
//
//     FakeCreditService service;
//     service.QueueReply("CTEL,450\r\n");             // answer to the next command
//     ConnectCreditService(service.Port());
//     SendMoneyCommand(MoneyCommand::UseCredit, 50);
//     EXPECT_EQ(service.Commands(), (std::vector<std::string>{"CUSE,50\r\n"}));
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeCreditService {
  public:
    // A scripted reply that closes the connection instead of answering.
    static inline const std::string kClose = "<close>";
    // Within a reply, sends what comes before it, waits kPauseLength and then sends the rest:
    // a reply that reaches the game in two pieces.
    static inline const std::string kPause = "<pause>";
    static constexpr std::chrono::milliseconds kPauseLength{20};
    // The same with a pause far longer than the game waits for the rest of a reply.
    static inline const std::string kLongPause = "<long-pause>";
    static constexpr std::chrono::milliseconds kLongPauseLength{1500};
    // Computes a reply for a command when no scripted reply is queued.
    using Responder = std::function<std::string(const std::string& command)>;

    // Starts listening; check Listening() (the port is then valid).
    FakeCreditService();
    // Closes the connection and the listener and stops the service thread.
    ~FakeCreditService();
    FakeCreditService(const FakeCreditService&) = delete;
    FakeCreditService& operator=(const FakeCreditService&) = delete;

    bool Listening() const { return listenFd_ >= 0; }
    uint16_t Port() const { return port_; }

    // Replies are used in the order queued, one per command. With none queued the responder
    // answers; without a responder the answer is "FAIL\r\n". An empty reply sends nothing.
    void QueueReply(std::string reply);
    void SetResponder(Responder responder);

    // Every command line received so far, in order, exactly as sent (line end included).
    std::vector<std::string> Commands() const;
    // Waits until at least `count` commands have arrived; false on time-out.
    bool WaitForCommands(size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // Closes the accepted connection now: the game's next exchange fails.
    void CloseConnection();

  private:
    void Serve();
    bool AcceptConnection();
    void AnswerCommand(const std::string& command);
    std::string NextReply(const std::string& command);
    void SendReply(const std::string& reply);
    void CloseConnectionLocked();

    int listenFd_ = -1;
    uint16_t port_ = 0;
    int connectionFd_ = -1;
    bool stopping_ = false;

    mutable std::mutex mutex_;
    mutable std::condition_variable commandArrived_;
    std::deque<std::string> replies_;
    Responder responder_;
    std::vector<std::string> commands_;
    std::thread thread_;
};
