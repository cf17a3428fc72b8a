// Every window of the program laid out at the display's DPI. ctest runs this
// suite once per DPI (96, 120, 144, 192), with the prefix's LogPixels set and
// FUMORA_TEST_DPI naming it; with FUMORA_SHOTS set, each window waits there
// for a screenshot (tests/win/at_dpi.sh takes them).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <utility>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/main_window.h"
#include "buddies/buddies_view.h"
#include "buddies/buddy_dialogs.h"
#include "layout_check.h"
#include "prefs/preferences_dialog.h"
#include "quitdetails/price_point_file.h"
#include "quitdetails/quit_details_dialog.h"
#include "resource.h"
#include "settings/first_run_wizard.h"
#include "shell_fixture.h"
#include "win/dpi.h"
#include "stats/statistics_view.h"

namespace {
using namespace shell_test;
using layout_test::LayoutFaults;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Long figures: a quit of almost eighteen years, a clock at 23:58:58.
SysTime LateClock() { return MakeDate(2026, 12, 30, 23, 58, 58); }

// Waits while the screenshot named `name` of `window` is taken, painting but
// running no timer (the steps of a modal driver run from one).
void Snapshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("FUMORA_SHOTS");
  if (!folder || !window) return;
  const std::string ready = std::string(folder) + "\\" + name + ".ready";
  RECT r{};
  GetWindowRect(window, &r);
  std::ofstream(ready) << r.left << " " << r.top << " " << r.right - r.left << " " << r.bottom - r.top << "\n";
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (DWORD start = GetTickCount(); GetFileAttributesA(ready.c_str()) != INVALID_FILE_ATTRIBUTES;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
    if (GetTickCount() - start > 10000) break;
    Sleep(20);
  }
}

class LayoutAtDpi : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    dpi_ = ScreenDpi();
    if (const char* wanted = std::getenv("FUMORA_TEST_DPI")) {
      ASSERT_EQ(dpi_, std::atoi(wanted)) << "LogPixels";
    }
    const std::string folder = TempFolder("fumora_layout");
    BuddyFilePath = folder + "anny.dat";
    ASSERT_TRUE(WriteFileText(BuddyFilePath, "20090315Cleo Montgomery\x1E" "20091230Abe\x1E\x1C"));
    PricePointFilePath = folder + "pp.dat";
    DeleteFileA(PricePointFilePath.c_str());
    StatsClockSource = LateClock;
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    StatsClockSource = LocalTimeNow;
    DeleteFileA(BuddyFilePath.c_str());
  }

  // The faults of the window titled `caption`, remembered as `name`.
  ModalDriver::Step Check(const char* caption, std::string name) {
    return [this, caption, name] {
      HWND w = DialogNamed(caption);
      if (!w) return faults_.push_back(name + ": no window \"" + caption + "\"\n");
      faults_.push_back(LayoutFaults(w, dpi_, name));
      Snapshot(w, name);
    };
  }
  // The banner's font (24 pixels at 96 DPI) at the display's DPI.
  ModalDriver::Step CheckBanner(const char* caption, int id, std::string name) {
    return [this, caption, id, name] {
      const int height = FontHeight(GetDlgItem(DialogNamed(caption), id));
      if (height != MulDiv(24, dpi_, 96))
        faults_.push_back(name + ": banner font of " + std::to_string(height) + " pixels\n");
    };
  }
  static ModalDriver::Step Close(const char* caption) {
    return [caption] { PostMessageA(DialogNamed(caption), WM_CLOSE, 0, 0); };
  }
  static ModalDriver::Step Tab(int index) {
    return [index] {
      HWND dialog = DialogNamed("Fumora Preferences");
      HWND tabs = GetDlgItem(dialog, IDC_PREFS_TABS);
      TabCtrl_SetCurSel(tabs, index);
      NMHDR change{tabs, IDC_PREFS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageA(dialog, WM_NOTIFY, IDC_PREFS_TABS, reinterpret_cast<LPARAM>(&change));
    };
  }
  // The squares of the general page's check boxes, whose texts are on their
  // left, stand in one column: the boxes end at one edge.
  ModalDriver::Step SquaresInOneColumn(const char* caption) {
    return [this, caption] {
      HWND box = nullptr;
      for (HWND page = GetWindow(DialogNamed(caption), GW_CHILD); page && !box; page = GetWindow(page, GW_HWNDNEXT))
        box = GetDlgItem(page, IDC_GEN_HOTKEY_ENABLED);
      if (!box) return faults_.push_back("preferences_general: no \"Enable Hotkey?\"\n");
      std::string edges;
      for (int id : {IDC_GEN_START_MINIMISED, IDC_GEN_RUN_AT_STARTUP, IDC_GEN_SAVE_POSITION, IDC_GEN_HOTKEY_ENABLED})
        edges += " " + std::to_string(layout_test::PlaceOf(GetDlgItem(GetParent(box), id)).right);
      const std::string first = edges.substr(0, edges.find(' ', 1));
      if (edges != first + first + first + first)
        faults_.push_back("preferences_general: the check boxes end at" + edges + "\n");
    };
  }
  // The DPI a move takes the dialogs to from the display's: up from 96 and
  // 120, down from 144 and 192.
  int OtherDpi() const { return dpi_ == 96 ? 144 : dpi_ == 120 ? 192 : dpi_ == 144 ? 96 : 120; }

  // The window titled `caption` moved to a monitor of another scale, as the
  // system tells it, then checked at that DPI: laid out whole, in the
  // suggested rectangle, each control's font made again at the new scale.
  ModalDriver::Step MoveToOtherDpi(const char* caption, std::string name) {
    return [this, caption, name] {
      HWND w = DialogNamed(caption);
      if (!w) return faults_.push_back(name + ": no window \"" + caption + "\"\n");
      const int to = OtherDpi();
      std::vector<std::pair<HWND, int>> heights;
      ForEachControl(w, [&](HWND c) {
        if (!layout_test::IsClass(c, "#32770")) heights.emplace_back(c, FontHeight(c));  // a dialog's is its manager's
      });
      // The system asks for the size at the new DPI (a window that does not
      // answer grows evenly), then suggests a rectangle of that size.
      RECT suggested = WindowRect(w);
      SIZE size{MulDiv(suggested.right - suggested.left, to, dpi_), MulDiv(suggested.bottom - suggested.top, to, dpi_)};
      SendMessageA(w, 0x02E4 /* WM_GETDPISCALEDSIZE */, to, reinterpret_cast<LPARAM>(&size));
      suggested.right = suggested.left + size.cx;
      suggested.bottom = suggested.top + size.cy;
      SendMessageA(w, DpiChangedMessage, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
      std::string faults = LayoutFaults(w, to, name + " at " + std::to_string(to));
      const RECT now = WindowRect(w);
      if (now.left != suggested.left || now.top != suggested.top) faults += name + ": not at the suggested place\n";
      for (const auto& [control, before] : heights) {
        const int expected = MulDiv(before, to, dpi_), after = FontHeight(control);
        if (before && std::abs(after - expected) > 1)
          faults += name + ", " + layout_test::Describe(control) + ": font of " + std::to_string(after) +
                    " pixels, " + std::to_string(expected) + " expected\n";
      }
      faults_.push_back(faults);
      Snapshot(w, name + "_moved");
    };
  }
  static void ForEachControl(HWND parent, const std::function<void(HWND)>& visit) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      visit(c);
      ForEachControl(c, visit);
    }
  }
  static int FontHeight(HWND control) {
    LOGFONTA look{};
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    return font && GetObjectA(font, sizeof look, &look) ? std::abs(look.lfHeight) : 0;
  }

  // Opens the main window (the Buddies view on show), then each dialog in
  // turn, running its steps while it is up; no step may find a fault.
  struct DialogWalk {
    const char* name;
    std::function<void()> open;
    std::vector<ModalDriver::Step> steps;
  };
  void WalkDialogs(const std::vector<DialogWalk>& dialogs) {
    Open({.startupView = BuddiesViewIndex, .quitTime = MakeDate(2009, 1, 15, 0, 0)});
    for (const auto& d : dialogs) Drive(d.name, d.steps, d.open);
    EXPECT_EQ(AllFaults(), "");
  }
  static constexpr const char* Quit = "Edit Quit Details";
  static constexpr const char* Prefs = "Fumora Preferences";

  std::string AllFaults() const {
    std::string all;
    for (const auto& f : faults_) all += f;
    return all;
  }

  int dpi_ = 96;
  std::vector<std::string> faults_;
};

TEST_F(LayoutAtDpi, MainWindowWithEachView) {
  const struct {
    int view;
    uint32_t hotkey;
    const char* name;
  } cases[] = {{StatisticsViewIndex, 0x751, "statistics"},  // Control + Shift + Alt + Q
               {StatisticsViewIndex, 0x722, "statistics_long_hotkey"},  // Control + Shift + Alt + Next
               {MilestonesViewIndex, 0, "milestones"},
               {BuddiesViewIndex, 0, "buddies"},
               {DaysAheadViewIndex, 0, "days_ahead"}};
  for (const auto& c : cases) {
    Open({.startupView = static_cast<uint32_t>(c.view), .quitTime = MakeDate(2009, 1, 15, 0, 0),
          .lastPosX = 10, .lastPosY = 10, .hotkeyEnabled = c.hotkey ? 1u : 0u, .hotkeyCode = c.hotkey});
    Pump(100);
    faults_.push_back(LayoutFaults(window_, dpi_, c.name));
    faults_.push_back(layout_test::WindowIconFaults(window_, TrayIcon.hIcon, c.name));
    Snapshot(window_, c.name);
    DestroyWindow(window_);
    Pump(20);
  }
  EXPECT_EQ(AllFaults(), "");
}

// A move to a monitor of another scale: the window takes the suggested place
// and is laid out whole again (here at the same DPI, the one Wine has).
TEST_F(LayoutAtDpi, DpiChangeTakesTheSuggestedRectangle) {
  Open({.startupView = StatisticsViewIndex, .quitTime = MakeDate(2009, 1, 15, 0, 0), .lastPosX = 10, .lastPosY = 10});
  RECT before{};
  GetWindowRect(window_, &before);
  RECT suggested = before;
  OffsetRect(&suggested, 40, 30);
  SendMessageA(window_, DpiChangedMessage, MAKEWPARAM(dpi_, dpi_), reinterpret_cast<LPARAM>(&suggested));
  Pump(50);
  RECT after{};
  GetWindowRect(window_, &after);
  EXPECT_EQ(after.left, suggested.left);
  EXPECT_EQ(after.top, suggested.top);
  EXPECT_EQ(LayoutFaults(window_, dpi_, "after the change"), "");
}

TEST_F(LayoutAtDpi, EveryDialog) {
  WalkDialogs({
      {"first_run_wizard", [] { RunFirstRunWizard(nullptr); },
       {Check(" Fumora - First Run", "first_run_wizard"),
        CheckBanner(" Fumora - First Run", IDC_FR_TITLE, "first_run_wizard"), Close(" Fumora - First Run")}},
      {"edit_quit_details", [this] { RunEditQuitDetails(window_); },
       {Check(Quit, "edit_quit_details"), CheckBanner(Quit, IDC_QD_BANNER, "edit_quit_details"),
        [] { Click(DialogNamed(Quit), IDC_QD_ADD, true); }, Check("Add Price Point", "price_point"),
        Close("Add Price Point"), Close(Quit)}},
      {"add_buddy", [] { RunAddBuddyDialog(BuddiesViewWindow); },
       {Check("Add New Buddy", "add_buddy"), Close("Add New Buddy")}},
      {"edit_buddy",
       [] {
         ListView_SetItemState(BuddyList, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
         RunEditBuddyDialog(BuddiesViewWindow);
       },
       {Check("Edit Buddy", "edit_buddy"), Close("Edit Buddy")}},
      {"preferences", [this] { ShowPreferences(window_); },
       {Check(Prefs, "preferences_general"), SquaresInOneColumn(Prefs), Tab(1), Check(Prefs, "preferences_format"),
        Tab(2), Check(Prefs, "preferences_colours"), Close(Prefs)}},
      {"about", [this] { ShowAboutBox(window_); }, {Check("About Fumora 1.05b", "about"), Close("About Fumora 1.05b")}},
  });
}

// The main window moved to a monitor of another scale, with each view on show
// in turn: its template's controls, the views' and what it sizes in pixels
// all laid out at the new DPI.
TEST_F(LayoutAtDpi, MainWindowFollowsAMoveToAnotherScale) {
  for (const auto& [view, name] : {std::pair{StatisticsViewIndex, "main_statistics"}, {BuddiesViewIndex, "main_buddies"}}) {
    Open({.startupView = static_cast<uint32_t>(view), .quitTime = MakeDate(2009, 1, 15, 0, 0), .lastPosX = 10,
          .lastPosY = 10});
    Pump(100);
    MoveToOtherDpi(" Fumora v1.05b", name)();
    DestroyWindow(window_);
    Pump(20);
  }
  EXPECT_EQ(AllFaults(), "");
}

// Start-up moves the window to its stored position; on a monitor of another
// scale Windows tells it so within that move, and the window is laid out for
// that scale before it is first shown.
namespace restored {
int to = 0;
bool told = false;
RECT after{};  // the window's place once told
LRESULT CALLBACK TellOnArrival(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  RECT place{};
  char title[32] = {};
  if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED && !told && GetWindowTextA(call->hwnd, title, sizeof title) &&
      std::string(title) == " Fumora v1.05b" && GetWindowRect(call->hwnd, &place) && place.left == 10 &&
      place.top == 10) {
    told = true;
    place.right = place.left + MulDiv(place.right - place.left, to, ScreenDpi());
    place.bottom = place.top + MulDiv(place.bottom - place.top, to, ScreenDpi());
    SendMessageA(call->hwnd, DpiChangedMessage, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&place));
    GetWindowRect(call->hwnd, &after);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace restored

TEST_F(LayoutAtDpi, MainWindowRestoredOntoAnotherScale) {
  restored::to = OtherDpi();
  restored::told = false;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, restored::TellOnArrival, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  Open({.startupView = StatisticsViewIndex, .quitTime = MakeDate(2009, 1, 15, 0, 0), .lastPosX = 10, .lastPosY = 10});
  UnhookWindowsHookEx(hook);
  ASSERT_TRUE(restored::told) << "the window never reached its stored position";
  Pump(100);
  EXPECT_EQ(LayoutFaults(window_, restored::to, "restored"), "");
  // At the suggested place; the window manager may move a window too large
  // for the test's screen once it is shown.
  EXPECT_EQ(restored::after.left, 10);
  EXPECT_EQ(restored::after.top, 10);
}

// Each dialog moved to a monitor of another scale while open (Windows sends
// WM_DPICHANGED; Wine has one DPI, so the test sends it as Windows would).
TEST_F(LayoutAtDpi, EveryDialogFollowsAMoveToAnotherScale) {
  WalkDialogs({
      {"first_run_wizard", [] { RunFirstRunWizard(nullptr); },
       {MoveToOtherDpi(" Fumora - First Run", "first_run_wizard"), Close(" Fumora - First Run")}},
      {"edit_quit_details", [this] { RunEditQuitDetails(window_); },
       {MoveToOtherDpi(Quit, "edit_quit_details"), [] { Click(DialogNamed(Quit), IDC_QD_ADD, true); },
        MoveToOtherDpi("Add Price Point", "price_point"), Close("Add Price Point"), Close(Quit)}},
      {"add_buddy", [] { RunAddBuddyDialog(BuddiesViewWindow); },
       {MoveToOtherDpi("Add New Buddy", "add_buddy"), Close("Add New Buddy")}},
      {"preferences", [this] { ShowPreferences(window_); },
       {Tab(1), Tab(2), Tab(0), MoveToOtherDpi(Prefs, "preferences"), Close(Prefs)}},
      {"about", [this] { ShowAboutBox(window_); },
       {MoveToOtherDpi("About Fumora 1.05b", "about"), Close("About Fumora 1.05b")}},
  });
}

}  // namespace
namespace {
TEST_F(LayoutAtDpi, ZZProbe) {
  for (int v : {0, 1, 2, 3}) {
    Open({.startupView = static_cast<uint32_t>(v), .quitTime = MakeDate(2009, 1, 15, 0, 0), .lastPosX = 10, .lastPosY = 10});
    Pump(100);
    auto p = [](const char* n, HWND w) { RECT r = layout_test::PlaceOf(w); printf("%s (%ld,%ld)-(%ld,%ld)\n", n, r.left, r.top, r.right, r.bottom); };
    RECT c; GetClientRect(window_, &c); printf("dpi %d client %ld x %ld\n", dpi_, c.right, c.bottom);
    p("band", GetDlgItem(window_, 1002));
    p("title", GetDlgItem(window_, 1001));
    p("view", ViewWindows[v]);
    HWND frame = GetWindow(ViewWindows[v], GW_CHILD);
    for (HWND f = frame; f; f = GetWindow(f, GW_HWNDNEXT)) { char cls[32]; GetClassNameA(f, cls, 32); RECT r = layout_test::PlaceOf(f); printf("  child %d %s (%ld,%ld)-(%ld,%ld)\n", GetDlgCtrlID(f), cls, r.left, r.top, r.right, r.bottom);}
    DestroyWindow(window_);
    Pump(20);
  }
}
}
