#include "engines/credit/credit_link.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "engines/credit/credit_reply.h"

namespace {

constexpr size_t kBufferSize = 4096;
int creditSocket = -1;

// How long the rest of a reply that arrived without its line end may take to follow. On loopback a
// reply arrives whole within microseconds; a service that answers without line ends must not
// cost every exchange, and so the attract screen and the player's touches, much more than this.
constexpr int kRestOfReplyMs = 100;
// How long the answer may take once a line that answers nothing has come in its place (a reply
// the service sent twice, or the late rest of an earlier one).
constexpr int kAfterStrayLineMs = 1000;
constexpr int64_t kNoDeadline = -1;

// Throws away whatever the service sent that no command is waiting for (the late rest of a
// reply, or a line it sent twice), so that it can never be taken as the answer to the next one.
void DiscardStaleBytes() {
    char stale[kBufferSize];
    while (recv(creditSocket, stale, sizeof stale, MSG_DONTWAIT) > 0) {
    }
}

int64_t SteadyMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

// True when bytes arrive before `giveUpAt` (kNoDeadline: however long the service takes, as the
// exchange blocks). A signal noted meanwhile does not cut the wait short.
bool MoreArrivesBefore(int64_t giveUpAt) {
    pollfd more{creditSocket, POLLIN, 0};
    for (;;) {
        const int64_t left =
            giveUpAt == kNoDeadline ? -1 : std::max<int64_t>(giveUpAt - SteadyMs(), 0);
        const int ready = poll(&more, 1, static_cast<int>(left));
        if (ready >= 0) return ready > 0;
        if (errno != EINTR) return false;
    }
}

// What one line of the service says to a command expecting `keyword`.
enum class LineVerdict { Answer, Refusal, NoNumber, Stray };

LineVerdict JudgeLine(const std::string& line, const char* keyword, long& number) {
    if (ParseCreditReply(line.c_str(), keyword, number)) return LineVerdict::Answer;
    if (line.starts_with(keyword)) return LineVerdict::NoNumber;
    if (line.starts_with("FAIL")) return LineVerdict::Refusal;
    return LineVerdict::Stray;
}

struct Reply {
    LineVerdict verdict = LineVerdict::Stray;  // Stray: nothing usable came
    long number = 0;
};

// Waits for the reply to a command expecting `keyword`, one line at a time. A line that starts
// with another keyword answers nothing (the late copy of an earlier reply): it is passed over and
// the answer waited for, kAfterStrayLineMs at most. A piece without its line end gets
// kRestOfReplyMs for the rest; then what came is taken as the whole reply. A closed connection or
// a failed receive ends the wait with what has come.
Reply AwaitReply(const char* keyword) {
    std::string received;
    int64_t giveUpAt = kNoDeadline;
    Reply reply;
    for (;;) {
        size_t lineEnd;
        while ((lineEnd = received.find('\n')) != std::string::npos) {
            reply.verdict = JudgeLine(received.substr(0, lineEnd), keyword, reply.number);
            if (reply.verdict != LineVerdict::Stray) return reply;
            received.erase(0, lineEnd + 1);
            giveUpAt = SteadyMs() + kAfterStrayLineMs;
        }
        if (!received.empty() && giveUpAt == kNoDeadline) giveUpAt = SteadyMs() + kRestOfReplyMs;
        char piece[kBufferSize];
        const ssize_t got =
            MoreArrivesBefore(giveUpAt) ? recv(creditSocket, piece, sizeof piece, 0) : 0;
        if (got <= 0) break;
        received.append(piece, static_cast<size_t>(got));
        if (received.size() > kBufferSize) break;  // no reply is this long
    }
    if (!received.empty()) reply.verdict = JudgeLine(received, keyword, reply.number);
    return reply;
}

// Sends one command whole and waits for its reply.
Reply Exchange(const char* command, const char* keyword) {
    if (creditSocket < 0) return {};
    DiscardStaleBytes();
    if (send(creditSocket, command, strlen(command), MSG_NOSIGNAL) < 0) return {};
    return AwaitReply(keyword);
}

uint16_t ReadExchange(const char* command, const char* keyword) {
    const Reply reply = Exchange(command, keyword);
    if (reply.verdict != LineVerdict::Answer) return 0xFFFF;
    return static_cast<uint16_t>(reply.number);
}

uint16_t CappedReading(uint16_t reading) {
    return reading >= 10000 ? 0 : reading;
}

const char* ReplyKeyword(MoneyCommand command) {
    return command == MoneyCommand::AddBank ? "BTEL" : "CTEL";
}

}  // namespace

CreditConnectResult ConnectCreditService(uint16_t port) {
    CloseCreditService();
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return CreditConnectResult::SocketFailed;
    sockaddr_in address;
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return CreditConnectResult::ConnectFailed;
    }
    creditSocket = fd;
    return CreditConnectResult::Connected;
}

void CloseCreditService() {
    if (creditSocket >= 0) close(creditSocket);
    creditSocket = -1;
}

uint16_t CreditReadExchange() {
    return ReadExchange("CGET\r\n", "CTEL");
}
uint16_t BankReadExchange() {
    return ReadExchange("BGET\r\n", "BTEL");
}

uint16_t ReadCredit() {
    return CappedReading(CreditReadExchange());
}
uint16_t ReadBank() {
    return CappedReading(BankReadExchange());
}

const char* MoneyCommandName(MoneyCommand command) {
    switch (command) {
        case MoneyCommand::UseCredit:
            return "CUSE";
        case MoneyCommand::AddBank:
            return "BADD";
        case MoneyCommand::AddCredit:
            return "CADD";
    }
    return "?";
}

CreditAnswer SendMoneyCommand(MoneyCommand command, int16_t pence) {
    char text[kBufferSize];
    snprintf(text, sizeof text, "%s,%d\r\n", MoneyCommandName(command), pence);
    switch (Exchange(text, ReplyKeyword(command)).verdict) {
        case LineVerdict::Answer:
            return CreditAnswer::Accepted;
        case LineVerdict::Refusal:
            return CreditAnswer::Refused;
        case LineVerdict::NoNumber:
        case LineVerdict::Stray:
            break;
    }
    return CreditAnswer::Unclear;
}

int32_t MoneyHeld() {
    const uint16_t credit = CreditReadExchange();
    if (credit == 0xFFFF) return kMoneyUnknown;
    const uint16_t bank = BankReadExchange();
    if (bank == 0xFFFF) return kMoneyUnknown;
    return int32_t{credit} + bank;
}

bool MoneyHeldShows(MoneyCommand command, int16_t pence, int32_t before) {
    if (before == kMoneyUnknown) return false;
    const int32_t after = MoneyHeld();
    const int32_t change = command == MoneyCommand::UseCredit ? -pence : pence;
    return after != kMoneyUnknown && after == before + change;
}

WinningsParts SplitWinnings(int16_t pence) {
    WinningsParts split;
    if (pence <= 0) return split;
    const int16_t pounds = pence < 100 ? 0 : static_cast<int16_t>(pence / 100 * 100);
    const int16_t rest = static_cast<int16_t>(pence - pounds);
    if (pounds != 0) split.parts[split.count++] = {MoneyCommand::AddBank, pounds};
    if (rest != 0) split.parts[split.count++] = {MoneyCommand::AddCredit, rest};
    return split;
}

bool SendTerm() {
    if (creditSocket < 0) return false;
    return send(creditSocket, "TERM\r\n", 6, MSG_NOSIGNAL) >= 0;
}
