// The user's number, price and date formats, read once at start-up.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "locale/locale.h"

// One character each; a locale whose separator is longer keeps its first character.
extern std::string DecimalSeparator;
extern std::string ThousandSeparator;
// DecimalSeparator's character, or 0 when the locale gave none.
inline char DecimalSeparatorChar() { return DecimalSeparator.empty() ? '\0' : DecimalSeparator[0]; }
// Whole counts: no decimals, always grouped by threes whatever the locale's grouping.
extern NumberFormatRecord IntegerFormat;
// Two-digit day and month, four-digit year, in the locale's order: MM/dd/yyyy.
extern std::string DatePicture;
// Re-read by each dialog that shows a price field.
extern std::string CurrencySymbol;

// Fills DecimalSeparator, ThousandSeparator and IntegerFormat.
void SetUpLocale();
void BuildDatePicture();
void ReadCurrencySymbol();

// "12.5" -> "1250": the whole units, then exactly two digits of hundredths
// (extra digits dropped, no rounding). Never longer than the source + 2.
std::string PriceTextToHundredths(std::string_view source);

// A count in IntegerFormat ("1,234,567"), empty when it needs more than
// `capacity` characters with its terminator.
std::string FormatCount(uint32_t value, std::size_t capacity = 80);
