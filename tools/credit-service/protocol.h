// The game's side of the line protocol as the service reads it: four-letter commands, some with a
// comma and an amount in pence, each on a line ended by CR LF (a bare LF is accepted too). Every
// line gets exactly one reply except "TERM", which gets none. Pure code: no sockets, no storage.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class CommandKind {
    CreditRead,  // "CGET"
    BankRead,    // "BGET"
    CreditUse,   // "CUSE,<pence>"
    BankAdd,     // "BADD,<pence>"
    CreditAdd,   // "CADD,<pence>"
    Terminate,   // "TERM": the game is leaving
    Invalid,     // anything else: answered with "FAIL"
};

struct Command {
    CommandKind kind = CommandKind::Invalid;
    int amount = 0;  // pence, 1 to kMaxAmount, for the three commands that carry one
    bool operator==(const Command&) const = default;
};

// Lines longer than this (terminator excluded) are refused whole.
inline constexpr std::size_t kMaxLineLength = 64;

// An amount as the game writes it: decimal digits, no sign, no leading zero, 1 to kMaxAmount.
std::optional<int> ParseAmount(std::string_view text);

// One line without its line end.
Command ParseCommand(std::string_view line);

// Replies.
inline constexpr std::string_view kFailReply = "FAIL\r\n";
std::string CreditReply(int credit);  // "CTEL,<credit>\r\n"
std::string BankReply(int bank);      // "BTEL,<bank>\r\n"

// Cuts the byte stream from one connection into commands, however the bytes were split into
// segments. A line over kMaxLineLength is discarded up to its line end and becomes one Invalid
// command; bytes after the last line end wait for the next push.
class CommandStream {
  public:
    // Appends the commands completed by these bytes to `commands`.
    void Push(std::string_view bytes, std::vector<Command>& commands);

  private:
    std::string pending_;
    bool overlong_ = false;
};
