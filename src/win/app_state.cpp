#include "win/app_state.h"

HINSTANCE AppInstance;
SYSTEMTIME DatePickerRange[2];
COLORREF CustomColours[16];
int ScrollBarWidth;
ScopedKernelHandle InstanceMutex;
ScopedHook KeyboardHookHandle;
HWND MainWindow;
ScopedAtom HotkeyId;
HWND DialogMessageTarget;
std::string BuddyFilePath;
