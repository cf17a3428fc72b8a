// The time between two moments as a person counts it: years, months, weeks,
// days, hours, minutes and seconds, by field-wise subtraction with borrows.
#pragma once
#include <cstdint>
#include <string>

#include "util/systime.h"

struct ElapsedSpan {
  uint16_t years;
  uint16_t months;  // 0..11
  uint16_t weeks;  // 0..4
  uint16_t days;  // 0..6
  uint16_t hours;
  uint16_t minutes;
  uint16_t seconds;
  uint16_t reserved;  // always 0
};
static_assert(sizeof(ElapsedSpan) == 16);

// direction 0: second - first (first is earlier); 1: first - second.
void ComputeElapsedSpan(const SysTime& first, const SysTime& second, ElapsedSpan& span, int direction);
// "1Y 2M 3D 4h 5m" (zero items left out; "0m" when nothing is left).
std::string ShortSpanText(const ElapsedSpan& span, bool includeSeconds);
// "1 Year, 2 Months and 3 Days" ("0 minutes" when nothing is left).
std::string LongSpanText(const ElapsedSpan& span, bool includeSeconds);
// "3 Days, ": one item of the long form.
std::string SpanWord(uint32_t value, const char* unit);
