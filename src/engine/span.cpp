#include "engine/span.h"

#include "engine/calendar.h"

namespace {

// The month before `month` of `year`, as (year, month): December of the year
// before for January.
void PreviousMonth(int& year, int& month) {
  if (--month < 1) {
    month = 12;
    --year;
  }
}

int MonthLength(int year, int month) {
  return DaysInMonth(static_cast<uint16_t>(year < 0 ? 0 : year), static_cast<uint16_t>(month));
}

}  // namespace

void ComputeElapsedSpan(const SysTime& first, const SysTime& second, ElapsedSpan& span, int direction) {
  const SysTime& later = direction == 0 ? second : first;
  const SysTime& earlier = direction == 0 ? first : second;
  int borrow = 0;

  int seconds = later.wSecond - earlier.wSecond;
  if (seconds < 0) {
    seconds += 60;
    borrow = 1;
  }
  int minutes = later.wMinute - borrow - earlier.wMinute;
  borrow = 0;
  if (minutes < 0) {
    minutes += 60;
    borrow = 1;
  }
  int hours = later.wHour - borrow - earlier.wHour;
  borrow = 0;
  if (hours < 0) {
    hours += 24;
    borrow = 1;
  }

  int weeks = 0;
  int days = 0;
  // Both on the last day of their months, the earlier month the longer one:
  // 31 March to 30 April is one whole month, not one month less a day.
  bool wholeMonth = borrow == 0 && IsLastDayOfMonth(earlier.wYear, earlier.wMonth, earlier.wDay) &&
                    IsLastDayOfMonth(later.wYear, later.wMonth, later.wDay) &&
                    DaysInMonth(earlier.wYear, earlier.wMonth) > DaysInMonth(later.wYear, later.wMonth);
  if (!wholeMonth) {
    int d = later.wDay - borrow - earlier.wDay;
    borrow = 0;
    // A day difference is made good with the length of the month before the
    // later moment's month. When that month is shorter than the shortfall
    // (31 January 10:00 to 1 March 09:00: 1 - 1 - 31 + 28 = -3), a further
    // month is borrowed, the one before it (January, +31 = 28 days), so that
    // the weeks and days stay in range and the span still adds up: 0 months,
    // 4 weeks, 23 hours. One further month always suffices for real dates
    // (a short month always follows a 31-day one); the loop only guards
    // damaged day fields.
    int year = later.wYear;
    int month = later.wMonth;
    while (d < 0 && borrow < 24) {
      PreviousMonth(year, month);
      d += MonthLength(year, month);
      ++borrow;
    }
    if (d < 0) d = 0;
    while (d >= 7 && weeks < 4) {
      d -= 7;
      ++weeks;
    }
    days = d;
  }

  int months = later.wMonth - borrow - earlier.wMonth;
  borrow = 0;
  while (months < 0) {
    months += 12;
    ++borrow;
  }
  int years = later.wYear - borrow - earlier.wYear;
  if (years < 0) years = 0;

  span.years = static_cast<uint16_t>(years);
  span.months = static_cast<uint16_t>(months);
  span.weeks = static_cast<uint16_t>(weeks);
  span.days = static_cast<uint16_t>(days);
  span.hours = static_cast<uint16_t>(hours);
  span.minutes = static_cast<uint16_t>(minutes);
  span.seconds = static_cast<uint16_t>(seconds);
  span.reserved = 0;
}

std::string ShortSpanText(const ElapsedSpan& span, bool includeSeconds) {
  struct Item {
    uint16_t value;
    char unit;
  };
  const Item items[] = {{span.years, 'Y'}, {span.months, 'M'},  {span.weeks, 'W'},  {span.days, 'D'},
                        {span.hours, 'h'}, {span.minutes, 'm'}, {span.seconds, 's'}};
  const int count = includeSeconds ? 7 : 6;
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (items[i].value == 0) continue;
    if (!text.empty()) text.push_back(' ');
    text += std::to_string(items[i].value);
    text.push_back(items[i].unit);
  }
  return text.empty() ? std::string("0m") : text;
}

std::string SpanWord(uint32_t value, const char* unit) {
  std::string item = std::to_string(value);
  item += unit;
  if (value != 1) item.push_back('s');
  item += ", ";
  return item;
}

std::string LongSpanText(const ElapsedSpan& span, bool includeSeconds) {
  struct Item {
    uint16_t value;
    const char* unit;
  };
  const Item items[] = {{span.years, " Year"}, {span.months, " Month"},   {span.weeks, " Week"},
                        {span.days, " Day"},   {span.hours, " hour"},     {span.minutes, " minute"},
                        {span.seconds, " second"}};
  const int count = includeSeconds ? 7 : 6;
  std::string text;
  for (int i = 0; i < count; ++i)
    if (items[i].value != 0) text += SpanWord(items[i].value, items[i].unit);
  if (text.empty()) return "0 minutes";
  text.resize(text.size() - 2);  // the trailing ", "
  std::size_t comma = text.rfind(',');
  if (comma != std::string::npos) text.replace(comma, 1, " and");
  return text;
}
