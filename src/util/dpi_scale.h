// Pixel figures of the 96-DPI layout at other display scales.
#pragma once

inline constexpr int BaseDpi = 96;

// value * to / from rounded to the nearest whole number, halves away from
// zero, as MulDiv rounds; 0 when `from` is 0.
int ScaleBetween(int value, int to, int from);
// A figure of the 96-DPI layout at `dpi`.
inline int ScaleToDpi(int value, int dpi) { return ScaleBetween(value, dpi, BaseDpi); }
