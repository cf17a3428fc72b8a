// The price point dialog (template 7700): adds a price change to the Edit
// Quit Details dialog's working rows, or changes the focused one. Nothing
// reaches pp.dat before that dialog's Change.
#pragma once
#include <windows.h>

enum class PricePointMode { Add = 0, Edit = 1 };

// Modal, owned by `owner`; `list` holds the working rows. Edit mode acts on
// the list's focused row and does nothing without one. True when a row was
// added or changed (the rows stay in order and the new one has the focus).
bool RunPricePointDialog(HWND owner, HWND list, PricePointMode mode);

INT_PTR CALLBACK PricePointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
