// credit-service: keeps the player's credit and bank for the cabinet game, and is the operator's
// command line on the same ledger (see kUsage in command_line.cpp for the commands).
// The commands are safe to run while the service is serving.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "account.h"
#include "command_line.h"
#include "ledger.h"
#include "server.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

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

int Init(const std::string& db) {
    if (!OpenLedger(db, Ledger::Access::CreateNew)) return kExitFailed;
    std::printf("created an empty credit ledger at %s\n", db.c_str());
    return 0;
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
    const std::unique_ptr<Ledger> ledger = OpenLedger(db, Ledger::Access::MustExist);
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

int Run(const Invocation& invocation) {
    const std::string& db = invocation.db;
    switch (invocation.action) {
        case Action::Help:
            std::fputs(kUsage, stdout);
            return 0;
        case Action::Version:
            std::printf("credit-service %s\n", VANTOR_VERSION_TEXT);
            return 0;
        case Action::Serve:
            return Serve(db, invocation.port);
        case Action::Init:
            return Init(db);
        case Action::Insert:
            return Insert(db, invocation.amount);
        case Action::Collect:
            return Collect(db);
        case Action::Status:
            return Status(db);
        case Action::PrintLedger:
            return PrintLedger(db);
    }
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const char* from_environment = std::getenv("VANTOR_CREDIT_DB");
    const std::string default_db =
        from_environment && *from_environment ? from_environment : "credit.db";
    std::string error;
    const std::optional<Invocation> invocation = ReadCommandLine(argc, argv, default_db, error);
    if (!invocation) {
        std::fprintf(stderr, "credit-service: %s (see credit-service --help)\n", error.c_str());
        return kExitUsage;
    }
    return Run(*invocation);
}
