#include "formats/price_points.h"

#include <algorithm>

#include "util/stable_sort.h"

PricePointList PricePoints;

namespace {
constexpr std::size_t RecordSize = sizeof(PricePoint);

// Little-endian, with bytes past the end of the file counting as zero.
uint32_t Get32(std::span<const uint8_t> bytes, std::size_t at) {
  uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    if (at + i < bytes.size()) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
}  // namespace

uint32_t DecodePricePoints(std::span<const uint8_t> bytes, PricePointList& list) {
  list.count = 0;
  if (bytes.size() < 4) return 0;
  for (std::size_t at = 0; at < bytes.size() && list.count < PricePointCapacity; at += RecordSize) {
    list.points[list.count] = PricePoint{Get32(bytes, at), Get32(bytes, at + 4)};
    ++list.count;
  }
  StableSortBy(list.points.begin(), list.points.begin() + list.count, [](const PricePoint& p) { return p.Day; });
  return static_cast<uint32_t>((bytes.size() + RecordSize - 1) / RecordSize);
}

std::vector<uint8_t> EncodePricePoints(std::span<const PricePoint> rows) {
  const std::size_t kept = std::min<std::size_t>(rows.size(), PricePointCapacity);
  std::vector<uint8_t> bytes;
  bytes.reserve(kept * RecordSize);
  for (std::size_t i = 0; i < kept; ++i) {
    Put32(bytes, rows[i].Day);
    Put32(bytes, rows[i].Price);
  }
  return bytes;
}
