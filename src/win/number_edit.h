// Edit fields that take only digits as typed characters. Pasted text is not
// filtered: whoever reads such a field still checks what it holds.
#pragma once
#include <windows.h>

// WM_CHAR other than 0..9 and backspace is swallowed (DigitsOnlyEdit).
void MakeDigitsOnlyEdit(HWND edit);
// As above, and the first character of DecimalSeparator passes too (PriceEdit).
void MakePriceEdit(HWND edit);
