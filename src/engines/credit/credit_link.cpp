#include "engines/credit/credit_link.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/log.h"
#include "engines/credit/credit_reply.h"

namespace {

constexpr size_t kBufferSize = 4096;
int creditSocket = -1;

// How long the rest of a reply that arrived without its line end may take to follow. On loopback a
// reply arrives whole within microseconds; a service that answers without line ends must not
// cost every exchange, and so the attract screen and the player's touches, much more than this.
constexpr int kRestOfReplyMs = 100;

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

// True when more of the reply arrives before `giveUpAt` (a signal noted meanwhile does not cut
// the wait short).
bool MoreArrivesBefore(int64_t giveUpAt) {
    pollfd more{creditSocket, POLLIN, 0};
    for (;;) {
        const int64_t left = giveUpAt - SteadyMs();
        if (left <= 0) return false;
        const int ready = poll(&more, 1, static_cast<int>(left));
        if (ready >= 0) return ready > 0;
        if (errno != EINTR) return false;
    }
}

// Takes one reply into `reply` (NUL-terminated): what the first receive brings, and, while that
// holds no line end, whatever follows within kRestOfReplyMs of the first piece, since a reply may
// arrive in pieces. False when the receive fails or the service has closed the connection (a
// receive of no bytes).
bool ReceiveReply(char (&reply)[kBufferSize]) {
    ssize_t received = recv(creditSocket, reply, kBufferSize - 1, 0);
    if (received <= 0) return false;
    size_t length = static_cast<size_t>(received);
    const int64_t giveUpAt = SteadyMs() + kRestOfReplyMs;
    while (!memchr(reply, '\n', length) && length < kBufferSize - 1 &&
           MoreArrivesBefore(giveUpAt)) {
        received = recv(creditSocket, reply + length, kBufferSize - 1 - length, 0);
        if (received <= 0) break;
        length += static_cast<size_t>(received);
    }
    reply[length] = '\0';
    return true;
}

// Sends one command whole and takes its reply. False when the send or the receive fails.
bool Exchange(const char* command, char (&reply)[kBufferSize]) {
    if (creditSocket < 0) return false;
    DiscardStaleBytes();
    if (send(creditSocket, command, strlen(command), MSG_NOSIGNAL) < 0) return false;
    return ReceiveReply(reply);
}

// Exchanges the command and reads the reply, which must carry `keyword` and a number.
bool KeywordExchange(const char* command, const char* keyword, long& number) {
    char reply[kBufferSize];
    return Exchange(command, reply) && ParseCreditReply(reply, keyword, number);
}

uint16_t ReadExchange(const char* command, const char* keyword) {
    long number = 0;
    if (!KeywordExchange(command, keyword, number)) return 0xFFFF;
    return static_cast<uint16_t>(number);
}

bool AmountExchange(const char* name, int16_t pence, const char* keyword) {
    char command[kBufferSize];
    snprintf(command, sizeof command, "%s,%d\r\n", name, pence);
    long unused = 0;
    return KeywordExchange(command, keyword, unused);
}

uint16_t CappedReading(uint16_t reading) {
    return reading >= 10000 ? 0 : reading;
}

// One part of a win: the player has been shown it, so a part the service did not accept is
// written to the log, where the operator can find what is owed. It is not sent again: the
// service may have booked it and only its answer have gone missing.
void PayOrLog(bool (*pay)(int16_t), const char* command, int16_t pence) {
    if (!pay(pence))
        LogPrint("Payment failed: %s,%d not accepted by the credit service\n", command, pence);
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

bool UseCredit(int16_t pence) {
    return AmountExchange("CUSE", pence, "CTEL");
}
bool AddBank(int16_t pence) {
    return AmountExchange("BADD", pence, "BTEL");
}
bool AddCredit(int16_t pence) {
    return AmountExchange("CADD", pence, "CTEL");
}

void PayWinnings(int16_t pence) {
    if (pence == 0) return;
    if (pence < 100) {
        PayOrLog(AddCredit, "CADD", pence);
        return;
    }
    const int16_t pounds = static_cast<int16_t>(pence / 100 * 100);
    const int16_t rest = static_cast<int16_t>(pence % 100);
    PayOrLog(AddBank, "BADD", pounds);
    if (rest != 0) PayOrLog(AddCredit, "CADD", rest);
}

bool SendTerm() {
    if (creditSocket < 0) return false;
    return send(creditSocket, "TERM\r\n", 6, MSG_NOSIGNAL) >= 0;
}
