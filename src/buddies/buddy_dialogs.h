// "Add New Buddy" (template 2100) and "Edit Buddy" (template 2200): modal,
// owned by the Buddies view. A confirmed add or change updates the BuddyList,
// rewrites anny.dat and brings the buddy's Days Ahead rows up to date.
#pragma once
#include <windows.h>

void RunAddBuddyDialog(HWND owner);
// Edits the row with the focus, or the first row; over an empty list the
// dialog closes before it is shown.
void RunEditBuddyDialog(HWND owner);

INT_PTR CALLBACK AddBuddyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EditBuddyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
