#include "support/fake_credit_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kPollMs = 20;

// Waits up to kPollMs for the descriptor to become readable.
bool Readable(int fd) {
    pollfd request{fd, POLLIN, 0};
    return poll(&request, 1, kPollMs) > 0;
}

}  // namespace

FakeCreditService::FakeCreditService() {
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) return;
    const int yes = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenFd_, 1) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(listenFd_);
        listenFd_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

FakeCreditService::~FakeCreditService() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (thread_.joinable()) thread_.join();
    if (connectionFd_ >= 0) close(connectionFd_);
    if (listenFd_ >= 0) close(listenFd_);
}

void FakeCreditService::QueueReply(std::string reply) {
    std::lock_guard lock(mutex_);
    replies_.push_back(std::move(reply));
}

void FakeCreditService::SetResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<std::string> FakeCreditService::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

bool FakeCreditService::WaitForCommands(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return commandArrived_.wait_for(lock, timeout, [&] { return commands_.size() >= count; });
}

void FakeCreditService::CloseConnection() {
    std::lock_guard lock(mutex_);
    CloseConnectionLocked();
}

// Shuts the connection down at once; the service thread notices and closes the descriptor.
void FakeCreditService::CloseConnectionLocked() {
    if (connectionFd_ >= 0) shutdown(connectionFd_, SHUT_RDWR);
}

bool FakeCreditService::AcceptConnection() {
    while (true) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return false;
        }
        if (!Readable(listenFd_)) continue;
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        connectionFd_ = fd;
        return true;
    }
}

void FakeCreditService::Serve() {
    if (!AcceptConnection()) return;
    const int fd = connectionFd_;  // only this thread replaces or closes it from now on
    std::string pending;
    char buffer[4096];
    while (true) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        if (!Readable(fd)) continue;
        const ssize_t received = recv(fd, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) break;
        pending.append(buffer, static_cast<size_t>(received));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            AnswerCommand(pending.substr(0, end + 1));
            pending.erase(0, end + 1);
        }
    }
    std::lock_guard lock(mutex_);
    close(connectionFd_);
    connectionFd_ = -1;
}

void FakeCreditService::AnswerCommand(const std::string& command) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
    }
    commandArrived_.notify_all();
    if (command == "TERM\r\n") return;

    std::string reply = NextReply(command);
    for (;;) {
        const size_t pause = reply.find(kPause), longPause = reply.find(kLongPause);
        if (pause == std::string::npos && longPause == std::string::npos) break;
        const bool isLong = longPause < pause;
        SendReply(reply.substr(0, isLong ? longPause : pause));
        std::this_thread::sleep_for(isLong ? kLongPauseLength : kPauseLength);
        reply.erase(0, isLong ? longPause + kLongPause.size() : pause + kPause.size());
    }
    SendReply(reply);
}

void FakeCreditService::SendReply(const std::string& reply) {
    std::lock_guard lock(mutex_);
    if (connectionFd_ < 0) return;
    if (reply == kClose) {
        CloseConnectionLocked();
    } else if (!reply.empty()) {
        send(connectionFd_, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
}

std::string FakeCreditService::NextReply(const std::string& command) {
    Responder responder;
    {
        std::lock_guard lock(mutex_);
        if (!replies_.empty()) {
            std::string reply = std::move(replies_.front());
            replies_.pop_front();
            return reply;
        }
        responder = responder_;
    }
    return responder ? responder(command) : "FAIL\r\n";
}
