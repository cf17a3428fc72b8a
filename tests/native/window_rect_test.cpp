#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "util/window_rect.h"

namespace {
struct Rect {
  int32_t left, top, right, bottom;
  bool operator==(const Rect&) const = default;
};
}  // namespace

// A 500 x 400 window moved to stored corners, the far edges worked out by
// hand: x + 500 and y + 400, none past 2147483647 or below -2147483648.
TEST(WindowRect, MovedToAStoredCorner) {
  const Rect window{100, 50, 600, 450};
  const struct {
    int32_t x, y;
    bool moved;
    Rect after;
  } cases[] = {
      {10, 10, true, {10, 10, 510, 410}},
      {-2000, -1500, true, {-2000, -1500, -1500, -1100}},
      {INT_MIN, INT_MIN, true, {INT_MIN, INT_MIN, -2147483148, -2147483248}},
      {2147483147, 2147483247, true, {2147483147, 2147483247, INT_MAX, INT_MAX}},
      {2147483148, 0, false, window},
      {0, 2147483248, false, window},
      {INT_MAX, INT_MAX, false, window},
  };
  for (const auto& c : cases) {
    Rect rect = window;
    EXPECT_EQ(MoveCornerTo(rect, c.x, c.y), c.moved) << c.x << ", " << c.y;
    EXPECT_TRUE(rect == c.after) << c.x << ", " << c.y;
  }
  // A window that is itself far out, moved back.
  Rect far{INT_MIN, INT_MIN, -2147483148, -2147483248};
  EXPECT_TRUE(MoveCornerTo(far, 10, 10));
  EXPECT_TRUE(far == (Rect{10, 10, 510, 410}));
}
