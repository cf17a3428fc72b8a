#include "engine/first_run_checks.h"

#include <cstring>
#include <string>

#include "locale/formats.h"
#include "util/text.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view UpToZero(std::string_view text) { return text.substr(0, TextLength(text)); }

// Digits only; more than nine significant digits cannot be in range, and
// ParseDecimal would wrap them round to small numbers.
bool ReadDigits(std::string_view digits, uint32_t& value) {
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > 9) return false;
  value = static_cast<uint32_t>(ParseDecimal(digits));
  return true;
}
}  // namespace

const char* QuitEntryMessage(QuitEntryFault fault) {
  switch (fault) {
    case QuitEntryFault::Name:
      return "You cannot leave the name field blank - please fill it in before continuing";
    case QuitEntryFault::PerPack:
      return "Please enter a valid number between 1 and 600 for the number of cigarettes in a pack/carton";
    case QuitEntryFault::PerDay:
      return "Please enter a valid number between 1 and 500 for the number of cigarettes smoked per day";
    case QuitEntryFault::Price:
      return "Please enter a valid number between 1 and 1000 for the price of cigarettes";
    case QuitEntryFault::None:
      break;
  }
  return "";
}

bool ReadCount(std::string_view text, uint32_t low, uint32_t high, uint32_t& value) {
  text = UpToZero(text);
  if (text.empty()) return false;
  for (char c : text)
    if (!IsDigit(c)) return false;
  uint32_t read = 0;
  if (!ReadDigits(text, read) || read < low || read > high) return false;
  value = read;
  return true;
}

bool ReadPrice(std::string_view text, uint32_t& hundredths) {
  text = UpToZero(text);
  if (text.empty()) return false;
  const char sep = DecimalSeparatorChar();
  int separators = 0;
  for (char c : text) {
    if (sep != '\0' && c == sep)
      ++separators;
    else if (!IsDigit(c))
      return false;
  }
  if (separators > 1) return false;
  uint32_t read = 0;
  if (!ReadDigits(PriceTextToHundredths(text), read) || read < 1 || read > 100000) return false;
  hundredths = read;
  return true;
}

QuitEntryFault CheckQuitEntries(const QuitEntryTexts& texts, QuitDetailsRecord& details) {
  std::string_view name = UpToZero(texts.name).substr(0, sizeof details.name - 1);
  std::memset(details.name, 0, sizeof details.name);
  if (name.empty()) return QuitEntryFault::Name;
  std::memcpy(details.name, name.data(), name.size());
  if (!ReadCount(texts.perPack, 1, 600, details.cigsPerPack)) return QuitEntryFault::PerPack;
  if (!ReadCount(texts.perDay, 1, 500, details.cigsPerDay)) return QuitEntryFault::PerDay;
  if (!ReadPrice(texts.price, details.price)) return QuitEntryFault::Price;
  return QuitEntryFault::None;
}

bool DigitsOnlyAccepts(unsigned char typed) { return IsDigit(static_cast<char>(typed)) || typed == 8; }

bool PriceAccepts(unsigned char typed, char decimalSeparator) {
  return DigitsOnlyAccepts(typed) || (decimalSeparator != '\0' && typed == static_cast<unsigned char>(decimalSeparator));
}

std::string FilteredPaste(std::string_view text, char decimalSeparator) {
  constexpr std::string_view blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  text = text.substr(first, text.find_last_not_of(blanks) - first + 1);
  for (const char c : text) {
    const auto typed = static_cast<unsigned char>(c);
    if (typed == 8 || !PriceAccepts(typed, decimalSeparator)) return {};  // backspace is a key, not a character
  }
  return std::string(text);
}
