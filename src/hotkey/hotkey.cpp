#include "hotkey/hotkey.h"

#include <vector>

#include "engine/hotkey_typing.h"
#include "engine/stats_text.h"
#include "formats/settings_records.h"
#include "hotkey/typing.h"
#include "win/app_state.h"

namespace {

uint32_t RegisteredCode;

// The layout's name of a key, with the extended bit where asked.
std::string KeyName(uint8_t key, bool extended) {
  const LONG scan = static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  char name[128] = {};
  const int length = GetKeyNameTextA((scan << 16) | (extended ? 1L << 24 : 0), name, sizeof(name));
  if (length > 0) return std::string(name, static_cast<size_t>(length));
  // Keys without a scan code (media keys and the like) have no name. Two hex
  // digits by hand: the printf family would double the executable's code.
  constexpr char Hex[] = "0123456789ABCDEF";
  return std::string("Key 0x") + Hex[key >> 4] + Hex[key & 0xF];
}

// ---- the pending run ----

constexpr UINT_PTR TypingTimerId = 0x4854;  // on the main window
constexpr UINT TypingPollMs = 15;
constexpr DWORD GiveUpMs = 1000;

struct PendingRun {
  bool active = false;
  std::string text;
  HeldKey hotkey;
  DWORD since = 0;
  HWND window = nullptr;
  UINT_PTR timer = 0;
};
PendingRun Pending;

std::vector<HeldKey> HeldKeys() {
  std::vector<HeldKey> held;
  for (const HeldKey& key : ModifierKeys)
    if (GetAsyncKeyState(key.key) < 0) held.push_back(key);
  if (Pending.hotkey.key && GetAsyncKeyState(Pending.hotkey.key) < 0) held.push_back(Pending.hotkey);
  return held;
}

void StopTimer() {
  if (Pending.timer) KillTimer(Pending.window, Pending.timer);
  Pending.timer = 0;
}

void CALLBACK TypingTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!Pending.active) return;
  // The hotkey's own key is waited for however long it is held: once its
  // release had been sent, its auto-repeats would reach the target as text.
  // Only modifiers still held a second after it went up are released by us.
  if (Pending.hotkey.key && GetAsyncKeyState(Pending.hotkey.key) < 0) {
    Pending.since = GetTickCount();
    return;
  }
  const std::vector<HeldKey> held = HeldKeys();
  if (!held.empty() && GetTickCount() - Pending.since < GiveUpMs) return;
  StopTimer();
  const std::vector<KeyEvent> releases = ReleaseEvents(held);
  SendKeyEvents(releases.data(), releases.size(), GetKeyboardLayout(0));
  const std::string text = std::move(Pending.text);
  Pending = PendingRun{};
  TypeIntoForeground(text, RegisteredCode);
}

}  // namespace

bool RegisterStatsHotkey(uint32_t code) {
  UnregisterStatsHotkey();
  if (HotkeyKey(code) == 0) return false;
  if (!RegisterHotKey(MainWindow, HotkeyId.get(), HotkeyRegistrationModifiers(code), HotkeyKey(code))) return false;
  RegisteredCode = code;
  return true;
}

void UnregisterStatsHotkey() {
  if (RegisteredCode) UnregisterHotKey(MainWindow, HotkeyId.get());
  RegisteredCode = 0;
}

void RegisterStoredHotkey() {
  if (hotkeyEnabled == 1)
    RegisterStatsHotkey(hotkeyCode);
  else
    UnregisterStatsHotkey();
}

uint32_t RegisteredHotkeyCode() { return RegisteredCode; }

std::string HotkeyNameText(uint32_t code) {
  if (code == 0) return "None";
  std::string name;
  if (code & HotkeyControlFlag) name += KeyName(VK_CONTROL, false) + " + ";
  if (code & HotkeyShiftFlag) name += KeyName(VK_SHIFT, false) + " + ";
  if (code & HotkeyAltFlag) name += KeyName(VK_MENU, false) + " + ";
  return name + KeyName(HotkeyKey(code), HotkeyNameIsExtended(code));
}

void StartStatsTyping(UINT key) {
  if (Pending.active) return;
  Pending.active = true;
  Pending.text = BuildStatsText();
  Pending.hotkey = HeldKey{static_cast<uint8_t>(key), HotkeyNameIsExtended(key)};
  Pending.since = GetTickCount();
  Pending.window = MainWindow;
  // Alt or Win released alone would open the target's menu or the Start
  // menu: the target sees another key pressed while they are down.
  if (NeedsMenuMask(HeldKeys())) {
    const auto mask = MenuMaskEvents();
    SendKeyEvents(mask.data(), mask.size(), GetKeyboardLayout(0));
  }
  Pending.timer = SetTimer(Pending.window, TypingTimerId, TypingPollMs, TypingTick);
  if (!Pending.timer) Pending = PendingRun{};
}

bool StatsTypingPending() { return Pending.active; }

void CancelStatsTyping() {
  StopTimer();
  Pending = PendingRun{};
}
