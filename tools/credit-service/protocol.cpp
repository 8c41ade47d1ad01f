#include "protocol.h"

#include "account.h"

namespace {

struct Keyword {
    std::string_view text;
    CommandKind kind;
    bool takes_amount;
};

constexpr Keyword kKeywords[] = {
    {"CGET", CommandKind::CreditRead, false}, {"BGET", CommandKind::BankRead, false},
    {"CUSE", CommandKind::CreditUse, true},   {"BADD", CommandKind::BankAdd, true},
    {"CADD", CommandKind::CreditAdd, true},   {"TERM", CommandKind::Terminate, false},
};

constexpr std::size_t kKeywordLength = 4;

}  // namespace

std::optional<int> ParseAmount(std::string_view text) {
    if (text.empty() || text.size() > 5 || text.front() == '0') return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > kMaxAmount) return std::nullopt;
    return value;
}

Command ParseCommand(std::string_view line) {
    const std::string_view keyword = line.substr(0, kKeywordLength);
    const std::string_view rest = line.substr(keyword.size());
    for (const Keyword& candidate : kKeywords) {
        if (keyword != candidate.text) continue;
        if (!candidate.takes_amount) {
            return rest.empty() ? Command{candidate.kind} : Command{};
        }
        if (rest.empty() || rest.front() != ',') return Command{};
        if (auto amount = ParseAmount(rest.substr(1))) return Command{candidate.kind, *amount};
        return Command{};
    }
    return Command{};
}

std::string CreditReply(int credit) {
    return "CTEL," + std::to_string(credit) + "\r\n";
}

std::string BankReply(int bank) {
    return "BTEL," + std::to_string(bank) + "\r\n";
}

void CommandStream::Push(std::string_view bytes, std::vector<Command>& commands) {
    for (char c : bytes) {
        if (c == '\n') {
            std::string_view line = pending_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            commands.push_back(overlong_ ? Command{} : ParseCommand(line));
            pending_.clear();
            overlong_ = false;
        } else if (overlong_) {
            continue;
        } else if (pending_.size() == kMaxLineLength + 1) {
            // One byte of room is kept for the CR of a line of exactly the maximum length.
            overlong_ = true;
            pending_.clear();
        } else {
            pending_.push_back(c);
        }
    }
}
