#include "server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "protocol.h"
#include "teller.h"

namespace {

constexpr int kBacklog = 4;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Sends every byte; false when the game has gone.
bool SendAll(int connection, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

}  // namespace

CreditServer::CreditServer(Ledger& ledger) : ledger_(ledger) {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    stop_signals_ = signalfd(-1, &stops, SFD_CLOEXEC);
    // A game that vanishes mid-reply must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
}

CreditServer::~CreditServer() {
    if (listener_ >= 0) close(listener_);
    if (stop_signals_ >= 0) close(stop_signals_);
}

bool CreditServer::Listen(uint16_t port, std::string& error) {
    if (stop_signals_ < 0) {
        error = SystemError("cannot watch for stop signals");
        return false;
    }
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        error = SystemError("cannot create a socket");
        return false;
    }
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const std::string where = "127.0.0.1:" + std::to_string(port);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = SystemError(("cannot listen on " + where).c_str());
        return false;
    }
    if (listen(listener_, kBacklog) != 0) {
        error = SystemError(("cannot listen on " + where).c_str());
        return false;
    }
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    return true;
}

CreditServer::Event CreditServer::WaitFor(int fd) {
    pollfd watched[2] = {{fd, POLLIN, 0}, {stop_signals_, POLLIN, 0}};
    while (poll(watched, 2, -1) < 0) {
        if (errno != EINTR) return Event::Stop;
    }
    return watched[1].revents != 0 ? Event::Stop : Event::Ready;
}

void CreditServer::Run() {
    while (WaitFor(listener_) == Event::Ready) {
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        const int yes = 1;
        setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        std::fprintf(stderr, "credit-service: game connected\n");
        const Event event = ServeGame(connection);
        close(connection);
        std::fprintf(stderr, "credit-service: game disconnected\n");
        if (event == Event::Stop) break;
    }
}

CreditServer::Event CreditServer::ServeGame(int connection) {
    CommandStream stream;
    std::vector<Command> commands;
    char buffer[4096];
    for (;;) {
        if (WaitFor(connection) == Event::Stop) return Event::Stop;
        const ssize_t received = recv(connection, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) return Event::Ready;

        commands.clear();
        stream.Push(std::string_view(buffer, static_cast<size_t>(received)), commands);
        for (const Command& command : commands) {
            if (command.kind == CommandKind::Terminate) return Event::Ready;
            // Each reply goes as soon as its change is committed, so a service killed mid-way
            // leaves at most one committed change unacknowledged.
            if (!SendAll(connection, AnswerCommand(command, ledger_))) return Event::Ready;
        }
    }
}
