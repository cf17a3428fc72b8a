// Checks of the quit details as the user typed them (first-run wizard, Edit
// Quit Details). Every number must be a number: text that holds anything but
// digits (and, for a price, one decimal separator) is refused, because the
// fields filter only what is typed, not what is pasted.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/settings_records.h"

enum class QuitEntryFault { None, Name, PerPack, PerDay, Price };

struct QuitEntryTexts {
  std::string_view name;
  std::string_view perPack;
  std::string_view perDay;
  std::string_view price;
};

// The message box text that reports `fault` ("" for None).
const char* QuitEntryMessage(QuitEntryFault fault);

// Plain digits (leading zeros allowed) within [low, high]; high below 10^9.
bool ReadCount(std::string_view text, uint32_t low, uint32_t high, uint32_t& value);
// Digits with at most one DecimalSeparator, read as hundredths (extra decimals
// dropped), 1..100000.
bool ReadPrice(std::string_view text, uint32_t& hundredths);

// Name (not empty), cigarettes per pack (1..600), per day (1..500), price, in
// that order. Each value that passes goes into `details` before the next check
// runs; the first failure stops and is returned. The name is always copied
// (at most 127 bytes), the failing number is left as it was.
QuitEntryFault CheckQuitEntries(const QuitEntryTexts& texts, QuitDetailsRecord& details);

// What the digits-only fields let through when typed: 0..9 and backspace.
bool DigitsOnlyAccepts(unsigned char typed);
// The price field also takes `decimalSeparator` (any number of times).
bool PriceAccepts(unsigned char typed, char decimalSeparator);
// What Ctrl+V puts into such a field: the text without the blanks around it,
// when each of its characters could have been typed there (a digit, or
// `decimalSeparator` unless it is '\0'); empty when any could not.
std::string FilteredPaste(std::string_view text, char decimalSeparator);
