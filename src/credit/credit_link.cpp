#include "credit/credit_link.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "credit/credit_reply.h"

namespace {

constexpr size_t kBufferSize = 4096;
int creditSocket = -1;

// Sends one command whole and takes one reply into `reply` (NUL-terminated). False when the send
// or the receive fails, or the service has closed the connection (a receive of no bytes).
bool Exchange(const char* command, char (&reply)[kBufferSize]) {
    if (creditSocket < 0) return false;
    if (send(creditSocket, command, strlen(command), MSG_NOSIGNAL) < 0) return false;
    ssize_t received = recv(creditSocket, reply, kBufferSize - 1, 0);
    if (received <= 0) return false;
    reply[received] = '\0';
    return true;
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

uint16_t CappedReading(uint16_t reading) { return reading >= 10000 ? 0 : reading; }

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

uint16_t CreditReadExchange() { return ReadExchange("CGET\r\n", "CTEL"); }
uint16_t BankReadExchange() { return ReadExchange("BGET\r\n", "BTEL"); }

uint16_t ReadCredit() { return CappedReading(CreditReadExchange()); }
uint16_t ReadBank() { return CappedReading(BankReadExchange()); }

bool UseCredit(int16_t pence) { return AmountExchange("CUSE", pence, "CTEL"); }
bool AddBank(int16_t pence) { return AmountExchange("BADD", pence, "BTEL"); }
bool AddCredit(int16_t pence) { return AmountExchange("CADD", pence, "CTEL"); }

void PayWinnings(int16_t pence) {
    if (pence == 0) return;
    if (pence < 100) {
        AddCredit(pence);
        return;
    }
    const int16_t pounds = static_cast<int16_t>(pence / 100 * 100);
    const int16_t rest = static_cast<int16_t>(pence % 100);
    AddBank(pounds);
    if (rest != 0) AddCredit(rest);
}

bool SendTerm() {
    if (creditSocket < 0) return false;
    return send(creditSocket, "TERM\r\n", 6, MSG_NOSIGNAL) >= 0;
}
