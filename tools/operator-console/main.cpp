// operator-console: the cabinet's status, meters, credit ledger, payout and log as web pages, and
// its figures for Prometheus at /metrics. Read-only: money moves only through the credit service.
//
//   operator-console serve [--listen ADDR:PORT] [--content DIR] [--db FILE] [--token-file FILE]
//
// Exit status: 0 stopped by SIGTERM or SIGINT, 1 cannot listen, 2 bad command line or refused.
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "base/log.h"
#include "cabinet.h"
#include "console_options.h"
#include "console_server.h"
#include "site.h"

namespace {

constexpr int kExitStopped = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: operator-console serve [--listen ADDR:PORT] [--content DIR] [--db FILE]\n"
    "                              [--token-file FILE]\n"
    "       operator-console --help | --version\n"
    "Serves the cabinet's status, meters, credit ledger, payout and log as web pages, and its\n"
    "figures for Prometheus at /metrics. Read-only.\n"
    "  --listen ADDR:PORT  where to answer (default 127.0.0.1:8080; port 0 picks a free one).\n"
    "                      Any address but this machine's own needs --token-file.\n"
    "  --content DIR       the game's content directory (default: the current directory)\n"
    "  --db FILE           the credit ledger (default $VANTOR_CREDIT_DB, else credit.db)\n"
    "  --token-file FILE   every request must carry the token in this file, as\n"
    "                      'Authorization: Bearer TOKEN' (or as the password of a browser's\n"
    "                      login)\n"
    "Options take their value as --name VALUE or --name=VALUE.\n"
    "Exit status: 0 stopped by SIGTERM or SIGINT, 1 cannot listen, 2 bad command line or\n"
    "refused.\n";

std::string MachineName() {
    char name[256] = "";
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "cabinet";
    return name;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
    ServeOptions options;
    std::string error;
    switch (ParseServeArguments(argc, argv, std::getenv("VANTOR_CREDIT_DB"), options, error)) {
        case ParseOutcome::Help:
            std::fputs(kUsage, stdout);
            return kExitStopped;
        case ParseOutcome::Version:
            std::printf("operator-console %s\n", kVersionText);
            return kExitStopped;
        case ParseOutcome::Bad:
            std::fprintf(stderr, "operator-console: %s (operator-console --help shows the usage)\n",
                         error.c_str());
            return kExitUsage;
        case ParseOutcome::Serve:
            break;
    }
    ServerConfig config;
    config.listen = options.listen;
    if (!options.tokenFile.empty()) {
        config.token = ReadTokenFile(options.tokenFile, error);
        if (!config.token) {
            std::fprintf(stderr, "operator-console: %s\n", error.c_str());
            return kExitUsage;
        }
    } else if (!IsLoopback(options.listen)) {
        std::fprintf(stderr,
                     "operator-console: refusing to listen on %s without --token-file: only "
                     "127.0.0.1 or ::1 may be served without a token\n",
                     FormatListenAddress(options.listen).c_str());
        return kExitUsage;
    }
    if (!IsDirectory(options.contentDir)) {
        std::fprintf(stderr, "operator-console: no content directory at %s\n",
                     options.contentDir.c_str());
        return kExitUsage;
    }

    // SIGTERM and SIGINT are taken by one thread of their own, which stops the server; every
    // other thread (the server's included) inherits them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    const ConsoleSite site({options.contentDir, options.ledgerPath}, MachineName());
    ConsoleServer server(site, config);
    if (!server.Bind(error)) {
        std::fprintf(stderr, "operator-console: %s\n", error.c_str());
        return kExitFailed;
    }
    ListenAddress bound = options.listen;
    bound.port = static_cast<uint16_t>(server.port());
    std::printf("listening on %s\n", FormatListenAddress(bound).c_str());
    std::fflush(stdout);

    std::thread stopper([&server, &stopSignals] {
        int received = 0;
        sigwait(&stopSignals, &received);
        server.Stop();
    });
    const bool served = server.Run();
    pthread_kill(stopper.native_handle(), SIGUSR1);  // a no-op stop when Run ended by itself
    stopper.join();
    return served ? kExitStopped : kExitFailed;
}
