// The record file "data\brasswick.rec": the payout controller's two balances and 181 game
// counters, kept across restarts of the cabinet. Layout, little-endian, no padding:
//   0    balance 0 (50p), 32-bit IEEE float, pence
//   4    balance 1 (£1)
//   8    counters 0 to 180, signed 32-bit each
//   732  a 50-byte banner naming the game and the file
//   782  " - Inf File Written " and the date of the first writing, mm/dd/yy (no line end)
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engines/control/controller.h"

inline constexpr std::string_view kRecordFileName = "data\\brasswick.rec";
inline constexpr std::string_view kRecordDirectoryName = "data";

inline constexpr size_t kRecordValuesSize = 4 * kStakeCount + 4 * kCounterCount;  // 732
inline constexpr size_t kRecordBannerSize = 50;
inline constexpr std::string_view kRecordBanner =
    "Vantor quiz cabinet - brasswick.rec payout record ";
inline constexpr std::string_view kRecordTrailerText = " - Inf File Written ";
inline constexpr size_t kRecordDateSize = 8;
inline constexpr size_t kRecordFileSize =
    kRecordValuesSize + kRecordBannerSize + kRecordTrailerText.size() + kRecordDateSize;  // 810
// A file of this many bytes or fewer holds nothing worth loading and is deleted.
inline constexpr size_t kDamagedRecordSize = 10;

static_assert(kRecordBanner.size() == kRecordBannerSize);
static_assert(kRecordFileSize == 810);

// The values of a record file, away from the controller's tables.
struct RecordContents {
    float balances[kStakeCount] = {};
    int32_t counters[kCounterCount] = {};
    std::string firstWritten;  // "mm/dd/yy", or empty when the file holds no date
};

// The bytes of a record file holding these contents.
std::vector<uint8_t> EncodeRecord(const RecordContents& contents);

// Reads a record file's bytes into `contents`. A file of 10 bytes or fewer is damaged: false,
// `contents` untouched. Otherwise true: every whole value within the first 732 bytes is taken
// (a balance that is not a finite number as 0), values the file is too short to hold keep what
// `contents` had, and `firstWritten` gets the file's date (empty when its last 8 bytes are not a
// date).
bool DecodeRecord(std::span<const uint8_t> bytes, RecordContents& contents);

// The date of the first writing held in a file's last 8 bytes; empty when the file is shorter or
// they are not a date of the form mm/dd/yy.
std::string RecordDateOf(std::span<const uint8_t> bytes);

// Loads the controller's balances and counters from the record file at start-up. A missing or
// unreadable file zeroes them; a file of 10 bytes or fewer zeroes them and is deleted.
void ReadRecordFile();

// Saves the controller's balances and counters, keeping the date of the file's first writing.
// The file is replaced atomically (a complete new file is renamed over the old one), so a power
// cut or a failed write leaves either the old file or the new one, never a torn one.
void WriteRecordFile();
