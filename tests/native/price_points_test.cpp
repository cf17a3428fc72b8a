#include <gtest/gtest.h>

#include <vector>

#include "formats/price_points.h"

namespace {
std::vector<uint8_t> Record(uint32_t day, uint32_t price) {
  std::vector<uint8_t> bytes;
  for (uint32_t v : {day, price})
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return bytes;
}

std::vector<uint8_t> Records(uint32_t count) {
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < count; ++i) {
    auto r = Record(2451545 + i, 100 + i);
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  return bytes;
}

// A list with stale contents, to see that decoding replaces it.
PricePointList Stale() {
  PricePointList list{};
  list.count = 5;
  for (auto& p : list.points) p = PricePoint{7, 7};
  return list;
}
}  // namespace

TEST(PricePointsFormat, EmptyAndShortImagesGiveNoPoints) {
  for (std::size_t size : {0u, 1u, 3u}) {
    PricePointList list = Stale();
    std::vector<uint8_t> bytes(size, 0x41);
    DecodePricePoints(bytes, list);
    EXPECT_EQ(list.count, 0u) << size << " bytes";
  }
}

TEST(PricePointsFormat, FourBytesGiveOnePointWithPriceZero) {
  PricePointList list = Stale();
  std::vector<uint8_t> bytes = {0x19, 0x68, 0x25, 0x00};
  DecodePricePoints(bytes, list);
  ASSERT_EQ(list.count, 1u);
  EXPECT_EQ(list.points[0].Day, 2451481u);
  EXPECT_EQ(list.points[0].Price, 0u);
}

// Ordered by day, the file's order kept within a day (1 April 7.00 before
// 1 February 6.00 in the file prices February at 6.00).
TEST(PricePointsFormat, RecordsAreOrderedByDayKeepingFileOrderWithinADay) {
  const std::vector<PricePoint> file = {{2453000, 700}, {2452000, 600}, {2453000, 650}, {2452000, 0x01020304}, {5, 1}};
  std::vector<uint8_t> bytes;
  for (const PricePoint& p : file) {
    auto r = Record(p.Day, p.Price);
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  PricePointList list = Stale();
  EXPECT_EQ(DecodePricePoints(bytes, list), 5u);
  const std::vector<std::pair<uint32_t, uint32_t>> expected = {
      {5, 1}, {2452000, 600}, {2452000, 0x01020304}, {2453000, 700}, {2453000, 650}};
  ASSERT_EQ(list.count, expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(list.points[i].Day, expected[i].first) << i;
    EXPECT_EQ(list.points[i].Price, expected[i].second) << i;
  }
}

TEST(PricePointsFormat, TwelveBytesGiveASecondPointWithPriceZero) {
  std::vector<uint8_t> bytes = Record(2453000, 450);
  auto second = Record(2453100, 999);
  bytes.insert(bytes.end(), second.begin(), second.begin() + 4);
  PricePointList list = Stale();
  DecodePricePoints(bytes, list);
  ASSERT_EQ(list.count, 2u);
  EXPECT_EQ(list.points[1].Day, 2453100u);
  EXPECT_EQ(list.points[1].Price, 0u);
}

TEST(PricePointsFormat, TrailingPartialBytesCountAsZero) {
  std::vector<uint8_t> bytes = Record(1, 2);
  bytes.push_back(0xAB);  // 9 bytes: a second record whose Day is 0xAB
  PricePointList list = Stale();
  DecodePricePoints(bytes, list);
  ASSERT_EQ(list.count, 2u);
  EXPECT_EQ(list.points[1].Day, 0xABu);
  EXPECT_EQ(list.points[1].Price, 0u);
}

TEST(PricePointsFormat, MoreThanOneHundredRecordsKeepTheFirstHundred) {
  PricePointList list = Stale();
  EXPECT_EQ(DecodePricePoints(Records(101), list), 101u);  // the file's count, for telling the user
  ASSERT_EQ(list.count, 100u);
  EXPECT_EQ(list.points[0].Day, 2451545u);
  EXPECT_EQ(list.points[99].Day, 2451545u + 99);
  EXPECT_EQ(list.points[99].Price, 199u);

  DecodePricePoints(Records(100), list);
  EXPECT_EQ(list.count, 100u);
  std::vector<uint8_t> huge = Records(1000);
  huge.push_back(1);
  EXPECT_EQ(DecodePricePoints(huge, list), 1001u);
  EXPECT_EQ(list.count, 100u);
}

TEST(PricePointsFormat, EncodeWritesDayThenPriceLittleEndian) {
  const PricePoint rows[] = {{2451545, 450}, {2451600, 0xA1B2C3D4}, {0, 0}};
  std::vector<uint8_t> bytes = EncodePricePoints(rows);
  ASSERT_EQ(bytes.size(), 24u);
  const std::vector<uint8_t> expected = {0x59, 0x68, 0x25, 0x00, 0xC2, 0x01, 0x00, 0x00,
                                         0x90, 0x68, 0x25, 0x00, 0xD4, 0xC3, 0xB2, 0xA1,
                                         0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(bytes, expected);
  EXPECT_TRUE(EncodePricePoints(std::span<const PricePoint>()).empty());
}

TEST(PricePointsFormat, EncodeKeepsOnlyTheFirstHundredRows) {
  std::vector<PricePoint> rows;
  for (uint32_t i = 0; i < 150; ++i) rows.push_back({i, i * 10});
  std::vector<uint8_t> bytes = EncodePricePoints(rows);
  EXPECT_EQ(bytes.size(), 800u);
  PricePointList list{};
  DecodePricePoints(bytes, list);
  ASSERT_EQ(list.count, 100u);
  EXPECT_EQ(list.points[99].Day, 99u);
  EXPECT_EQ(list.points[99].Price, 990u);
}

TEST(PricePointsFormat, RoundTrip) {
  std::vector<PricePoint> rows = {{2450000, 1}, {2450001, 100000}, {2460000, 0xFFFFFFFF}};
  PricePointList list = Stale();
  DecodePricePoints(EncodePricePoints(rows), list);
  ASSERT_EQ(list.count, rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(list.points[i].Day, rows[i].Day);
    EXPECT_EQ(list.points[i].Price, rows[i].Price);
  }
}
