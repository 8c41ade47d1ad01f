// The console over real sockets: its pages, and every kind of unwelcome request answered with
// its status code and nothing else changing.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cabinet_files.h"
#include "console_server.h"
#include "site.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kToken = "fleet-token-0123456789abcdef";

// A console serving a played cabinet on a free loopback port, in this process.
class RunningConsole {
  public:
    explicit RunningConsole(const TestCabinet& cabinet, std::optional<std::string> token = {},
                            ServerLimits limits = {})
        : site_({cabinet.content(), cabinet.ledgerPath()}, "test-cabinet"),
          server_(site_, ServerConfig{{"127.0.0.1", 0, false}, token, limits}) {
        std::string error;
        if (!server_.Bind(error)) ADD_FAILURE() << error;
        thread_ = std::thread([this] { server_.Run(); });
    }
    ~RunningConsole() {
        server_.Stop();
        thread_.join();
    }
    int port() const { return server_.port(); }
    httplib::Client Client() const {
        httplib::Client client("127.0.0.1", port());
        client.set_read_timeout(20, 0);
        return client;
    }

  private:
    ConsoleSite site_;
    ConsoleServer server_;
    std::thread thread_;
};

int Connect(int port) {
    const int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(sock);
        return -1;
    }
    return sock;
}

// Everything the server sends until it closes the connection (or falls silent for 20 s).
std::string ReadUntilClosed(int sock) {
    std::string answer;
    char buffer[4096];
    pollfd entry{sock, POLLIN, 0};
    while (poll(&entry, 1, 20000) > 0) {
        const ssize_t got = recv(sock, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        answer.append(buffer, static_cast<size_t>(got));
    }
    return answer;
}

// Sends raw bytes (as much as the server takes) and returns everything it answers until it
// closes the connection.
std::string Exchange(int port, const std::string& request) {
    const int sock = Connect(port);
    if (sock < 0) return "";
    size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = send(sock, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    const std::string answer = ReadUntilClosed(sock);
    close(sock);
    return answer;
}

int StatusOf(const std::string& answer) {
    return answer.size() > 12 && answer.starts_with("HTTP/1.1 ") ? std::stoi(answer.substr(9, 3))
                                                                 : -1;
}

struct PlayedCabinet {
    TestCabinet cabinet;
    PlayedCabinet() {
        cabinet.WriteRecord(PlayedRecord(12, 3, 210, 95));
        cabinet.WriteLog(
            "10/12/2026 11:48:42 - Vantor 1.0.0.1 - Start of Log\n"
            "10/12/2026 11:52:13 - Closing log\n");
        cabinet.Book(Operation::Insert, 5000);
        for (int game = 0; game < 60; ++game)
            cabinet.Book(Operation::UseCredit, 50);
        cabinet.Book(Operation::AddCredit, 70);
    }
    // Everything the console could have touched: the files it reads, and which files there are.
    std::string State() const {
        std::string state = FileBytes(cabinet.recordPath()) + FileBytes(cabinet.ledgerPath()) +
                            FileBytes(cabinet.logPath());
        std::string names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(cabinet.root()))
            names += entry.path().string() + "\n";
        return names + std::to_string(std::hash<std::string>{}(state));
    }
};

TEST(Server, ServesEveryPageAndTheMetrics) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet);
    httplib::Client client = console.Client();
    for (const char* path : {"/", "/meters", "/ledger", "/ledger?page=2", "/payout", "/log"}) {
        const auto answer = client.Get(path);
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->status, 200) << path;
        EXPECT_EQ(answer->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_TRUE(answer->body.starts_with("<!DOCTYPE html>")) << path;
        EXPECT_NE(answer->get_header_value("Content-Security-Policy").find("default-src 'none'"),
                  std::string::npos);
    }
    EXPECT_NE(client.Get("/")->body.find("id=\"credit\">£20.70<"), std::string::npos);
    EXPECT_NE(client.Get("/ledger?page=2")->body.find("Page 2 of 2"), std::string::npos);
    EXPECT_NE(client.Get("/log")->body.find("Closing log"), std::string::npos);

    const auto metrics = client.Get("/metrics");
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->get_header_value("Content-Type"),
              "text/plain; version=0.0.4; charset=utf-8");
    EXPECT_NE(metrics->body.find("\nvantor_money_paid_pence_total 305\n"), std::string::npos);
    EXPECT_NE(metrics->body.find("\nvantor_credit_pence 2070\n"), std::string::npos);

    const auto csv = client.Get("/ledger.csv");
    ASSERT_TRUE(csv);
    EXPECT_EQ(csv->status, 200);
    EXPECT_EQ(csv->get_header_value("Content-Disposition"), "attachment; filename=\"ledger.csv\"");
    EXPECT_TRUE(csv->body.starts_with("id,time_utc,command,amount_pence,"));
    EXPECT_EQ(std::count(csv->body.begin(), csv->body.end(), '\n'), 63);
    EXPECT_NE(csv->body.find("\r\n62,"), std::string::npos);

    const auto head = client.Head("/meters");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_TRUE(head->body.empty());
}

TEST(Server, APageThatDoesNotExistIsNotFound) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet);
    httplib::Client client = console.Client();
    EXPECT_EQ(client.Get("/ledger?page=3")->status, 404);
    EXPECT_EQ(client.Get("/ledger?page=0")->status, 400);
    EXPECT_EQ(client.Get("/ledger?page=-1")->status, 400);
    EXPECT_EQ(client.Get("/ledger?page=99999999999999999999")->status, 400);
    EXPECT_EQ(client.Get("/meters/")->status, 404);
    EXPECT_EQ(client.Get("/favicon.ico")->status, 404);
}

TEST(Server, NoFileOutsideItsPagesWhateverThePath) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet);
    const std::string before = played.State();
    for (const char* path :
         {"/../../../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/%2E%2E%2F%2E%2E%2Fetc%2Fpasswd",
          "/%252e%252e/etc/passwd", "/..%5c..%5cetc%5cpasswd", "/data/brasswick.rec",
          "/../credit.db", "/%2e%2e/credit.db", "/meters/../../credit.db", "//etc/passwd",
          "/log%00.txt", "/~system/logs/Vantor.txt", "/.%2e/.%2e/etc/passwd"}) {
        const std::string answer =
            Exchange(console.port(), std::string("GET ") + path + " HTTP/1.1\r\nHost: x\r\n\r\n");
        const int status = StatusOf(answer);
        EXPECT_TRUE(status == 404 || status == 400) << path << ": " << status;
        EXPECT_EQ(answer.find("root:"), std::string::npos) << path;
        EXPECT_EQ(answer.find("SQLite format"), std::string::npos) << path;
    }
    EXPECT_EQ(played.State(), before);
}

TEST(Server, ReadOnlyOnlyGetAndHead) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet);
    const std::string before = played.State();
    for (const char* method : {"POST", "PUT", "DELETE", "PATCH", "OPTIONS"}) {
        const std::string answer = Exchange(
            console.port(),
            std::string(method) + " /ledger HTTP/1.1\r\nHost: x\r\nContent-Length: 4\r\n\r\nCUSE");
        EXPECT_EQ(StatusOf(answer), 405) << method;
        EXPECT_NE(answer.find("Allow: GET, HEAD"), std::string::npos) << method;
    }
    EXPECT_EQ(StatusOf(Exchange(console.port(), "BREW / HTTP/1.1\r\nHost: x\r\n\r\n")), 400);
    EXPECT_EQ(played.State(), before);
}

TEST(Server, WithATokenEveryRequestMustCarryIt) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet, kToken);
    httplib::Client client = console.Client();
    const auto refused = client.Get("/metrics");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 401);
    EXPECT_NE(refused->get_header_value("WWW-Authenticate").find("Bearer"), std::string::npos);
    EXPECT_EQ(refused->body.find("vantor_"), std::string::npos);

    for (const std::string& header :
         {std::string("Bearer wrong-token-0123456789abcdef"), std::string("Bearer ") + kToken + "0",
          std::string("Bearer ") + std::string(kToken).substr(0, 10), std::string(kToken),
          std::string("Basic ") + "b3BlcmF0b3I6d3Jvbmc=", std::string("Bearer ")}) {
        const auto answer = client.Get("/", {{"Authorization", header}});
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 401) << header;
    }
    // Even a method the console never answers is refused for want of the token first.
    EXPECT_EQ(StatusOf(Exchange(console.port(), "DELETE / HTTP/1.1\r\nHost: x\r\n\r\n")), 401);

    const auto bearer =
        client.Get("/metrics", {{"Authorization", std::string("Bearer ") + kToken}});
    ASSERT_TRUE(bearer);
    EXPECT_EQ(bearer->status, 200);
    client.set_basic_auth("operator", kToken);
    const auto basic = client.Get("/");
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->status, 200);
}

TEST(Server, OversizedRequestsAreRefusedBeforeTheyGrow) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet);
    const std::string before = played.State();
    const std::string longPath = "/" + std::string(9000, 'a');
    EXPECT_EQ(StatusOf(Exchange(console.port(), "GET " + longPath + " HTTP/1.1\r\n\r\n")), 414);
    // A request line that never ends.
    EXPECT_EQ(StatusOf(Exchange(console.port(), "GET /" + std::string(100000, 'a'))), 414);
    // Many headers, each small, that together pass the bound; and one huge header.
    std::string many = "GET / HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < 2000; ++i)
        many += "X-Filler-" + std::to_string(i) + ": " + std::string(40, 'b') + "\r\n";
    EXPECT_EQ(StatusOf(Exchange(console.port(), many + "\r\n")), 431);
    EXPECT_EQ(StatusOf(Exchange(console.port(), "GET / HTTP/1.1\r\nX-Big: " +
                                                    std::string(12000, 'c') + "\r\n\r\n")),
              431);
    // A body larger than any request may be is refused unread.
    EXPECT_EQ(StatusOf(Exchange(console.port(),
                                "POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 100000\r\n\r\n" +
                                    std::string(100000, 'd'))),
              405);
    // Still serving, and nothing changed.
    EXPECT_EQ(console.Client().Get("/")->status, 200);
    EXPECT_EQ(played.State(), before);
}

TEST(Server, SlowClientsAreCutOffWithoutHoldingUpOthers) {
    PlayedCabinet played;
    ServerLimits limits;
    limits.workers = 2;
    limits.requestTime = 1500ms;
    limits.quietTime = 1000ms;
    RunningConsole console(played.cabinet, {}, limits);

    // One client says nothing; another trickles its headers a byte at a time.
    const int silent = Connect(console.port());
    std::thread trickler([&] {
        const int sock = Connect(console.port());
        const std::string request = "GET / HTTP/1.1\r\nHost: slow\r\nX-Slow: yes\r\n\r\n";
        for (const char c : request) {
            if (send(sock, &c, 1, MSG_NOSIGNAL) != 1) break;
            std::this_thread::sleep_for(200ms);
        }
        close(sock);
    });
    std::this_thread::sleep_for(100ms);
    // Both workers are held, but only for the bounded time: a third client is answered.
    const auto started = std::chrono::steady_clock::now();
    const auto answer = console.Client().Get("/metrics");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 15s);

    // The silent client is closed with 408.
    EXPECT_EQ(StatusOf(ReadUntilClosed(silent)), 408);
    close(silent);
    trickler.join();
}

TEST(Server, ManyConnectionsAtOnceAreAllAnswered) {
    PlayedCabinet played;
    ServerLimits limits;
    limits.workers = 4;
    limits.waiting = 8;
    RunningConsole console(played.cabinet, {}, limits);
    const std::string before = played.State();
    constexpr int kClients = 120;
    std::vector<std::thread> clients;
    std::atomic<int> answered = 0;
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&] {
            const std::string answer =
                Exchange(console.port(), "GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n");
            if (StatusOf(answer) == 200 &&
                answer.find("vantor_money_paid_pence_total 305") != std::string::npos) {
                ++answered;
            }
        });
    }
    for (std::thread& client : clients)
        client.join();
    EXPECT_EQ(answered, kClients);
    EXPECT_EQ(played.State(), before);
}

TEST(Server, KeepsServingWhileTheGameRewritesItsFiles) {
    PlayedCabinet played;
    RunningConsole console(played.cabinet);
    std::atomic<bool> stop = false;
    std::thread game([&] {
        for (int games = 1; !stop; ++games) {
            played.cabinet.WriteRecord(PlayedRecord(games, 0, games * 10, 0));
            if (games % 20 == 0) std::remove(played.cabinet.recordPath().c_str());
            // A game bought and, every other time, a win paid back to credit: the ledger keeps
            // changing however many games a fast or slow machine plays meanwhile, and the credit
            // never runs out (a stake it could not cover would be refused).
            if (games % 100 == 50) played.cabinet.Book(Operation::UseCredit, 50);
            if (games % 100 == 0) played.cabinet.Book(Operation::AddCredit, 50);
        }
    });
    httplib::Client client = console.Client();
    int missing = 0;
    for (int i = 0; i < 150; ++i) {
        const auto answer = client.Get(i % 2 ? "/metrics" : "/meters");
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->status, 200);
        if (answer->body.find("vantor_record_file_ok 0") != std::string::npos ||
            answer->body.find("notice error") != std::string::npos) {
            ++missing;
        }
    }
    stop = true;
    game.join();
    EXPECT_LT(missing, 150);
}

TEST(Server, AMissingCabinetIsShownNotFatal) {
    TestCabinet empty;
    RunningConsole console(empty);
    httplib::Client client = console.Client();
    for (const char* path : {"/", "/meters", "/ledger", "/payout", "/log", "/metrics"}) {
        const auto answer = client.Get(path);
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->status, 200) << path;
    }
    EXPECT_NE(client.Get("/metrics")->body.find("vantor_record_file_ok 0"), std::string::npos);
    EXPECT_EQ(client.Get("/ledger.csv")->status, 503);
    EXPECT_FALSE(std::filesystem::exists(empty.ledgerPath()));
}

}  // namespace
