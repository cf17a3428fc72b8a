#include "engine/calendar.h"

#include <algorithm>

#include "locale/formats.h"
#include "util/text.h"

int IsLeapYear(uint16_t year) { return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 1 : 0; }

int DaysInMonth(uint16_t year, uint16_t month) {
  switch (month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return IsLeapYear(year) ? 29 : 28;
    default: return 31;
  }
}

int IsLastDayOfMonth(uint16_t year, uint16_t month, uint16_t day) {
  return day == DaysInMonth(year, month) ? 1 : 0;
}

bool IsRealQuitMoment(const SysTime& t) {
  return t.wYear >= DatePickerFirstYear && t.wYear <= DatePickerLastYear && t.wMonth >= 1 && t.wMonth <= 12 &&
         t.wDay >= 1 && t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour < 24 && t.wMinute < 60 &&
         t.wSecond < 60 && t.wMilliseconds < 1000;
}

DayNumber DateToDayNumber(uint16_t year16, uint16_t month16, uint16_t day16) {
  uint32_t year = year16, month = month16, day = day16;
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  uint32_t a = year / 100;
  uint32_t b = 2 - a + a / 4;
  uint32_t e = 365 * (year + 4716) + (year + 4716) / 4;
  uint32_t f = (306001 * (month + 1)) / 10000;
  return static_cast<DayNumber>(day + b + e + f - 1524);
}

void DayNumberToDate(DayNumber dayNumber, SysTime& out) {
  uint32_t j = static_cast<uint32_t>(dayNumber);
  uint32_t alpha = (4 * j - 7468865) / 146097;
  uint32_t b = j + 1 + alpha - alpha / 4 + 1524;
  uint32_t g = (20 * b - 2442) / 7305;
  uint32_t d = 365 * g + g / 4;
  uint32_t e = (10000 * (b - d)) / 306001;
  uint32_t day = b - d - (306001 * e) / 10000;
  uint32_t month = e <= 13 ? e - 1 : e - 13;
  uint32_t year = month > 2 ? g - 4716 : g - 4715;
  out.wYear = static_cast<uint16_t>(year);
  out.wMonth = static_cast<uint16_t>(month);
  out.wDay = static_cast<uint16_t>(day);
  out.wHour = out.wMinute = out.wSecond = out.wMilliseconds = 0;
}

namespace {
uint32_t SecondOfDay(const SysTime& t) { return 3600u * t.wHour + 60u * t.wMinute + t.wSecond; }
}  // namespace

int TimeOfDayBefore(const SysTime& a, const SysTime& b) { return SecondOfDay(b) < SecondOfDay(a) ? 1 : 0; }

int32_t WholeDaysBetween(const SysTime& from, const SysTime& to) {
  return DateToDayNumber(to) - DateToDayNumber(from) - TimeOfDayBefore(from, to);
}

int AnniversaryLabel(DayNumber startDN, DayNumber dayDN, const SysTime& start, const SysTime& day, std::string& out) {
  if (startDN > dayDN) return 0;
  if (startDN == dayDN) {
    out = "Quit Date";
    return 1;
  }
  uint32_t days = static_cast<uint32_t>(dayDN - startDN);
  if (days % 100 == 0 || std::find(DayMilestones.begin(), DayMilestones.end(), days) != DayMilestones.end()) {
    out = FormatCount(days) + " Days";
    return 1;
  }
  bool sameDate = day.wMonth == start.wMonth && day.wDay == start.wDay;
  bool leapDayInCommonYear = start.wMonth == 2 && start.wDay == 29 && day.wMonth == 2 && day.wDay == 28 &&
                             !IsLeapYear(day.wYear);
  if (sameDate || leapDayInCommonYear) {
    out = CountedWord(static_cast<int32_t>(day.wYear) - start.wYear, " Year");
    return 1;
  }
  // A start late in the month has its anniversary on the last day of shorter months.
  bool lastDayBelowStart = IsLastDayOfMonth(day.wYear, day.wMonth, day.wDay) && day.wDay < start.wDay;
  if (day.wDay == start.wDay || lastDayBelowStart) {
    auto months = static_cast<int16_t>(12 * (day.wYear - start.wYear) + day.wMonth - start.wMonth);
    out = CountedWord(months, " Month");
    return 1;
  }
  return 0;
}

std::string FormatDateText(const SysTime& date) { return Locale().FormatDate(date, DatePicture, 28); }

void AppendCompactDate(const SysTime& date, std::string& out) {
  out += ZeroPadded(date.wYear, 2) + ZeroPadded(date.wMonth, 2) + ZeroPadded(date.wDay, 2);
}

SysTime ParseCompactDate(std::string_view text) {
  text = text.substr(0, TextLength(text));
  SysTime date;
  date.wYear = static_cast<uint16_t>(ParseDecimal(LeftText(text, 4)));
  date.wMonth = static_cast<uint16_t>(ParseDecimal(MidText(text, 4, 2)));
  date.wDay = static_cast<uint16_t>(ParseDecimal(RightText(text, 2)));
  return date;
}
