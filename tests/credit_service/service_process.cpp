#include "service_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace {

const std::string kProgram = std::string(VANTOR_BIN_DIR) + "/credit-service";
// Generous: the sanitizer builds start slowly on a busy machine.
constexpr int kStartTimeoutMs = 60000;
// Only for "does it stop at all": a service that has not stopped by then never will.
constexpr int kStopTimeoutMs = 30000;

std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "VANTOR_CREDIT_DB=", 17) != 0) entries.emplace_back(*entry);
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts the program with its stdout on a pipe, the read end in `output`; its stderr too when
// `errors` is given, else the caller's.
pid_t Spawn(std::vector<std::string> arguments, const std::vector<std::string>& environment,
            int& output, int* errors = nullptr) {
    int pipe_ends[2];
    int error_ends[2] = {-1, -1};
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) return -1;
    if (errors && pipe2(error_ends, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    if (errors) posix_spawn_file_actions_adddup2(&actions, error_ends[1], STDERR_FILENO);
    arguments.insert(arguments.begin(), kProgram);
    std::vector<std::string> variables = ChildEnvironment(environment);
    pid_t pid = -1;
    if (posix_spawn(&pid, kProgram.c_str(), &actions, nullptr, Pointers(arguments).data(),
                    Pointers(variables).data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    output = pipe_ends[0];
    if (errors) {
        close(error_ends[1]);
        *errors = error_ends[0];
    }
    return pid;
}

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return ExitCodeOf(status);
}

// The exit code, or -1 when the process is still running after `timeout_ms`.
int WaitForExitWithin(pid_t pid, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) return ExitCodeOf(status);
        if (ended < 0 && errno != EINTR) return -1;
        usleep(10000);
    }
    return -1;
}

// Everything written to the two pipes until both close.
void ReadBoth(int output, int errors, CommandOutput& result) {
    pollfd watched[2] = {{output, POLLIN, 0}, {errors, POLLIN, 0}};
    std::string* texts[2] = {&result.out, &result.err};
    int open_pipes = 2;
    while (open_pipes > 0) {
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (watched[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t received = read(watched[i].fd, buffer, sizeof buffer);
            if (received < 0 && errno == EINTR) continue;
            if (received > 0) {
                texts[i]->append(buffer, static_cast<size_t>(received));
            } else {
                watched[i].fd = -1;
                --open_pipes;
            }
        }
    }
}

bool WaitReadable(int fd, int timeout_ms) {
    pollfd watched{fd, POLLIN, 0};
    return poll(&watched, 1, timeout_ms) > 0;
}

}  // namespace

ScratchDir::ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "credit-service-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

CommandOutput RunCreditService(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& environment) {
    CommandOutput result;
    int output = -1;
    int errors = -1;
    const pid_t pid = Spawn(arguments, environment, output, &errors);
    if (pid < 0) return result;
    ReadBoth(output, errors, result);
    close(output);
    close(errors);
    result.exit_code = WaitForExit(pid);
    return result;
}

std::pair<int, int> StatusOf(const std::string& db) {
    const CommandOutput status = RunCreditService({"status", "--db", db});
    int credit = -1;
    int bank = -1;
    if (status.exit_code != 0 ||
        std::sscanf(status.out.c_str(), "credit %d %*s bank %d", &credit, &bank) != 2) {
        return {-1, -1};
    }
    return {credit, bank};
}

RunningService::RunningService(const std::string& db) {
    pid_ = Spawn({"serve", "--db", db, "--port", "0"}, {}, output_);
    if (pid_ < 0) return;
    std::string line;
    char c;
    while (line.find('\n') == std::string::npos && WaitReadable(output_, kStartTimeoutMs) &&
           read(output_, &c, 1) == 1) {
        line.push_back(c);
    }
    unsigned port = 0;
    if (std::sscanf(line.c_str(), "listening on 127.0.0.1:%u", &port) == 1) {
        port_ = static_cast<uint16_t>(port);
    }
}

RunningService::~RunningService() {
    if (pid_ > 0) Kill();
    if (output_ >= 0) close(output_);
}

int RunningService::Stop(int signal_number) {
    if (pid_ <= 0) return -1;
    kill(pid_, signal_number);
    const int exit_code = WaitForExitWithin(pid_, kStopTimeoutMs);
    if (exit_code < 0) {
        kill(pid_, SIGKILL);
        WaitForExit(pid_);
    }
    pid_ = -1;
    return exit_code;
}

void RunningService::Kill() {
    Stop(SIGKILL);
}

GameConnection::GameConnection(uint16_t port) {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(socket_);
        socket_ = -1;
        return;
    }
    const int yes = 1;
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

GameConnection::~GameConnection() {
    if (socket_ >= 0) close(socket_);
}

bool GameConnection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

std::string GameConnection::ReadLine(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    size_t end;
    while ((end = buffered_.find('\n')) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(socket_, static_cast<int>(left.count()))) {
            return {};
        }
        char buffer[4096];
        const ssize_t received = recv(socket_, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) return {};
        buffered_.append(buffer, static_cast<size_t>(received));
    }
    std::string line = buffered_.substr(0, end + 1);
    buffered_.erase(0, end + 1);
    return line;
}

bool GameConnection::ClosedByService(int timeout_ms) {
    char c;
    return buffered_.empty() && WaitReadable(socket_, timeout_ms) && recv(socket_, &c, 1, 0) <= 0;
}
