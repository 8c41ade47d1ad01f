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
#include <vector>

namespace {

constexpr int kBacklog = 16;
// Far more than a cabinet needs (the game and the operator's tools); beyond it a new connection
// is closed at once rather than left waiting unanswered.
constexpr std::size_t kMaxClients = 64;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
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
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
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

void CreditServer::Run() {
    bool more_waiting = false;
    while (ServeReadySockets(more_waiting ? 0 : -1)) {
        more_waiting = GiveEachClientATurn();
        CloseFinishedClients();
    }
    // Replies already formed belong to committed changes: hand over what the sockets take.
    for (const auto& client : clients_)
        client->Send();
    clients_.clear();
}

bool CreditServer::GiveEachClientATurn() {
    bool more_waiting = false;
    for (const auto& client : clients_) {
        client->AnswerTurn(ledger_);
        client->Send();
        more_waiting = more_waiting || client->HasCommandToAnswer();
    }
    return more_waiting;
}

bool CreditServer::ServeReadySockets(int timeout_ms) {
    std::vector<pollfd> watched = {{stop_signals_, POLLIN, 0}, {listener_, POLLIN, 0}};
    for (const auto& client : clients_) {
        const short events = static_cast<short>((client->WantsToRead() ? POLLIN : 0) |
                                                (client->WantsToWrite() ? POLLOUT : 0));
        watched.push_back({client->socket(), events, 0});
    }
    if (poll(watched.data(), watched.size(), timeout_ms) < 0) return errno == EINTR;
    if (watched[0].revents != 0) return false;
    for (std::size_t i = 0; i < clients_.size(); ++i) {
        const short ready = watched[i + 2].revents;
        Client& client = *clients_[i];
        if ((ready & (POLLIN | POLLHUP | POLLERR)) && client.WantsToRead()) client.Receive();
        if ((ready & (POLLOUT | POLLHUP | POLLERR)) && client.WantsToWrite()) client.Send();
    }
    if (watched[1].revents != 0) AcceptClients();
    CloseFinishedClients();
    return true;
}

void CreditServer::AcceptClients() {
    int connection;
    while ((connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        if (clients_.size() == kMaxClients) {
            std::fprintf(stderr, "credit-service: refused a connection: %zu already open\n",
                         kMaxClients);
            close(connection);
            continue;
        }
        const int yes = 1;
        setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        clients_.push_back(std::make_unique<Client>(connection));
        std::fprintf(stderr, "credit-service: game connected\n");
    }
}

void CreditServer::CloseFinishedClients() {
    std::erase_if(clients_, [](const std::unique_ptr<Client>& client) {
        if (!client->Finished()) return false;
        std::fprintf(stderr, "credit-service: game disconnected\n");
        return true;
    });
}
