// A win the credit service has not (yet) taken, kept beside the record file in "data\owed-win.txt"
// until it is paid, so that no stop of the game, the service or the power loses it.
//
// The file is a few lines of text:
//   owed 350
//   sending BADD 300 money-before 1250 paid-out-before 4400
// "owed" is what is still to be paid. A "sending" line names the part on its way to the service
// when the file was written: its command and pence, the credit and bank held before it was sent,
// and the paid-out counter before it was counted. After a stop mid-payment those tell whether the
// service made the change, and whether the meters counted it, so it is paid and counted once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kOwedWinFileName = "data\\owed-win.txt";

struct PaymentInFlight {
    std::string command;  // "BADD" or "CADD"
    int32_t pence = 0;
    int32_t moneyBefore = 0;
    int32_t paidOutBefore = 0;

    bool operator==(const PaymentInFlight&) const = default;
};

struct OwedWin {
    int32_t pence = 0;
    std::optional<PaymentInFlight> sending;

    bool operator==(const OwedWin&) const = default;
};

std::string EncodeOwedWin(const OwedWin& owed);
// Reads the file's text. Nothing for text that is not a whole owed win (a damaged file): no
// amount, a negative one, a part that is not BADD or CADD.
std::optional<OwedWin> DecodeOwedWin(std::string_view text);

// The win owed, or nothing when no win is owed. A file that cannot be read is logged and left in
// place for the operator.
std::optional<OwedWin> LoadOwedWin();
// Keeps `owed` durably; an owed win of nothing with nothing on its way removes the file. False
// (and logged) when the file cannot be written.
bool SaveOwedWin(const OwedWin& owed);
