// Price changes: pp.dat is a headerless run of 8-byte records (Day, Price;
// little-endian unsigned 32-bit each).
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct PricePoint {
  uint32_t Day;  // DayNumber of the first day at the new price
  uint32_t Price;  // hundredths of the currency unit, per pack/carton
};
static_assert(sizeof(PricePoint) == 8);

inline constexpr uint32_t PricePointCapacity = 100;

struct PricePointList {
  std::array<PricePoint, PricePointCapacity> points;
  uint32_t count;  // slots in use, in ascending Day
};

// The one list of the program.
extern PricePointList PricePoints;

// The file's first 100 records (a trailing partial record counts with its
// missing bytes as zero; fewer than 4 bytes give none), ordered by Day with
// the file's order kept within a day: a hand-made or older file out of order
// prices the days as the Edit Quit Details dialog shows them. Returns the
// number of records the file holds, which may be more than the list keeps.
uint32_t DecodePricePoints(std::span<const uint8_t> bytes, PricePointList& list);
// The file image of `rows` (at most the first 100 of them).
std::vector<uint8_t> EncodePricePoints(std::span<const PricePoint> rows);
