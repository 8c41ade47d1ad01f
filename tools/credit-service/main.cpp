// credit-service: keeps the player's credit and bank for the cabinet game, and is the operator's
// command line on the same ledger.
//
//   credit-service serve [--port N]   answer the game on 127.0.0.1:N (6667 unless given)
//   credit-service insert PENCE       coins inserted: add them to the credit
//   credit-service collect            pay the bank out to the player
//   credit-service status             show credit and bank
//   credit-service ledger             list every change
//
// Every command takes --db FILE; without it the ledger is $VANTOR_CREDIT_DB, or credit.db in the
// current directory. The commands are safe to run while the service is serving.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "account.h"
#include "ledger.h"
#include "protocol.h"
#include "server.h"

namespace {

constexpr uint16_t kDefaultPort = 6667;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: credit-service COMMAND [--db FILE]\n"
    "  serve [--port N]  answer the game on 127.0.0.1:N (default 6667, 0 for any free port)\n"
    "  insert PENCE      add inserted coins to the credit (1 to 9999 pence)\n"
    "  collect           pay the bank out to the player\n"
    "  status            show credit and bank\n"
    "  ledger            list every change to credit and bank\n"
    "The ledger is FILE, else $VANTOR_CREDIT_DB, else credit.db in the current directory.\n";

struct Arguments {
    std::string command;
    std::string db;
    std::optional<std::string> port;
    std::vector<std::string> values;
};

// The first word that is not an option is the command; options may come before or after it.
std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    const char* from_environment = std::getenv("VANTOR_CREDIT_DB");
    arguments.db = from_environment && *from_environment ? from_environment : "credit.db";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--db" || argument == "--port") {
            if (i + 1 == argc) return std::nullopt;
            (argument == "--db" ? arguments.db : arguments.port.emplace()) = argv[++i];
        } else if (argument == "--help" || argument == "-h") {
            arguments.command = "help";
        } else if (argument.starts_with("-")) {
            return std::nullopt;
        } else if (arguments.command.empty()) {
            arguments.command = argument;
        } else {
            arguments.values.emplace_back(argument);
        }
    }
    if (arguments.command.empty()) return std::nullopt;
    return arguments;
}

std::optional<uint16_t> ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 65535) return std::nullopt;
    return static_cast<uint16_t>(value);
}

std::unique_ptr<Ledger> OpenLedger(const std::string& path, Ledger::Access access) {
    std::string error;
    std::unique_ptr<Ledger> ledger = Ledger::Open(path, access, error);
    if (!ledger) std::fprintf(stderr, "credit-service: %s\n", error.c_str());
    return ledger;
}

int ReportFailure(const Ledger& ledger) {
    std::fprintf(stderr, "credit-service: %s\n", ledger.last_error().c_str());
    return kExitFailed;
}

int Serve(const std::string& db, uint16_t port) {
    const std::unique_ptr<Ledger> ledger = OpenLedger(db, Ledger::Access::CreateIfMissing);
    if (!ledger) return kExitFailed;
    CreditServer server(*ledger);
    std::string error;
    if (!server.Listen(port, error)) {
        std::fprintf(stderr, "credit-service: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("listening on 127.0.0.1:%u\n", static_cast<unsigned>(server.port()));
    std::fflush(stdout);
    server.Run();
    return 0;
}

int Insert(const std::string& db, int pence) {
    const std::unique_ptr<Ledger> ledger = OpenLedger(db, Ledger::Access::CreateIfMissing);
    if (!ledger) return kExitFailed;
    const ChangeResult result = ledger->Apply(Operation::Insert, pence);
    switch (result.outcome) {
        case ChangeOutcome::Applied:
            std::printf("inserted %s: credit %s\n", FormatPounds(pence).c_str(),
                        FormatPounds(result.after.credit).c_str());
            return 0;
        case ChangeOutcome::Refused:
            std::fprintf(stderr, "credit-service: refused: credit %s and %s would pass %s\n",
                         FormatPounds(result.after.credit).c_str(), FormatPounds(pence).c_str(),
                         FormatPounds(kMaxBalance).c_str());
            return kExitFailed;
        case ChangeOutcome::Failed:
            break;
    }
    return ReportFailure(*ledger);
}

int Collect(const std::string& db) {
    const std::unique_ptr<Ledger> ledger = OpenLedger(db, Ledger::Access::MustExist);
    if (!ledger) return kExitFailed;
    const ChangeResult result = ledger->Collect();
    switch (result.outcome) {
        case ChangeOutcome::Applied:
            std::printf("collected %d (%s)\n", result.amount, FormatPounds(result.amount).c_str());
            return 0;
        case ChangeOutcome::Refused:
            std::printf("collected 0 (%s): the bank is empty\n", FormatPounds(0).c_str());
            return 0;
        case ChangeOutcome::Failed:
            break;
    }
    return ReportFailure(*ledger);
}

int Status(const std::string& db) {
    const std::unique_ptr<Ledger> ledger = OpenLedger(db, Ledger::Access::MustExist);
    if (!ledger) return kExitFailed;
    const std::optional<Balances> balances = ledger->Read();
    if (!balances) return ReportFailure(*ledger);
    std::printf("credit %d (%s)\n", balances->credit, FormatPounds(balances->credit).c_str());
    std::printf("bank %d (%s)\n", balances->bank, FormatPounds(balances->bank).c_str());
    return 0;
}

int PrintLedger(const std::string& db) {
    const std::unique_ptr<Ledger> ledger = OpenLedger(db, Ledger::Access::MustExist);
    if (!ledger) return kExitFailed;
    std::printf("%6s  %-24s  %-7s  %6s  %6s  %6s\n", "id", "time (UTC)", "command", "amount",
                "credit", "bank");
    const bool read = ledger->ForEachRow([](const LedgerRow& row) {
        std::printf("%6lld  %-24s  %-7s  %6d  %6d  %6d\n", row.id, row.time.c_str(),
                    row.command.c_str(), row.amount, row.after.credit, row.after.bank);
    });
    return read ? 0 : ReportFailure(*ledger);
}

int Usage() {
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments = ParseArguments(argc, argv);
    if (!arguments) return Usage();
    const std::string& command = arguments->command;
    if (command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const size_t values = arguments->values.size();
    if (arguments->port && command != "serve") return Usage();

    if (command == "serve" && values == 0) {
        const std::optional<uint16_t> port =
            arguments->port ? ParsePort(*arguments->port) : kDefaultPort;
        return port ? Serve(arguments->db, *port) : Usage();
    }
    if (command == "insert" && values == 1) {
        const std::optional<int> pence = ParseAmount(arguments->values[0]);
        return pence ? Insert(arguments->db, *pence) : Usage();
    }
    if (command == "collect" && values == 0) return Collect(arguments->db);
    if (command == "status" && values == 0) return Status(arguments->db);
    if (command == "ledger" && values == 0) return PrintLedger(arguments->db);
    return Usage();
}
