#include "locale/locale_standin.h"

#include <cstdio>

namespace {

std::string Fit(std::string text, std::size_t capacity) { return text.size() + 1 > capacity ? std::string() : text; }

// Digits grouped from the right by `size` with `sep`.
std::string Group(std::string_view digits, unsigned size, std::string_view sep) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && size > 0 && (digits.size() - i) % size == 0) out.append(sep);
    out.push_back(digits[i]);
  }
  return out;
}

std::string TwoDigits(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02u", v % 100);
  return buf;
}

}  // namespace

StandInLocale::StandInLocale(Kind kind) {
  bool period = kind == Kind::Period;
  info[LocaleItem::DecimalSeparator] = period ? "." : ",";
  info[LocaleItem::ThousandSeparator] = period ? "," : ".";
  info[LocaleItem::LeadingZero] = "1";
  info[LocaleItem::NegativeNumber] = "1";
  info[LocaleItem::DateOrder] = period ? "0" : "1";
  info[LocaleItem::DateSeparator] = period ? "/" : ".";
  info[LocaleItem::CurrencySymbol] = period ? "$" : "EUR";
  currencyPattern = period ? "$%s" : "%s EUR";
}

std::string StandInLocale::Info(LocaleItem item) { return fail ? std::string() : info[item]; }

std::string StandInLocale::FormatNumber(std::string_view digits, const NumberFormatRecord& format,
                                        std::size_t capacity) {
  if (fail) return {};
  return Fit(Group(digits, format.grouping, format.thousandSep), capacity);
}

std::string StandInLocale::FormatCurrency(std::string_view amount, std::size_t capacity) {
  if (fail) return {};
  std::string_view units = amount.substr(0, amount.find('.'));
  std::string_view cents = amount.size() > units.size() ? amount.substr(units.size() + 1) : "00";
  std::string number = Group(units, 3, info[LocaleItem::ThousandSeparator]) + info[LocaleItem::DecimalSeparator] +
                       std::string(cents);
  std::string out = currencyPattern;
  out.replace(out.find("%s"), 2, number);
  return Fit(out, capacity);
}

std::string StandInLocale::FormatDate(const SysTime& date, std::string_view picture, std::size_t capacity) {
  if (fail) return {};
  std::string pic(picture);
  if (pic.empty()) pic = info[LocaleItem::DateOrder] == "0" ? "M/d/yyyy" : "d.M.yyyy";
  std::string out;
  for (std::size_t i = 0; i < pic.size();) {
    if (pic.compare(i, 4, "yyyy") == 0) {
      out += std::to_string(date.wYear);
      i += 4;
    } else if (pic.compare(i, 2, "dd") == 0 || pic.compare(i, 2, "MM") == 0) {
      out += TwoDigits(pic[i] == 'd' ? date.wDay : date.wMonth);
      i += 2;
    } else if (pic[i] == 'd' || pic[i] == 'M') {
      out += std::to_string(pic[i] == 'd' ? date.wDay : date.wMonth);
      i += 1;
    } else {
      out.push_back(pic[i++]);
    }
  }
  return Fit(out, capacity);
}

LocaleSource& DefaultLocale() {
  static StandInLocale standIn;
  return standIn;
}
