#include "engine/price_rows.h"

#include <algorithm>

#include "engine/first_run_checks.h"
#include "locale/formats.h"
#include "util/text.h"

namespace {
std::string UnitsAnd(uint32_t hundredths, char separator) {
  std::string text = std::to_string(hundredths / 100);
  text.push_back(separator);
  return text + ZeroPadded(hundredths % 100, 2);
}
}  // namespace

std::string PlainPriceText(uint32_t hundredths) { return UnitsAnd(hundredths, '.'); }

bool ReadPlainPriceText(std::string_view text, uint32_t& hundredths) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos || text.size() - point != 3) return false;
  // UINT32_MAX hundredths are 42949672.95: more units than that never fit.
  constexpr uint32_t MaxUnits = UINT32_MAX / 100;
  uint32_t units = 0, cents = 0;
  if (!ReadCount(text.substr(0, point), 0, MaxUnits, units) || !ReadCount(text.substr(point + 1), 0, 99, cents))
    return false;
  const uint64_t value = uint64_t{units} * 100 + cents;
  if (value > UINT32_MAX) return false;
  hundredths = static_cast<uint32_t>(value);
  return true;
}

std::string PriceFieldText(uint32_t hundredths) {
  // Without a separator (a failed locale call) the full stop keeps the
  // hundredths in sight: the check refuses it rather than store another price.
  const char separator = DecimalSeparatorChar();
  return UnitsAnd(hundredths, separator ? separator : '.');
}

std::size_t PriceRowPlace(std::span<const uint32_t> days, uint32_t day) {
  return static_cast<std::size_t>(std::upper_bound(days.begin(), days.end(), day) - days.begin());
}
