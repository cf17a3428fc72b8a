// Edit fields that take only digits as typed characters. Ctrl+V pastes text
// that could have been typed there and beeps at any other; what the context
// menu pastes is not filtered: whoever reads such a field still checks it.
#pragma once
#include <windows.h>

// WM_CHAR other than 0..9 and backspace is swallowed (DigitsOnlyEdit).
void MakeDigitsOnlyEdit(HWND edit);
// The beep of a refused Ctrl+V: MessageBeep unless a test puts its own here.
extern BOOL(WINAPI* NumberEditBeep)(UINT type);
// As above, and the first character of DecimalSeparator passes too (PriceEdit).
void MakePriceEdit(HWND edit);
