#include "teller.h"

#include <cstdio>

namespace {

std::string ReadReply(Ledger& ledger, CommandKind kind) {
    const std::optional<Balances> balances = ledger.Read();
    if (!balances) {
        std::fprintf(stderr, "credit-service: %s\n", ledger.last_error().c_str());
        return std::string(kFailReply);
    }
    return kind == CommandKind::CreditRead ? CreditReply(balances->credit)
                                           : BankReply(balances->bank);
}

std::string ChangeReply(Ledger& ledger, Operation operation, int amount) {
    const ChangeResult result = ledger.Apply(operation, amount);
    switch (result.outcome) {
        case ChangeOutcome::Applied:
            return operation == Operation::AddBank ? BankReply(result.after.bank)
                                                   : CreditReply(result.after.credit);
        case ChangeOutcome::Refused:
            break;
        case ChangeOutcome::Failed:
            std::fprintf(stderr, "credit-service: %s\n", ledger.last_error().c_str());
            break;
    }
    return std::string(kFailReply);
}

}  // namespace

std::string AnswerCommand(const Command& command, Ledger& ledger) {
    switch (command.kind) {
        case CommandKind::CreditRead:
        case CommandKind::BankRead:
            return ReadReply(ledger, command.kind);
        case CommandKind::CreditUse:
            return ChangeReply(ledger, Operation::UseCredit, command.amount);
        case CommandKind::BankAdd:
            return ChangeReply(ledger, Operation::AddBank, command.amount);
        case CommandKind::CreditAdd:
            return ChangeReply(ledger, Operation::AddCredit, command.amount);
        case CommandKind::Terminate:
        case CommandKind::Invalid:
            break;
    }
    return std::string(kFailReply);
}
