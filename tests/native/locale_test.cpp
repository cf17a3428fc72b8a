#include <gtest/gtest.h>

#include "locale/formats.h"
#include "locale/locale_standin.h"
#include "locale_fixture.h"
#include "util/text.h"

TEST_F(PeriodLocale, SetUpFillsSeparatorsAndIntegerFormat) {
  EXPECT_EQ(DecimalSeparator, ".");
  EXPECT_EQ(ThousandSeparator, ",");
  EXPECT_EQ(IntegerFormat.grouping, 3u);
  EXPECT_EQ(IntegerFormat.numDigits, 0u);
  EXPECT_EQ(IntegerFormat.leadingZero, 1u);
  EXPECT_EQ(FormatCount(1234567), "1,234,567");
  EXPECT_EQ(FormatCount(0), "0");
  EXPECT_EQ(FormatCount(4294967295u), "4,294,967,295");
}

TEST_F(CommaLocale, GroupsWithThePeriod) {
  EXPECT_EQ(DecimalSeparator, ",");
  EXPECT_EQ(FormatCount(1234567), "1.234.567");
  EXPECT_EQ(DatePicture, "dd.MM.yyyy");
}

TEST_F(PeriodLocale, DatePictureFollowsTheOrder) {
  EXPECT_EQ(DatePicture, "MM/dd/yyyy");
  locale.info[LocaleItem::DateOrder] = "1";
  locale.info[LocaleItem::DateSeparator] = ".";
  BuildDatePicture();
  EXPECT_EQ(DatePicture, "dd.MM.yyyy");
  locale.info[LocaleItem::DateOrder] = "2";
  locale.info[LocaleItem::DateSeparator] = "-";
  BuildDatePicture();
  EXPECT_EQ(DatePicture, "yyyy-MM-dd");
  locale.info[LocaleItem::DateOrder] = "7";
  BuildDatePicture();
  EXPECT_EQ(DatePicture, "yyyy-MM-dd");
}

TEST_F(PeriodLocale, LongSeparatorsKeepTheirFirstCharacter) {
  locale.info[LocaleItem::ThousandSeparator] = "'x";
  locale.info[LocaleItem::DecimalSeparator] = ".,";
  SetUpLocale();
  EXPECT_EQ(ThousandSeparator, "'");
  EXPECT_EQ(DecimalSeparator, ".");
  EXPECT_EQ(FormatCount(1000), "1'000");
}

TEST_F(PeriodLocale, PriceTextToHundredths) {
  const std::pair<const char*, const char*> cases[] = {
      {"12", "1200"}, {"12.5", "1250"}, {"12.50", "1250"}, {"12.567", "1256"}, {".5", "50"},
      {"12.", "1200"}, {"", "00"},     {"12..5", "1250"},  {"0.01", "001"},   {"1000.01", "100001"},
  };
  for (auto [in, out] : cases) {
    std::string got = PriceTextToHundredths(in);
    EXPECT_EQ(got, out) << in;
    EXPECT_LE(got.size(), std::string_view(in).size() + 2) << in;
  }
  EXPECT_EQ(ParseDecimal(PriceTextToHundredths("4.5")), 450);
}

TEST_F(CommaLocale, PriceUsesTheCommaOnly) {
  EXPECT_EQ(PriceTextToHundredths("4,5"), "450");
  EXPECT_EQ(ParseDecimal(PriceTextToHundredths("4,5")), 450);
  EXPECT_EQ(PriceTextToHundredths("4.5"), "4.500");  // no sep: the period is just a character
}

TEST_F(PeriodLocale, FailingLocaleLeavesTextsEmpty) {
  locale.fail = true;
  SetUpLocale();
  BuildDatePicture();
  ReadCurrencySymbol();
  EXPECT_EQ(DecimalSeparator, "");
  EXPECT_EQ(ThousandSeparator, "");
  EXPECT_EQ(IntegerFormat.leadingZero, 0u);
  EXPECT_EQ(CurrencySymbol, "");
  EXPECT_EQ(DatePicture, "MMddyyyy");  // an empty order reads as 0, an empty separator
  EXPECT_EQ(PriceTextToHundredths("12"), "1200");
}
