// The preferences dialog (template 8000): a tab control over three pages
// (general options, statistics format, application colours). The pages edit
// working copies; Apply and OK hand them to ApplyPreferences, which stores
// them and brings the views up to date at once.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Modal, owned by `owner`; only one at a time.
void ShowPreferences(HWND owner);
INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the open dialog's working values into the settings, stores them,
// registers the hotkey again and refreshes the views. False (nothing applied)
// when the user chose to re-enter a blank format, or no dialog is open.
bool ApplyPreferences();

// How the blank-format question is asked: MessageBoxA, unless a test puts its own here.
using PrefsMessageFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern PrefsMessageFunction PrefsMessageBox;
// The colour chooser: the system's (SystemChooseColour), unless a test puts its own here.
using ChooseColourFunction = BOOL(WINAPI*)(LPCHOOSECOLORA);
BOOL WINAPI SystemChooseColour(LPCHOOSECOLORA chooser);
extern ChooseColourFunction PrefsChooseColour;

// Sent to the dialog's owner after an apply changed the look-ahead period and
// rebuilt the Days Ahead list: the main window retitles that view when it is
// on show.
inline constexpr UINT LookAheadChangedMessage = WM_APP + 6;
