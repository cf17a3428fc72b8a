// Process-wide values that start-up sets once, before any window exists.
#pragma once
#include <windows.h>

#include <string>

#include "win/scoped.h"

extern HINSTANCE AppInstance;
extern SYSTEMTIME DatePickerRange[2];  // minimum and maximum of every date picker
extern COLORREF CustomColours[16];  // the colour chooser's custom colours
extern int ScrollBarWidth;
extern ScopedKernelHandle InstanceMutex;
extern ScopedHook KeyboardHookHandle;
extern HWND MainWindow;
extern ScopedAtom HotkeyId;  // the global atom of the mutex name: the hotkey's id
extern HWND DialogMessageTarget;  // the window whose dialog keys the loop handles
extern std::string BuddyFilePath;  // anny.dat beside the executable
