// Days quit, cigarettes not smoked, money saved across price changes and life
// saved: integer arithmetic on the settings, the price points and the clock.
#pragma once
#include <cstdint>
#include <string>

#include "engine/calendar.h"
#include "engine/span.h"
#include "engine/systime.h"

struct SavingsTotal {
  uint32_t units;
  uint32_t hundredths;  // 0..99
};

// The shared statistics values: the clock (the statistics view's timer)
// refreshes them; views and the stats text read them.
extern SysTime LocalNow;
extern DayNumber TodayDayNumber;
extern DayNumber QuitDayNumber;
extern int QuitPending;  // 1 until the quit moment is reached
extern int32_t DaysQuit;
extern uint32_t CigarettesNotSmoked;
extern SavingsTotal MoneySaved;
extern SysTime LifeSavedMoment;
extern ElapsedSpan QuitSpan;
extern ElapsedSpan LifeSavedSpan;
