// The milestones view (template 5000): the user's personal milestones with
// their dates, the next one marked and named in the line below the list.
#pragma once
#include <windows.h>

// Creates the view as a hidden child of `parent`; the list is built when the
// view is first shown (or earlier by BuildMilestoneList).
HWND CreateMilestonesView(HWND parent);
INT_PTR CALLBACK MilestonesViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// Clears and refills the list from QuitDetails (quit date, cigarettes per
// day), marks the next milestone as of today and sets the line below. Call
// again after the quit details change. Does nothing without the view.
void BuildMilestoneList();

// Appends one row: the key text (its DayNumber) in the hidden column 0, the
// date and the label; its item parameter is its index. Returns the index.
int AddMilestoneRow(HWND list, const char* key, const char* date, const char* label);

// The view and its list (null before creation and after destruction); the
// preferences invalidate the list after the colours change.
extern HWND MilestonesViewWindow;
extern HWND MilestonesList;
