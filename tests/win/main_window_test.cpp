// The real main window, made from template 1000 with settings seeded in the
// test prefix's registry, driven with messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/view_strip.h"
#include "layout_check.h"
#include "engine/stats_text.h"
#include "engine/stats_view_texts.h"
#include "milestones/milestones_view.h"
#include "resource.h"
#include "shell_fixture.h"
#include "stats/statistics_view.h"
#include "win/app_state.h"
#include "win/dpi.h"
#include "win/listview.h"

namespace {
using namespace shell_test;

class MainWindow : public MainWindowFixture {};
class MainWindowTray : public MainWindowFixture {
 protected:
  void TearDown() override {
    TrayNotify = SystemTrayNotify;
    MainWindowFixture::TearDown();
  }
};

// A shell that takes or refuses the icon, counting what it is asked.
bool ShellTakesIcons = true;
int IconsAdded = 0;
BOOL WINAPI TestShell(DWORD message, PNOTIFYICONDATAA) {
  if (message == NIM_ADD && ShellTakesIcons) ++IconsAdded;
  return message != NIM_ADD || ShellTakesIcons;
}
// The icon the shell was last given, and with which message.
DWORD LastShellMessage = 0;
HICON LastShellIcon = nullptr;
BOOL WINAPI RecordingShell(DWORD message, PNOTIFYICONDATAA icon) {
  LastShellMessage = message;
  LastShellIcon = icon->hIcon;
  return TRUE;
}
class MainWindowShutdown : public MainWindowFixture {};
class MainWindowPosition : public MainWindowFixture {};

std::string MenuText(HMENU menu, UINT position) {
  char text[128] = {};
  GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
  return text;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// ---- the window and its menus ----

TEST_F(MainWindow, IsMadeFromItsTemplateWithMenuBarAndSmallIcon) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w), " Fumora v1.05b");
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_EQ(::MainWindow, w);
  EXPECT_NE(SendMessageA(w, WM_GETICON, ICON_SMALL, 0), 0);
  HMENU bar = GetMenu(w);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  const char* menus[] = {"&File", "&Edit", "&View", "&Help"};
  for (UINT i = 0; i < 4; ++i) EXPECT_EQ(MenuText(bar, i), menus[i]);
}

// Chooses the item as a click on it does (the window gets the item's
// command) and says what the user then sees: the caption of the dialog that
// opened (closed again), what went on the clipboard, the window gone, or
// the view on show.
std::string Choose(HWND window, HMENU menu, UINT position) {
  OpenClipboard(window);
  EmptyClipboard();
  CloseClipboard();
  std::string dialog;
  ModalDriver::Run({[&] {
                     char caption[128] = {};
                     GetWindowTextA(GetActiveWindow(), caption, sizeof caption);
                     dialog = caption;
                     PostMessageA(GetActiveWindow(), WM_CLOSE, 0, 0);
                   }},
                   EndDialogs, [&] { SendMessageA(window, WM_COMMAND, GetMenuItemID(menu, position), 0); });
  Pump(20);
  if (!dialog.empty()) return "dialog " + dialog;
  if (!IsWindow(window)) return "closed";
  if (const std::string copied = ClipboardText(); !copied.empty()) return "copied " + copied;
  for (int i = 0; i < ViewCount; ++i)
    if (IsWindowVisible(ViewWindows[i])) return "view " + std::to_string(i);
  return "nothing";
}

// Every item of the menu bar and of the notification icon's menu, with its
// text, does what it says; the separators stand where they are drawn.
TEST_F(MainWindow, EveryMenuItemDoesWhatItSays) {
  HoldClockAt(HeldClock());
  const std::string copied = std::string("copied ") + HeldClockStatsText;
  HMENU tray = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(10100));
  ASSERT_NE(tray, nullptr);
  ASSERT_EQ(GetMenuItemCount(GetSubMenu(tray, 0)), 8);
  const struct {
    int menu;  // 0 to 3 the menu bar's, 4 the tray menu
    UINT position;
    const char* text;
    std::string seen;
  } items[] = {
      {1, 0, "&Copy Stats\tCtrl+C", copied},
      {1, 1, "&Preferences", "dialog Fumora Preferences"},
      {1, 2, "", "separator"},
      {1, 3, "Edit &Quit Details", "dialog Edit Quit Details"},
      {2, 1, "&Milestones", "view 1"},
      {2, 2, "&Buddies", "view 2"},
      {2, 3, "&Days Ahead", "view 3"},
      {2, 0, "&Statistics", "view 0"},
      {3, 0, "&About", "dialog About Fumora 1.05b"},
      {4, 1, "Personal Milestones", "view 1"},
      {4, 2, "Buddy List", "view 2"},
      {4, 3, "Days Ahead", "view 3"},
      {4, 0, "Quitting Stats", "view 0"},
      {4, 4, "", "separator"},
      {4, 5, "Copy Stats", copied},
      {4, 6, "", "separator"},
      {0, 0, "E&xit\tAlt+F4", "closed"},
      {4, 7, "Exit", "closed"},
  };
  for (const auto& item : items) {
    SCOPED_TRACE(item.text);
    if (!IsWindow(window_)) Open();
    HMENU menu = item.menu < 4 ? GetSubMenu(GetMenu(window_), item.menu) : GetSubMenu(tray, 0);
    EXPECT_EQ(MenuText(menu, item.position), item.text);
    if (item.seen == "separator")
      EXPECT_TRUE(GetMenuState(menu, item.position, MF_BYPOSITION) & MF_SEPARATOR);
    else
      EXPECT_EQ(Choose(window_, menu, item.position), item.seen);
  }
  DestroyMenu(tray);
}

TEST_F(MainWindow, CreatesTheFourViewsAsChildren) {
  HWND w = Open();
  for (int i = 0; i < ViewCount; ++i) {
    ASSERT_NE(ViewWindows[i], nullptr) << "view " << i;
    EXPECT_EQ(GetParent(ViewWindows[i]), w);
  }
  EXPECT_EQ(ViewWindows[StatisticsViewIndex], StatisticsView);
  EXPECT_NE(GetDlgItem(ViewWindows[BuddiesViewIndex], IDC_BUDDY_LIST), nullptr);
  EXPECT_NE(GetDlgItem(ViewWindows[DaysAheadViewIndex], IDC_DAYS_AHEAD_LIST), nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(ViewWindows[DaysAheadViewIndex], IDC_LEGEND_TOMORROW)), "Tommorrow");
}

TEST_F(MainWindow, TitleColoursComeFromTheShadowBrush) {
  HWND w = Open();
  HDC dc = CreateCompatibleDC(nullptr);
  for (int id : {1001, 1002}) {
    const LRESULT brush = SendMessageA(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNSHADOW))) << id;
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  }
  // Every other static keeps the default colours.
  HWND other = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 5, 5, w, reinterpret_cast<HMENU>(1234), nullptr,
                               nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  EXPECT_NE(SendMessageA(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(other)),
            reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNSHADOW)));
  EXPECT_NE(GetTextColor(dc), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  DestroyWindow(other);
  DeleteDC(dc);
}

TEST_F(MainWindow, TitleIsInBoldArial) {
  HWND w = Open();
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(w, 1001), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(font, sizeof(lf), &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, 20);
  EXPECT_EQ(lf.lfWeight, 700);
}

// ---- view selection ----

TEST_F(MainWindow, StartsWithTheStoredStartupView) {
  Open({.startupView = 1});
  EXPECT_EQ(CurrentView, MilestonesViewIndex);
  EXPECT_EQ(VisibleView(), MilestonesViewIndex);
  EXPECT_EQ(Title(), "Personal Milestones");
}

// Before the show only the statistics view (the clock) and what the start-up
// view needs exist; the rest follow once the window has been painted.
TEST_F(MainWindow, ViewsNotOnShowAreMadeAfterTheFirstPaint) {
  const struct {
    uint32_t startupView;
    std::vector<int> madeAtOnce;
  } cases[] = {{0, {StatisticsViewIndex}},
               {2, {StatisticsViewIndex, BuddiesViewIndex}},
               {3, {StatisticsViewIndex, BuddiesViewIndex, DaysAheadViewIndex}},
               {1, {StatisticsViewIndex, BuddiesViewIndex, DaysAheadViewIndex, MilestonesViewIndex}}};
  for (const auto& c : cases) {
    OpenHidden({.startupView = c.startupView});
    for (int i = 0; i < ViewCount; ++i)
      EXPECT_EQ(ViewWindows[i] != nullptr, std::count(c.madeAtOnce.begin(), c.madeAtOnce.end(), i) == 1)
          << "start-up view " << c.startupView << ", view " << i;
    if (c.startupView == MilestonesViewIndex) {
      EXPECT_EQ(RowCount(MilestonesList), 214);  // ready for the first paint
    }
    ShowWindow(window_, SW_SHOW);
    Pump(100);
    for (int i = 0; i < ViewCount; ++i) {
      EXPECT_NE(ViewWindows[i], nullptr) << c.startupView << ", view " << i;
      EXPECT_EQ(IsWindowVisible(ViewWindows[i]) != FALSE, i == static_cast<int>(c.startupView)) << i;
    }
    DestroyWindow(window_);
    Pump(20);
  }
  // A view asked for before then is made at once, with those before it.
  OpenHidden();
  SelectView(DaysAheadViewIndex);
  EXPECT_NE(ViewWindows[BuddiesViewIndex], nullptr);
  EXPECT_NE(ViewWindows[DaysAheadViewIndex], nullptr);
  EXPECT_EQ(CurrentView, DaysAheadViewIndex);
}

TEST_F(MainWindow, StartupViewOutOfRangeShowsStatistics) {
  for (uint32_t damaged : {4u, 55u, 0xFFFFFFFFu}) {
    Open({.startupView = damaged});
    EXPECT_EQ(CurrentView, StatisticsViewIndex) << damaged;
    EXPECT_EQ(VisibleView(), StatisticsViewIndex) << damaged;
    EXPECT_EQ(Title(), "Quitting Statistics") << damaged;
    DestroyWindow(window_);
    Pump(20);
  }
}

TEST_F(MainWindow, DaysAheadTitleNamesTheLookAheadPeriod) {
  Open({.startupView = 3, .lookAheadDays = 7});
  EXPECT_EQ(Title(), "Next 7 Days");
  EXPECT_EQ(VisibleView(), DaysAheadViewIndex);
  DestroyWindow(window_);
  Pump(20);
  Open({.startupView = 0, .lookAheadDays = 100});
  Command(10010);
  EXPECT_EQ(Title(), "Next 100 Days");
}

// A period outside 2..100 counts as the default 20, as the Preferences show it.
TEST_F(MainWindow, DamagedLookAheadPeriodIsTitledWithTheDefault) {
  for (auto [stored, shown] : {std::pair<uint32_t, const char*>{0, "Next 20 Days"}, {250, "Next 20 Days"}}) {
    Open({.startupView = 3, .lookAheadDays = stored});
    EXPECT_EQ(Title(), shown) << stored;
    DestroyWindow(window_);
    Pump(20);
  }
}

TEST_F(MainWindow, ViewMenuSelectsEachViewWithItsTitle) {
  Open();
  const char* titles[] = {"Quitting Statistics", "Personal Milestones", "Buddy List", "Next 20 Days"};
  for (int i : {1, 2, 3, 0, 2}) {
    Command(10007 + i);
    EXPECT_EQ(CurrentView, i);
    EXPECT_EQ(VisibleView(), i);
    EXPECT_EQ(Title(), titles[i]);
  }
}

TEST_F(MainWindow, SelectingTheShownViewChangesNothing) {
  Open({.startupView = 2});
  SetWindowTextA(GetDlgItem(window_, 1001), "unchanged");
  HWND button = GetDlgItem(ViewWindows[BuddiesViewIndex], IDC_BUDDY_NEW);
  SetFocus(button);
  SelectView(BuddiesViewIndex);
  Command(10009);
  EXPECT_EQ(Title(), "unchanged");
  EXPECT_EQ(VisibleView(), BuddiesViewIndex);
  EXPECT_EQ(GetFocus(), button);  // not handed to the list again
}

// A focus left in a hidden view made IsDialogMessage walk the main window's
// controls for ever on the next Alt+letter: the program hung.
TEST_F(MainWindow, LeavingAViewTakesTheFocusOutOfIt) {
  Open({.startupView = 2});
  ASSERT_TRUE(IsChild(ViewWindows[BuddiesViewIndex], GetFocus()));
  for (UINT command : {10008u, 10007u, 10010u}) {
    Command(command);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus && IsWindowVisible(focus)) << command;
    EXPECT_FALSE(IsChild(ViewWindows[BuddiesViewIndex], focus)) << command;
    Command(10009);
  }
}

TEST_F(MainWindow, IndexesOutsideTheViewsAreIgnored) {
  Open();
  SelectView(4);
  SelectView(-1);
  SelectView(NoView);
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
  EXPECT_EQ(VisibleView(), StatisticsViewIndex);
}

TEST_F(MainWindow, BuddiesViewTakesTheDialogKeysAndTheFocus) {
  Open();
  EXPECT_EQ(DialogMessageTarget, window_);
  Command(10009);
  EXPECT_EQ(DialogMessageTarget, ViewWindows[BuddiesViewIndex]);
  EXPECT_EQ(GetFocus(), GetDlgItem(ViewWindows[BuddiesViewIndex], IDC_BUDDY_LIST));
  Command(10010);
  EXPECT_EQ(DialogMessageTarget, window_);
}

// A view chosen while a modal dialog is open (Ctrl+B in Edit Quit Details)
// gets the keyboard once the dialog closes.
TEST_F(MainWindow, TheBuddyListHasTheFocusAfterADialogThatSwitchedToIt) {
  Open();
  SetForegroundWindow(window_);
  Pump(50);
  Drive("Edit Quit Details",
        {[&] { Command(IDM_VIEW_BUDDIES); }, [] { Click(DialogNamed("Edit Quit Details"), IDCANCEL); }},
        [&] { Command(IDM_EDIT_QUIT_DETAILS); });
  Pump(100);
  EXPECT_EQ(DialogMessageTarget, ViewWindows[BuddiesViewIndex]);
  EXPECT_EQ(GetFocus(), GetDlgItem(ViewWindows[BuddiesViewIndex], IDC_BUDDY_LIST));
}

// ---- commands ----

// Before the quit moment Copy Stats says how long is still to go (15:17:51
// to 08:00 the next day); after it, the figures (EveryMenuItemDoesWhatItSays).
TEST_F(MainWindow, CopyStatsBeforeTheQuitMomentSaysWhenTheQuitComes) {
  HoldClockAt(HeldClock());
  Open({.quitTime = MakeDate(2024, 3, 12, 8, 0)});
  Command(10004);
  EXPECT_EQ(ClipboardText(), "I will quit in 15 hours, 17 minutes and 51 seconds.");
}

TEST_F(MainWindow, DialogKeysAndUnknownCommandsDoNothing) {
  Open();
  for (int id : {IDOK, IDCANCEL, 10001, 10013, 10108, 12345}) Command(id);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(Pump(20).has_value());
}

TEST_F(MainWindow, TimeChangeForcesTheMinuteFigures) {
  Open();
  StatsMinuteMarker = 7;
  SendMessageA(window_, WM_TIMECHANGE, 0, 0);
  EXPECT_EQ(StatsMinuteMarker, 61);
}

TEST_F(MainWindow, HotkeyIdIsTheAtomOfTheMutexName) {
  Open();
  EXPECT_TRUE(HotkeyId);
  EXPECT_EQ(GlobalFindAtomA("3g46aFumoraMutex1dk92a0"), HotkeyId.get());
  DestroyWindow(window_);
  EXPECT_EQ(GlobalFindAtomA("3g46aFumoraMutex1dk92a0"), 0);
}

// ---- the notification area ----

TEST_F(MainWindowTray, MinimisingHidesTheWindowBehindTheTrayIcon) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  EXPECT_TRUE(TrayIconShown);
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_TRUE(IsIconic(window_));
  EXPECT_EQ(TrayIcon.hWnd, window_);
  EXPECT_EQ(TrayIcon.uID, 0u);
  EXPECT_EQ(TrayIcon.uCallbackMessage, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(TrayIcon.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(TrayIcon.hIcon, reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0)));
  EXPECT_STREQ(TrayIcon.szTip, "");
}

// A move to a monitor of another scale while the window sits in the
// notification area: the shell is given the small icon drawn for the new DPI.
TEST_F(MainWindowTray, ADpiChangeGivesTheShellTheIconOfTheNewSize) {
  Open();
  TrayNotify = RecordingShell;
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(TrayIconShown);
  for (int dpi : {120, 144, 192, 96}) {
    SCOPED_TRACE(dpi);
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    GetWindowPlacement(window_, &place);
    RECT suggested = place.rcNormalPosition;
    LastShellMessage = 0;
    SendMessageA(window_, DpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const int expected = layout_test::DrawnSizeFor(MulDiv(16, dpi, 96), {16, 20, 24, 32});
    EXPECT_EQ(LastShellMessage, static_cast<DWORD>(NIM_MODIFY));
    ASSERT_EQ(LastShellIcon, TrayIcon.hIcon);
    EXPECT_EQ(layout_test::IconSize(LastShellIcon).cx, expected);
    EXPECT_TRUE(layout_test::IsDrawnImage(LastShellIcon));
    EXPECT_EQ(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(LastShellIcon));
    EXPECT_TRUE(IsIconic(window_));
  }
}

// The window hides only behind an icon the shell took. A new shell (Explorer
// restarted, or come up late at log-on) announces itself with
// "TaskbarCreated": the icon is added again, or the window shows on the
// taskbar when the shell refuses it.
TEST_F(MainWindowTray, TheWindowHidesOnlyBehindAnIconTheShellTook) {
  Open();
  TrayNotify = TestShell;
  IconsAdded = 0;
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  const struct {
    const char* what;
    bool shellTakes;
    bool minimise;  // or the new shell's message
    bool shown;  // on the taskbar (minimised) or hidden behind the icon
    int added;
  } steps[] = {
      {"minimised, the icon refused", false, true, true, 0},
      {"a shell comes that takes it", true, false, false, 1},
      {"Explorer restarts", true, false, false, 2},
      {"a shell that refuses it", false, false, true, 2},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    ShellTakesIcons = step.shellTakes;
    if (step.minimise)
      ShowWindow(window_, SW_MINIMIZE);
    else
      SendMessageA(window_, taskbarCreated, 0, 0);
    Pump();
    EXPECT_TRUE(IsIconic(window_));
    EXPECT_EQ(IsWindowVisible(window_) != FALSE, step.shown);
    EXPECT_EQ(TrayIconShown, !step.shown);
    EXPECT_EQ(IconsAdded, step.added);
  }
  ShowWindow(window_, SW_RESTORE);
  SendMessageA(window_, taskbarCreated, 0, 0);  // a window on show needs no icon
  EXPECT_EQ(IconsAdded, 2);
}

// Another start asks the running window to come forward: out of the
// notification area, restored and shown.
TEST_F(MainWindowTray, ASecondStartBringsTheWindowBack) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  ASSERT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(SendMessageA(window_, RegisterWindowMessageA(ShowRunningMessageName), 0, 0), ShownAnswer);
  Pump();
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(IsIconic(window_));
  EXPECT_FALSE(TrayIconShown);
}

TEST_F(MainWindowTray, ViewCommandFromTheTrayRestoresWithThatView) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  Command(10104);  // "Buddy List"
  Pump();
  EXPECT_EQ(CurrentView, BuddiesViewIndex);
  EXPECT_EQ(Title(), "Buddy List");
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(IsIconic(window_));
  EXPECT_FALSE(TrayIconShown);

  const char* titles[] = {"Quitting Statistics", "Personal Milestones", "Buddy List", "Next 20 Days"};
  for (int i : {3, 1, 0}) {
    ShowWindow(window_, SW_MINIMIZE);
    Pump();
    Command(10102 + i);
    Pump();
    EXPECT_EQ(CurrentView, i);
    EXPECT_EQ(Title(), titles[i]);
    EXPECT_FALSE(IsIconic(window_));
  }
}

TEST_F(MainWindowTray, DoubleClickOnTheIconRestoresTheWindow) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(TrayIconShown);
  SendMessageA(window_, TrayMessage, 0, WM_LBUTTONDBLCLK);
  Pump();
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(IsIconic(window_));
  EXPECT_FALSE(TrayIconShown);
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
}

TEST_F(MainWindowTray, PointerOnTheIconShowsTheQuitTimeAsTip) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  QuitTimeText = "2Y 10M 3W 1D 4h 5m 6s";
  SendMessageA(window_, TrayMessage, 0, WM_MOUSEMOVE);
  EXPECT_STREQ(TrayIcon.szTip, "2Y 10M 3W 1D 4h 5m 6s");
  // Another icon id, or another mouse message, is not ours.
  QuitTimeText = "other";
  SendMessageA(window_, TrayMessage, 1, WM_MOUSEMOVE);
  SendMessageA(window_, TrayMessage, 0, WM_LBUTTONDOWN);
  SendMessageA(window_, TrayMessage, 1, WM_LBUTTONDBLCLK);
  EXPECT_STREQ(TrayIcon.szTip, "2Y 10M 3W 1D 4h 5m 6s");
  EXPECT_FALSE(IsWindowVisible(window_));
  // A tip longer than the record holds is cut, never overrun.
  QuitTimeText = std::string(100, 'x');
  SendMessageA(window_, TrayMessage, 0, WM_MOUSEMOVE);
  EXPECT_EQ(std::string(TrayIcon.szTip), std::string(63, 'x'));
}

TEST_F(MainWindowTray, RestoreCommandRemovesTheIcon) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  Command(10101);
  Pump();
  EXPECT_FALSE(TrayIconShown);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(IsIconic(window_));
}

// ---- shutdown ----

// File > Exit, tray Exit, the close box; WM_CLOSE as taskkill, installers and
// updaters send it; the end of the session. Each ends the loop with 0 and
// stores the position when asked; the session's question is answered yes.
TEST_F(MainWindowShutdown, ExitCommandsTheCloseBoxCloseAndEndOfSessionEndTheLoopWithZero) {
  for (auto close : {+[](HWND w) { SendMessageA(w, WM_COMMAND, 10002, 0); },
                     +[](HWND w) { SendMessageA(w, WM_COMMAND, 10107, 0); },
                     +[](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); },
                     +[](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); },
                     +[](HWND w) {
                       EXPECT_EQ(SendMessageA(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
                       SendMessageA(w, WM_ENDSESSION, FALSE, 0);  // the session goes on after all
                       EXPECT_TRUE(IsWindow(w));
                       SendMessageA(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
                     }}) {
    Open({.lastPosX = 40, .lastPosY = 30});
    SetWindowPos(window_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    savePositionOnExit = 1;
    close(window_);
    const auto quit = Pump(50);
    EXPECT_FALSE(IsWindow(window_));
    ASSERT_TRUE(quit.has_value());
    EXPECT_EQ(*quit, 0u);
    EXPECT_EQ(ReadStoredDword("LastPosX"), 123);
    EXPECT_EQ(ReadStoredDword("LastPosY"), 77);
  }
}

// Closed from outside while a modal dialog is open: the dialog is cancelled,
// then the window closes.
TEST_F(MainWindowShutdown, CloseWithAModalDialogOpenCancelsItFirst) {
  for (UINT message : {UINT{WM_CLOSE}, UINT{WM_ENDSESSION}}) {
    Open();
    bool closed = false;
    Drive("About Fumora 1.05b", {[&] { PostMessageA(window_, message, TRUE, 0); }},
          [&] {
            Command(IDM_ABOUT);
            closed = true;
          });
    EXPECT_TRUE(closed);
    Pump(50);
    EXPECT_FALSE(IsWindow(window_)) << message;
    EXPECT_EQ(DialogNamed("About Fumora 1.05b"), nullptr);
  }
}

TEST_F(MainWindowShutdown, ReleasesTheClockHookMutexAndIcons) {
  ASSERT_TRUE(TakeSingleInstanceMutex());
  Open();
  EXPECT_NE(StatsTimerId, 0u);
  std::vector<HICON> icons;
  for (const ScopedIcon& icon : StripIcons) icons.push_back(icon.get());
  icons.push_back(StatsClipboardIcon.get());
  icons.push_back(reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0)));
  DestroyWindow(window_);
  Pump(20);
  // Each icon was the program's own, so destroying it really freed it.
  for (HICON icon : icons) {
    ICONINFO info{};
    EXPECT_NE(icon, nullptr);
    EXPECT_FALSE(GetIconInfo(icon, &info));
  }
  EXPECT_EQ(StatsTimerId, 0u);
  EXPECT_FALSE(KeyboardHookHandle);
  EXPECT_FALSE(InstanceMutex);
  for (HWND view : ViewWindows) EXPECT_EQ(view, nullptr);
  // The mutex is free again: a new copy could start.
  HANDLE again = CreateMutexA(nullptr, TRUE, InstanceMutexName);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(again);
}

TEST_F(MainWindowShutdown, StoresThePositionWhenAsked) {
  Open();
  SetWindowPos(window_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  savePositionOnExit = 1;
  DestroyWindow(window_);
  EXPECT_EQ(ReadStoredDword("LastPosX"), 123);
  EXPECT_EQ(ReadStoredDword("LastPosY"), 77);
}

TEST_F(MainWindowShutdown, StoresNoPositionWhenNotAsked) {
  Open({.lastPosX = 40, .lastPosY = 30});
  SetWindowPos(window_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  savePositionOnExit = 0;
  DestroyWindow(window_);
  EXPECT_EQ(ReadStoredDword("LastPosX"), 40);
  EXPECT_EQ(ReadStoredDword("LastPosY"), 30);
}

TEST_F(MainWindowShutdown, ExitFromTheTrayLeavesTheStoredPosition) {
  Open({.lastPosX = 40, .lastPosY = 30});
  SetWindowPos(window_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  savePositionOnExit = 1;
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  Command(10107);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(ReadStoredDword("LastPosX"), 40);
  EXPECT_EQ(ReadStoredDword("LastPosY"), 30);
  EXPECT_FALSE(TrayIconShown);
}

TEST_F(MainWindowShutdown, OtherSystemCommandsTakeTheirDefaultCourse) {
  Open();
  SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_TRUE(IsIconic(window_));
  EXPECT_TRUE(TrayIconShown);
}

// ---- the stored position ----

TEST_F(MainWindowPosition, StoredPositionIsApplied) {
  Open({.lastPosX = 200, .lastPosY = 150});
  const RECT r = WindowRect(window_);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
}

TEST_F(MainWindowPosition, MissingPositionMovesToTheTopLeftCorner) {
  Open();
  const RECT r = WindowRect(window_);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

// A window manager may then pull a partly hidden window onto the screen.
TEST_F(MainWindowPosition, PartlyVisiblePositionIsApplied) {
  OpenHidden({.lastPosX = -100, .lastPosY = 20});
  const RECT r = WindowRect(window_);
  EXPECT_EQ(r.left, -100);
  EXPECT_EQ(r.top, 20);
}

// Where DS_CENTER puts the window: the middle of the work area.
void ExpectCentred(HWND w) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const RECT r = WindowRect(w);
  const int width = r.right - r.left, height = r.bottom - r.top;
  EXPECT_NEAR(r.left, work.left + (work.right - work.left - width) / 2, 2);
  EXPECT_NEAR(r.top, work.top + (work.bottom - work.top - height) / 2, 2);
}

TEST_F(MainWindowPosition, MinusOneHundredThreeLeavesTheWindowCentred) {
  Open({.lastPosX = -103, .lastPosY = 500});
  ExpectCentred(window_);
}

// Far off, or at the ends of the 32-bit range (a damaged value).
TEST_F(MainWindowPosition, PositionOffEveryMonitorIsNotApplied) {
  const std::pair<int32_t, int32_t> corners[] = {
      {50000, 50000}, {-5000, 10}, {INT32_MAX, 10}, {10, INT32_MAX}, {INT32_MIN, 10}, {INT32_MIN, INT32_MIN}};
  for (const auto& [x, y] : corners) {
    SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
    Open({.lastPosX = x, .lastPosY = y});
    ExpectCentred(window_);
    DestroyWindow(window_);
    Pump(20);
  }
}

}  // namespace
