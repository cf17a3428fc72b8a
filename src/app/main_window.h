// The main window: a modeless dialog (template 1000) with the menu bar, the
// view strip, the four views, the title band and the notification-area icon.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

inline constexpr int ViewCount = 4;
enum ViewIndex { StatisticsViewIndex = 0, MilestonesViewIndex = 1, BuddiesViewIndex = 2, DaysAheadViewIndex = 3 };
// CurrentView before the first selection: no view index, so that one proceeds.
inline constexpr int NoView = 55;

// Callback message of the notification-area icon.
inline constexpr UINT TrayMessage = WM_USER + 5;

// Asks the running main window to come forward: restored from the
// notification area, shown and in front. It answers ShownAnswer.
inline constexpr char ShowRunningMessageName[] = "3g46aFumoraShow";

// The class of every dialog window.
inline constexpr char DialogClassName[] = "#32770";
inline constexpr LRESULT ShownAnswer = 0x466D;
// The shell's notification-area call: Shell_NotifyIconA, loaded on first use,
// unless a test puts its own here.
using TrayNotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA icon);
BOOL WINAPI SystemTrayNotify(DWORD message, PNOTIFYICONDATAA icon);
extern TrayNotifyFunction TrayNotify;

// Creates the main window (hidden) from template 1000; null on failure.
HWND CreateMainWindow();
INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows view `index` (0..3) and hides the one on show; the view on show
// again, or an index outside 0..3, changes nothing.
void SelectView(int index);
// The title line for a view: "Next <LookAheadDays> Days" for Days Ahead.
std::string ViewTitleText(int index);

extern HWND ViewWindows[ViewCount];
extern int CurrentView;
extern HWND TitleLabel;
extern NOTIFYICONDATAA TrayIcon;
extern bool TrayIconShown;  // TrayIcon added and not yet removed
