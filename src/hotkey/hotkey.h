// The system-wide hotkey: its registration for the main window under the
// atom HotkeyId, its display name, and the run it starts: the stats text of
// that moment typed into the foreground application.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/hotkey_typing.h"

// Unregisters any hotkey this program holds, then registers `code` (see
// engine/hotkey_typing.h) unless its key byte is 0. True when registered; a
// combination another program owns stays unregistered.
bool RegisterStatsHotkey(uint32_t code);
void UnregisterStatsHotkey();
// Holds the stored hotkey (hotkeyCode) while hotkeyEnabled is 1, else none.
void RegisterStoredHotkey();
// The code really registered now; 0 when none.
uint32_t RegisteredHotkeyCode();

// "None" for 0, else the layout's names of the modifiers (Ctrl, Shift, Alt
// in that order) and of the key, joined by " + ": "Ctrl + Shift + Q".
std::string HotkeyNameText(uint32_t code);

// A run of the hotkey: the stats text of its moment, waiting for the keys to
// be up. It belongs to the window whose timer polls them (the main window's
// state holds it) and is dropped when it goes.
struct StatsTypingRun {
  StatsTypingRun() = default;
  StatsTypingRun(const StatsTypingRun&) = delete;
  StatsTypingRun& operator=(const StatsTypingRun&) = delete;
  ~StatsTypingRun();

  bool active = false;
  std::string text;
  HeldKey hotkey;
  DWORD since = 0;
  HWND window = nullptr;
  bool timing = false;  // the timer on `window` that polls the keys, its id the run's address
};

// The hotkey message to `window`; `key` is its virtual key. Takes the stats
// text of this moment and types it once Ctrl, Alt, Shift, Win and `key` are
// up, or after about a second, releasing what is still down. A press while
// the run is pending is ignored, so auto-repeat never types the text twice.
void StartStatsTyping(StatsTypingRun& run, HWND window, UINT key);
// Drops a pending run.
void CancelStatsTyping(StatsTypingRun& run);
