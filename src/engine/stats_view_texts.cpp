#include "engine/stats_view_texts.h"

#include "locale/formats.h"

int StatsMinuteMarker = ForceStatsRecompute;
std::string QuitTimeText;

void MinuteInputsChanged() { StatsMinuteMarker = ForceStatsRecompute; }

std::string QuitTimeValueText(const ElapsedSpan& quitSpan) { return ShortSpanText(quitSpan, true); }

std::string DaysQuitValueText(int32_t days) {
  uint32_t count = days > 0 ? static_cast<uint32_t>(days) : 0;
  return FormatCount(count) + (count == 1 ? " Day" : " Days");
}

std::string CigarettesValueText(uint32_t cigarettes) { return FormatCount(cigarettes); }

std::string MoneyValueText(const SavingsTotal& money) { return FormatMoneyText(money); }

std::string LifeSavedValueText(int quitPending, const ElapsedSpan& lifeSavedSpan) {
  return quitPending == 1 ? std::string("0") : ShortSpanText(lifeSavedSpan, false);
}

StatsViewTexts CurrentStatsViewTexts() {
  StatsViewTexts texts;
  texts.quitTime = QuitTimeValueText(QuitSpan);
  texts.daysQuit = DaysQuitValueText(DaysQuit);
  texts.cigarettes = CigarettesValueText(CigarettesNotSmoked);
  texts.money = MoneyValueText(MoneySaved);
  texts.lifeSaved = LifeSavedValueText(QuitPending, LifeSavedSpan);
  return texts;
}

ClockTickPlan PlanClockTick(const SysTime& now, StatsClockMemory& memory, int& minuteMarker) {
  ClockTickPlan plan;
  if (now.wSecond == memory.lastSecond) return plan;
  memory.lastSecond = now.wSecond;
  plan.newSecond = true;
  DayNumber today = DateToDayNumber(now);
  if (today != memory.refreshedDay) {
    plan.newDay = memory.refreshedDay != 0;  // the views were built for today
    memory.refreshedDay = today;
  }
  if (now.wMinute != minuteMarker) {
    minuteMarker = now.wMinute;
    plan.newMinute = true;
  }
  return plan;
}
