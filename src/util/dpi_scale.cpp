#include "util/dpi_scale.h"

#include <cstdint>

int ScaleBetween(int value, int to, int from) {
  if (from == 0) return 0;
  const int64_t product = static_cast<int64_t>(value) * to;
  const int64_t half = (from < 0 ? -from : from) / 2;
  const bool negative = (product < 0) != (from < 0);
  const int64_t magnitude = ((product < 0 ? -product : product) + half) / (from < 0 ? -from : from);
  return static_cast<int>(negative ? -magnitude : magnitude);
}
