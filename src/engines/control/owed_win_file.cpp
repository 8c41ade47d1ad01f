#include "engines/control/owed_win_file.h"

#include <sys/stat.h>

#include <sstream>

#include "base/log.h"
#include "engines/control/durable_file.h"
#include "engines/control/record_file.h"
#include "platform/host_path.h"

namespace {

// Owed wins are small: a file longer than this is not one.
constexpr size_t kLargestFile = 512;

bool IsPartCommand(const std::string& command) {
    return command == "BADD" || command == "CADD";
}

}  // namespace

std::string EncodeOwedWin(const OwedWin& owed) {
    std::string text = "owed " + std::to_string(owed.pence) + "\n";
    if (owed.sending) {
        const PaymentInFlight& part = *owed.sending;
        text += "sending " + part.command + " " + std::to_string(part.pence) + " money-before " +
                std::to_string(part.moneyBefore) + " paid-out-before " +
                std::to_string(part.paidOutBefore) + "\n";
    }
    return text;
}

std::optional<OwedWin> DecodeOwedWin(std::string_view text) {
    std::istringstream lines{std::string(text)};
    std::string word;
    OwedWin owed;
    if (!(lines >> word) || word != "owed" || !(lines >> owed.pence) || owed.pence < 0)
        return std::nullopt;
    if (!(lines >> word)) return owed;
    PaymentInFlight part;
    std::string moneyWord, paidWord;
    if (word != "sending" || !(lines >> part.command >> part.pence >> moneyWord >>
                               part.moneyBefore >> paidWord >> part.paidOutBefore))
        return std::nullopt;
    if (!IsPartCommand(part.command) || part.pence <= 0 || moneyWord != "money-before" ||
        paidWord != "paid-out-before" || (lines >> word))
        return std::nullopt;
    owed.sending = part;
    return owed;
}

std::optional<OwedWin> LoadOwedWin() {
    const std::string path = platform::HostPath(kOwedWinFileName);
    const OpenRegularFile file(path);
    if (file.fd < 0) return std::nullopt;
    const std::vector<uint8_t> bytes = ReadFileBytes(file.fd, 0, kLargestFile + 1);
    std::optional<OwedWin> owed =
        bytes.size() > kLargestFile
            ? std::nullopt
            : DecodeOwedWin(
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!owed) LogPrint("Owed win file %s cannot be read: left for the operator\n", path.c_str());
    return owed;
}

bool SaveOwedWin(const OwedWin& owed) {
    const std::string path = platform::HostPath(kOwedWinFileName);
    if (owed.pence == 0 && !owed.sending) {
        if (RemoveFileDurably(path)) return true;
        LogPrint("Owed win file %s cannot be removed\n", path.c_str());
        return false;
    }
    mkdir(platform::HostPath(kRecordDirectoryName).c_str(), 0777);  // may exist already
    const std::string text = EncodeOwedWin(owed);
    const std::string failure = ReplaceFileDurably(
        path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    if (failure.empty()) return true;
    LogPrint("Owed win not saved: %s\n", failure.c_str());
    return false;
}
