// anny.dat: one record per buddy, each 8 ASCII digits YYYYMMDD, the name's
// bytes and 0x1E; one 0x1C after the last record (a lone 0x1C for none).
// No header, count or checksum.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "util/systime.h"

inline constexpr uint8_t BuddyRecordEnd = 0x1E;
inline constexpr uint8_t BuddyFileEnd = 0x1C;
// The longest name kept; longer ones are cut.
inline constexpr std::size_t MaxBuddyNameBytes = 255;

struct BuddyRecord {
  SysTime date;  // year, month and day only
  std::string name;
};

struct DecodedBuddyFile {
  std::vector<BuddyRecord> records;  // in file order
  // Records dropped: a date that is not 8 digits of a real date in
  // 1000..9999, or a last record cut short. Bytes after the end byte count
  // as one.
  std::size_t skipped = 0;
  // Names cut to MaxBuddyNameBytes or at a zero byte.
  std::size_t namesCut = 0;
  // Whether saving over the file would lose anything it holds.
  bool Lossy() const { return skipped > 0 || namesCut > 0; }
};

// Every good record is kept, whatever comes before or after it.
DecodedBuddyFile DecodeBuddyFile(std::span<const uint8_t> bytes);
// The file image: exactly 8 digits per date, names without 0x1E and cut to
// MaxBuddyNameBytes, so that any record reads back.
std::vector<uint8_t> EncodeBuddyFile(std::span<const BuddyRecord> records);

// A name as the dialogs keep it: every character below 0x20 removed (the
// file's separators among them).
std::string CleanBuddyName(std::string_view typed);
