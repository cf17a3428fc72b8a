// The hotkey's names from the keyboard layout, and its registration by the
// real main window: taken while registered, free again otherwise.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hotkey/hotkey.h"
#include "hotkey/typing.h"
#include "resource.h"
#include "shell_fixture.h"
#include "stats/statistics_view.h"

namespace {
using namespace shell_test;

// Whether another registrant could take the combination now.
bool OthersCanRegister(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7000, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 0x7000);
  return true;
}
std::string Label() { return WindowText(GetDlgItem(StatisticsView, IDC_STATS_HOTKEY_NAME)); }

// The names a user reads for modifier and key pairs on Wine's English
// layout (English Windows writes "Ctrl" and "Space" where Wine writes
// "Control" and "space").
TEST(HotkeyName, FromTheKeyboardLayout) {
  const struct {
    uint8_t modifiers, key;
    const char* name;
  } cases[] = {
      {0, 0, "None"},
      {HOTKEYF_CONTROL, 'Q', "Control + Q"},
      {HOTKEYF_CONTROL | HOTKEYF_SHIFT, 'Q', "Control + Shift + Q"},
      {HOTKEYF_CONTROL | HOTKEYF_ALT, 'F', "Control + Alt + F"},  // Ctrl first, Alt last
      {HOTKEYF_SHIFT | HOTKEYF_ALT, '1', "Shift + Alt + 1"},
      {HOTKEYF_ALT, VK_F5, "Alt + F5"},
      {HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT, VK_SPACE, "Control + Shift + Alt + space"},
      {HOTKEYF_EXT, VK_HOME, "Home"},  // the navigation block's, not the keypad's
      {HOTKEYF_CONTROL, VK_INSERT, "Control + Insert"},
      {HOTKEYF_SHIFT, VK_F12, "Shift + F12"},
  };
  for (const auto& c : cases) EXPECT_EQ(HotkeyNameText(MAKEWORD(c.key, c.modifiers)), c.name);
}

class HotkeyRegistration : public MainWindowFixture {};

// Registered at start while enabled; each registration frees the one before,
// one without a key registers nothing; shutdown frees the last.
TEST_F(HotkeyRegistration, EnabledTakesTheCombinationUntilReplacedOrShutdown) {
  Open({.hotkeyEnabled = 1, .hotkeyCode = 0x351});
  EXPECT_EQ(RegisteredHotkeyCode(), 0x351u);
  EXPECT_EQ(Label(), "Control + Shift + Q");
  EXPECT_FALSE(OthersCanRegister(MOD_CONTROL | MOD_SHIFT, 'Q'));
  ASSERT_TRUE(RegisterStatsHotkey(0x151));  // Shift+Q: MOD_SHIFT, not MOD_ALT
  EXPECT_TRUE(OthersCanRegister(MOD_CONTROL | MOD_SHIFT, 'Q'));
  EXPECT_FALSE(OthersCanRegister(MOD_SHIFT, 'Q'));
  EXPECT_TRUE(OthersCanRegister(MOD_ALT, 'Q'));
  EXPECT_FALSE(RegisterStatsHotkey(0x400));
  EXPECT_EQ(RegisteredHotkeyCode(), 0u);
  EXPECT_TRUE(OthersCanRegister(MOD_SHIFT, 'Q'));
  ASSERT_TRUE(RegisterStatsHotkey(0x474));
  EXPECT_FALSE(OthersCanRegister(MOD_ALT, VK_F5));
  DestroyWindow(window_);
  EXPECT_EQ(RegisteredHotkeyCode(), 0u);
  EXPECT_TRUE(OthersCanRegister(MOD_ALT, VK_F5));
}

TEST_F(HotkeyRegistration, DisabledTakenOrKeylessRegistersNothingAndTheLabelSaysNone) {
  const struct {
    uint32_t enabled, code;
    bool takenByOther;
  } cases[] = {{0, 0x351, false}, {1, 0x351, true}, {1, 0x300, false}};
  for (const auto& c : cases) {
    const bool taken = c.takenByOther && RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_SHIFT, 'Q');
    EXPECT_EQ(taken, c.takenByOther);
    Open({.hotkeyEnabled = c.enabled, .hotkeyCode = c.code});
    EXPECT_EQ(RegisteredHotkeyCode(), 0u) << c.enabled << " " << std::hex << c.code;
    EXPECT_EQ(Label(), "None");
    if (taken) UnregisterHotKey(nullptr, 0x7001);
    EXPECT_TRUE(OthersCanRegister(MOD_CONTROL | MOD_SHIFT, 'Q'));
    DestroyWindow(window_);
  }
}

// The text goes only to another application: with one of this program's own
// windows in front, nothing is typed.
TEST_F(HotkeyRegistration, NothingIsTypedIntoThisProgramsOwnWindow) {
  HWND w = Open();
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, w, nullptr, nullptr, nullptr);
  SetForegroundWindow(w);
  SetFocus(edit);
  Pump(50);
  ASSERT_EQ(GetFocus(), edit);
  EXPECT_FALSE(TypeIntoForeground("abc", 0));
  Pump(100);
  EXPECT_EQ(WindowText(edit), "");
}

}  // namespace
