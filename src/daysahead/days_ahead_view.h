// The Days Ahead view (template 3000): every anniversary of the buddies from
// today to today + LookAheadDays - 1, by day, with today's and tomorrow's rows
// and the legend below the list in their colours.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/buddy_rows.h"

// Creates the view as a hidden child of `parent` and builds the list from the
// buddy rows already loaded.
HWND CreateDaysAheadView(HWND parent);
INT_PTR CALLBACK DaysAheadViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// The view and its list (null when there is no view).
extern HWND DaysAheadViewWindow;
extern HWND DaysAheadList;

// Rebuilds the whole list for the period that starts on LocalNow's date and
// lasts LookAheadDays (within 2..100). Does nothing without the view.
void BuildDaysAhead();
// Makes the two legend brushes again from AppColors and repaints the view.
void RefreshDaysAheadColours();

// Row by row, within the period of the last rebuild; each keeps the list in
// its order (day, name, BuddyId).
void AddDaysAheadRows(const BuddyEntry& buddy);
void RemoveDaysAheadRows(uint32_t id);
void RenameDaysAheadRows(uint32_t id, const std::string& name);
