// The statistics view made from its template, as a child of a plain window,
// with seeded settings and a clock that the test sets; driven by messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "hotkey/hotkey.h"
#include "layout_check.h"
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

// What the user reads: each caption and label with the program's text, each
// value right of its caption and on its line, all in one column, the quit
// time's as wide as the others so that a quit of years shows whole. Where
// they lie in the view and that no two overlap, at every DPI: layout_test.
TEST_F(StatisticsViewTest, CaptionsAndValuesSideBySide) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  EXPECT_EQ(GetParent(view_), host_);
  const struct {
    int id;
    const char* text;
  } texts[] = {{IDC_STATS_QUIT_CAPTION, "Quit Time:"},       {IDC_STATS_DAYS_CAPTION, "Days Quit:"},
               {IDC_STATS_CIGS_CAPTION, "Cigarettes:"},      {IDC_STATS_MONEY_CAPTION, "Money Saved:"},
               {IDC_STATS_LIFE_CAPTION, "Life Saved:"},      {IDC_STATS_COPY_LABEL, "Copy (Ctrl-C)"},
               {IDC_STATS_HOTKEY_GROUP, "Current Hotkey"},   {IDC_STATS_CLIPBOARD_GROUP, "Clipboard"},
               {IDC_STATS_HOTKEY_NAME, "None"},
               {IDC_STATS_HINT,
                "Use the hotkey or copy/paste via clipboard to place your stats in a message or chatroom."}};
  for (const auto& t : texts) {
    HWND control = GetDlgItem(view_, t.id);
    ASSERT_NE(control, nullptr) << t.text;
    EXPECT_TRUE(IsWindowVisible(control)) << t.text;
    EXPECT_EQ(Text(t.id), t.text);
  }
  // The etched border round the view and the rule above the hint are drawn.
  for (int id : {IDC_STATS_BORDER, IDC_STATS_SEPARATOR}) {
    HWND frame = GetDlgItem(view_, id);
    ASSERT_NE(frame, nullptr) << id;
    const RECT ink = layout_test::InkBounds(frame);
    EXPECT_LT(ink.top, ink.bottom) << id;
  }
  const RECT column = RectInView(GetDlgItem(view_, IDC_STATS_DAYS));
  const std::pair<int, HWND> lines[] = {{IDC_STATS_QUIT_CAPTION, QuitTimeLabel()},
                                        {IDC_STATS_DAYS_CAPTION, GetDlgItem(view_, IDC_STATS_DAYS)},
                                        {IDC_STATS_CIGS_CAPTION, GetDlgItem(view_, IDC_STATS_CIGS)},
                                        {IDC_STATS_MONEY_CAPTION, GetDlgItem(view_, IDC_STATS_MONEY)},
                                        {IDC_STATS_LIFE_CAPTION, GetDlgItem(view_, IDC_STATS_LIFE)}};
  for (auto [captionId, value] : lines) {
    SCOPED_TRACE(Text(captionId));
    ASSERT_NE(value, nullptr);
    EXPECT_TRUE(IsWindowVisible(value));
    const RECT caption = RectInView(GetDlgItem(view_, captionId)), place = RectInView(value);
    EXPECT_GE(place.left, caption.right);
    const int middle = (caption.top + caption.bottom) / 2;
    EXPECT_TRUE(middle >= place.top && middle < place.bottom) << caption.top << " " << place.top;
    EXPECT_EQ(place.left, column.left);
    EXPECT_EQ(place.right, column.right);
  }
}

// The hotkey's name stands in the middle of its box: as much room is left of
// the drawn text as right of it.
TEST_F(StatisticsViewTest, HotkeyNameIsCentredInItsBox) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HWND name = GetDlgItem(view_, IDC_STATS_HOTKEY_NAME);
  const RECT ink = layout_test::InkBounds(name);
  RECT box{};
  GetClientRect(name, &box);
  ASSERT_LT(ink.left, ink.right) << "no text drawn";
  EXPECT_LE(std::abs(ink.left - (box.right - ink.right)), 2) << ink.left << " " << ink.right << " of " << box.right;
}

TEST_F(StatisticsViewTest, QuitTimeValueHasItsOwnFont) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HWND label = QuitTimeLabel();
  ASSERT_NE(label, nullptr);
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

// The clipboard button shows the clipboard icon in the Clipboard group, right
// of its label and on the label's line. (That it answers the pointer and a
// click: the tests below.)
TEST_F(StatisticsViewTest, ClipboardButtonShowsItsIconBesideItsLabel) {
  Seed(MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0));
  Create();
  HWND button = Button();
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(IsWindowVisible(button));
  const RECT r = RectInView(button);
  const RECT group = RectInView(GetDlgItem(view_, IDC_STATS_CLIPBOARD_GROUP));
  const RECT label = RectInView(GetDlgItem(view_, IDC_STATS_COPY_LABEL));
  EXPECT_GE(r.left, label.right);
  EXPECT_LE(r.right, group.right);
  EXPECT_LT(r.top, label.top);
  EXPECT_GT(r.bottom, label.bottom);
  // A 32-pixel icon, the one drawn at 96 DPI, with room for the hover frame round it.
  const auto shown = reinterpret_cast<HICON>(SendMessageA(button, STM_GETICON, 0, 0));
  ASSERT_NE(shown, nullptr);
  const SIZE icon = layout_test::IconSize(shown);
  EXPECT_EQ(icon.cx, 32);
  EXPECT_GT(r.right - r.left, icon.cx + 4);
  EXPECT_GT(r.bottom - r.top, icon.cy + 4);
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

// What a click on the clipboard button copies, for a user of 20 a day at 5.00
// a pack of 20 and 5 minutes of life a cigarette, under the en_US locale. The
// texts were worked out apart from the program's code: by hand for the first
// (10 days: 200 cigarettes, $50.00, 1,000 minutes of life), the others by
// Quitter(quit, 20, 20, 500).stats_text(now, fullDates, includeSeconds) of
// tests/stress/quitmath.py.
constexpr char TenDaysText[] =
    "I have been quit for 1W 3D (10 days). I have saved $50.00 by not smoking 200 cigarettes. I have saved 16h "
    "40m of my life. My Quit Date: 3/1/2024";

TEST_F(StatisticsViewTest, ClipboardButtonCopiesTheFiguresAUserWorksOut) {
  const struct {
    SysTime quit, now;
    uint32_t fullDates, includeSeconds;
    const char* text;
  } cases[] = {
      {MakeDate(2024, 3, 1, 0, 0), MakeDate(2024, 3, 11, 0, 0, 0), 0, 1, TenDaysText},
      {MakeDate(2019, 6, 15, 7, 30), MakeDate(2024, 3, 10, 23, 59, 59), 1, 1,
       "I have been quit for 4 Years, 8 Months, 3 Weeks, 3 Days, 16 hours, 29 minutes and 59 seconds (1,730 days). "
       "I have saved $8,653.42 by not smoking 34,613 cigarettes. I have saved 3 Months, 4 Weeks, 4 hours and 25 "
       "minutes of my life. My Quit Date: 6/15/2019"},
      {MakeDate(2023, 11, 20, 21, 15), MakeDate(2024, 3, 10, 9, 47, 33), 0, 0,
       "I have been quit for 3M 2W 4D 12h 32m (110 days). I have saved $552.60 by not smoking 2,210 cigarettes. "
       "I have saved 1W 16h 10m of my life. My Quit Date: 11/20/2023"},
      {MakeDate(2023, 11, 20, 21, 15), MakeDate(2024, 3, 10, 9, 47, 33), 1, 0,
       "I have been quit for 3 Months, 2 Weeks, 4 Days, 12 hours and 32 minutes (110 days). I have saved $552.60 "
       "by not smoking 2,210 cigarettes. I have saved 1 Week, 16 hours and 10 minutes of my life. My Quit Date: "
       "11/20/2023"},
      // Before the quit moment the fixed text, whatever the template.
      {MakeDate(2024, 3, 10, 12, 0), MakeDate(2024, 3, 10, 11, 59, 0), 0, 1, "I will quit in 1m."},
      {MakeDate(2024, 3, 12, 8, 0), MakeDate(2024, 3, 10, 6, 30, 15), 1, 1,
       "I will quit in 2 Days, 1 hour, 29 minutes and 45 seconds."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Seed(c.quit, c.now);
    GeneralPrefs.fullDates = c.fullDates;
    GeneralPrefs.includeSeconds = c.includeSeconds;
    Create();
    PutOnClipboard("before");
    SendMessageA(Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(Button(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Pump();
    EXPECT_EQ(ClipboardText(), c.text);
    DestroyWindow(view_);
  }
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
  EXPECT_EQ(ClipboardText(), TenDaysText);
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
  EXPECT_EQ(PixelOf(button, 1, 20), dark);  // sunken: the class's frame
  // Raised again: the class's frame.
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  EXPECT_EQ(PixelOf(button, 1, 20), GetSysColor(COLOR_3DLIGHT));
  EXPECT_NE(PixelOf(button, 1, 20), dark);

  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(-3 & 0xFFFF, 10));  // left of the button
  EXPECT_NE(GetCapture(), button);
  EXPECT_EQ(PixelOf(button, 1, 20), face);  // the frame is erased
  EXPECT_EQ(PixelOf(button, 20, 1), face);

  // Raised, then the capture taken away (a switch to another program): the
  // frame goes, the face's colour drawn again, not the strip's.
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  ASSERT_EQ(PixelOf(button, 1, 20), light);
  SetCapture(host_);
  EXPECT_EQ(PixelOf(button, 1, 20), face);
  EXPECT_EQ(PixelOf(button, 20, 1), face);
  ReleaseCapture();
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
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), "Control + Q");
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
  EXPECT_EQ(Text(IDC_STATS_HOTKEY_NAME), "Control + Q");
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
