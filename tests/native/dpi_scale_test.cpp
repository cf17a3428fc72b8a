#include <gtest/gtest.h>

#include "util/dpi_scale.h"

// Expected figures worked out by hand: value * dpi / 96, halves away from zero.
TEST(DpiScale, RoundsLikeMulDiv) {
  const struct {
    int value, dpi, scaled;
  } cases[] = {{14, 96, 14}, {14, 120, 18}, {7, 144, 11}, {-7, 144, -11}, {22, 192, 44}, {48, 120, 60}, {0, 144, 0}};
  for (const auto& c : cases) EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
  EXPECT_EQ(ScaleBetween(5, 3, 0), 0);
  EXPECT_EQ(ScaleBetween(5, 3, -2), -8);  // -7.5
}
