// The credit service's command reader over any bytes a client might send: single lines, amounts,
// and the byte stream however it is cut into segments.
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "account.h"
#include "protocol.h"

namespace {

bool TakesAmount(CommandKind kind) {
    return kind == CommandKind::CreditUse || kind == CommandKind::BankAdd ||
           kind == CommandKind::CreditAdd;
}

void CheckCommand(const Command& command) {
    const bool amountOk = TakesAmount(command.kind)
                              ? command.amount >= 1 && command.amount <= kMaxAmount
                              : command.amount == 0;
    if (!amountOk) std::abort();
}

// The commands of a whole stream pushed in the pieces that start at each of `cuts`.
std::vector<Command> PushInPieces(std::string_view bytes, const std::vector<size_t>& cuts) {
    CommandStream stream;
    std::vector<Command> commands;
    size_t from = 0;
    for (size_t cut : cuts) {
        stream.Push(bytes.substr(from, cut - from), commands);
        from = cut;
    }
    stream.Push(bytes.substr(from), commands);
    return commands;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto amount = ParseAmount(bytes); amount && (*amount < 1 || *amount > kMaxAmount))
        std::abort();
    CheckCommand(ParseCommand(bytes));

    // Cut points taken from the bytes themselves, so the fuzzer steers the segmentation too.
    std::vector<size_t> cuts;
    for (size_t at = 0; at < size; at += 1 + data[at] % 16)
        cuts.push_back(at);
    const std::vector<Command> whole = PushInPieces(bytes, {});
    // Exactly one command for every line end.
    if (whole.size() != static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')))
        std::abort();
    for (const Command& command : whole)
        CheckCommand(command);
    if (PushInPieces(bytes, cuts) != whole) std::abort();
    return 0;
}
