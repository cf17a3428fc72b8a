#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/first_run_checks.h"
#include "engine/price_rows.h"
#include "locale_fixture.h"

TEST(PriceRows, PlainTextReadsBackExactlyAndNothingElseReads) {
  for (uint32_t price : {0u, 1u, 99u, 450u, 100000u, 4294967295u}) {
    uint32_t read = 12345;
    EXPECT_TRUE(ReadPlainPriceText(PlainPriceText(price), read)) << price;
    EXPECT_EQ(read, price);
  }
  EXPECT_EQ(PlainPriceText(450), "4.50");
  EXPECT_EQ(PlainPriceText(4294967295u), "42949672.95");
  for (const char* bad : {"", "4", "4.5", "4.500", ".50", "4.", "4,50", "1a.00", "4.5a", "-4.50", "1.2.30",
                          "42949672.96", "42949673.00", "0000000000042949673.00"}) {
    uint32_t read = 7;
    EXPECT_FALSE(ReadPlainPriceText(bad, read)) << bad;
    EXPECT_EQ(read, 7u) << bad;
  }
}

TEST_F(PeriodLocale, PriceFieldTextIsUngroupedAndReadsBackAsTheSamePrice) {
  EXPECT_EQ(PriceFieldText(100000), "1000.00");
  EXPECT_EQ(PriceFieldText(5), "0.05");
  for (uint32_t price : {1u, 450u, 100000u}) {
    uint32_t read = 0;
    EXPECT_TRUE(ReadPrice(PriceFieldText(price), read)) << price;
    EXPECT_EQ(read, price);
  }
}

TEST_F(CommaLocale, PriceFieldTextUsesTheLocaleSeparator) {
  EXPECT_EQ(PriceFieldText(100000), "1000,00");
  uint32_t read = 0;
  EXPECT_TRUE(ReadPrice(PriceFieldText(450), read));
  EXPECT_EQ(read, 450u);
  // The hidden column keeps its own form whatever the locale.
  EXPECT_EQ(PlainPriceText(450), "4.50");
}

TEST(PriceRows, ANewRowGoesAfterEveryRowOfItsDay) {
  const std::vector<uint32_t> days = {10, 20, 20, 30, 0x80000000u};
  struct Case {
    uint32_t day;
    std::size_t place;
  } cases[] = {{5, 0}, {10, 1}, {15, 1}, {20, 3}, {30, 4}, {31, 4}, {0x7FFFFFFFu, 4}, {0x80000000u, 5},
               {0xFFFFFFFFu, 5}};
  for (const Case& c : cases) EXPECT_EQ(PriceRowPlace(days, c.day), c.place) << c.day;
  EXPECT_EQ(PriceRowPlace({}, 3), 0u);
}

TEST(PriceRows, RowsInFileOrderPlacedOneByOneKeepSameDayOrder) {
  // Each row placed as it is read: a stable sort by day.
  const std::vector<PricePoint> file = {{30, 1}, {10, 2}, {20, 3}, {10, 4}, {30, 5}, {20, 6}};
  std::vector<PricePoint> rows;
  for (const PricePoint& p : file) {
    std::vector<uint32_t> days;
    for (const PricePoint& r : rows) days.push_back(r.Day);
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(PriceRowPlace(days, p.Day)), p);
  }
  std::vector<uint32_t> prices;
  for (const PricePoint& r : rows) prices.push_back(r.Price);
  EXPECT_EQ(prices, (std::vector<uint32_t>{2, 4, 3, 6, 1, 5}));
}

TEST(PriceRows, FullAtTheFileCapacity) {
  EXPECT_FALSE(PriceRowsFull(99));
  EXPECT_TRUE(PriceRowsFull(100));
  EXPECT_TRUE(PriceRowsFull(101));
}
