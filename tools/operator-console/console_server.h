// The console's HTTP server: cpp-httplib with its pages, answering GET and HEAD only, behind the
// token when one is set, and bounded in every way a client could make it hold resources: the
// size of a request, the time it may take to arrive, how long a connection may last and how
// many connections are served or waiting at once.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "console_options.h"
#include "site.h"

struct ServerLimits {
    size_t workers = 8;          // requests served at once
    size_t waiting = 32;         // accepted connections waiting for a worker
    size_t requestBytes = 8192;  // request line, headers and body together
    int backlog = 64;            // connections the kernel holds before they are accepted
    std::chrono::milliseconds requestTime{10000};      // for the whole request to arrive
    std::chrono::milliseconds connectionTime{120000};  // for the answer to be taken, too
    std::chrono::milliseconds quietTime{5000};         // longest wait for the next bytes
};

struct ServerConfig {
    ListenAddress listen;
    std::optional<std::string> token;
    ServerLimits limits;
};

class ConsoleServer {
  public:
    ConsoleServer(const ConsoleSite& site, ServerConfig config);
    ~ConsoleServer();
    ConsoleServer(const ConsoleServer&) = delete;
    ConsoleServer& operator=(const ConsoleServer&) = delete;

    // Opens the listening socket. False, with the reason, when it cannot be opened.
    bool Bind(std::string& error);
    // The port listened on (the one chosen when 0 was asked for), after Bind.
    int port() const { return port_; }
    // Serves until Stop is called (from another thread or a signal handler's thread).
    bool Run();
    void Stop();

  private:
    class Http;
    void Route();

    const ConsoleSite& site_;
    ServerConfig config_;
    std::unique_ptr<Http> http_;
    int port_ = -1;
};
