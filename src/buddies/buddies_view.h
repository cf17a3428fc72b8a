// The Buddies view (template 2000): the BuddyList with its name, quit date and
// today's anniversary, sortable by a click on a heading, with New, Change and
// Delete. Its list control is the store of the BuddyList.
#pragma once
#include <windows.h>

#include <cstdint>

// Creates the view as a hidden child of `parent`, loading anny.dat.
HWND CreateBuddiesView(HWND parent);
INT_PTR CALLBACK BuddiesViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// The view and its list (null before creation and after destruction).
extern HWND BuddiesViewWindow;
extern HWND BuddyList;
// 1/2 name, 3/4 quit date, 5/6 anniversary label (ascending/descending);
// changed by the user's clicks on the headings, and back to 1 by the name
// order that follows an add or a change.
extern uint32_t BuddySortState;

// Recomputes every row's anniversary flag and label for LocalNow's date and
// repaints the list; the order stays. Does nothing without the view.
void RefreshBuddyAnniversaries();
// Asks, then deletes the buddy of the selected row (Delete key and button);
// with none selected, nothing is asked.
void DeleteCurrentBuddy();
