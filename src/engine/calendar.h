// Day numbers (Julian Day Numbers of the proleptic Gregorian calendar),
// month lengths, anniversaries and date texts. Integer arithmetic only.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/systime.h"

using DayNumber = int32_t;

// Day counts that the anniversary test and the milestones list mark.
inline constexpr std::array<uint32_t, 7> DayMilestones = {7, 14, 25, 50, 75, 150, 250};

// The dates every date picker offers (DatePickerRange): 1 January of the
// first year to 31 December of the last.
inline constexpr uint16_t DatePickerFirstYear = 1900;
inline constexpr uint16_t DatePickerLastYear = 2099;

int IsLeapYear(uint16_t year);
int DaysInMonth(uint16_t year, uint16_t month);  // out-of-range months have 31
int IsLastDayOfMonth(uint16_t year, uint16_t month, uint16_t day);

// Whether a stored quit moment is a real date and time that the date pickers
// can show: a year of DatePickerFirstYear..DatePickerLastYear, month 1..12, a
// day of that month, hour below 24, minute and second below 60, milliseconds
// below 1000. The day of the week is not read.
bool IsRealQuitMoment(const SysTime& t);

// Exact from 1 January 1 to 31 December 9999: 1 January 2000 is 2451545.
DayNumber DateToDayNumber(uint16_t year, uint16_t month, uint16_t day);
inline DayNumber DateToDayNumber(const SysTime& t) { return DateToDayNumber(t.wYear, t.wMonth, t.wDay); }
// Exact from 1867217 (1 March 400) to the end of 9999. Sets the date, zeroes
// the time of day, leaves wDayOfWeek as it was.
void DayNumberToDate(DayNumber day, SysTime& out);

// 1 when b's time of day (to the second) is earlier than a's.
int TimeOfDayBefore(const SysTime& a, const SysTime& b);
// Midnight-to-midnight days from `from` to `to`, less one when `to` has not
// yet reached `from`'s time of day.
int32_t WholeDaysBetween(const SysTime& from, const SysTime& to);

// Whether `day` is an anniversary of `start` ("Quit Date", "250 Days",
// "1 Year", "3 Months"): 1 with the label in `out`, or 0 and `out` untouched.
int AnniversaryLabel(DayNumber startDN, DayNumber dayDN, const SysTime& start, const SysTime& day, std::string& out);

// The date in DatePicture; empty when the locale call fails or needs more
// than 28 characters.
std::string FormatDateText(const SysTime& date);
// Appends yyyymmdd: 9 April 2004 appends 20040409.
void AppendCompactDate(const SysTime& date, std::string& out);
// yyyymmdd back to a date; no validation, other fields zero.
SysTime ParseCompactDate(std::string_view text);
