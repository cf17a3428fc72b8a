// The keyboard hook: Ctrl + S, M, B, D select the views and Ctrl + C copies
// the stats text, once per key press, never with Alt (AltGr), and every key
// is passed on.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <tuple>

#include <string>

#include "app/keyboard_hook.h"
#include "app/startup.h"
#include "buddies/buddies_view.h"
#include "quitdetails/price_point_file.h"
#include "resource.h"
#include "shell_fixture.h"

using namespace shell_test;

namespace {

class KeyboardHookTest : public MainWindowFixture {
 protected:
  void TearDown() override {
    SetControl(false);
    KeyboardHookHandle.Reset();
    MainWindowFixture::TearDown();
  }

  // The thread's own key state, which the hook reads with GetKeyState.
  static void SetControl(bool down, bool alt = false, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  static void EmptyTheClipboard() {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
  }

  static std::string ClipboardText() {
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

  static void Key(int virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
  }
};

TEST_F(KeyboardHookTest, CtrlLettersSelectTheViews) {
  Open();
  SetControl(true);
  const std::pair<int, int> keys[] = {{'M', MilestonesViewIndex}, {'B', BuddiesViewIndex},
                                      {'D', DaysAheadViewIndex},  {'S', StatisticsViewIndex},
                                      {'D', DaysAheadViewIndex},  {'D', DaysAheadViewIndex}};
  for (auto [key, view] : keys) {
    KeyboardHook(HC_ACTION, key, 0);
    EXPECT_EQ(CurrentView, view) << char(key);
    EXPECT_EQ(VisibleView(), view) << char(key);
  }
  EXPECT_EQ(Title(), "Next 20 Days");
}

// Only a first press with Ctrl down and Alt up acts: an auto-repeat (bit 30),
// a release (bit 31) and AltGr (Ctrl+Alt) do not.
TEST_F(KeyboardHookTest, OnlyAFirstPressWithCtrlAndNotAltActs) {
  Open();
  const struct {
    const char* what;
    bool alt, shift;
    uint32_t flags;
    bool acts;
  } cases[] = {
      {"press", false, false, 0x00000001, true},          {"press with Shift", false, true, 0x00000001, true},
      {"auto-repeat", false, false, 0x40000001, false},   {"release", false, false, 0xC0000001, false},
      {"AltGr press", true, false, 0x20000001, false},    {"Ctrl+Alt+Shift press", true, true, 0x00000001, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SelectView(StatisticsViewIndex);
    EmptyTheClipboard();
    SetControl(true, c.alt, c.shift);
    KeyboardHook(HC_ACTION, 'M', static_cast<LPARAM>(c.flags));
    KeyboardHook(HC_ACTION, 'C', static_cast<LPARAM>(c.flags));
    EXPECT_EQ(CurrentView, c.acts ? MilestonesViewIndex : StatisticsViewIndex);
    EXPECT_EQ(ClipboardText().empty(), !c.acts);
  }
}

TEST_F(KeyboardHookTest, CtrlCCopiesTheStatsText) {
  HoldClockAt(HeldClock());
  Open();
  EmptyTheClipboard();
  SetControl(true);
  KeyboardHook(HC_ACTION, 'C', 0);
  EXPECT_EQ(ClipboardText(), HeldClockStatsText);
}

TEST_F(KeyboardHookTest, WithoutCtrlOrOutsideAnActionNothingHappens) {
  Open();
  EmptyTheClipboard();
  SetControl(false);
  for (int key : {'M', 'B', 'D', 'C'}) KeyboardHook(HC_ACTION, key, 0);
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
  EXPECT_EQ(ClipboardText(), "");

  SetControl(true);
  KeyboardHook(HC_NOREMOVE, 'M', 0);  // a look at the queue, not an action
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
  for (int key : {int{'A'}, int{'X'}, VK_F5, VK_CONTROL}) KeyboardHook(HC_ACTION, key, 0);
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
  EXPECT_EQ(ClipboardText(), "");
}

// Real key presses (SendInput) reach the installed hook; without Ctrl they
// change nothing.
TEST_F(KeyboardHookTest, InstalledHookActsOnRealKeyPresses) {
  Open();
  InstallKeyboardHook();
  ASSERT_TRUE(KeyboardHookHandle);
  SetForegroundWindow(window_);
  SetFocus(window_);
  Pump(100);

  Key(VK_CONTROL, true);
  Key('M', true);
  Key('M', false);
  Key(VK_CONTROL, false);
  Pump(300);
  EXPECT_EQ(CurrentView, MilestonesViewIndex);

  Key('S', true);  // without Ctrl: nothing
  Key('S', false);
  Pump(200);
  EXPECT_EQ(CurrentView, MilestonesViewIndex);

  Key(VK_LCONTROL, true);  // AltGr, as Windows reports it: left Ctrl and right Alt
  Key(VK_RMENU, true);
  Key('S', true);
  Key('S', false);
  Key(VK_RMENU, false);
  Key(VK_LCONTROL, false);
  Pump(300);
  EXPECT_EQ(CurrentView, MilestonesViewIndex);
}

// S, M, B, D and C typed without Ctrl into a focused field, as real key
// presses, arrive there: the hook takes none of them, the view on show and
// the clipboard stay as they were.
TEST_F(KeyboardHookTest, PlainLettersReachAFocusedField) {
  const std::string folder = TempFolder("fumora_keys");
  BuddyFilePath = folder + "anny.dat";
  PricePointFilePath = folder + "pp.dat";
  Open();
  Pump(100);
  InstallKeyboardHook();
  ASSERT_TRUE(KeyboardHookHandle);
  EmptyTheClipboard();
  const struct {
    const char* dialog;
    int field;
    std::function<void()> open;
  } fields[] = {{"Add New Buddy", IDC_ADD_BUDDY_NAME, [] { Click(BuddiesViewWindow, IDC_BUDDY_NEW); }},
                {"Edit Quit Details", IDC_QD_NAME, [this] { Command(IDM_EDIT_QUIT_DETAILS); }}};
  for (const auto& f : fields) {
    SCOPED_TRACE(f.dialog);
    HWND dialog = nullptr;
    Drive(f.dialog,
          {[&] {
             dialog = DialogNamed(f.dialog);
             SetForegroundWindow(dialog);
             SetDlgItemTextA(dialog, f.field, "");
             SetFocus(GetDlgItem(dialog, f.field));
           },
           [] {
             for (int key : {'S', 'M', 'B', 'D', 'C'}) {
               Key(key, true);
               Key(key, false);
             }
           },
           [] {},  // the keys on their way
           [&] {
             EXPECT_EQ(Text(dialog, f.field), "smbdc");
             PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
           }},
          f.open);
    EXPECT_EQ(CurrentView, StatisticsViewIndex);
    EXPECT_EQ(ClipboardText(), "");
  }
}

// The keyboard user's way into the lists, through the program's own message
// loop: Ctrl+M puts the focus on the milestones list and Down moves its
// selection; Tab from the main window comes back into the shown view's list.
TEST_F(KeyboardHookTest, EveryViewsListIsReachedFromTheKeyboard) {
  Open();
  InstallKeyboardHook();
  SetForegroundWindow(window_);
  SetFocus(window_);
  const auto pumpAsTheLoop = [](DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchLoopMessage(message);
      Sleep(5);
    } while (GetTickCount() - start < milliseconds);
  };
  const auto press = [&](std::initializer_list<int> keys) {
    for (int key : keys) Key(key, true);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) Key(*key, false);
    pumpAsTheLoop(300);
  };
  pumpAsTheLoop(100);
  for (auto [letter, view, id] : {std::tuple{'M', MilestonesViewIndex, IDC_MILESTONES_LIST},
                                  {'D', DaysAheadViewIndex, IDC_DAYS_AHEAD_LIST},
                                  {'B', BuddiesViewIndex, IDC_BUDDY_LIST}}) {
    press({VK_CONTROL, letter});
    HWND list = GetDlgItem(ViewWindows[view], id);
    EXPECT_EQ(GetFocus(), list) << letter;
    if (view == MilestonesViewIndex) {
      press({VK_DOWN});
      EXPECT_NE(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1) << "Down selected no milestone";
    }
    if (view != BuddiesViewIndex) {  // the buddies view keeps its own dialog keys
      SetFocus(window_);
      press({VK_TAB});
      EXPECT_EQ(GetFocus(), list) << "Tab did not enter the list of view " << view;
    }
  }
}

// Ends the tests if the loop is still busy after five seconds: a hang.
DWORD WINAPI Watchdog(LPVOID done) {
  if (WaitForSingleObject(done, 5000) == WAIT_OBJECT_0) return 0;
  std::fputs("the message loop hung on a key for a window in a hidden view\n", stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return 1;
}

// A letter for a button left inside a hidden view: the dialog's search for
// the mnemonic never came back to it, and the program hung. (Alt+letter
// takes the same search, then opens the menu, which a test cannot wait in.)
TEST_F(KeyboardHookTest, ACharacterKeyForAWindowInAHiddenViewDoesNotHangTheLoop) {
  Open();
  SelectView(BuddiesViewIndex);
  SelectView(StatisticsViewIndex);
  HWND button = GetDlgItem(ViewWindows[BuddiesViewIndex], IDC_BUDDY_NEW);
  ASSERT_FALSE(IsWindowVisible(button));
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, done, 0, nullptr);
  MSG message{button, WM_CHAR, 'e', 0x00120001, GetTickCount(), {}};
  DispatchLoopMessage(message);
  SetEvent(done);
  WaitForSingleObject(watchdog, 10000);
  CloseHandle(watchdog);
  CloseHandle(done);
}

}  // namespace
