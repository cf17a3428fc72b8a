#include "locale/formats.h"

#include "util/text.h"

std::string DecimalSeparator;
std::string ThousandSeparator;
NumberFormatRecord IntegerFormat;
std::string DatePicture;
std::string CurrencySymbol;

namespace {
std::string OneCharacter(std::string text) { return text.substr(0, 1); }
}  // namespace

void SetUpLocale() {
  LocaleSource& locale = Locale();
  DecimalSeparator = OneCharacter(locale.Info(LocaleItem::DecimalSeparator));
  ThousandSeparator = OneCharacter(locale.Info(LocaleItem::ThousandSeparator));
  IntegerFormat.numDigits = 0;
  IntegerFormat.leadingZero = static_cast<uint32_t>(ParseDecimal(locale.Info(LocaleItem::LeadingZero)));
  IntegerFormat.grouping = 3;
  IntegerFormat.decimalSep = DecimalSeparator;
  IntegerFormat.thousandSep = ThousandSeparator;
  IntegerFormat.negativeOrder = static_cast<uint32_t>(ParseDecimal(locale.Info(LocaleItem::NegativeNumber)));
}

void BuildDatePicture() {
  LocaleSource& locale = Locale();
  int32_t order = ParseDecimal(locale.Info(LocaleItem::DateOrder));
  std::string sep = locale.Info(LocaleItem::DateSeparator);
  if (order == 0)
    DatePicture = "MM" + sep + "dd" + sep + "yyyy";
  else if (order == 1)
    DatePicture = "dd" + sep + "MM" + sep + "yyyy";
  else
    DatePicture = "yyyy" + sep + "MM" + sep + "dd";
  // The picture is at most 63 characters.
  if (DatePicture.size() > 63) DatePicture.resize(63);
}

void ReadCurrencySymbol() {
  CurrencySymbol = Locale().Info(LocaleItem::CurrencySymbol);
  if (CurrencySymbol.size() > 10) CurrencySymbol.resize(10);
}

std::string PriceTextToHundredths(std::string_view source) {
  source = source.substr(0, TextLength(source));
  const char sep = DecimalSeparatorChar();
  std::size_t at = sep ? source.find(sep) : std::string_view::npos;
  std::string result(source.substr(0, at));
  if (at == std::string_view::npos) return result + "00";
  while (at < source.size() && source[at] == sep) ++at;
  if (at >= source.size()) return result + "00";
  result.push_back(source[at]);
  result.push_back(at + 1 < source.size() ? source[at + 1] : '0');
  return result;
}

std::string FormatCount(uint32_t value, std::size_t capacity) {
  return Locale().FormatNumber(std::to_string(value), IntegerFormat, capacity);
}
