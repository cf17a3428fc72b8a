// Pixel figures of the 96-DPI layout at other display scales, and the sizes
// the program's icons are drawn at.
#pragma once

inline constexpr int BaseDpi = 96;

// value * to / from rounded to the nearest whole number, halves away from
// zero, as MulDiv rounds; 0 when `from` is 0.
int ScaleBetween(int value, int to, int from);
// A figure of the 96-DPI layout at `dpi`.
inline int ScaleToDpi(int value, int dpi) { return ScaleBetween(value, dpi, BaseDpi); }

// The sizes the program's icons are drawn at (scripts/make-icons.py): the
// small and the large icon at 100, 125, 150 and 200 %.
inline constexpr int DrawnIconSizes[] = {16, 20, 24, 32, 40, 48, 64};
// The largest drawn size that is not larger than `wanted` (the smallest when
// all are), so that an icon is always shown as drawn, never stretched.
int DrawnIconSize(int wanted);
