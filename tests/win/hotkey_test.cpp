// The hotkey's names from the keyboard layout, and its registration by the
// real main window: taken while registered, free again otherwise.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hotkey/hotkey.h"
#include "resource.h"
#include "shell_fixture.h"
#include "stats/statistics_view.h"

namespace {
using namespace shell_test;

class HotkeyRegistration : public MainWindowFixture {
 protected:
  void OpenWith(uint32_t enabled, uint32_t code) {
    Seed seed;
    seed.hotkeyEnabled = enabled;
    seed.hotkeyCode = code;
    Open(seed);
  }
  void Close() {
    DestroyWindow(window_);
    Pump(20);
  }
  static std::string Label() { return WindowText(GetDlgItem(StatisticsView, IDC_STATS_HOTKEY_NAME)); }
};

std::string LayoutKeyName(UINT key) {
  char name[128] = {};
  GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16, name, sizeof(name));
  return name;
}

// Whether another registrant could take the combination now.
bool OthersCanRegister(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7000, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 0x7000);
  return true;
}

TEST(HotkeyName, FromTheKeyboardLayout) {
  // English Windows names the key "Ctrl", Wine "Control".
  const std::string ctrl = LayoutKeyName(VK_CONTROL);
  EXPECT_TRUE(ctrl == "Ctrl" || ctrl == "Control") << ctrl;
  const struct {
    uint32_t code;
    std::string name;
  } cases[] = {
      {0, "None"},
      {0x351, ctrl + " + Shift + Q"},
      {0x474, "Alt + F5"},
      {0x646, ctrl + " + Alt + F"},
      {0x824, "Home"},  // the extended Home of the navigation block, not the keypad's
      {0x024, "Home"},
  };
  for (const auto& c : cases) EXPECT_EQ(HotkeyNameText(c.code), c.name) << std::hex << c.code;
}

TEST_F(HotkeyRegistration, EnabledAtStartTakesTheCombinationUntilShutdown) {
  OpenWith(1, 0x351);
  EXPECT_EQ(RegisteredHotkeyCode(), 0x351u);
  EXPECT_EQ(Label(), HotkeyNameText(0x351));
  EXPECT_FALSE(OthersCanRegister(MOD_CONTROL | MOD_SHIFT, 'Q'));
  Close();
  EXPECT_EQ(RegisteredHotkeyCode(), 0u);
  EXPECT_TRUE(OthersCanRegister(MOD_CONTROL | MOD_SHIFT, 'Q'));
}

TEST_F(HotkeyRegistration, DisabledTakenOrKeylessRegistersNothingAndTheLabelSaysNone) {
  const struct {
    uint32_t enabled, code;
    bool takenByOther;
  } cases[] = {{0, 0x351, false}, {1, 0x351, true}, {1, 0x300, false}};
  for (const auto& c : cases) {
    if (c.takenByOther) {
      ASSERT_TRUE(RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_SHIFT, 'Q'));
    }
    OpenWith(c.enabled, c.code);
    EXPECT_EQ(RegisteredHotkeyCode(), 0u) << c.enabled << " " << std::hex << c.code;
    EXPECT_EQ(Label(), "None");
    if (c.takenByOther) UnregisterHotKey(nullptr, 0x7001);
    EXPECT_TRUE(OthersCanRegister(MOD_CONTROL | MOD_SHIFT, 'Q'));
    Close();
  }
}

TEST_F(HotkeyRegistration, ReRegisteringReleasesTheOldCombination) {
  Open();
  ASSERT_TRUE(RegisterStatsHotkey(0x151));  // Shift+Q: MOD_SHIFT, not MOD_ALT
  EXPECT_FALSE(OthersCanRegister(MOD_SHIFT, 'Q'));
  EXPECT_TRUE(OthersCanRegister(MOD_ALT, 'Q'));
  ASSERT_TRUE(RegisterStatsHotkey(0x474));
  EXPECT_TRUE(OthersCanRegister(MOD_SHIFT, 'Q'));
  EXPECT_FALSE(OthersCanRegister(MOD_ALT, VK_F5));
  EXPECT_FALSE(RegisterStatsHotkey(0x400));  // no key: nothing registered
  EXPECT_EQ(RegisteredHotkeyCode(), 0u);
  EXPECT_TRUE(OthersCanRegister(MOD_ALT, VK_F5));
  ASSERT_TRUE(RegisterStatsHotkey(0x474));
  UnregisterStatsHotkey();
  EXPECT_TRUE(OthersCanRegister(MOD_ALT, VK_F5));
}

TEST_F(HotkeyRegistration, AHotkeyMessageStartsOneRunThatShutdownDrops) {
  Open();
  SendMessageA(window_, WM_HOTKEY, HotkeyId, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'Q'));
  EXPECT_TRUE(StatsTypingPending());
  // With the keys up the run ends at the next poll; the program's own
  // window is in front, so nothing is typed.
  for (int i = 0; i < 40 && StatsTypingPending(); ++i) Pump(25);
  EXPECT_FALSE(StatsTypingPending());
  SendMessageA(window_, WM_HOTKEY, HotkeyId, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'Q'));
  EXPECT_TRUE(StatsTypingPending());
  Close();
  EXPECT_FALSE(StatsTypingPending());
}

}  // namespace
