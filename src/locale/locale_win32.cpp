// The locale seam on Windows: the user default locale's own calls.
#include <windows.h>

#include <vector>

#include "locale/locale.h"
#include "util/systime_win32.h"

namespace {

LCTYPE TypeOf(LocaleItem item) {
  switch (item) {
    case LocaleItem::DecimalSeparator: return LOCALE_SDECIMAL;
    case LocaleItem::ThousandSeparator: return LOCALE_STHOUSAND;
    case LocaleItem::LeadingZero: return LOCALE_ILZERO;
    case LocaleItem::NegativeNumber: return LOCALE_INEGNUMBER;
    case LocaleItem::DateOrder: return LOCALE_IDATE;
    case LocaleItem::DateSeparator: return LOCALE_SDATE;
    case LocaleItem::CurrencySymbol: return LOCALE_SCURRENCY;
  }
  return 0;
}

// Runs a locale call that fills a buffer of `capacity` characters; its
// result counts the terminator, and 0 means failure.
template <typename Call>
std::string Filled(std::size_t capacity, Call call) {
  std::vector<char> buffer(capacity + 1, '\0');
  int written = call(buffer.data(), static_cast<int>(capacity));
  if (written <= 0) return {};
  return std::string(buffer.data());
}

class Win32Locale : public LocaleSource {
 public:
  std::string Info(LocaleItem item) override {
    return Filled(80, [&](char* out, int size) { return GetLocaleInfoA(LOCALE_USER_DEFAULT, TypeOf(item), out, size); });
  }

  std::string FormatNumber(std::string_view digits, const NumberFormatRecord& format, std::size_t capacity) override {
    std::string value(digits), decimalSep(format.decimalSep), thousandSep(format.thousandSep);
    NUMBERFMTA record{};
    record.NumDigits = format.numDigits;
    record.LeadingZero = format.leadingZero;
    record.Grouping = format.grouping;
    record.lpDecimalSep = decimalSep.data();
    record.lpThousandSep = thousandSep.data();
    record.NegativeOrder = format.negativeOrder;
    return Filled(capacity, [&](char* out, int size) {
      return GetNumberFormatA(LOCALE_USER_DEFAULT, 0, value.c_str(), &record, out, size);
    });
  }

  std::string FormatCurrency(std::string_view amount, std::size_t capacity) override {
    std::string value(amount);
    return Filled(capacity, [&](char* out, int size) {
      return GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, value.c_str(), nullptr, out, size);
    });
  }

  std::string FormatDate(const SysTime& date, std::string_view picture, std::size_t capacity) override {
    SYSTEMTIME st = ToSYSTEMTIME(date);
    std::string pic(picture);
    return Filled(capacity, [&](char* out, int size) {
      return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, pic.empty() ? nullptr : pic.c_str(), out, size);
    });
  }
};

}  // namespace

LocaleSource& DefaultLocale() {
  static Win32Locale win32;
  return win32;
}
