// The first-run wizard (template 7000): collects the quit details, checks
// them, and on Continue stores them with the default colours and preferences.
#pragma once
#include <windows.h>

// Modal; `owner` may be null. 0: the settings are stored, go on. 1: cancelled
// or closed, nothing stored. -1 if the dialog could not be made.
INT_PTR RunFirstRunWizard(HWND owner);

INT_PTR CALLBACK FirstRunWizardProc(HWND wizard, UINT message, WPARAM wParam, LPARAM lParam);

// Reads every field into QuitDetails and runs the checks: 1 when all pass,
// else 0 after one message box titled "Fumora".
int ValidateFirstRun(HWND wizard);

// How a failed check is reported: MessageBoxA, unless a test puts its own here.
using FirstRunMessageFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern FirstRunMessageFunction FirstRunMessageBox;
