#include "console_server.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "access.h"
#include "pages.h"

namespace {

using Clock = std::chrono::steady_clock;

// A fixed number of workers and a bounded line of connections waiting for them. When the line
// is full the accepting thread waits, so further clients wait in the kernel's backlog instead of
// in memory.
class BoundedTaskQueue : public httplib::TaskQueue {
  public:
    BoundedTaskQueue(size_t workers, size_t capacity) : capacity_(std::max<size_t>(1, capacity)) {
        for (size_t i = 0; i < std::max<size_t>(1, workers); ++i)
            threads_.emplace_back([this] { Work(); });
    }

    void enqueue(std::function<void()> job) override {
        std::unique_lock lock(mutex_);
        roomFreed_.wait(lock, [this] { return jobs_.size() < capacity_ || stopping_; });
        jobs_.push_back(std::move(job));
        jobWaiting_.notify_one();
    }

    // Serves every connection already accepted, then ends the workers.
    void shutdown() override {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        jobWaiting_.notify_all();
        roomFreed_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

  private:
    void Work() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex_);
                jobWaiting_.wait(lock, [this] { return !jobs_.empty() || stopping_; });
                if (jobs_.empty()) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            roomFreed_.notify_one();
            job();
        }
    }

    const size_t capacity_;
    std::mutex mutex_;
    std::condition_variable jobWaiting_;
    std::condition_variable roomFreed_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};

// What happened on the connection being served, for the answer to a request cut short.
struct ConnectionEvents {
    bool tooLong = false;    // the request passed its size
    bool lineEnded = false;  // the request line was complete
    bool tooSlow = false;    // the request did not arrive in time
    bool answered = false;   // bytes of an answer were sent
};
thread_local ConnectionEvents* currentConnection = nullptr;

std::string AddressText(const sockaddr_storage& address, socklen_t length, int& port) {
    char host[NI_MAXHOST] = "";
    char service[NI_MAXSERV] = "";
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
        port = -1;
        return "";
    }
    port = std::atoi(service);
    return host;
}

// A client's socket with the server's bounds: at most `requestBytes` read, all of it within
// `requestTime` of the connection's start; nothing at all after `connectionTime`; and no single
// wait for the peer longer than `quietTime`.
class BoundedSocketStream : public httplib::Stream {
  public:
    BoundedSocketStream(int sock, const ServerLimits& limits, ConnectionEvents& events)
        : sock_(sock),
          limits_(limits),
          events_(events),
          requestEnd_(Clock::now() + limits.requestTime),
          connectionEnd_(Clock::now() + limits.connectionTime) {}

    bool is_readable() const override { return next_ < filled_ || Wait(POLLIN, requestEnd_); }
    bool is_writable() const override { return Wait(POLLOUT, connectionEnd_); }

    ssize_t read(char* into, size_t size) override {
        if (next_ == filled_ && !Fill()) return -1;
        const size_t count = std::min(size, filled_ - next_);
        std::copy_n(buffer_ + next_, count, into);
        next_ += count;
        return static_cast<ssize_t>(count);
    }

    ssize_t write(const char* from, size_t size) override {
        if (!Wait(POLLOUT, connectionEnd_)) return -1;
        ssize_t sent;
        do {
            sent = send(sock_, from, size, MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        if (sent > 0) events_.answered = true;
        return sent;
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = AddressOf(getpeername, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip = AddressOf(getsockname, port);
    }

    socket_t socket() const override { return sock_; }

  private:
    std::string AddressOf(int (*name)(int, sockaddr*, socklen_t*), int& port) const {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        port = -1;
        if (name(sock_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return "";
        return AddressText(address, length, port);
    }

    // Waits until the socket is ready, for at most the quiet time and never past `end`.
    bool Wait(short events, Clock::time_point end) const {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::min(end, Clock::now() + limits_.quietTime) - Clock::now());
            if (left.count() <= 0) {
                if (events == POLLIN) events_.tooSlow = true;
                return false;
            }
            pollfd entry{sock_, events, 0};
            const int ready = poll(&entry, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR) continue;
            if (ready == 0 && events == POLLIN) events_.tooSlow = true;
            return ready > 0;
        }
    }

    bool Fill() {
        if (received_ >= limits_.requestBytes) {
            events_.tooLong = true;
            return false;
        }
        if (!Wait(POLLIN, requestEnd_)) return false;
        const size_t room = std::min(sizeof buffer_, limits_.requestBytes - received_);
        ssize_t got;
        do {
            got = recv(sock_, buffer_, room, 0);
        } while (got < 0 && errno == EINTR);
        if (got <= 0) return false;
        if (std::find(buffer_, buffer_ + got, '\n') != buffer_ + got) events_.lineEnded = true;
        received_ += static_cast<size_t>(got);
        next_ = 0;
        filled_ = static_cast<size_t>(got);
        return true;
    }

    int sock_;
    const ServerLimits& limits_;
    ConnectionEvents& events_;
    Clock::time_point requestEnd_;
    Clock::time_point connectionEnd_;
    char buffer_[4096];
    size_t next_ = 0;
    size_t filled_ = 0;
    size_t received_ = 0;
};

// The answer to a request that never reached the library's parser whole: its status line only.
void AnswerCutShort(int sock, const ConnectionEvents& events) {
    const char* status = nullptr;
    if (events.tooLong) {
        status = events.lineEnded ? "431 Request Header Fields Too Large" : "414 URI Too Long";
    } else if (events.tooSlow) {
        status = "408 Request Timeout";
    }
    if (!status) return;
    const std::string answer =
        std::string("HTTP/1.1 ") + status + "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    (void)!send(sock, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

}  // namespace

class ConsoleServer::Http : public httplib::Server {
  public:
    explicit Http(const ServerLimits& limits) : limits_(limits) {}

    // The library listens with a backlog of 5; while every worker is busy, clients beyond it
    // would wait for their connection to be retried instead of for a worker.
    bool Widen() { return ::listen(svr_sock_, limits_.backlog) == 0; }

  private:
    // One request per connection, read through the bounded stream. The library's own
    // keep-alive loop would read later requests with no bound on their size.
    bool process_and_close_socket(socket_t sock) override {
        ConnectionEvents events;
        currentConnection = &events;
        BoundedSocketStream stream(sock, limits_, events);
        bool closed = false;
        const bool served = process_request(stream, true, closed, nullptr);
        if (!served && !events.answered) AnswerCutShort(sock, events);
        currentConnection = nullptr;
        shutdown(sock, SHUT_RDWR);
        close(sock);
        return served;
    }

    const ServerLimits& limits_;
};

namespace {

const char* ReasonText(int status) {
    switch (status) {
        case 400:
            return "Bad request.";
        case 401:
            return "This console needs its token.";
        case 404:
            return "No such page.";
        case 405:
            return "The console is read-only: only GET and HEAD are answered.";
        case 408:
            return "The request took too long to arrive.";
        case 413:
            return "The request is too large.";
        case 414:
            return "The address is too long.";
        case 431:
            return "The request's headers are too large.";
        default:
            return "The request could not be answered.";
    }
}

void LogRequest(const httplib::Request& request, const httplib::Response& response) {
    if (response.status < 400) return;
    std::fprintf(stderr, "operator-console: %s %s from %s: %d\n", request.method.c_str(),
                 request.path.substr(0, 200).c_str(), request.remote_addr.c_str(), response.status);
}

}  // namespace

ConsoleServer::ConsoleServer(const ConsoleSite& site, ServerConfig config)
    : site_(site), config_(std::move(config)), http_(std::make_unique<Http>(config_.limits)) {
    const ServerLimits limits = config_.limits;
    http_->new_task_queue = [limits] {
        return new BoundedTaskQueue(limits.workers, limits.waiting);
    };
    http_->set_payload_max_length(limits.requestBytes);
    http_->set_keep_alive_max_count(1);
    // Only SO_REUSEADDR: the library would also set SO_REUSEPORT, letting a second console
    // (or another program of the same user) share the port unnoticed.
    http_->set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    http_->set_default_headers({
        {"Cache-Control", "no-store"},
        {"X-Content-Type-Options", "nosniff"},
        {"X-Frame-Options", "DENY"},
        {"Referrer-Policy", "no-referrer"},
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'unsafe-inline'; img-src 'self' data:; "
         "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
    });
    http_->set_logger(LogRequest);
    Route();
}

ConsoleServer::~ConsoleServer() = default;

void ConsoleServer::Route() {
    const std::optional<std::string> token = config_.token;
    http_->set_pre_routing_handler(
        [token](const httplib::Request& request, httplib::Response& response) {
            if (token && !CarriesToken(request.get_header_value("Authorization"), *token)) {
                response.status = 401;
                response.set_header("WWW-Authenticate",
                                    "Bearer realm=\"Vantor operator's console\", "
                                    "Basic realm=\"Vantor operator's console\", charset=\"UTF-8\"");
                return httplib::Server::HandlerResponse::Handled;
            }
            if (request.method != "GET" && request.method != "HEAD") {
                response.status = 405;
                response.set_header("Allow", "GET, HEAD");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
    // Every error answer gets a short text of its own; a request cut short by the bounds gets
    // the status that says why.
    const httplib::Server::HandlerWithResponse onError = [](const httplib::Request&,
                                                            httplib::Response& response) {
        if (currentConnection && response.status == 400) {
            if (currentConnection->tooLong)
                response.status = 431;
            else if (currentConnection->tooSlow)
                response.status = 408;
        }
        if (response.body.empty()) {
            response.set_content(std::string(ReasonText(response.status)) + "\n",
                                 "text/plain; charset=utf-8");
        }
        return httplib::Server::HandlerResponse::Handled;
    };
    http_->set_error_handler(onError);
    http_->set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            response.status = 500;
            response.set_content("The console failed to read the cabinet.\n",
                                 "text/plain; charset=utf-8");
        });

    const auto page = [this](SiteResponse (ConsoleSite::*make)() const) {
        return [this, make](const httplib::Request&, httplib::Response& response) {
            SiteResponse answer = (site_.*make)();
            response.status = answer.status;
            response.set_content(std::move(answer.body), answer.contentType.c_str());
        };
    };
    http_->Get("/", page(&ConsoleSite::Status));
    http_->Get("/meters", page(&ConsoleSite::Meters));
    http_->Get("/payout", page(&ConsoleSite::Payout));
    http_->Get("/log", page(&ConsoleSite::Log));
    http_->Get("/metrics", page(&ConsoleSite::Metrics));
    http_->Get("/ledger", [this](const httplib::Request& request, httplib::Response& response) {
        SiteResponse answer = site_.Ledger(request.get_param_value("page"));
        response.status = answer.status;
        response.set_content(std::move(answer.body), answer.contentType.c_str());
    });
    http_->Get("/ledger.csv", [this](const httplib::Request&, httplib::Response& response) {
        std::string error;
        std::shared_ptr<LedgerView> ledger = site_.OpenLedger(error);
        if (!ledger) {
            SiteResponse answer = site_.Error(503, "The credit ledger cannot be read: " + error);
            response.status = answer.status;
            response.set_content(std::move(answer.body), answer.contentType.c_str());
            return;
        }
        response.set_header("Content-Disposition", "attachment; filename=\"ledger.csv\"");
        auto lastId = std::make_shared<long long>(-1);
        response.set_chunked_content_provider(
            "text/csv; charset=utf-8", [ledger, lastId](size_t, httplib::DataSink& sink) {
                std::string text = *lastId < 0 ? LedgerCsvHeader() : std::string();
                const auto rows = ledger->RowsAfter(*lastId, 500);
                if (!rows) return false;  // the download ends cut short, not as if complete
                for (const LedgerRow& row : *rows) {
                    text += LedgerCsvLine(row);
                    *lastId = row.id;
                }
                if (*lastId < 0) *lastId = 0;
                if (!text.empty() && !sink.write(text.data(), text.size())) return false;
                if (rows->empty()) sink.done();
                return true;
            });
    });
}

bool ConsoleServer::Bind(std::string& error) {
    const std::string& host = config_.listen.host;
    port_ = config_.listen.port == 0
                ? http_->bind_to_any_port(host)
                : (http_->bind_to_port(host, config_.listen.port) ? config_.listen.port : -1);
    if (port_ < 0 || !http_->Widen()) {
        error =
            "cannot listen on " + FormatListenAddress(config_.listen) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool ConsoleServer::Run() {
    return http_->listen_after_bind();
}

void ConsoleServer::Stop() {
    http_->stop();
}
