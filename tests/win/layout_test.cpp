// Every window of the program laid out at the display's DPI. ctest runs this
// suite once per DPI (96, 120, 144, 192), with the prefix's LogPixels set and
// FUMORA_TEST_DPI naming it; with FUMORA_SHOTS set, each window waits there
// for a screenshot (tests/win/at_dpi.sh takes them).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/about_box.h"
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
  Open({.startupView = BuddiesViewIndex, .quitTime = MakeDate(2009, 1, 15, 0, 0)});
  const char* const quit = "Edit Quit Details";
  const char* const prefs = "Fumora Preferences";
  const struct {
    const char* name;
    std::function<void()> open;
    std::vector<ModalDriver::Step> steps;
  } dialogs[] = {
      {"first_run_wizard", [] { RunFirstRunWizard(nullptr); },
       {Check(" Fumora - First Run", "first_run_wizard"), Close(" Fumora - First Run")}},
      {"edit_quit_details", [this] { RunEditQuitDetails(window_); },
       {Check(quit, "edit_quit_details"), [quit] { Click(DialogNamed(quit), IDC_QD_ADD, true); },
        Check("Add Price Point", "price_point"), Close("Add Price Point"), Close(quit)}},
      {"add_buddy", [] { RunAddBuddyDialog(BuddiesViewWindow); },
       {Check("Add New Buddy", "add_buddy"), Close("Add New Buddy")}},
      {"edit_buddy",
       [] {
         ListView_SetItemState(BuddyList, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
         RunEditBuddyDialog(BuddiesViewWindow);
       },
       {Check("Edit Buddy", "edit_buddy"), Close("Edit Buddy")}},
      {"preferences", [this] { ShowPreferences(window_); },
       {Check(prefs, "preferences_general"), SquaresInOneColumn(prefs), Tab(1), Check(prefs, "preferences_format"), Tab(2),
        Check(prefs, "preferences_colours"), Close(prefs)}},
      {"about", [this] { ShowAboutBox(window_); }, {Check("About Fumora 1.05b", "about"), Close("About Fumora 1.05b")}},
  };
  for (const auto& d : dialogs) Drive(d.name, d.steps, d.open);
  EXPECT_EQ(AllFaults(), "");
}

}  // namespace
