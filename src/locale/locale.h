// The locale seam. Pure code asks Locale() for the user's regional values and
// formatting; on Windows that is the Win32 locale calls (locale_win32.cpp),
// in native tests a deterministic stand-in (locale_standin.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/systime.h"

enum class LocaleItem {
  DecimalSeparator,  // LOCALE_SDECIMAL
  ThousandSeparator,  // LOCALE_STHOUSAND
  LeadingZero,  // LOCALE_ILZERO
  NegativeNumber,  // LOCALE_INEGNUMBER
  DateOrder,  // LOCALE_IDATE
  DateSeparator,  // LOCALE_SDATE
  CurrencySymbol,  // LOCALE_SCURRENCY
};

// The fields of NUMBERFMT, with the separators held as texts.
struct NumberFormatRecord {
  uint32_t numDigits = 0;
  uint32_t leadingZero = 0;
  uint32_t grouping = 3;
  std::string decimalSep;
  std::string thousandSep;
  uint32_t negativeOrder = 0;
};

// Every call returns the empty text when the platform fails, including when
// the result needs more than `capacity` characters with its terminator.
class LocaleSource {
 public:
  virtual ~LocaleSource() = default;
  virtual std::string Info(LocaleItem item) = 0;
  // A text of plain digits, grouped as the record says.
  virtual std::string FormatNumber(std::string_view digits, const NumberFormatRecord& format,
                                   std::size_t capacity) = 0;
  // Units, a full stop and two digits of hundredths ("12.34"), in the user's currency format.
  virtual std::string FormatCurrency(std::string_view amount, std::size_t capacity) = 0;
  // By a picture of dd, MM and yyyy; the empty picture means the short date format.
  virtual std::string FormatDate(const SysTime& date, std::string_view picture, std::size_t capacity) = 0;
};

LocaleSource& Locale();
// Tests swap in their own source; nullptr restores the default.
void UseLocale(LocaleSource* source);
// The back end's own source (Win32 calls, or the native stand-in).
LocaleSource& DefaultLocale();
