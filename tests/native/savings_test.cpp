#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "locale_fixture.h"

namespace {

constexpr uint32_t U32Max = std::numeric_limits<uint32_t>::max();

// Resets every input and result, and runs the clock as the statistics view does.
class Savings : public PeriodLocale {
 protected:
  void SetUp() override {
    PeriodLocale::SetUp();
    QuitDetails = QuitDetailsRecord{};
    QuitDetails.cigsPerDay = 20;
    QuitDetails.cigsPerPack = 20;
    QuitDetails.price = 500;
    GeneralPrefs = DefaultGeneralPrefs();
    GeneralPrefs.lifeMinutesPerCigarette = 5;
    PricePoints = PricePointList{};
    DaysQuit = -7;
    CigarettesNotSmoked = 12345;
    MoneySaved = {999, 99};
  }
  static void Quit(const SysTime& moment) {
    QuitDetails.quitTime = moment;
    QuitDayNumber = DateToDayNumber(moment);
  }
  static void Clock(const SysTime& now) {
    RefreshClockSecond(now);
    RecomputeMinuteFigures();
  }
  static void AddPoint(const SysTime& date, uint32_t price) {
    PricePoints.points[PricePoints.count++] = {static_cast<uint32_t>(DateToDayNumber(date)), price};
  }
  static uint64_t Hundredths(const SavingsTotal& t) { return uint64_t{t.units} * 100 + t.hundredths; }
};

SysTime AddDays(const SysTime& t, int days) {
  SysTime out = t;
  DayNumberToDate(DateToDayNumber(t) + days, out);
  out.wHour = t.wHour;
  out.wMinute = t.wMinute;
  out.wSecond = t.wSecond;
  return out;
}

}  // namespace

TEST_F(Savings, QuitPendingUntilTheQuitMoment) {
  Quit(MakeDate(2006, 5, 10, 9, 30));
  RefreshClockSecond(MakeDate(2006, 5, 9, 23, 59, 59));
  EXPECT_EQ(QuitPending, 1);
  RefreshClockSecond(MakeDate(2006, 5, 10, 9, 29, 59));
  EXPECT_EQ(QuitPending, 1);
  RefreshClockSecond(MakeDate(2006, 5, 10, 9, 30, 0));
  EXPECT_EQ(QuitPending, 0);
  RefreshClockSecond(MakeDate(2006, 5, 11, 0, 0, 0));  // earlier time of day, later day
  EXPECT_EQ(QuitPending, 0);
  EXPECT_EQ(TodayDayNumber, DateToDayNumber(2006, 5, 11));
  EXPECT_EQ(ComputeQuitPending(), 0);
}

TEST_F(Savings, QuitSpanCountsDownThenUp) {
  Quit(MakeDate(2006, 5, 10, 9, 30));
  RefreshClockSecond(MakeDate(2006, 5, 10, 9, 28, 30));
  EXPECT_EQ(QuitPending, 1);
  EXPECT_EQ(ShortSpanText(QuitSpan, true), "1m 30s");
  RefreshClockSecond(MakeDate(2006, 5, 10, 9, 30, 0));
  EXPECT_EQ(ShortSpanText(QuitSpan, true), "0m");
  RefreshClockSecond(MakeDate(2007, 6, 12, 10, 31, 2));
  EXPECT_EQ(ShortSpanText(QuitSpan, true), "1Y 1M 2D 1h 1m 2s");
}

TEST_F(Savings, MinutesToTimeOfDayCountsMidnightAsTheDayEnd) {
  EXPECT_EQ(MinutesToTimeOfDay(MakeDate(2006, 1, 1, 9, 30), MakeDate(2006, 1, 1, 10, 0)), 30);
  EXPECT_EQ(MinutesToTimeOfDay(MakeDate(2006, 1, 1, 9, 30), MakeDate(2006, 1, 2, 0, 0)), 870);
  EXPECT_EQ(MinutesToTimeOfDay(MakeDate(2006, 1, 1, 0, 0), MakeDate(2006, 1, 2, 0, 0)), 1440);
  EXPECT_EQ(MinutesToTimeOfDay(MakeDate(2006, 1, 1, 9, 30, 59), MakeDate(2006, 1, 1, 9, 31, 0)), 1);  // seconds ignored
}

TEST_F(Savings, DayFractionInThousandths) {
  Quit(MakeDate(2006, 1, 1, 9, 30));
  EXPECT_EQ(DayFraction(MakeDate(2006, 1, 5, 9, 30)), 1000u);
  EXPECT_EQ(DayFraction(MakeDate(2006, 1, 5, 21, 30)), 500u);
  EXPECT_EQ(DayFraction(MakeDate(2006, 1, 5, 10, 42)), 50u);  // 72 minutes
  EXPECT_EQ(DayFraction(MakeDate(2006, 1, 5, 10, 41)), 49u);
  EXPECT_EQ(DayFraction(MakeDate(2006, 1, 5, 9, 29)), 999u);
  EXPECT_EQ(DayFraction(MakeDate(2006, 1, 5, 0, 0)), 604u);  // 14.5 hours after 09:30
  // A damaged hour never gives more than a day.
  EXPECT_LE(DayFraction(MakeDate(2006, 1, 5, 60000, 59)), 1000u);
}

TEST_F(Savings, CigarettesStepByThousandthsOfADay) {
  Quit(MakeDate(2006, 1, 1, 6, 0));
  Clock(MakeDate(2006, 1, 4, 18, 0, 5));  // 3 days and 12 hours
  EXPECT_EQ(DaysQuit, 3);
  EXPECT_EQ(CigarettesNotSmoked, 70u);
  Clock(MakeDate(2006, 1, 4, 18, 1));
  EXPECT_EQ(CigarettesNotSmoked, 70u);
  Clock(MakeDate(2006, 1, 4, 19, 12));  // 72 minutes later: one more
  EXPECT_EQ(CigarettesNotSmoked, 71u);
  Clock(MakeDate(2006, 1, 5, 6, 0));  // a whole fourth day
  EXPECT_EQ(DaysQuit, 4);
  EXPECT_EQ(CigarettesNotSmoked, 80u);
}

TEST_F(Savings, NothingCountsWhileTheQuitIsPending) {
  Quit(MakeDate(2006, 1, 10, 6, 0));
  Clock(MakeDate(2006, 1, 9, 18, 0));
  EXPECT_EQ(QuitPending, 1);
  EXPECT_EQ(DaysQuit, 0);
  EXPECT_EQ(CigarettesNotSmoked, 0u);
  EXPECT_EQ(Hundredths(MoneySaved), 0u);
  EXPECT_EQ(ShortSpanText(LifeSavedSpan, false), "0m");
  // Price points already in force change nothing either.
  AddPoint(MakeDate(2006, 1, 1), 900);
  Clock(MakeDate(2006, 1, 10, 5, 59, 59));
  EXPECT_EQ(Hundredths(MoneySaved), 0u);
}

TEST_F(Savings, QuitAtMidnightYesterdayGivesOneDay) {
  QuitDetails.price = 333;
  QuitDetails.cigsPerDay = 17;
  Quit(MakeDate(2006, 3, 1, 0, 0));
  Clock(MakeDate(2006, 3, 2, 0, 0, 0));
  EXPECT_EQ(Hundredths(MoneySaved), 333u * 17 / 20);  // 283.05 floored
  EXPECT_EQ(MoneySaved.units, 2u);
  EXPECT_EQ(MoneySaved.hundredths, 83u);
  EXPECT_EQ(DaysQuit, 1);
  EXPECT_EQ(CigarettesNotSmoked, 17u);
}

TEST_F(Savings, QuitEarlierToday) {
  QuitDetails.price = 700;
  QuitDetails.cigsPerDay = 40;
  Quit(MakeDate(2006, 3, 1, 9, 30));
  Clock(MakeDate(2006, 3, 1, 10, 0, 0));
  EXPECT_EQ(Hundredths(MoneySaved), uint64_t{700} * 40 * 30 / (1440 * 20));  // 30 minutes: 29.16 -> 29
  Clock(MakeDate(2006, 3, 1, 9, 30, 40));
  EXPECT_EQ(Hundredths(MoneySaved), 0u);

  Quit(MakeDate(2006, 3, 1, 0, 0));
  Clock(MakeDate(2006, 3, 1, 0, 0, 30));  // counted from the quit time, not to the day's end
  EXPECT_EQ(Hundredths(MoneySaved), 0u);
}

TEST_F(Savings, TenDaysAtAPackADay) {
  // 20 a day, 20 a pack, 5.00 a pack: 49.99, or 50.00 when the quit time of
  // day is a multiple of 72 minutes past midnight.
  for (uint16_t minute = 0; minute < 1440; ++minute) {
    SysTime quit = MakeDate(2006, 3, 1, uint16_t(minute / 60), uint16_t(minute % 60));
    Quit(quit);
    Clock(AddDays(quit, 10));
    uint64_t expected = minute % 72 == 0 ? 5000 : 4999;
    ASSERT_EQ(Hundredths(MoneySaved), expected) << "quit at minute " << minute;
    ASSERT_EQ(DaysQuit, 10);
  }
}

TEST_F(Savings, PricePointsOnlyCountBetweenTheQuitDayAndToday) {
  Quit(MakeDate(2006, 3, 1, 12, 0));
  const SysTime now = MakeDate(2006, 3, 11, 12, 0);
  Clock(now);
  const uint64_t basePrices = Hundredths(MoneySaved);
  EXPECT_EQ(basePrices, 5000u);  // 12:00 is 10 × 72 minutes

  // After today: ignored entirely.
  AddPoint(MakeDate(2006, 3, 12), 9900);
  Clock(now);
  EXPECT_EQ(Hundredths(MoneySaved), basePrices);

  // On the quit day or before: ignored, the quit details' price holds.
  PricePoints = PricePointList{};
  AddPoint(MakeDate(2005, 1, 1), 100);
  AddPoint(MakeDate(2006, 3, 1), 200);
  Clock(now);
  EXPECT_EQ(Hundredths(MoneySaved), basePrices);

  // Today: today's part only (12 hours at 10.00 instead of 5.00).
  AddPoint(MakeDate(2006, 3, 11), 1000);
  Clock(now);
  EXPECT_EQ(Hundredths(MoneySaved), 250u + 9 * 500 + 500u);

  // Two on the same day: the later one is in force.
  AddPoint(MakeDate(2006, 3, 11), 300);
  Clock(now);
  EXPECT_EQ(Hundredths(MoneySaved), 250u + 9 * 500 + 150u);
}

TEST_F(Savings, PricePointSegmentsAreFlooredSeparately) {
  // 7 a day from packs of 20 at 3.33: a day costs 116.55 hundredths.
  QuitDetails.price = 333;
  QuitDetails.cigsPerDay = 7;
  Quit(MakeDate(2006, 3, 1, 0, 0));
  AddPoint(MakeDate(2006, 3, 3), 333);  // same price, but a new segment
  AddPoint(MakeDate(2006, 3, 5), 666);
  Clock(MakeDate(2006, 3, 8, 0, 0));
  // Quit day 116; 2 Mar 116; 3-4 Mar 233; 5-7 Mar 699.3 -> 699.
  EXPECT_EQ(Hundredths(MoneySaved), 116u + 116 + 233 + 699);
}

TEST_F(Savings, HundredthsCarryIntoUnits) {
  QuitDetails.cigsPerPack = 1;
  QuitDetails.cigsPerDay = 1;
  QuitDetails.price = 160;
  Quit(MakeDate(2006, 3, 1, 0, 0));
  AddPoint(MakeDate(2006, 3, 2), 155);
  Clock(MakeDate(2006, 3, 3, 0, 0));  // the quit day at 1.60, then a day at 1.55
  EXPECT_EQ(MoneySaved.units, 3u);
  EXPECT_EQ(MoneySaved.hundredths, 15u);
  EXPECT_EQ(FormatMoneyText(MoneySaved), "$3.15");
}

TEST_F(Savings, PointsOutOfOrderNeverCountADayTwice) {
  QuitDetails.cigsPerPack = 1;
  QuitDetails.cigsPerDay = 1;
  QuitDetails.price = 100;
  Quit(MakeDate(2006, 3, 1, 0, 0));
  AddPoint(MakeDate(2006, 3, 6), 200);
  AddPoint(MakeDate(2006, 3, 4), 300);  // damaged file: older than the one before
  Clock(MakeDate(2006, 3, 11, 0, 0));
  // Quit day and 2..5 March at 1.00, 6..10 March at 3.00 (the last in force).
  EXPECT_EQ(Hundredths(MoneySaved), 100u + 4 * 100 + 5 * 300);
}

TEST_F(Savings, LifeSavedOneDayOneHour) {
  Quit(MakeDate(2006, 3, 1, 22, 30));
  QuitPending = 0;
  CigarettesNotSmoked = 300;  // 5 minutes each: 1500 minutes
  SysTime moment = ComputeLifeSavedMoment();
  EXPECT_EQ(moment.wYear, 2006);
  EXPECT_EQ(moment.wMonth, 3);
  EXPECT_EQ(moment.wDay, 2);
  EXPECT_EQ(moment.wHour, 23);
  EXPECT_EQ(moment.wMinute, 30);
  EXPECT_EQ(moment.wSecond + moment.wDayOfWeek + moment.wMilliseconds, 0);
  ComputeElapsedSpan(QuitDetails.quitTime, LifeSavedMoment, LifeSavedSpan, 0);
  EXPECT_EQ(ShortSpanText(LifeSavedSpan, false), "1D 1h");

  // Through the clock: 300 a day, one whole day after quitting.
  QuitDetails.cigsPerDay = 300;
  Clock(MakeDate(2006, 3, 2, 22, 30));
  EXPECT_EQ(CigarettesNotSmoked, 300u);
  EXPECT_EQ(LongSpanText(LifeSavedSpan, false), "1 Day and 1 hour");
}

TEST_F(Savings, LifeSavedCarriesMinutesAndHoursIntoTheNextDay) {
  Quit(MakeDate(2004, 12, 31, 23, 50));
  CigarettesNotSmoked = 3;  // 15 minutes
  SysTime moment = ComputeLifeSavedMoment();
  EXPECT_EQ(moment.wYear, 2005);
  EXPECT_EQ(moment.wMonth, 1);
  EXPECT_EQ(moment.wDay, 1);
  EXPECT_EQ(moment.wHour, 0);
  EXPECT_EQ(moment.wMinute, 5);
}

TEST_F(Savings, DamagedSettingsNeverDivideByZero) {
  Quit(MakeDate(2006, 3, 1, 8, 0));
  QuitDetails.cigsPerPack = 0;
  Clock(MakeDate(2007, 3, 1, 9, 0));
  EXPECT_EQ(Hundredths(MoneySaved), 0u);
  EXPECT_EQ(Hundredths(MoneyForPeriod(10, 0, 500)), 0u);
  EXPECT_EQ(Hundredths(MoneyForPeriod(0, 10, 500)), 0u);
  EXPECT_GT(CigarettesNotSmoked, 0u);

  QuitDetails.cigsPerPack = 20;
  QuitDetails.cigsPerDay = 0;
  Clock(MakeDate(2007, 3, 1, 9, 0));
  EXPECT_EQ(Hundredths(MoneySaved), 0u);
  EXPECT_EQ(CigarettesNotSmoked, 0u);
  EXPECT_EQ(ShortSpanText(LifeSavedSpan, false), "0m");
}

// Outside 5..20 the default 5 counts, as the General page shows it.
TEST_F(Savings, LifeMinutesOutOfRangeCountAsTheDefault) {
  Quit(MakeDate(2006, 3, 1, 8, 0));
  CigarettesNotSmoked = 12;
  GeneralPrefs.lifeMinutesPerCigarette = 0;
  EXPECT_EQ(LifeMinutesPerCigarette(), 5u);
  EXPECT_EQ(ComputeLifeSavedMoment().wMinute, 0);  // 60 minutes: 09:00
  EXPECT_EQ(LifeSavedMoment.wHour, 9);
  GeneralPrefs.lifeMinutesPerCigarette = 4000000000u;
  EXPECT_EQ(LifeMinutesPerCigarette(), 5u);
  EXPECT_EQ(ComputeLifeSavedMoment().wHour, 9);
  GeneralPrefs.lifeMinutesPerCigarette = 20;
  EXPECT_EQ(ComputeLifeSavedMoment().wHour, 12);  // 240 minutes
  GeneralPrefs.lifeMinutesPerCigarette = 13;
  EXPECT_EQ(LifeMinutesPerCigarette(), 13u);
  // A count no calendar can hold stops at its last day.
  CigarettesNotSmoked = U32Max;
  GeneralPrefs.lifeMinutesPerCigarette = 20;
  SysTime far = ComputeLifeSavedMoment();
  EXPECT_EQ(far.wYear, 9999);
  EXPECT_EQ(far.wMonth, 12);
  EXPECT_EQ(far.wDay, 31);
}

TEST_F(Savings, MoneyForPeriodIsExactAtTheExtremes) {
  QuitDetails.price = 100000;  // 1000.00 for a pack of 1, 500 a day: 500,000.00 a day
  QuitDetails.cigsPerPack = 1;
  QuitDetails.cigsPerDay = 500;
  SavingsTotal t = MoneyForPeriod(86, 0, QuitDetails.price);  // past 32 bits of hundredths
  EXPECT_EQ(t.units, 43000000u);
  EXPECT_EQ(t.hundredths, 0u);
  t = MoneyForPeriod(8000, 0, QuitDetails.price);  // 22 years: 4,000,000,000 units
  EXPECT_EQ(t.units, 4000000000u);
  t = MoneyForPeriod(0, 1439, QuitDetails.price);
  EXPECT_EQ(Hundredths(t), uint64_t{50000000} * 1439 / 1440);
  // Beyond UINT32_MAX units: saturated, never wrapped.
  t = MoneyForPeriod(8590, 0, QuitDetails.price);
  EXPECT_EQ(t.units, U32Max);
  EXPECT_EQ(t.hundredths, 99u);
  EXPECT_EQ(Hundredths(MoneyForPeriod(8589, 0, QuitDetails.price)), uint64_t{8589} * 50000000);
  EXPECT_EQ(Hundredths(MoneyForPeriod(0, 0, QuitDetails.price)), 0u);
  EXPECT_EQ(Hundredths(MoneyForPeriod(2, 7, 10)), 2u * 10 * 500);  // days win over minutes

  // Damaged values: the product passes 64 bits and is still divided exactly.
  QuitDetails.cigsPerDay = U32Max;
  QuitDetails.cigsPerPack = U32Max;
  t = MoneyForPeriod(0, 1000, U32Max);
  EXPECT_EQ(Hundredths(t), uint64_t{U32Max} * 1000 / 1440);
  t = MoneyForPeriod(U32Max, 0, U32Max);
  EXPECT_EQ(t.units, U32Max);
  QuitDetails.cigsPerPack = 1;
  t = MoneyForPeriod(0, 1, U32Max);
  EXPECT_EQ(t.units, U32Max);
  EXPECT_EQ(t.hundredths, 99u);
}

TEST_F(Savings, ExtremeSettingsOverDecades) {
  QuitDetails.price = 100000;
  QuitDetails.cigsPerPack = 1;
  QuitDetails.cigsPerDay = 500;
  Quit(MakeDate(1990, 1, 1, 12, 0));
  SysTime now = MakeDate(2010, 1, 1, 18, 0);  // 7305 days and 6 hours
  Clock(now);
  uint64_t perDay = 50000000;
  uint64_t expected = perDay * 720 / 1440 + perDay * 7304 + perDay * 1080 / 1440;
  EXPECT_EQ(Hundredths(MoneySaved), expected);
  EXPECT_EQ(CigarettesNotSmoked, 500u * 7305 + 125);
  // Forty years pass UINT32_MAX units: the total saturates.
  Clock(MakeDate(2030, 1, 1, 18, 0));
  EXPECT_EQ(MoneySaved.units, U32Max);
  EXPECT_EQ(MoneySaved.hundredths, 99u);
}

TEST_F(Savings, FormatMoneyTextUsesTheCurrencyFormat) {
  EXPECT_EQ(FormatMoneyText({1234, 5}), "$1,234.05");
  EXPECT_EQ(FormatMoneyText({0, 0}), "$0.00");
  EXPECT_EQ(FormatMoneyText({U32Max, 99}), "$4,294,967,295.99");
  StandInLocale comma(StandInLocale::Kind::Comma);
  UseLocale(&comma);
  EXPECT_EQ(FormatMoneyText({1234567, 50}), "1.234.567,50 EUR");
  UseLocale(&locale);
}

// Days, cigarettes, money and life saved for random settings, quit moments,
// clocks and price lists, against a computation that prices every day on its
// own with std::chrono dates (the price in force found by binary search, the
// days grouped by the point that priced them, each group floored once).
TEST_F(Savings, RandomQuitsAgainstADayByDayComputation) {
  using namespace std::chrono;
  std::mt19937 rng(7031);
  auto pick = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  auto to_sys = [](sys_days d, int hh, int mm, int ss) {
    year_month_day ymd(d);
    return MakeDate(uint16_t(int(ymd.year())), uint16_t(unsigned(ymd.month())), uint16_t(unsigned(ymd.day())),
                    uint16_t(hh), uint16_t(mm), uint16_t(ss));
  };
  const int64_t jdnOfEpoch = 2440588;  // 1 January 1970
  int failures = 0;
  for (int round = 0; round < 1500 && failures < 5; ++round) {
    QuitDetails.cigsPerDay = uint32_t(pick(1, 500));
    QuitDetails.cigsPerPack = uint32_t(pick(1, 600));
    QuitDetails.price = uint32_t(pick(1, 100000));
    GeneralPrefs.lifeMinutesPerCigarette = uint32_t(pick(5, 20));
    sys_days quitDay = sys_days(year(1950) / 1 / 1) + days(pick(0, 365 * 60));
    int quitMinute = int(pick(0, 1439));
    SysTime quit = to_sys(quitDay, quitMinute / 60, quitMinute % 60, 0);
    Quit(quit);
    int64_t spanDays = round % 3 == 0 ? pick(-1, 2) : pick(0, 2500);
    sys_days nowDay = quitDay + days(spanDays);
    int nowSecondOfDay = int(pick(0, 86399));
    SysTime now = to_sys(nowDay, nowSecondOfDay / 3600, nowSecondOfDay / 60 % 60, nowSecondOfDay % 60);

    // Price points in ascending order around the quit day and today,
    // duplicates and points before and after included.
    std::vector<std::pair<int64_t, uint32_t>> points;  // (days since 1970, price)
    int n = int(pick(0, 100));
    for (int i = 0; i < n; ++i)
      points.push_back({(quitDay + days(pick(-30, spanDays + 30))).time_since_epoch().count(),
                        uint32_t(pick(1, 100000))});
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    PricePoints = PricePointList{};
    for (auto& [day, price] : points)
      PricePoints.points[PricePoints.count++] = {uint32_t(day + jdnOfEpoch), price};

    Clock(now);

    // Expected, independently.
    auto quitMoment = quitDay + minutes(quitMinute);
    auto nowMoment = nowDay + seconds(nowSecondOfDay);
    bool pending = nowMoment < quitMoment;
    int64_t wholeDays = pending ? 0 : duration_cast<seconds>(nowMoment - quitMoment).count() / 86400;
    const uint64_t perDay = uint64_t{QuitDetails.price} * QuitDetails.cigsPerDay;  // in price units
    const uint64_t pack = QuitDetails.cigsPerPack;
    uint64_t money = 0;
    uint64_t cigarettes = 0;
    if (!pending) {
      int64_t q = quitDay.time_since_epoch().count(), t = nowDay.time_since_epoch().count();
      // Index of the point pricing `day` (-1: the quit details' price).
      auto inForce = [&](int64_t day) -> int {
        auto it = std::upper_bound(points.begin(), points.end(), day,
                                   [](int64_t d, const auto& p) { return d < p.first; });
        if (it == points.begin()) return -1;
        --it;
        return it->first > q ? int(it - points.begin()) : -1;
      };
      auto priceOf = [&](int index) { return index < 0 ? QuitDetails.price : points[size_t(index)].second; };
      int nowMinuteOfDay = nowSecondOfDay / 60;
      if (q == t) {
        money = perDay * uint64_t(nowMinuteOfDay - quitMinute) / (1440 * pack);
      } else {
        money = perDay * uint64_t(1440 - quitMinute) / (1440 * pack);
        std::map<int, uint64_t> daysAt;
        for (int64_t d = q + 1; d < t; ++d) ++daysAt[inForce(d)];
        for (auto& [index, count] : daysAt)
          money += uint64_t{priceOf(index)} * QuitDetails.cigsPerDay * count / pack;
        money += uint64_t{priceOf(inForce(t))} * QuitDetails.cigsPerDay * uint64_t(nowMinuteOfDay) / (1440 * pack);
      }
      int64_t minutesQuit = duration_cast<minutes>(nowMoment - quitMoment).count();
      uint64_t thousandths = uint64_t(minutesQuit % 1440) * 60 * 1000 / 86400;
      cigarettes = QuitDetails.cigsPerDay * uint64_t(wholeDays) + QuitDetails.cigsPerDay * thousandths / 1000;
    }
    auto lifeSaved = quitMoment + minutes(int64_t(cigarettes) * GeneralPrefs.lifeMinutesPerCigarette);
    SysTime lifeExpected = to_sys(floor<days>(lifeSaved), int((lifeSaved - floor<days>(lifeSaved)) / hours(1)),
                                  int((lifeSaved - floor<days>(lifeSaved)) / minutes(1) % 60), 0);

    bool ok = QuitPending == int(pending) && DaysQuit == wholeDays && CigarettesNotSmoked == cigarettes &&
              Hundredths(MoneySaved) == money && MoneySaved.hundredths < 100 &&
              LifeSavedMoment.wYear == lifeExpected.wYear && LifeSavedMoment.wMonth == lifeExpected.wMonth &&
              LifeSavedMoment.wDay == lifeExpected.wDay && LifeSavedMoment.wHour == lifeExpected.wHour &&
              LifeSavedMoment.wMinute == lifeExpected.wMinute;
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "round " << round << ": quit " << quit.wYear << "-" << quit.wMonth << "-" << quit.wDay << " "
                    << quit.wHour << ":" << quit.wMinute << ", now +" << spanDays << "d " << nowSecondOfDay
                    << "s, " << n << " points; days " << DaysQuit << "/" << wholeDays << ", cigarettes "
                    << CigarettesNotSmoked << "/" << cigarettes << ", money " << Hundredths(MoneySaved) << "/"
                    << money << ", life " << LifeSavedMoment.wYear << "-" << LifeSavedMoment.wMonth << "-"
                    << LifeSavedMoment.wDay << " " << LifeSavedMoment.wHour << ":" << LifeSavedMoment.wMinute;
    }
  }
}

// Any settings at all, damaged ones included: the amount is the exact floor
// of the 128-bit quotient (checked here with the compiler's own 128-bit
// integers), or saturated when it passes UINT32_MAX units.
TEST_F(Savings, MoneyForPeriodMatchesWideArithmeticForAnyValues) {
  std::mt19937_64 rng(99);
  const unsigned __int128 cap = (unsigned __int128)U32Max * 100 + 99;
  auto any = [&]() -> uint32_t {
    switch (rng() % 4) {
      case 0: return uint32_t(rng() % 1000);
      case 1: return uint32_t(rng() % 100001);
      case 2: return U32Max - uint32_t(rng() % 3);
      default: return uint32_t(rng());
    }
  };
  for (int i = 0; i < 200000; ++i) {
    QuitDetails.cigsPerDay = any();
    QuitDetails.cigsPerPack = any();
    uint32_t price = any(), days = rng() % 2 ? any() : 0, minutes = rng() % 2 ? any() % 1441 : 0;
    SavingsTotal got = MoneyForPeriod(days, minutes, price);
    unsigned __int128 amount = 0;
    unsigned __int128 perDay = (unsigned __int128)price * QuitDetails.cigsPerDay;
    if (QuitDetails.cigsPerPack != 0) {
      if (days != 0)
        amount = perDay * days / QuitDetails.cigsPerPack;
      else if (minutes != 0)
        amount = perDay * minutes / ((unsigned __int128)1440 * QuitDetails.cigsPerPack);
    }
    if (amount > cap) amount = cap;
    ASSERT_EQ(uint64_t(Hundredths(got)), uint64_t(amount))
        << price << " x " << QuitDetails.cigsPerDay << " / " << QuitDetails.cigsPerPack << ", " << days << "d "
        << minutes << "m";
  }
}
