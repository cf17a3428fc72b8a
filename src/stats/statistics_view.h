// The statistics view: the first of the main window's four views, and the
// owner of the program's only clock, a 450 ms thread timer that refreshes the
// shared statistics values every new second and the per-minute figures every
// new minute (or after MinuteInputsChanged).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/stats_view_texts.h"
#include "util/systime.h"
#include "win/scoped.h"

// Creates the view from template 4000 as a child of `parent` (visible, as
// the template says; the main window hides it) and starts the clock.
HWND CreateStatisticsView(HWND parent);
INT_PTR CALLBACK StatisticsViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// Recomputes and shows every figure now, not at the clock's next tick: the
// quit details or the price points have changed. Nothing without the view.
void RefreshStatisticsNow();

// The view made by CreateStatisticsView (null before, and after its destruction).
extern HWND StatisticsView;

// The clock: a thread timer without a window. The main window stops it at
// shutdown with KillTimer(nullptr, StatsTimerId) or StopStatisticsClock();
// the view's destruction stops it too. 0 while not running.
extern UINT_PTR StatsTimerId;
void StopStatisticsClock();
// The timer procedure (one tick).
void CALLBACK StatisticsClockTick(HWND, UINT, UINT_PTR, DWORD);

// Where the clock reads the time: the local time (GetLocalTime) unless a test
// puts its own clock here.
using StatsClockFunction = SysTime (*)();
extern StatsClockFunction StatsClockSource;

// Sent to the view's parent once when the date has changed (at midnight, or
// after a clock change or a sleep across it), after the per-minute figures:
// the Days Ahead list must be rebuilt and the buddies' anniversary columns
// refreshed, because their "today" has moved. The main window answers it.
inline constexpr UINT StatsNewDayMessage = WM_APP + 5;

// The system time was changed (WM_TIMECHANGE): the per-minute figures are
// recomputed at the next tick, and the view's parent hears of the new date
// now, from the date of this moment; the clock's next tick then knows the
// views are built for it.
void StatsTimeChanged();

// Puts the name of the hotkey really registered ("None" when there is none)
// into the "Current Hotkey" label, so that it never names a hotkey that does
// nothing. The view shows it when it is created.
void ShowStatsHotkeyName();

// Sizes and places what the view draws in pixels (the quit-time value and
// its font, the clipboard button and its icon) for the view's DPI.
void LayOutStatisticsView();

// Icon 106 of the clipboard button, at the view's DPI; it goes when the view
// has gone, after the button that shows it.
extern ScopedIcon StatsClipboardIcon;
