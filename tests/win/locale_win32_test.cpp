// The Win32 locale seam under Wine. ctest runs this suite once with
// LC_ALL=en_US.UTF-8 and once with de_DE.UTF-8 and names the locale in
// FUMORA_TEST_LOCALE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/calendar.h"
#include "locale/formats.h"
#include "util/text.h"

namespace {
std::string TestLocale() {
  const char* name = std::getenv("FUMORA_TEST_LOCALE");
  return name ? name : "";
}
}  // namespace

TEST(LocaleWin32, FormatsOfTheUserLocale) {
  std::string loc = TestLocale();
  if (loc.empty()) GTEST_SKIP() << "run by ctest with FUMORA_TEST_LOCALE set";
  SetUpLocale();
  BuildDatePicture();
  ReadCurrencySymbol();
  EXPECT_EQ(IntegerFormat.grouping, 3u);
  EXPECT_FALSE(CurrencySymbol.empty());
  SysTime date = MakeDate(2026, 12, 7);
  if (loc == "en_US") {
    EXPECT_EQ(DecimalSeparator, ".");
    EXPECT_EQ(ThousandSeparator, ",");
    EXPECT_EQ(FormatCount(1234567), "1,234,567");
    EXPECT_EQ(DatePicture, "MM/dd/yyyy");
    EXPECT_EQ(FormatDateText(date), "12/07/2026");
    EXPECT_EQ(PriceTextToHundredths("4.5"), "450");
  } else if (loc == "de_DE") {
    EXPECT_EQ(DecimalSeparator, ",");
    EXPECT_EQ(ThousandSeparator, ".");
    EXPECT_EQ(FormatCount(1234567), "1.234.567");
    EXPECT_EQ(DatePicture, "dd.MM.yyyy");
    EXPECT_EQ(FormatDateText(date), "07.12.2026");
    EXPECT_EQ(PriceTextToHundredths("4,5"), "450");
    EXPECT_EQ(ParseDecimal(PriceTextToHundredths("4,5")), 450);
  } else {
    FAIL() << "unknown test locale " << loc;
  }
}

TEST(LocaleWin32, CurrencyTakesUnitsAndHundredths) {
  if (TestLocale() != "en_US") GTEST_SKIP();
  EXPECT_EQ(Locale().FormatCurrency("1234.50", 80), "$1,234.50");
}
