// What the statistics view shows, and when its clock recomputes what: kept
// free of window code so that both can be checked without a window.
#pragma once
#include <cstdint>
#include <string>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "engine/span.h"
#include "util/systime.h"

// The minute for which the per-minute figures were last computed; 61, a
// minute no clock shows, makes the next new second recompute them.
extern int StatsMinuteMarker;
inline constexpr int ForceStatsRecompute = 61;

// Anything that changes an input of the per-minute figures (quit details,
// price points, preferences, the system time) says so here.
void MinuteInputsChanged();

// The quit-time value as last shown (also the notification icon's tip).
extern std::string QuitTimeText;

// The texts of the view's five value fields.
struct StatsViewTexts {
  std::string quitTime;  // "1D 2h 3m 4s"
  std::string daysQuit;  // "1,234 Days", "1 Day", "0 Days"
  std::string cigarettes;  // "24,680"
  std::string money;  // "$1,234.50"
  std::string lifeSaved;  // "3D 4h 5m", or "0" while the quit is pending
};

// The short quit span with seconds.
std::string QuitTimeValueText(const ElapsedSpan& quitSpan);
// The count in the integer format, then " Day" for exactly 1, else " Days".
// A negative count (which the engine never produces) reads as 0.
std::string DaysQuitValueText(int32_t days);
std::string CigarettesValueText(uint32_t cigarettes);
std::string MoneyValueText(const SavingsTotal& money);
// "0" while the quit is pending, else the short life-saved span without seconds.
std::string LifeSavedValueText(int quitPending, const ElapsedSpan& lifeSavedSpan);
// All five from the shared statistics values.
StatsViewTexts CurrentStatsViewTexts();

// What one tick of the 450 ms clock has to do.
struct ClockTickPlan {
  bool newSecond = false;  // refresh LocalNow, the day, QuitPending, the quit span
  bool newMinute = false;  // recompute days, cigarettes, money, life saved
  bool newDay = false;  // the buddies' "today" moved: refresh their views
};

// The clock's memory between ticks. 61 is no second or minute a clock shows,
// so the first tick after a reset runs both parts.
struct StatsClockMemory {
  int lastSecond = ForceStatsRecompute;
  DayNumber refreshedDay = 0;  // the day whose anniversaries the views show
};

// Decides one tick at `now` and remembers it: a tick in the second already
// seen does nothing; the per-minute part runs when the minute differs from
// `minuteMarker` (StatsMinuteMarker); the views' day refresh runs once on the
// first new second whose date differs from the one they were last refreshed
// for: at midnight, but also after a sleep or a clock change across it, which
// an exact 00:00 test would miss.
ClockTickPlan PlanClockTick(const SysTime& now, StatsClockMemory& memory, int& minuteMarker);
