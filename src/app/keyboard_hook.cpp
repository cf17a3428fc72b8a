#include "app/keyboard_hook.h"

#include "app/main_window.h"
#include "stats/clipboard.h"
#include "win/app_state.h"

namespace {
// The key message is not looked at: a press, each auto-repeat and the release
// all act while Ctrl is down, and Shift and Alt are ignored.
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
  if (code == HC_ACTION && GetKeyState(VK_CONTROL) < 0) RunShortcut(virtualKey);
  return CallNextHookEx(KeyboardHookHandle, code, virtualKey, flags);
}

void InstallKeyboardHook() {
  KeyboardHookHandle = SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, AppInstance, GetCurrentThreadId());
}
