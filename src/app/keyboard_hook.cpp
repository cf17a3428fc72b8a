#include "app/keyboard_hook.h"

#include "app/main_window.h"
#include "stats/clipboard.h"
#include "win/app_state.h"

namespace {
// The key's previous state (bit 30) and its transition (bit 31): a shortcut
// acts once per press, not on its auto-repeats nor on its release.
constexpr LPARAM RepeatOrRelease = static_cast<LPARAM>(0xC0000000u);

// Ctrl without Alt: AltGr is Ctrl+Alt, and on many layouts it types
// characters (Polish "ś" is AltGr+S, German "µ" AltGr+M). Shift is ignored.
bool ShortcutModifiers() { return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0; }

void RunShortcut(WPARAM virtualKey) {
  switch (virtualKey) {
    case 'S': SelectView(StatisticsViewIndex); break;
    case 'M': SelectView(MilestonesViewIndex); break;
    case 'B': SelectView(BuddiesViewIndex); break;
    case 'D': SelectView(DaysAheadViewIndex); break;
    case 'C': CopyStatsToClipboard(MainWindow); break;
  }
}
}  // namespace

LRESULT CALLBACK KeyboardHook(int code, WPARAM virtualKey, LPARAM flags) {
  if (code == HC_ACTION && (flags & RepeatOrRelease) == 0 && ShortcutModifiers()) RunShortcut(virtualKey);
  return CallNextHookEx(KeyboardHookHandle.get(), code, virtualKey, flags);
}

void InstallKeyboardHook() {
  KeyboardHookHandle.Reset(SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, AppInstance, GetCurrentThreadId()));
}
