// A window's rectangle moved about without leaving the 32-bit range that
// Windows keeps it in.
#pragma once
#include <cstdint>

// Moves `rect` (left, top, right, bottom, as a RECT) so that its top-left
// corner lies at (x, y), worked out in 64 bits. False, and `rect` as it was,
// when an edge would then lie beyond the 32-bit range: only a damaged stored
// position asks for that.
template <class Rect>
bool MoveCornerTo(Rect& rect, int32_t x, int32_t y) {
  const int64_t right = int64_t{x} + rect.right - rect.left, bottom = int64_t{y} + rect.bottom - rect.top;
  if (static_cast<int32_t>(right) != right || static_cast<int32_t>(bottom) != bottom) return false;
  rect = {x, y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return true;
}
