// A deterministic locale for native tests: a period locale (like en-US) or a
// comma locale (like de-DE), with every value open to change by a test.
#pragma once
#include <map>
#include <string>

#include "locale/locale.h"

class StandInLocale : public LocaleSource {
 public:
  enum class Kind { Period, Comma };
  explicit StandInLocale(Kind kind = Kind::Period);

  std::map<LocaleItem, std::string> info;
  std::string currencyPattern;  // "$%s" or "%s EUR": where the amount goes
  bool fail = false;  // every call fails, as a broken platform would

  std::string Info(LocaleItem item) override;
  std::string FormatNumber(std::string_view digits, const NumberFormatRecord& format, std::size_t capacity) override;
  std::string FormatCurrency(std::string_view amount, std::size_t capacity) override;
  std::string FormatDate(const SysTime& date, std::string_view picture, std::size_t capacity) override;
};
