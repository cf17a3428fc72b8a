#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>

#include "engine/calendar.h"
#include "engine/span.h"

namespace {

ElapsedSpan Span(const SysTime& earlier, const SysTime& later) {
  ElapsedSpan span;
  std::memset(&span, 0xAB, sizeof span);  // every field must be written
  ComputeElapsedSpan(earlier, later, span, 0);
  return span;
}

ElapsedSpan Make(uint16_t y, uint16_t mo, uint16_t w, uint16_t d, uint16_t h, uint16_t mi, uint16_t s) {
  return ElapsedSpan{y, mo, w, d, h, mi, s, 0};
}

::testing::AssertionResult SameSpan(const ElapsedSpan& got, const ElapsedSpan& want) {
  if (std::memcmp(&got, &want, sizeof got) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got " << got.years << "Y " << got.months << "M " << got.weeks << "W "
                                       << got.days << "D " << got.hours << "h " << got.minutes << "m "
                                       << got.seconds << "s /" << got.reserved << ", want " << want.years << "Y "
                                       << want.months << "M " << want.weeks << "W " << want.days << "D "
                                       << want.hours << "h " << want.minutes << "m " << want.seconds << "s";
}

}  // namespace

TEST(ElapsedSpan, WholeMonthFromTheEndOfALongerMonth) {
  // 31 January 10:00 to 28 February 10:00 of a common year: exactly a month.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 1, 31, 10), MakeDate(2005, 2, 28, 10)), Make(0, 1, 0, 0, 0, 0, 0)));
  // An hour short: the hour borrow disables the whole-month case and the day
  // borrow uses January's 31 days.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 1, 31, 10), MakeDate(2005, 2, 28, 9)), Make(0, 0, 3, 6, 23, 0, 0)));
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 3, 31, 10), MakeDate(2005, 4, 30, 10)), Make(0, 1, 0, 0, 0, 0, 0)));
  // The earlier month is the shorter one: no whole-month case.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 4, 30, 10), MakeDate(2005, 5, 31, 10)), Make(0, 1, 0, 1, 0, 0, 0)));
  // Leap February's end to a later February's end.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2004, 1, 31), MakeDate(2004, 2, 29)), Make(0, 1, 0, 0, 0, 0, 0)));
  EXPECT_TRUE(SameSpan(Span(MakeDate(2004, 2, 29), MakeDate(2005, 2, 28)), Make(1, 0, 0, 0, 0, 0, 0)));
}

TEST(ElapsedSpan, DayBorrowTakesTheMonthBeforeTheLaterMonth) {
  EXPECT_TRUE(SameSpan(Span(MakeDate(2004, 3, 15, 12), MakeDate(2005, 3, 14, 12)), Make(0, 11, 3, 6, 0, 0, 0)));
  EXPECT_TRUE(SameSpan(Span(MakeDate(2003, 3, 15, 12), MakeDate(2004, 3, 14, 12)), Make(0, 11, 4, 0, 0, 0, 0)));
  // 30 days are at most four weeks.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 1, 1, 8, 30), MakeDate(2005, 1, 31, 8, 30)), Make(0, 0, 4, 2, 0, 0, 0)));
  // Borrows all the way up: seconds, minutes, hours, days, months, years.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2003, 12, 31, 23, 59, 59), MakeDate(2004, 1, 1, 0, 0, 0)),
                       Make(0, 0, 0, 0, 0, 0, 1)));
  EXPECT_TRUE(SameSpan(Span(MakeDate(1999, 6, 20, 18, 45, 30), MakeDate(2004, 2, 3, 7, 10, 5)),
                       Make(4, 7, 1, 6, 12, 24, 35)));
}

TEST(ElapsedSpan, ShortfallBeyondTheMonthBeforeBorrowsAFurtherMonth) {
  // 1 - 1 - 31 + 28 = -3: January's 31 days are borrowed as well, giving
  // 28 days and 23 hours, which is exactly the time between the two moments.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 1, 31, 10), MakeDate(2005, 3, 1, 9)), Make(0, 0, 4, 0, 23, 0, 0)));
  // 1 - 1 - 31 + 30 = -1: March's 31 days: 30 days and 23 hours.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 3, 31, 10), MakeDate(2005, 5, 1, 9)), Make(0, 0, 4, 2, 23, 0, 0)));
  // Without the hour borrow: 1 - 30 + 28 = -1 still borrows further.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2005, 1, 30), MakeDate(2005, 3, 1)), Make(0, 0, 4, 2, 0, 0, 0)));
  // Across years the months and years take the double borrow.
  EXPECT_TRUE(SameSpan(Span(MakeDate(2003, 8, 31, 10), MakeDate(2005, 3, 1, 9)), Make(1, 5, 4, 0, 23, 0, 0)));
}

TEST(ElapsedSpan, DirectionOneCountsTheTimeStillToGo) {
  SysTime now = MakeDate(2006, 7, 9, 23, 59, 10);
  SysTime quit = MakeDate(2006, 7, 10, 0, 0, 40);  // 90 seconds ahead
  ElapsedSpan span;
  ComputeElapsedSpan(quit, now, span, 1);
  EXPECT_TRUE(SameSpan(span, Make(0, 0, 0, 0, 0, 1, 30)));
  EXPECT_EQ(ShortSpanText(span, true), "1m 30s");
  EXPECT_EQ(ShortSpanText(span, false), "1m");
  // Direction 1 is direction 0 with the moments swapped.
  ElapsedSpan forward;
  ComputeElapsedSpan(MakeDate(2001, 2, 3, 4, 5, 6), MakeDate(2007, 1, 1, 0, 0, 0), forward, 0);
  ComputeElapsedSpan(MakeDate(2007, 1, 1, 0, 0, 0), MakeDate(2001, 2, 3, 4, 5, 6), span, 1);
  EXPECT_TRUE(SameSpan(span, forward));
  // The wrong direction is meaningless, but its years never go below 0.
  ComputeElapsedSpan(MakeDate(2007, 1, 1), MakeDate(2001, 2, 3), span, 0);
  EXPECT_EQ(span.years, 0);
  EXPECT_EQ(span.reserved, 0);
}

// Any two real moments, the earlier first: the fields stay in range and add
// back up to the later moment (years and months added to the earlier date
// with its day counted on from the first of the month, then the days and the
// time), checked with std::chrono; the whole-month case lands on the month's
// last day instead.
TEST(ElapsedSpan, RandomSpansAddUpAgainstChrono) {
  using namespace std::chrono;
  std::mt19937 rng(20240611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto random_moment = [&](sys_days lo, int range) {
    sys_days day = lo + days(pick(0, range));
    year_month_day ymd(day);
    return MakeDate(uint16_t(int(ymd.year())), uint16_t(unsigned(ymd.month())), uint16_t(unsigned(ymd.day())),
                    uint16_t(pick(0, 23)), uint16_t(pick(0, 59)), uint16_t(pick(0, 59)));
  };
  auto seconds_of = [](const SysTime& t) {
    return sys_days(year(t.wYear) / t.wMonth / t.wDay) + hours(t.wHour) + minutes(t.wMinute) + seconds(t.wSecond);
  };
  int failures = 0;
  for (int i = 0; i < 200000 && failures < 5; ++i) {
    SysTime a = random_moment(sys_days(year(1950) / 1 / 1), 365 * 60);
    // Mostly short distances, where the borrows and month ends matter most.
    SysTime b = i % 2 ? random_moment(sys_days(year(a.wYear) / a.wMonth / a.wDay), 70)
                      : random_moment(sys_days(year(a.wYear) / a.wMonth / a.wDay), 365 * 30);
    if (seconds_of(b) < seconds_of(a)) std::swap(a, b);
    ElapsedSpan s;
    ComputeElapsedSpan(a, b, s, 0);
    bool inRange = s.months <= 11 && s.weeks <= 4 && s.days <= 6 && s.hours <= 23 && s.minutes <= 59 &&
                   s.seconds <= 59 && s.reserved == 0 && s.weeks * 7 + s.days <= 30;
    year_month target = year(a.wYear) / month(a.wMonth) + years(s.years) + months(s.months);
    bool lastDays = a.wDay == unsigned((year(a.wYear) / month(a.wMonth) / last).day()) &&
                    b.wDay == unsigned((year(b.wYear) / month(b.wMonth) / last).day());
    bool hourBorrow = b.wHour * 3600 + b.wMinute * 60 + b.wSecond < a.wHour * 3600 + a.wMinute * 60 + a.wSecond;
    bool wholeMonthCase = lastDays && !hourBorrow &&
                          (year(a.wYear) / month(a.wMonth) / last).day() > (year(b.wYear) / month(b.wMonth) / last).day();
    sys_days base = wholeMonthCase ? sys_days(target / last) : sys_days(target / 1) + days(a.wDay - 1);
    auto rebuilt = base + days(7 * s.weeks + s.days) + hours(a.wHour) + minutes(a.wMinute) + seconds(a.wSecond) +
                   hours(s.hours) + minutes(s.minutes) + seconds(s.seconds);
    if (!inRange || rebuilt != seconds_of(b)) {
      ++failures;
      ADD_FAILURE() << a.wYear << "-" << a.wMonth << "-" << a.wDay << " " << a.wHour << ":" << a.wMinute << ":"
                    << a.wSecond << " to " << b.wYear << "-" << b.wMonth << "-" << b.wDay << " " << b.wHour << ":"
                    << b.wMinute << ":" << b.wSecond << " gave " << ShortSpanText(s, true) << " (weeks "
                    << s.weeks << ")";
    }
  }
}

TEST(ElapsedSpan, ShortTextLeavesOutZeroItems) {
  ElapsedSpan s = Make(0, 2, 0, 3, 0, 5, 9);
  EXPECT_EQ(ShortSpanText(s, true), "2M 3D 5m 9s");
  EXPECT_EQ(ShortSpanText(s, false), "2M 3D 5m");
  EXPECT_EQ(ShortSpanText(Make(0, 0, 0, 0, 10, 0, 0), true), "10h");
  EXPECT_EQ(ShortSpanText(Make(1, 2, 3, 4, 5, 6, 7), true), "1Y 2M 3W 4D 5h 6m 7s");
  EXPECT_EQ(ShortSpanText(Make(1, 2, 3, 4, 5, 6, 7), false), "1Y 2M 3W 4D 5h 6m");
  EXPECT_EQ(ShortSpanText(Make(65535, 0, 0, 0, 0, 0, 1), true), "65535Y 1s");
  EXPECT_EQ(ShortSpanText(Make(0, 0, 0, 0, 0, 0, 7), true), "7s");
}

TEST(ElapsedSpan, EmptySpansReadAsZeroMinutes) {
  ElapsedSpan zero = Make(0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(ShortSpanText(zero, true), "0m");
  EXPECT_EQ(ShortSpanText(zero, false), "0m");
  EXPECT_EQ(LongSpanText(zero, true), "0 minutes");
  EXPECT_EQ(LongSpanText(zero, false), "0 minutes");
  ElapsedSpan secondsOnly = Make(0, 0, 0, 0, 0, 0, 42);
  EXPECT_EQ(ShortSpanText(secondsOnly, false), "0m");
  EXPECT_EQ(LongSpanText(secondsOnly, false), "0 minutes");
  EXPECT_EQ(LongSpanText(secondsOnly, true), "42 seconds");
}

TEST(ElapsedSpan, LongTextJoinsTheLastTwoWithAnd) {
  EXPECT_EQ(LongSpanText(Make(1, 2, 0, 3, 0, 0, 0), false), "1 Year, 2 Months and 3 Days");
  EXPECT_EQ(LongSpanText(Make(0, 0, 2, 0, 1, 0, 0), true), "2 Weeks and 1 hour");
  EXPECT_EQ(LongSpanText(Make(0, 0, 0, 0, 0, 5, 0), true), "5 minutes");
  EXPECT_EQ(LongSpanText(Make(2, 11, 1, 1, 2, 1, 1), true),
            "2 Years, 11 Months, 1 Week, 1 Day, 2 hours, 1 minute and 1 second");
  EXPECT_EQ(LongSpanText(Make(2, 11, 1, 1, 2, 1, 1), false), "2 Years, 11 Months, 1 Week, 1 Day, 2 hours and 1 minute");
}

TEST(ElapsedSpan, SpanWordIsOneItemWithItsComma) {
  EXPECT_EQ(SpanWord(1, " Week"), "1 Week, ");
  EXPECT_EQ(SpanWord(2, " Week"), "2 Weeks, ");
  EXPECT_EQ(SpanWord(0, " Day"), "0 Days, ");
  EXPECT_EQ(SpanWord(11, " Month"), "11 Months, ");
  EXPECT_EQ(SpanWord(4000000000u, " second"), "4000000000 seconds, ");
}
