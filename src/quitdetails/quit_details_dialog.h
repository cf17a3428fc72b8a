// The Edit Quit Details dialog (template 7500): the quit details and the
// price changes, stored only when the user presses Change.
#pragma once
#include <windows.h>

// Modal, owned by `owner`. True when Change stored new details: the quit
// details in the registry, the price changes in pp.dat and PricePoints,
// QuitDayNumber recomputed and the per-minute inputs said to have changed. The caller
// rebuilds what shows them (the milestones, the figures on show).
bool RunEditQuitDetails(HWND owner);

INT_PTR CALLBACK QuitDetailsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
