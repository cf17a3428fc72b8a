#include "formats/buddy_file.h"

#include <algorithm>

#include "util/text.h"

namespace {
constexpr std::size_t DateDigits = 8;

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

uint16_t DigitsValue(std::span<const uint8_t> digits) {
  uint16_t value = 0;
  for (uint8_t c : digits) value = static_cast<uint16_t>(value * 10 + (c - '0'));
  return value;
}

// The calendar's month lengths live above this layer; this check only needs
// to know which dates exist.
bool IsRealDate(uint16_t year, uint16_t month, uint16_t day) {
  static constexpr uint8_t Lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1000 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return day <= Lengths[month - 1] + (month == 2 && leap ? 1 : 0);
}

// The date of a record's first 8 bytes, or false.
bool ReadDate(std::span<const uint8_t> record, SysTime& date) {
  if (record.size() < DateDigits || !std::all_of(record.begin(), record.begin() + DateDigits, IsDigit)) return false;
  date = SysTime{};
  date.wYear = DigitsValue(record.subspan(0, 4));
  date.wMonth = DigitsValue(record.subspan(4, 2));
  date.wDay = DigitsValue(record.subspan(6, 2));
  return IsRealDate(date.wYear, date.wMonth, date.wDay);
}

// The name as the list can hold it: up to a zero byte, at most 255 bytes.
std::string ReadName(std::span<const uint8_t> bytes, bool& cut) {
  std::size_t length = std::find(bytes.begin(), bytes.end(), uint8_t{0}) - bytes.begin();
  length = std::min(length, MaxBuddyNameBytes);
  cut = length < bytes.size();
  return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}

void AppendDigits(std::vector<uint8_t>& out, uint32_t value, std::size_t width) {
  const std::string digits = RightText(ZeroPadded(value, width), width);
  out.insert(out.end(), digits.begin(), digits.end());
}
}  // namespace

DecodedBuddyFile DecodeBuddyFile(std::span<const uint8_t> bytes) {
  DecodedBuddyFile file;
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes[at] == BuddyFileEnd) {
      if (at + 1 < bytes.size()) ++file.skipped;
      break;
    }
    const auto end = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), BuddyRecordEnd);
    const std::span<const uint8_t> record = bytes.subspan(at, static_cast<std::size_t>(end - bytes.begin()) - at);
    if (end == bytes.end()) {  // cut short: no separator before the end of the data
      ++file.skipped;
      break;
    }
    BuddyRecord buddy;
    if (ReadDate(record, buddy.date)) {
      bool cut = false;
      buddy.name = ReadName(record.subspan(DateDigits), cut);
      if (cut) ++file.namesCut;
      file.records.push_back(std::move(buddy));
    } else {
      ++file.skipped;
    }
    at += record.size() + 1;
  }
  return file;
}

std::vector<uint8_t> EncodeBuddyFile(std::span<const BuddyRecord> records) {
  std::vector<uint8_t> out;
  for (const BuddyRecord& buddy : records) {
    AppendDigits(out, buddy.date.wYear, 4);
    AppendDigits(out, buddy.date.wMonth, 2);
    AppendDigits(out, buddy.date.wDay, 2);
    std::size_t written = 0;
    for (char c : buddy.name) {
      if (written == MaxBuddyNameBytes) break;
      if (static_cast<uint8_t>(c) == BuddyRecordEnd) continue;
      out.push_back(static_cast<uint8_t>(c));
      ++written;
    }
    out.push_back(BuddyRecordEnd);
  }
  out.push_back(BuddyFileEnd);
  return out;
}

std::string CleanBuddyName(std::string_view typed) {
  std::string name;
  for (char c : typed)
    if (static_cast<uint8_t>(c) >= 0x20) name += c;
  return name;
}
