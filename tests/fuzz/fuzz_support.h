// Shared by the libFuzzer targets: a check that aborts (so that libFuzzer
// keeps the input as a finding), a reader of fixed-size fields, and the
// stand-in locales.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "formats/settings_records.h"
#include "locale/formats.h"
#include "locale/locale_standin.h"

[[noreturn]] inline void CheckFailed(const char* file, int line, const char* condition) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}
#define Check(condition) ((condition) ? (void)0 : CheckFailed(__FILE__, __LINE__, #condition))

// Takes fields from the front of the input; past its end every byte is zero.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, std::size_t size) : bytes_(data, size) {}

  uint8_t Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  uint32_t U32() { return U16() | (uint32_t{U16()} << 16); }
  // Exactly `count` bytes, each in its own buffer so that the sanitizer sees
  // any read past it.
  std::vector<uint8_t> Take(std::size_t count) {
    std::vector<uint8_t> out(count, 0);
    for (uint8_t& b : out) b = Byte();
    return out;
  }
  std::vector<uint8_t> Rest() { return Take(bytes_.size() - std::min(at_, bytes_.size())); }

 private:
  std::span<const uint8_t> bytes_;
  std::size_t at_ = 0;
};

// `bytes` cut or padded with zeros to `size`.
inline std::vector<uint8_t> Fitted(std::span<const uint8_t> bytes, std::size_t size) {
  std::vector<uint8_t> out(size, 0);
  std::copy_n(bytes.begin(), std::min(size, bytes.size()), out.begin());
  return out;
}

// A period locale (like en-US) or a comma locale (like de-DE), set up.
inline void UseStandInLocale(bool comma) {
  static StandInLocale period(StandInLocale::Kind::Period);
  static StandInLocale commaLocale(StandInLocale::Kind::Comma);
  UseLocale(comma ? &commaLocale : &period);
  SetUpLocale();
}

// A stored value is taken only at exactly `size` bytes; any other size leaves
// the record as it was (compared through its encoding).
template <class Record, class Decode, class Encode>
void CheckTakenOnlyAtSize(std::span<const uint8_t> stored, std::size_t size, const Record& before, Decode decode,
                          Encode encode) {
  Record record = before;
  const bool taken = decode(stored, record);
  Check(taken == (stored.size() == size));
  if (!taken) Check(encode(record) == encode(before));
}

// The quit details and the quit day number that the figures count from.
inline void SetQuitDetails(const SysTime& quit, uint32_t perDay, uint32_t perPack, uint32_t price) {
  QuitDetails = QuitDetailsRecord{};
  QuitDetails.quitTime = quit;
  QuitDetails.cigsPerDay = perDay;
  QuitDetails.cigsPerPack = perPack;
  QuitDetails.price = price;
  QuitDayNumber = DateToDayNumber(quit);
}
