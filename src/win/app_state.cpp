#include "win/app_state.h"

HINSTANCE AppInstance;
SYSTEMTIME DatePickerRange[2];
COLORREF CustomColours[16];
int ScrollBarWidth;
HANDLE InstanceMutex;
HHOOK KeyboardHookHandle;
HWND MainWindow;
ATOM HotkeyId;
HWND DialogMessageTarget;
std::string BuddyFilePath;
