// The record file reader over any bytes. Whatever it takes from a file, writing those contents
// and reading them back gives the same balances, counters and date; the balances it gives are
// numbers the payout controller can work with.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <span>

#include "engines/control/controller.h"
#include "engines/control/record_file.h"

namespace {

bool SameContents(const RecordContents& a, const RecordContents& b) {
    // Balances compare as stored bits: -0 and 0 are different values in the file.
    return std::memcmp(a.balances, b.balances, sizeof a.balances) == 0 &&
           std::memcmp(a.counters, b.counters, sizeof a.counters) == 0 &&
           a.firstWritten == b.firstWritten;
}

// The controller with these balances: bands, the diagnostic win limit and one game's levels.
void UseInController(const RecordContents& contents) {
    ResetControlData();
    for (uint8_t stake = 0; stake < kStakeCount; ++stake) {
        if (!std::isfinite(contents.balances[stake])) std::abort();
        ControllerAdd(stake, contents.balances[stake]);
        if (ControllerBand(stake) >= kBandCount) std::abort();
    }
    if (MaxWinAllowed() < 0) std::abort();
    if (ControlOpen(1) != 1 || ControlClose() != 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    RecordContents contents;
    const std::string date = RecordDateOf(bytes);
    if (!date.empty() && date.size() != kRecordDateSize) std::abort();
    if (!DecodeRecord(bytes, contents)) {
        if (size > kDamagedRecordSize) std::abort();
        return 0;
    }
    if (contents.firstWritten != date) std::abort();
    UseInController(contents);

    const std::vector<uint8_t> written = EncodeRecord(contents);
    if (written.size() != kRecordValuesSize + kRecordBannerSize + kRecordTrailerText.size() +
                              contents.firstWritten.size())
        std::abort();
    RecordContents reread;
    if (!DecodeRecord(written, reread) || !SameContents(contents, reread)) std::abort();
    return 0;
}
