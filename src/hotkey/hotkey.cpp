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

constexpr UINT TypingPollMs = 15;
constexpr DWORD GiveUpMs = 1000;

std::vector<HeldKey> HeldKeys(const StatsTypingRun& run) {
  std::vector<HeldKey> held;
  for (const HeldKey& key : ModifierKeys)
    if (GetAsyncKeyState(key.key) < 0) held.push_back(key);
  if (run.hotkey.key && GetAsyncKeyState(run.hotkey.key) < 0) held.push_back(run.hotkey);
  return held;
}

// The timer's id is the run: the tick finds it without a global.
UINT_PTR TimerOf(StatsTypingRun& run) { return reinterpret_cast<UINT_PTR>(&run); }

void CALLBACK TypingTick(HWND, UINT, UINT_PTR id, DWORD) {
  StatsTypingRun& run = *reinterpret_cast<StatsTypingRun*>(id);
  if (!run.active) return;
  // The hotkey's own key is waited for however long it is held: once its
  // release had been sent, its auto-repeats would reach the target as text.
  // Only modifiers still held a second after it went up are released by us.
  if (run.hotkey.key && GetAsyncKeyState(run.hotkey.key) < 0) {
    run.since = GetTickCount();
    return;
  }
  const std::vector<HeldKey> held = HeldKeys(run);
  if (!held.empty() && GetTickCount() - run.since < GiveUpMs) return;
  const std::string text = std::move(run.text);
  CancelStatsTyping(run);
  const std::vector<KeyEvent> releases = ReleaseEvents(held);
  SendKeyEvents(releases.data(), releases.size(), GetKeyboardLayout(0));
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

StatsTypingRun::~StatsTypingRun() { CancelStatsTyping(*this); }

void StartStatsTyping(StatsTypingRun& run, HWND window, UINT key) {
  if (run.active) return;
  run.active = true;
  run.text = BuildStatsText();
  run.hotkey = HeldKey{static_cast<uint8_t>(key), HotkeyNameIsExtended(key)};
  run.since = GetTickCount();
  run.window = window;
  // Alt or Win released alone would open the target's menu or the Start
  // menu: the target sees another key pressed while they are down.
  if (NeedsMenuMask(HeldKeys(run))) {
    const auto mask = MenuMaskEvents();
    SendKeyEvents(mask.data(), mask.size(), GetKeyboardLayout(0));
  }
  run.timing = SetTimer(window, TimerOf(run), TypingPollMs, TypingTick) != 0;
  if (!run.timing) CancelStatsTyping(run);
}

void CancelStatsTyping(StatsTypingRun& run) {
  if (run.timing) KillTimer(run.window, TimerOf(run));
  run.active = false;
  run.text.clear();
  run.hotkey = HeldKey{};
  run.since = 0;
  run.window = nullptr;
  run.timing = false;
}
