#include "client.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "teller.h"

namespace {

constexpr std::size_t kReadSize = 4096;

bool ChangesBalances(const Command& command) {
    return command.kind == CommandKind::CreditUse || command.kind == CommandKind::BankAdd ||
           command.kind == CommandKind::CreditAdd;
}

bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

}  // namespace

Client::Client(int socket) : socket_(socket) {}

Client::~Client() {
    close(socket_);
}

bool Client::WantsToRead() const {
    return !leaving_ && commands_.empty() && unsent_.size() < kMaxUnsentBytes;
}

bool Client::HasCommandToAnswer() const {
    return !commands_.empty() && unsent_.size() < kMaxUnsentBytes;
}

void Client::Receive() {
    char buffer[kReadSize];
    const ssize_t received = recv(socket_, buffer, sizeof buffer, 0);
    if (received < 0) {
        broken_ = !WouldBlock();
        return;
    }
    if (received == 0) {
        // The client has stopped sending: what it sent before is still answered.
        leaving_ = true;
        return;
    }
    std::vector<Command> commands;
    stream_.Push(std::string_view(buffer, static_cast<std::size_t>(received)), commands);
    commands_.insert(commands_.end(), commands.begin(), commands.end());
}

void Client::AnswerTurn(Ledger& ledger) {
    for (int answered = 0; answered < kCommandsPerTurn && HasCommandToAnswer(); ++answered) {
        const Command command = commands_.front();
        commands_.pop_front();
        if (command.kind == CommandKind::Terminate) {
            // The game is leaving: whatever followed "TERM" is not carried out.
            leaving_ = true;
            commands_.clear();
            return;
        }
        unsent_ += AnswerCommand(command, ledger);
        if (ChangesBalances(command)) return;
    }
}

void Client::Send() {
    while (!unsent_.empty() && !broken_) {
        const ssize_t sent = send(socket_, unsent_.data(), unsent_.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            broken_ = !WouldBlock();
            return;
        }
        unsent_.erase(0, static_cast<std::size_t>(sent));
    }
}
