// The statistics view's texts and the decisions of its clock, without a window.
#include <gtest/gtest.h>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "engine/span.h"
#include "engine/stats_view_texts.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "locale_fixture.h"

namespace {

ElapsedSpan Span(uint16_t y, uint16_t mo, uint16_t w, uint16_t d, uint16_t h, uint16_t mi, uint16_t s) {
  return ElapsedSpan{y, mo, w, d, h, mi, s, 0};
}

// Quit details of 20 a day, 20 a pack at 5.00: one cigarette is 0.25.
void SeedSettings(const SysTime& quit) {
  QuitDetails = QuitDetailsRecord{};
  QuitDetails.cigsPerDay = 20;
  QuitDetails.cigsPerPack = 20;
  QuitDetails.price = 500;
  QuitDetails.quitTime = quit;
  GeneralPrefs = DefaultGeneralPrefs();
  GeneralPrefs.lifeMinutesPerCigarette = 5;
  PricePoints = PricePointList{};
  QuitDayNumber = DateToDayNumber(quit);
}

// What one clock tick that runs both parts leaves in the view.
StatsViewTexts TextsAt(const SysTime& now) {
  RefreshClockSecond(now);
  RecomputeMinuteFigures();
  return CurrentStatsViewTexts();
}

using StatsViewTextsTest = PeriodLocale;
using StatsViewTextsComma = CommaLocale;

}  // namespace

TEST_F(StatsViewTextsTest, DaysTakeTheSingularOnlyForOne) {
  EXPECT_EQ(DaysQuitValueText(0), "0 Days");
  EXPECT_EQ(DaysQuitValueText(1), "1 Day");
  EXPECT_EQ(DaysQuitValueText(2), "2 Days");
  EXPECT_EQ(DaysQuitValueText(1234), "1,234 Days");
  EXPECT_EQ(DaysQuitValueText(-5), "0 Days");  // never shown below zero
}

TEST_F(StatsViewTextsTest, CountsAndMoneyInTheUserFormats) {
  EXPECT_EQ(CigarettesValueText(0), "0");
  EXPECT_EQ(CigarettesValueText(999), "999");
  EXPECT_EQ(CigarettesValueText(24680), "24,680");
  EXPECT_EQ(CigarettesValueText(4294967295u), "4,294,967,295");
  EXPECT_EQ(MoneyValueText(SavingsTotal{0, 0}), "$0.00");
  EXPECT_EQ(MoneyValueText(SavingsTotal{1234, 5}), "$1,234.05");
}

TEST_F(StatsViewTextsComma, CountsAndMoneyInACommaLocale) {
  EXPECT_EQ(DaysQuitValueText(1234), "1.234 Days");
  EXPECT_EQ(CigarettesValueText(1234567), "1.234.567");
  EXPECT_EQ(MoneyValueText(SavingsTotal{1234, 50}), "1.234,50 EUR");
}

TEST_F(StatsViewTextsTest, QuitTimeHasSecondsLifeSavedHasNone) {
  EXPECT_EQ(QuitTimeValueText(Span(0, 2, 0, 3, 0, 5, 9)), "2M 3D 5m 9s");
  EXPECT_EQ(QuitTimeValueText(Span(0, 0, 0, 0, 0, 0, 0)), "0m");
  EXPECT_EQ(QuitTimeValueText(Span(0, 0, 0, 0, 0, 0, 59)), "59s");
  EXPECT_EQ(LifeSavedValueText(0, Span(0, 2, 0, 3, 0, 5, 9)), "2M 3D 5m");
  EXPECT_EQ(LifeSavedValueText(0, Span(0, 0, 0, 0, 0, 0, 0)), "0m");
  EXPECT_EQ(LifeSavedValueText(0, Span(1, 0, 1, 0, 10, 0, 0)), "1Y 1W 10h");
}

TEST_F(StatsViewTextsTest, LifeSavedReadsZeroWhileTheQuitIsPending) {
  EXPECT_EQ(LifeSavedValueText(1, Span(0, 0, 0, 0, 0, 0, 0)), "0");
  EXPECT_EQ(LifeSavedValueText(1, Span(0, 0, 0, 1, 2, 3, 0)), "0");
}

TEST_F(StatsViewTextsTest, AQuitOneMinuteAheadCountsDownThenUp) {
  SeedSettings(MakeDate(2024, 3, 10, 12, 0));
  StatsViewTexts t = TextsAt(MakeDate(2024, 3, 10, 11, 59, 0));
  EXPECT_EQ(QuitPending, 1);
  EXPECT_EQ(t.quitTime, "1m");
  EXPECT_EQ(t.daysQuit, "0 Days");
  EXPECT_EQ(t.cigarettes, "0");
  EXPECT_EQ(t.money, "$0.00");
  EXPECT_EQ(t.lifeSaved, "0");
  EXPECT_EQ(TextsAt(MakeDate(2024, 3, 10, 11, 59, 1)).quitTime, "59s");
  EXPECT_EQ(TextsAt(MakeDate(2024, 3, 10, 11, 59, 59)).quitTime, "1s");

  t = TextsAt(MakeDate(2024, 3, 10, 12, 0, 0));  // on the quit moment
  EXPECT_EQ(QuitPending, 0);
  EXPECT_EQ(t.quitTime, "0m");
  EXPECT_EQ(t.daysQuit, "0 Days");
  EXPECT_EQ(t.cigarettes, "0");
  EXPECT_EQ(t.money, "$0.00");
  EXPECT_EQ(t.lifeSaved, "0m");
  EXPECT_EQ(TextsAt(MakeDate(2024, 3, 10, 12, 0, 1)).quitTime, "1s");
  EXPECT_EQ(TextsAt(MakeDate(2024, 3, 10, 12, 1, 2)).quitTime, "1m 2s");
}

TEST_F(StatsViewTextsTest, HalfAnHourIntoTheQuitDay) {
  SeedSettings(MakeDate(2024, 3, 10, 9, 30));
  StatsViewTexts t = TextsAt(MakeDate(2024, 3, 10, 10, 0, 0));
  EXPECT_EQ(t.quitTime, "30m");
  EXPECT_EQ(t.daysQuit, "0 Days");
  EXPECT_EQ(t.cigarettes, "0");  // 20 a day: 30 minutes is less than one
  EXPECT_EQ(t.money, "$0.10");  // 0.25 x 20 x 30 / 1440 = 0.104
  EXPECT_EQ(t.lifeSaved, "0m");
}

TEST_F(StatsViewTextsTest, ExactlyOneDayShowsTheSingular) {
  SeedSettings(MakeDate(2024, 3, 10, 9, 30));
  StatsViewTexts t = TextsAt(MakeDate(2024, 3, 11, 9, 30, 0));
  EXPECT_EQ(t.quitTime, "1D");
  EXPECT_EQ(t.daysQuit, "1 Day");
  EXPECT_EQ(t.cigarettes, "20");
  // The quit day's 870 minutes (3.02) and today's 570 (1.97) are floored apart.
  EXPECT_EQ(t.money, "$4.99");
  EXPECT_EQ(t.lifeSaved, "1h 40m");  // 20 x 5 minutes
}

TEST_F(StatsViewTextsTest, TenDaysAfterAMidnightQuit) {
  SeedSettings(MakeDate(2024, 3, 1, 0, 0));
  StatsViewTexts t = TextsAt(MakeDate(2024, 3, 11, 0, 0, 0));
  EXPECT_EQ(t.quitTime, "1W 3D");
  EXPECT_EQ(t.daysQuit, "10 Days");
  EXPECT_EQ(t.cigarettes, "200");
  EXPECT_EQ(t.money, "$50.00");
  EXPECT_EQ(t.lifeSaved, "16h 40m");  // 1000 minutes
}

TEST_F(StatsViewTextsTest, LongQuitsGroupTheirCounts) {
  SeedSettings(MakeDate(2020, 1, 1, 0, 0));
  StatsViewTexts t = TextsAt(MakeDate(2024, 1, 1, 6, 0, 0));
  EXPECT_EQ(t.quitTime, "4Y 6h");
  EXPECT_EQ(t.daysQuit, "1,461 Days");
  EXPECT_EQ(t.cigarettes, "29,225");  // 1461 x 20 + a quarter of 20
  EXPECT_EQ(t.money, "$7,306.25");
  // 29,225 x 5 minutes = 101 days 11 h 25 min: 11 April 2020 11:25.
  EXPECT_EQ(t.lifeSaved, "3M 1W 3D 11h 25m");
}

// ---- the clock's decisions ----

TEST(StatsClockPlan, FirstTickRunsBothPartsButNoDayRefresh) {
  StatsClockMemory memory;
  int marker = ForceStatsRecompute;
  ClockTickPlan plan = PlanClockTick(MakeDate(2024, 3, 10, 10, 0, 0), memory, marker);
  EXPECT_TRUE(plan.newSecond);
  EXPECT_TRUE(plan.newMinute);
  EXPECT_FALSE(plan.newDay);
  EXPECT_EQ(marker, 0);
  EXPECT_EQ(memory.lastSecond, 0);
  EXPECT_EQ(memory.refreshedDay, DateToDayNumber(2024, 3, 10));
}

TEST(StatsClockPlan, TheSameSecondDoesNothing) {
  StatsClockMemory memory;
  int marker = ForceStatsRecompute;
  PlanClockTick(MakeDate(2024, 3, 10, 10, 0, 5), memory, marker);
  SysTime again = MakeDate(2024, 3, 10, 10, 0, 5);
  again.wMilliseconds = 450;
  ClockTickPlan plan = PlanClockTick(again, memory, marker);
  EXPECT_FALSE(plan.newSecond);
  EXPECT_FALSE(plan.newMinute);
  // Even a forced recompute waits for the next second.
  marker = ForceStatsRecompute;
  plan = PlanClockTick(again, memory, marker);
  EXPECT_FALSE(plan.newMinute);
  EXPECT_EQ(marker, ForceStatsRecompute);
  plan = PlanClockTick(MakeDate(2024, 3, 10, 10, 0, 6), memory, marker);
  EXPECT_TRUE(plan.newSecond);
  EXPECT_TRUE(plan.newMinute);
  EXPECT_EQ(marker, 0);
}

TEST(StatsClockPlan, MinutePartRunsOncePerMinute) {
  StatsClockMemory memory;
  int marker = ForceStatsRecompute;
  int minuteRuns = 0, secondRuns = 0;
  // Ticks every 450 ms over three minutes.
  for (int ms = 0; ms < 180000; ms += 450) {
    int s = ms / 1000;
    SysTime now = MakeDate(2024, 3, 10, 10, static_cast<uint16_t>(s / 60), static_cast<uint16_t>(s % 60));
    now.wMilliseconds = static_cast<uint16_t>(ms % 1000);
    ClockTickPlan plan = PlanClockTick(now, memory, marker);
    secondRuns += plan.newSecond;
    minuteRuns += plan.newMinute;
    EXPECT_FALSE(plan.newDay);
  }
  EXPECT_EQ(secondRuns, 180);
  EXPECT_EQ(minuteRuns, 3);
}

TEST(StatsClockPlan, MarkerSixtyOneForcesTheMinutePart) {
  StatsClockMemory memory;
  int marker = ForceStatsRecompute;
  PlanClockTick(MakeDate(2024, 3, 10, 10, 7, 1), memory, marker);
  EXPECT_FALSE(PlanClockTick(MakeDate(2024, 3, 10, 10, 7, 2), memory, marker).newMinute);
  marker = ForceStatsRecompute;
  ClockTickPlan plan = PlanClockTick(MakeDate(2024, 3, 10, 10, 7, 3), memory, marker);
  EXPECT_TRUE(plan.newMinute);
  EXPECT_EQ(marker, 7);
  EXPECT_FALSE(PlanClockTick(MakeDate(2024, 3, 10, 10, 7, 4), memory, marker).newMinute);
}

TEST(StatsClockPlan, MidnightRefreshesTheViewsExactlyOnce) {
  StatsClockMemory memory;
  memory.refreshedDay = DateToDayNumber(2024, 3, 10);
  int marker = 59;
  memory.lastSecond = 59;
  EXPECT_FALSE(PlanClockTick(MakeDate(2024, 3, 10, 23, 59, 58), memory, marker).newDay);
  ClockTickPlan plan = PlanClockTick(MakeDate(2024, 3, 11, 0, 0, 0), memory, marker);
  EXPECT_TRUE(plan.newDay);
  EXPECT_TRUE(plan.newMinute);
  EXPECT_FALSE(PlanClockTick(MakeDate(2024, 3, 11, 0, 0, 1), memory, marker).newDay);
  marker = ForceStatsRecompute;  // a recompute during 00:00 is no new day
  plan = PlanClockTick(MakeDate(2024, 3, 11, 0, 0, 2), memory, marker);
  EXPECT_TRUE(plan.newMinute);
  EXPECT_FALSE(plan.newDay);
}

TEST(StatsClockPlan, ClockMovedAcrossMidnightRefreshesTheViews) {
  StatsClockMemory memory;
  int marker = ForceStatsRecompute;
  PlanClockTick(MakeDate(2024, 3, 11, 0, 5, 0), memory, marker);
  // Set back to the evening before.
  ClockTickPlan plan = PlanClockTick(MakeDate(2024, 3, 10, 23, 50, 1), memory, marker);
  EXPECT_TRUE(plan.newDay);
  EXPECT_EQ(memory.refreshedDay, DateToDayNumber(2024, 3, 10));
  // A sleep of exactly one day lands in the minute already seen.
  plan = PlanClockTick(MakeDate(2024, 3, 11, 23, 50, 30), memory, marker);
  EXPECT_TRUE(plan.newDay);
  EXPECT_FALSE(plan.newMinute);
}
