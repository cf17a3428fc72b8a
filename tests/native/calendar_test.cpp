#include <gtest/gtest.h>

#include <chrono>

#include "engine/calendar.h"
#include "locale_fixture.h"

namespace {
// The Julian Day Number of a date by an independent calendar: days since
// 1970-01-01 (JDN 2440588) from std::chrono.
int32_t ChronoDayNumber(std::chrono::year_month_day ymd) {
  return std::chrono::sys_days(ymd).time_since_epoch().count() + 2440588;
}
}  // namespace

TEST(Calendar, AnchorsOfTheDayNumber) {
  EXPECT_EQ(DateToDayNumber(2000, 1, 1), 2451545);
  EXPECT_EQ(DateToDayNumber(1950, 1, 1), 2433283);
  EXPECT_EQ(DateToDayNumber(2010, 12, 31), 2455562);
  SysTime t = MakeDate(1999, 9, 9, 13, 14, 15);
  t.wDayOfWeek = 4;
  t.wMilliseconds = 500;
  DayNumberToDate(2451545, t);
  EXPECT_EQ(t.wYear, 2000);
  EXPECT_EQ(t.wMonth, 1);
  EXPECT_EQ(t.wDay, 1);
  EXPECT_EQ(t.wHour + t.wMinute + t.wSecond + t.wMilliseconds, 0);
  EXPECT_EQ(t.wDayOfWeek, 4);  // not computed, left as it was
}

TEST(Calendar, DayNumbersAgreeWithChronoFrom400To9999) {
  using namespace std::chrono;
  sys_days first = sys_days(year(400) / March / 1);
  sys_days last = sys_days(year(9999) / December / 31);
  int mismatches = 0;
  for (sys_days d = first; d <= last && mismatches < 5; d += days(1)) {
    year_month_day ymd(d);
    int32_t expected = ChronoDayNumber(ymd);
    auto y = static_cast<uint16_t>(int(ymd.year()));
    auto m = static_cast<uint16_t>(unsigned(ymd.month()));
    auto dd = static_cast<uint16_t>(unsigned(ymd.day()));
    DayNumber got = DateToDayNumber(y, m, dd);
    SysTime back;
    DayNumberToDate(expected, back);
    if (got != expected || back.wYear != y || back.wMonth != m || back.wDay != dd) {
      ++mismatches;
      ADD_FAILURE() << int(ymd.year()) << "-" << unsigned(ymd.month()) << "-" << unsigned(ymd.day()) << ": "
                    << got << " vs " << expected << ", back " << back.wYear << "-" << back.wMonth << "-"
                    << back.wDay;
    }
  }
}

TEST(Calendar, ForwardConversionFromYearOne) {
  using namespace std::chrono;
  for (int y = 1; y < 400; ++y)
    for (unsigned m : {1u, 2u, 3u, 12u}) {
      year_month_day ymd = year(y) / month(m) / day(1);
      ASSERT_EQ(DateToDayNumber(uint16_t(y), uint16_t(m), 1), ChronoDayNumber(ymd)) << y << "-" << m;
    }
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  EXPECT_EQ(IsLeapYear(2000), 1);
  EXPECT_EQ(IsLeapYear(2004), 1);
  EXPECT_EQ(IsLeapYear(1900), 0);
  EXPECT_EQ(IsLeapYear(2100), 0);
  EXPECT_EQ(IsLeapYear(2003), 0);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2001, 4), 30);
  EXPECT_EQ(DaysInMonth(2001, 11), 30);
  EXPECT_EQ(DaysInMonth(2001, 12), 31);
  EXPECT_EQ(DaysInMonth(2001, 0), 31);
  EXPECT_EQ(DaysInMonth(2001, 13), 31);
  EXPECT_EQ(IsLastDayOfMonth(2004, 2, 29), 1);
  EXPECT_EQ(IsLastDayOfMonth(2005, 2, 28), 1);
  EXPECT_EQ(IsLastDayOfMonth(2004, 2, 28), 0);
}

TEST(Calendar, RealQuitMoments) {
  auto moment = [](uint16_t y, uint16_t mo, uint16_t d, uint16_t h = 0, uint16_t mi = 0, uint16_t s = 0,
                   uint16_t ms = 0) {
    SysTime t = MakeDate(y, mo, d, h, mi, s);
    t.wMilliseconds = ms;
    return t;
  };
  const struct {
    SysTime t;
    bool real;
  } cases[] = {
      {moment(1900, 1, 1), true},         {moment(2099, 12, 31, 23, 59, 59, 999), true},
      {moment(2024, 2, 29, 10, 30), true}, {moment(2023, 2, 29), false},  // no leap day
      {moment(2000, 2, 29), true},         {moment(1900, 2, 29), false},
      {moment(1899, 12, 31), false},       {moment(2100, 1, 1), false},
      {moment(2024, 0, 10), false},        {moment(2024, 13, 10), false},
      {moment(2024, 4, 31), false},        {moment(2024, 4, 0), false},
      {moment(2024, 4, 30, 24), false},    {moment(2024, 4, 30, 23, 60), false},
      {moment(2024, 4, 30, 0, 0, 60), false}, {moment(2024, 4, 30, 0, 0, 0, 1000), false},
      {SysTime{}, false},                  {moment(40571, 4608, 23797, 9000, 9000), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsRealQuitMoment(c.t), c.real) << c.t.wYear << "-" << c.t.wMonth << "-" << c.t.wDay << " " << c.t.wHour
                                             << ":" << c.t.wMinute << ":" << c.t.wSecond << "." << c.t.wMilliseconds;
  SysTime weekday = moment(2024, 5, 5, 12);
  weekday.wDayOfWeek = 77;  // not read
  EXPECT_TRUE(IsRealQuitMoment(weekday));
}

TEST(Calendar, WholeDaysBetweenCountsCompletedDays) {
  SysTime from = MakeDate(2004, 5, 10, 22, 0);
  EXPECT_EQ(WholeDaysBetween(from, MakeDate(2004, 5, 11, 21, 59)), 0);
  EXPECT_EQ(WholeDaysBetween(from, MakeDate(2004, 5, 11, 22, 0)), 1);
  EXPECT_EQ(WholeDaysBetween(from, MakeDate(2004, 5, 11, 21, 59, 59)), 0);
  EXPECT_EQ(WholeDaysBetween(from, MakeDate(2005, 5, 10, 22, 0)), 365);
  EXPECT_EQ(WholeDaysBetween(from, MakeDate(2004, 5, 10, 21, 0)), -1);
  EXPECT_EQ(TimeOfDayBefore(MakeDate(2004, 1, 1, 10, 0, 1), MakeDate(2004, 1, 1, 10, 0, 0)), 1);
  EXPECT_EQ(TimeOfDayBefore(MakeDate(2004, 1, 1, 10, 0, 0), MakeDate(2004, 1, 1, 10, 0, 0)), 0);
}

class Anniversary : public PeriodLocale {
 protected:
  // The label for `day` measured from `start`, or "-" when it is no anniversary.
  std::string Label(SysTime start, SysTime day) {
    std::string out = "-";
    int r = AnniversaryLabel(DateToDayNumber(start), DateToDayNumber(day), start, day, out);
    EXPECT_EQ(r == 1, out != "-");
    return out;
  }
};

TEST_F(Anniversary, QuitDateDaysAndNothing) {
  SysTime start = MakeDate(2004, 3, 10);
  EXPECT_EQ(Label(start, start), "Quit Date");
  SysTime day;
  for (uint32_t n : DayMilestones) {
    DayNumberToDate(DateToDayNumber(start) + int32_t(n), day);
    EXPECT_EQ(Label(start, day), std::to_string(n) + " Days");
  }
  DayNumberToDate(DateToDayNumber(start) + 1, day);
  EXPECT_EQ(Label(start, day), "-");
  DayNumberToDate(DateToDayNumber(start) + 8, day);
  EXPECT_EQ(Label(start, day), "-");
}

TEST_F(Anniversary, BeforeTheStartWritesNothing) {
  std::string out = "untouched";
  SysTime start = MakeDate(2004, 3, 10), day = MakeDate(2004, 3, 9);
  EXPECT_EQ(AnniversaryLabel(DateToDayNumber(start), DateToDayNumber(day), start, day, out), 0);
  EXPECT_EQ(out, "untouched");
}

TEST_F(Anniversary, HundredsWinOverMonthsAndUseTheThousandsSeparator) {
  SysTime start = MakeDate(2003, 1, 1), day;
  DayNumberToDate(DateToDayNumber(start) + 200, day);
  EXPECT_EQ(Label(start, day), "200 Days");
  DayNumberToDate(DateToDayNumber(start) + 1000, day);
  EXPECT_EQ(Label(start, day), "1,000 Days");
  // 2,100 days after 1 January 2003 is also a month anniversary (1 October 2008).
  DayNumberToDate(DateToDayNumber(start) + 2100, day);
  ASSERT_EQ(day.wDay, 1);
  EXPECT_EQ(Label(start, day), "2,100 Days");
}

TEST_F(Anniversary, YearsBeforeMonths) {
  EXPECT_EQ(Label(MakeDate(2003, 3, 15), MakeDate(2004, 3, 15)), "1 Year");
  EXPECT_EQ(Label(MakeDate(2003, 3, 15), MakeDate(2005, 3, 15)), "2 Years");
  EXPECT_EQ(Label(MakeDate(2003, 3, 15), MakeDate(2003, 4, 15)), "1 Month");
  EXPECT_EQ(Label(MakeDate(2003, 3, 15), MakeDate(2004, 2, 15)), "11 Months");
  EXPECT_EQ(Label(MakeDate(2003, 3, 15), MakeDate(2004, 4, 15)), "13 Months");
}

TEST_F(Anniversary, MonthEndLowering) {
  SysTime start = MakeDate(2003, 1, 31);
  EXPECT_EQ(Label(start, MakeDate(2003, 2, 28)), "1 Month");
  EXPECT_EQ(Label(start, MakeDate(2003, 4, 30)), "3 Months");
  EXPECT_EQ(Label(start, MakeDate(2003, 5, 31)), "4 Months");
  EXPECT_EQ(Label(start, MakeDate(2003, 5, 30)), "-");
  EXPECT_EQ(Label(start, MakeDate(2004, 2, 29)), "13 Months");
  EXPECT_EQ(Label(start, MakeDate(2004, 2, 28)), "-");
  EXPECT_EQ(start.wDay, 31);
  // A start on the 30th is not lowered onto the 31st.
  EXPECT_EQ(Label(MakeDate(2003, 4, 30), MakeDate(2003, 5, 31)), "-");
  EXPECT_EQ(Label(MakeDate(2003, 4, 30), MakeDate(2003, 5, 30)), "1 Month");
}

TEST_F(Anniversary, LeapDayStart) {
  SysTime start = MakeDate(2004, 2, 29);
  EXPECT_EQ(Label(start, MakeDate(2005, 2, 28)), "1 Year");
  EXPECT_EQ(Label(start, MakeDate(2005, 2, 27)), "-");
  EXPECT_EQ(Label(start, MakeDate(2008, 2, 29)), "4 Years");
  EXPECT_EQ(Label(start, MakeDate(2008, 2, 28)), "-");  // a leap year: the 29th is the anniversary
  EXPECT_EQ(Label(start, MakeDate(2004, 3, 29)), "1 Month");
  EXPECT_EQ(Label(start, MakeDate(2004, 4, 29)), "2 Months");
}

TEST_F(CommaLocale, AnniversaryDaysUseTheLocale) {
  SysTime start = MakeDate(2000, 1, 1), day;
  DayNumberToDate(DateToDayNumber(start) + 3000, day);
  std::string out;
  ASSERT_EQ(AnniversaryLabel(DateToDayNumber(start), DateToDayNumber(day), start, day, out), 1);
  EXPECT_EQ(out, "3.000 Days");
}

TEST_F(PeriodLocale, DateTexts) {
  EXPECT_EQ(FormatDateText(MakeDate(2004, 4, 9)), "04/09/2004");
  std::string text = "buddy";
  AppendCompactDate(MakeDate(2004, 4, 9), text);
  EXPECT_EQ(text, "buddy20040409");
  SysTime date = ParseCompactDate("20021231");
  EXPECT_EQ(date.wYear, 2002);
  EXPECT_EQ(date.wMonth, 12);
  EXPECT_EQ(date.wDay, 31);
  EXPECT_EQ(date.wHour + date.wMinute + date.wSecond, 0);
  locale.info[LocaleItem::DateSeparator] = std::string(30, '/');
  BuildDatePicture();
  EXPECT_EQ(FormatDateText(MakeDate(2004, 4, 9)), "");  // needs more than 28 characters
}

TEST(Calendar, ParseCompactDateOfBadText) {
  // Short, empty and non-digit texts read only what they hold (the
  // sanitizers watch the reads); missing pieces read as 0.
  struct Case {
    const char* text;
    uint16_t year, month, day;
  };
  const Case cases[] = {
      {"", 0, 0, 0},
      {"2", 2, 0, 2},
      {"200412", 2004, 12, 12},
      {"2004-1-1", 2004, 65535, 65535},  // "-1" twice, as 16 bits
      {"abcdefgh", uint16_t(49 * 1000 + 50 * 100 + 51 * 10 + 52), uint16_t(53 * 10 + 54), uint16_t(55 * 10 + 56)},
  };
  for (const Case& c : cases) {
    SysTime date = ParseCompactDate(c.text);
    EXPECT_EQ(date.wYear, c.year) << c.text;
    EXPECT_EQ(date.wMonth, c.month) << c.text;
    EXPECT_EQ(date.wDay, c.day) << c.text;
  }
  ParseCompactDate("\xff\xff\xff\xff\xff\xff\xff\xff");
  EXPECT_EQ(ParseCompactDate("2004").wYear, 2004);
  EXPECT_EQ(ParseCompactDate("2004").wDay, 4);  // the last two characters
}
