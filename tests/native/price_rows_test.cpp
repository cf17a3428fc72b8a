#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/first_run_checks.h"
#include "engine/price_rows.h"
#include "locale_fixture.h"

TEST(PriceRows, PlainTextReadsBackExactlyAndNothingElseReads) {
  for (uint32_t price : {0u, 1u, 450u, 100000u, 4294967295u}) {
    uint32_t read = 12345;
    EXPECT_TRUE(ReadPlainPriceText(PlainPriceText(price), read)) << price;
    EXPECT_EQ(read, price);
  }
  EXPECT_EQ(PlainPriceText(4294967295u), "42949672.95");
  for (const char* bad : {"", "4", "4.5", "4.500", ".50", "4,50", "1a.00", "-4.50", "42949672.96", "042949673.00"}) {
    uint32_t read = 7;
    EXPECT_FALSE(ReadPlainPriceText(bad, read)) << bad;
    EXPECT_EQ(read, 7u) << bad;
  }
}

// Shown ungrouped with the locale's separator, so the check reads the same price back.
TEST_F(CommaLocale, PriceFieldTextReadsBackAsTheSamePrice) {
  EXPECT_EQ(PriceFieldText(100000), "1000,00");
  EXPECT_EQ(PriceFieldText(5), "0,05");
  uint32_t read = 0;
  EXPECT_TRUE(ReadPrice(PriceFieldText(100000), read));
  EXPECT_EQ(read, 100000u);
}

TEST(PriceRows, ANewRowGoesAfterEveryRowOfItsDayAsUnsignedDays) {
  const std::vector<uint32_t> days = {10, 20, 20, 30, 0x80000000u};
  const std::pair<uint32_t, std::size_t> cases[] = {{5, 0},           {10, 1},          {20, 3},         {31, 4},
                                                    {0x7FFFFFFFu, 4}, {0x80000000u, 5}, {0xFFFFFFFFu, 5}};
  for (auto [day, place] : cases) EXPECT_EQ(PriceRowPlace(days, day), place) << day;
  EXPECT_EQ(PriceRowPlace({}, 3), 0u);
}
