// The program's shortcuts: a keyboard hook on its own thread, not
// accelerators, so that they work whichever of its windows has the focus.
#pragma once
#include <windows.h>

// Ctrl+S, Ctrl+M, Ctrl+B, Ctrl+D select the views; Ctrl+C copies the stats
// text. Every key is passed on: the focused window still receives it.
LRESULT CALLBACK KeyboardHook(int code, WPARAM virtualKey, LPARAM flags);

// Installs the hook for this thread into KeyboardHookHandle.
void InstallKeyboardHook();
