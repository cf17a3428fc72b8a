// The statistics view made from its template, as a child of a plain window,
// with seeded settings and a clock that the test sets; driven by messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <string>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "engine/stats_text.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "hotkey/hotkey.h"
#include "locale/formats.h"
#include "resource.h"
#include "stats/statistics_view.h"
#include "util/systime_win32.h"
#include "win/app_state.h"
#include "win/new_static.h"

namespace {

SysTime FakeNow;
SysTime FakeClock() { return FakeNow; }

// What the view's parent heard of the new date.
int NewDayCalls;
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == StatsNewDayMessage) ++NewDayCalls;
  return DefWindowProcA(window, message, wParam, lParam);
}


// The main window registers NEWSTATIC before it makes the views.
void EnsureNewStaticClass() {
  if (!AppInstance) AppInstance = GetModuleHandleA(nullptr);
  ASSERT_TRUE(RegisterNewStaticClass());
}

void EnsureHostClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(instance, "StatsViewTestHost", &wc)) return;
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
  wc.lpszClassName = "StatsViewTestHost";
  RegisterClassExA(&wc);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<no clipboard>";
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* p = static_cast<const char*>(GlobalLock(data));
    if (p) text = p;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

class StatisticsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUpLocale();
    BuildDatePicture();
    ReadCurrencySymbol();
    EnsureNewStaticClass();
    EnsureHostClass();
    StatsClockSource = FakeClock;
    NewDayCalls = 0;
    hotkeyCode = 0;
    ASSERT_NE(host_, nullptr);
  }

  // One shown host for the whole suite: Wine without a window manager waits
  // about two seconds whenever a shown top-level window is destroyed.
  static void SetUpTestSuite() {
    EnsureHostClass();
    host_ = CreateWindowExA(0, "StatsViewTestHost", "Statistics view test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            520, 440, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  static void TearDownTestSuite() {
    DestroyWindow(host_);
    host_ = nullptr;
    Pump();
  }

  void TearDown() override {
    if (view_ && IsWindow(view_)) DestroyWindow(view_);
    Pump();
    StatsClockSource = LocalTimeNow;
  }

  // 20 a day, 20 a pack at 5.00 (a cigarette is 0.25), 5 minutes a cigarette.
  void Seed(const SysTime& quit, const SysTime& now) {
    QuitDetails = QuitDetailsRecord{};
    QuitDetails.cigsPerDay = 20;
    QuitDetails.cigsPerPack = 20;
    QuitDetails.price = 500;
    QuitDetails.quitTime = quit;
    GeneralPrefs = DefaultGeneralPrefs();
    GeneralPrefs.lifeMinutesPerCigarette = 5;
    GeneralPrefs.includeSeconds = 1;
    GeneralPrefs.fullDates = 0;
    PricePoints = PricePointList{};
    QuitDayNumber = DateToDayNumber(quit);
    FakeNow = now;
  }

  void Create() {
    view_ = CreateStatisticsView(host_);
    ASSERT_NE(view_, nullptr);
    ASSERT_NE(StatsTimerId, 0u);
  }

  // One tick of the clock at `now`, delivered as the timer's message.
  void Tick(const SysTime& now) {
    FakeNow = now;
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_TIMER, StatsTimerId,
                                   reinterpret_cast<LPARAM>(StatisticsClockTick)));
    Pump();
  }

  std::string Text(int id) {
    char buffer[512] = "";
    GetDlgItemTextA(view_, id, buffer, sizeof buffer);
    return buffer;
  }

  // The quit-time value: the one STATIC without an ID.
  HWND QuitTimeLabel() {
    for (HWND child = GetWindow(view_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char cls[32] = "";
      GetClassNameA(child, cls, sizeof cls);
      if (GetDlgCtrlID(child) == 0 && lstrcmpiA(cls, "Static") == 0) return child;
    }
    return nullptr;
  }
  std::string QuitTime() {
    char buffer[256] = "";
    GetWindowTextA(QuitTimeLabel(), buffer, sizeof buffer);
    return buffer;
  }
  HWND Button() { return GetDlgItem(view_, IDC_STATS_CLIPBOARD_BUTTON); }

  void ExpectFigures(const char* quitTime, const char* days, const char* cigarettes, const char* money,
                     const char* lifeSaved) {
    EXPECT_EQ(QuitTime(), quitTime);
    EXPECT_EQ(Text(IDC_STATS_DAYS), days);
    EXPECT_EQ(Text(IDC_STATS_CIGS), cigarettes);
    EXPECT_EQ(Text(IDC_STATS_MONEY), money);
    EXPECT_EQ(Text(IDC_STATS_LIFE), lifeSaved);
  }

  RECT RectInView(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, view_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
  }

  static HWND host_;
  HWND view_ = nullptr;
};

HWND StatisticsViewTest::host_;

}  // namespace

TEST_F(StatisticsViewTest, TemplateHoldsItsControls) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  EXPECT_EQ(GetDlgCtrlID(view_), 0);
  EXPECT_TRUE(GetWindowLongPtrA(view_, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetParent(view_), host_);
  struct Caption {
    int id;
    const char* text;
  };
  for (Caption c : {Caption{IDC_STATS_QUIT_CAPTION, "Quit Time:"}, Caption{IDC_STATS_DAYS_CAPTION, "Days Quit:"},
                    Caption{IDC_STATS_CIGS_CAPTION, "Cigarettes:"}, Caption{IDC_STATS_MONEY_CAPTION, "Money Saved:"},
                    Caption{IDC_STATS_LIFE_CAPTION, "Life Saved:"}, Caption{IDC_STATS_COPY_LABEL, "Copy (Ctrl-C)"},
                    Caption{IDC_STATS_HOTKEY_GROUP, "Current Hotkey"}, Caption{IDC_STATS_CLIPBOARD_GROUP, "Clipboard"},
                    Caption{IDC_STATS_HINT,
                            "Use the hotkey or copy/paste via clipboard to place your stats in a message or "
                            "chatroom."}}) {
    ASSERT_NE(GetDlgItem(view_, c.id), nullptr) << c.id;
    EXPECT_EQ(Text(c.id), c.text) << c.id;
  }
  for (int id : {IDC_STATS_BORDER, IDC_STATS_SEPARATOR}) {
    HWND frame = GetDlgItem(view_, id);
    ASSERT_NE(frame, nullptr) << id;
    EXPECT_EQ(GetWindowLongPtrA(frame, GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDFRAME) << id;
  }
  EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(view_, IDC_STATS_HOTKEY_GROUP), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(view_, IDC_STATS_CLIPBOARD_GROUP), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(view_, IDC_STATS_HOTKEY_NAME), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
  for (int id : {IDC_STATS_DAYS, IDC_STATS_CIGS, IDC_STATS_MONEY, IDC_STATS_LIFE})
    EXPECT_NE(GetDlgItem(view_, id), nullptr) << id;
}

TEST_F(StatisticsViewTest, QuitTimeValueHasItsOwnFontAndPlace) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HWND label = QuitTimeLabel();
  ASSERT_NE(label, nullptr);
  LONG_PTR style = GetWindowLongPtrA(label, GWL_STYLE);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_EQ(style & SS_TYPEMASK, SS_SIMPLE);
  EXPECT_TRUE(style & SS_NOPREFIX);
  RECT r = RectInView(label);
  EXPECT_EQ(r.left, 144);
  EXPECT_EQ(r.top, 24);
  // Across the value column, so that a quit of years shows whole.
  const RECT column = RectInView(GetDlgItem(view_, IDC_STATS_DAYS));
  EXPECT_EQ(r.right - r.left, column.right - column.left);
  EXPECT_EQ(r.bottom - r.top, 22);
  HFONT font = GetWindowFont(label);
  ASSERT_NE(font, nullptr);
  EXPECT_NE(font, GetWindowFont(view_));
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, 16);
  EXPECT_EQ(lf.lfWeight, 500);
  EXPECT_EQ(lf.lfPitchAndFamily & 0xF0, FF_SWISS);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  // The font lives as long as the view.
  DestroyWindow(view_);
  EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(StatisticsViewTest, ClipboardButtonIsAnIconLabel) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HWND button = Button();
  ASSERT_NE(button, nullptr);
  char cls[32] = "";
  GetClassNameA(button, cls, sizeof cls);
  EXPECT_STREQ(cls, "NEWSTATIC");
  LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
  EXPECT_EQ(style & SS_TYPEMASK, SS_ICON);
  EXPECT_TRUE(style & SS_NOTIFY);
  EXPECT_TRUE(style & SS_CENTERIMAGE);
  EXPECT_TRUE(style & WS_VISIBLE);
  RECT r = RectInView(button);
  // In the Clipboard group, right of its label, on the label's line.
  const RECT group = RectInView(GetDlgItem(view_, IDC_STATS_CLIPBOARD_GROUP));
  const RECT label = RectInView(GetDlgItem(view_, IDC_STATS_COPY_LABEL));
  EXPECT_GE(r.left, label.right);
  EXPECT_LE(r.right, group.right);
  EXPECT_LT(r.top, label.top);
  EXPECT_GT(r.bottom, label.bottom);
  EXPECT_EQ(r.right - r.left, 48);
  EXPECT_EQ(r.bottom - r.top, 48);
  if (FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_STATS_CLIPBOARD), RT_GROUP_ICON)) {
    EXPECT_TRUE(StatsClipboardIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(button, STM_GETICON, 0, 0)), StatsClipboardIcon.get());
  }
}

// The button's own WM_DESTROY comes after the view's: what it shows then is
// still the STATIC's answer.
HICON IconAtButtonDestroy;
LRESULT CALLBACK WatchButtonDestroy(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_DESTROY)
    IconAtButtonDestroy = reinterpret_cast<HICON>(SendMessageA(button, STM_GETICON, 0, 0));
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, WatchButtonDestroy, 0);
  return DefSubclassProc(button, message, wParam, lParam);
}

TEST_F(StatisticsViewTest, ButtonKeepsItsProcedureUntilItIsDestroyed) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  const HICON icon = StatsClipboardIcon.get();
  ASSERT_NE(icon, nullptr);
  IconAtButtonDestroy = nullptr;
  ASSERT_TRUE(SetWindowSubclass(Button(), WatchButtonDestroy, 0, 0));
  DestroyWindow(view_);
  EXPECT_EQ(IconAtButtonDestroy, icon);
}

TEST_F(StatisticsViewTest, QuitOneMinuteAheadCountsDownThenUp) {
  Seed(MakeDate(2024, 3, 10, 12, 0), MakeDate(2024, 3, 10, 11, 59, 0));
  Create();
  EXPECT_EQ(QuitPending, 1);
  ExpectFigures("1m", "0 Days", "0", "$0.00", "0");
  Tick(MakeDate(2024, 3, 10, 11, 59, 1));
  ExpectFigures("59s", "0 Days", "0", "$0.00", "0");
  Tick(MakeDate(2024, 3, 10, 11, 59, 58));
  EXPECT_EQ(QuitTime(), "2s");
  // The quit moment has zero seconds: the first tick at it also starts a minute.
  Tick(MakeDate(2024, 3, 10, 12, 0, 0));
  EXPECT_EQ(QuitPending, 0);
  ExpectFigures("0m", "0 Days", "0", "$0.00", "0m");
  Tick(MakeDate(2024, 3, 10, 12, 0, 1));
  EXPECT_EQ(QuitTime(), "1s");
  Tick(MakeDate(2024, 3, 10, 12, 0, 2));
  EXPECT_EQ(QuitTime(), "2s");
}

TEST_F(StatisticsViewTest, OnTheQuitMoment) {
  Seed(MakeDate(2024, 3, 10, 12, 0), MakeDate(2024, 3, 10, 12, 0, 0));
  Create();
  EXPECT_EQ(QuitPending, 0);
  ExpectFigures("0m", "0 Days", "0", "$0.00", "0m");
  EXPECT_EQ(QuitTimeText, "0m");  // the notification icon's tip
}

TEST_F(StatisticsViewTest, DaysBeforeTheClock) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  ExpectFigures("1W 3D", "10 Days", "200", "$50.00", "16h 40m");
  Tick(MakeDate(2024, 3, 11, 0, 0, 5));
  EXPECT_EQ(QuitTime(), "1W 3D 5s");
}

TEST_F(StatisticsViewTest, ExactlyOneDayIsSingular) {
  Seed(MakeDate(2024, 3, 10, 9, 30), MakeDate(2024, 3, 11, 9, 29, 59));
  Create();
  EXPECT_EQ(Text(IDC_STATS_DAYS), "0 Days");
  Tick(MakeDate(2024, 3, 11, 9, 30, 0));
  ExpectFigures("1D", "1 Day", "20", "$4.99", "1h 40m");
}

TEST_F(StatisticsViewTest, InitialisationClearsTheQuitMomentsExtraFields) {
  SysTime quit = MakeDate(2024, 3, 1, 0, 0);
  quit.wDayOfWeek = 5;
  quit.wMilliseconds = 789;
  Seed(quit, MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  EXPECT_EQ(QuitDetails.quitTime.wDayOfWeek, 0);
  EXPECT_EQ(QuitDetails.quitTime.wMilliseconds, 0);
  EXPECT_EQ(QuitDetails.quitTime.wDay, 1);
}

TEST_F(StatisticsViewTest, TickInTheSameSecondChangesNothing) {
  Seed(MakeDate(2024, 3, 10, 9, 30), MakeDate(2024, 3, 10, 10, 0, 0));
  Create();
  Tick(MakeDate(2024, 3, 10, 10, 0, 7));
  EXPECT_EQ(QuitTime(), "30m 7s");
  SetWindowTextA(QuitTimeLabel(), "untouched");
  SysTime later = MakeDate(2024, 3, 10, 10, 0, 7);
  later.wMilliseconds = 900;
  Tick(later);
  EXPECT_EQ(QuitTime(), "untouched");
  Tick(MakeDate(2024, 3, 10, 10, 0, 8));
  EXPECT_EQ(QuitTime(), "30m 8s");
}

TEST_F(StatisticsViewTest, MinuteFiguresWaitForTheMinuteOrTheMarker) {
  Seed(MakeDate(2024, 3, 10, 9, 30), MakeDate(2024, 3, 10, 10, 0, 0));
  Create();
  Tick(MakeDate(2024, 3, 10, 10, 0, 0));  // the clock remembers 10:00
  EXPECT_EQ(Text(IDC_STATS_MONEY), "$0.10");
  QuitDetails.price = 1000;  // changed without telling the clock
  Tick(MakeDate(2024, 3, 10, 10, 0, 1));
  EXPECT_EQ(Text(IDC_STATS_MONEY), "$0.10");
  StatsMinuteMarker = 61;
  Tick(MakeDate(2024, 3, 10, 10, 0, 1));  // the same second: not yet
  EXPECT_EQ(Text(IDC_STATS_MONEY), "$0.10");
  Tick(MakeDate(2024, 3, 10, 10, 0, 2));
  EXPECT_EQ(Text(IDC_STATS_MONEY), "$0.20");
  EXPECT_EQ(StatsMinuteMarker, 0);
  QuitDetails.price = 500;
  Tick(MakeDate(2024, 3, 10, 10, 1, 0));  // a new minute recomputes by itself
  EXPECT_EQ(Text(IDC_STATS_MONEY), "$0.10");
  EXPECT_EQ(StatsMinuteMarker, 1);
}

TEST_F(StatisticsViewTest, MidnightRefreshesTheOtherViewsOnce) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 10, 23, 59, 58));
  Create();
  Tick(MakeDate(2024, 3, 10, 23, 59, 59));
  EXPECT_EQ(NewDayCalls, 0);
  EXPECT_EQ(Text(IDC_STATS_DAYS), "9 Days");
  Tick(MakeDate(2024, 3, 11, 0, 0, 0));
  EXPECT_EQ(NewDayCalls, 1);
  EXPECT_EQ(Text(IDC_STATS_DAYS), "10 Days");
  EXPECT_EQ(TodayDayNumber, DateToDayNumber(2024, 3, 11));
  Tick(MakeDate(2024, 3, 11, 0, 0, 1));
  StatsMinuteMarker = 61;
  Tick(MakeDate(2024, 3, 11, 0, 0, 2));
  Tick(MakeDate(2024, 3, 11, 0, 1, 0));
  EXPECT_EQ(NewDayCalls, 1);
}

TEST_F(StatisticsViewTest, ClockSetBackAcrossMidnight) {
  Seed(MakeDate(2024, 3, 10, 23, 55), MakeDate(2024, 3, 11, 0, 5, 0));
  Create();
  Tick(MakeDate(2024, 3, 11, 0, 5, 0));
  // The quit day's 5 minutes and today's 5 are floored apart: 0.01 each.
  ExpectFigures("10m", "0 Days", "0", "$0.02", "0m");
  // What the main window does on a time change, then the clock's next tick.
  StatsMinuteMarker = 61;
  Tick(MakeDate(2024, 3, 10, 23, 50, 1));
  EXPECT_EQ(QuitPending, 1);
  EXPECT_EQ(TodayDayNumber, DateToDayNumber(2024, 3, 10));
  ExpectFigures("4m 59s", "0 Days", "0", "$0.00", "0");
  EXPECT_EQ(NewDayCalls, 1);
}

TEST_F(StatisticsViewTest, HiddenViewKeepsCounting) {
  Seed(MakeDate(2024, 3, 10, 9, 30), MakeDate(2024, 3, 10, 10, 0, 0));
  Create();
  ShowWindow(view_, SW_HIDE);
  Tick(MakeDate(2024, 3, 10, 10, 2, 3));
  EXPECT_EQ(QuitTime(), "32m 3s");
  EXPECT_EQ(QuitTimeText, "32m 3s");
}

TEST_F(StatisticsViewTest, RealTimerTicksWithTheInjectedClock) {
  Seed(MakeDate(2024, 3, 10, 9, 30), MakeDate(2024, 3, 10, 10, 0, 0));
  Create();
  FakeNow = MakeDate(2024, 3, 10, 10, 0, 42);
  DWORD start = GetTickCount();
  while (QuitTime() != "30m 42s" && GetTickCount() - start < 3000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    Pump();
  }
  EXPECT_EQ(QuitTime(), "30m 42s");
}

TEST_F(StatisticsViewTest, ClipboardButtonCopiesThePreQuitText) {
  Seed(MakeDate(2024, 3, 10, 12, 0), MakeDate(2024, 3, 10, 11, 59, 0));
  Create();
  PutOnClipboard("before");
  POINT inside{20, 20};
  SendMessageA(Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
  SendMessageA(Button(), WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
  Pump();
  EXPECT_EQ(ClipboardText(), "I will quit in 1m.");
}

TEST_F(StatisticsViewTest, ClipboardButtonCopiesTheStatsText) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  PutOnClipboard("before");
  SendMessageA(Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Button(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  std::string text = ClipboardText();
  EXPECT_EQ(text.rfind("I have been quit for 1W 3D (10 days). I have saved $50.00 by not smoking 200 cigarettes.", 0),
            0u)
      << text;
  EXPECT_EQ(text, BuildStatsText());
}

TEST_F(StatisticsViewTest, OnlyTheButtonsClickCopies) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  PutOnClipboard("before");
  SendMessageA(view_, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  SendMessageA(view_, WM_COMMAND, MAKEWPARAM(IDC_STATS_CLIPBOARD_BUTTON, STN_DBLCLK),
               reinterpret_cast<LPARAM>(Button()));
  EXPECT_EQ(ClipboardText(), "before");
  SendMessageA(view_, WM_COMMAND, MAKEWPARAM(IDC_STATS_CLIPBOARD_BUTTON, STN_CLICKED),
               reinterpret_cast<LPARAM>(Button()));
  EXPECT_EQ(ClipboardText(), BuildStatsText());
}

TEST_F(StatisticsViewTest, ButtonFaceFollowsThePointer) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HWND button = Button();
  UpdateWindow(host_);
  UpdateWindow(view_);
  UpdateWindow(button);
  Pump();
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(light, dark);
  ASSERT_NE(light, face);

  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(PixelOf(button, 1, 20), light);  // raised: light left edge
  EXPECT_EQ(PixelOf(button, 20, 1), light);  // and top edge
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));  // still inside: no change
  EXPECT_EQ(GetCapture(), button);

  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
  EXPECT_EQ(PixelOf(button, 1, 20), dark);  // sunken, by both procedures
  // Raised again: the class's frame, drawn after the view's, is the one left.
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  EXPECT_EQ(PixelOf(button, 1, 20), GetSysColor(COLOR_3DLIGHT));
  EXPECT_NE(PixelOf(button, 1, 20), dark);

  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(-3 & 0xFFFF, 10));  // left of the button
  EXPECT_NE(GetCapture(), button);
  EXPECT_EQ(PixelOf(button, 1, 20), face);  // the frame is erased
  EXPECT_EQ(PixelOf(button, 20, 1), face);
}

TEST_F(StatisticsViewTest, CaptionAndHotkeyColours) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HDC dc = CreateCompatibleDC(nullptr);
  for (int id = IDC_STATS_QUIT_CAPTION; id <= IDC_STATS_LIFE_CAPTION; ++id) {
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    LRESULT brush = SendMessageA(view_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(view_, id)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_3DFACE)) << id;
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << id;
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNSHADOW)) << id;
  }
  SetBkMode(dc, OPAQUE);
  LRESULT brush = SendMessageA(view_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(GetDlgItem(view_, IDC_STATS_HOTKEY_NAME)));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_INFOBK));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_INFOTEXT));
  // The values keep the default colours: the dialog answers nothing of its own.
  for (int id : {IDC_STATS_DAYS, IDC_STATS_MONEY, IDC_STATS_HINT}) {
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(view_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(GetDlgItem(view_, id)));
    EXPECT_NE(GetTextColor(dc), GetSysColor(COLOR_BTNSHADOW)) << id;
  }
  DeleteDC(dc);
}

TEST_F(StatisticsViewTest, HotkeyLabel) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), "None");
  ASSERT_TRUE(RegisterStatsHotkey(0x251));
  ShowStatsHotkeyName();
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), HotkeyNameText(0x251));
  UnregisterStatsHotkey();
  ShowStatsHotkeyName();
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), "None");
  // A new view names what is registered, not what is stored.
  DestroyWindow(view_);
  hotkeyCode = 0x251;
  Create();
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), "None");
  DestroyWindow(view_);
  ASSERT_TRUE(RegisterStatsHotkey(0x251));
  Create();
  UnregisterStatsHotkey();
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), HotkeyNameText(0x251));
  hotkeyCode = 0;
}

TEST_F(StatisticsViewTest, CloseDestroysTheViewAndStopsTheClock) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  EXPECT_EQ(::StatisticsView, view_);
  SendMessageA(view_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(view_));
  EXPECT_EQ(StatsTimerId, 0u);
  EXPECT_EQ(::StatisticsView, nullptr);
  // A tick after the view is gone touches nothing.
  FakeNow = MakeDate(2024, 3, 11, 0, 0, 9);
  StatisticsClockTick(nullptr, WM_TIMER, 0, 0);
  EXPECT_EQ(QuitTimeText, "1W 3D 9s");
}
