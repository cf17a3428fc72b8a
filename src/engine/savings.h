// Days quit, cigarettes not smoked, money saved across price changes and life
// saved: integer arithmetic on the settings, the price points and the clock.
// Nothing here reads the system clock: the caller sets LocalNow (or passes
// the moment) so that every figure can be recomputed for any clock.
#pragma once
#include <cstdint>
#include <string>

#include "engine/calendar.h"
#include "engine/span.h"
#include "util/systime.h"

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

// Life minutes per cigarette as they count: the stored value, or the default
// 5 where a damaged GenPrefs holds one outside 5..20.
uint32_t LifeMinutesPerCigarette();

// Sets QuitPending from TodayDayNumber, QuitDayNumber, LocalNow and the quit
// moment's time of day; returns it.
int ComputeQuitPending();

// Minutes from a's time of day to b's, b at exactly 00:00 counting as 1440.
int32_t MinutesToTimeOfDay(const SysTime& a, const SysTime& b);
// Thousandths (0..1000) of a day since the moment's clock last showed the quit
// time of day; 1000 when the two times of day are equal.
uint32_t DayFraction(const SysTime& moment);

// Whole days from the quit moment to LocalNow, never below 0: sets and
// returns DaysQuit.
int32_t ComputeDaysQuit();
// Sets and returns CigarettesNotSmoked (0 while the quit is pending).
uint32_t ComputeCigarettes(int32_t days, const SysTime& moment);
// The cost in the settings' cigarettes per day and pack of `days` whole days
// or of `minutes` minutes at `price` hundredths a pack. Exact for every
// input; saturates at UINT32_MAX units and 99 hundredths.
SavingsTotal MoneyForPeriod(uint32_t days, uint32_t minutes, uint32_t price);
// Sets and returns MoneySaved, walking PricePoints.
SavingsTotal ComputeMoneySaved();
// Sets and returns LifeSavedMoment: the quit moment plus the life saved by
// CigarettesNotSmoked.
SysTime ComputeLifeSavedMoment();
// The money in the user's currency format ("$1,234.50").
std::string FormatMoneyText(const SavingsTotal& total);

// The one writer of LocalNow and TodayDayNumber: the clock's values for `now`.
void RefreshClockValues(const SysTime& now);

// The statistics clock. Every new second: LocalNow, TodayDayNumber,
// QuitPending and QuitSpan (counting down while the quit is pending).
void RefreshClockSecond(const SysTime& now);
// Every new minute (after RefreshClockSecond): DaysQuit, CigarettesNotSmoked,
// MoneySaved, LifeSavedMoment and LifeSavedSpan, in that order.
void RecomputeMinuteFigures();
