// The Edit Quit Details dialog's working price-change rows, held in its list
// view: column 0 the Day (hidden), 1 its date, 2 the price in the user's
// currency format, 3 the plain price "4.50" (hidden); the item parameter is
// the Day. The rows stay in ascending Day order (as unsigned numbers), each
// row after the rows of its day that were there before it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "formats/price_points.h"

// Extended styles, the four columns (fixed), the empty-list text.
void SetUpPriceList(HWND list);
// Inserts a row in its place; returns its index, or -1.
int AddPriceRow(HWND list, uint32_t day, uint32_t price);
// Gives row `row` a new Day and price; a row that changes goes after the
// rows of its (new) day. Returns its index, or -1.
int UpdatePriceRow(HWND list, int row, uint32_t day, uint32_t price);
// The Day and price of one row; false for no such row.
bool PriceRowAt(HWND list, int row, PricePoint& point);
// Every row, in the order shown.
std::vector<PricePoint> PriceRows(HWND list);

// Column 2 is 105 pixels, less the scroll bar's width while not every row fits.
void FitPriceColumns(HWND list);
// Gives `row` the focus and the selection and scrolls it into view.
void FocusPriceRow(HWND list, int row);
// NM_CUSTOMDRAW: black text on the Row Highlight colour (first, third, ...
// rows) or white.
LRESULT PaintPriceRow(NMLVCUSTOMDRAW* draw);

// How both dialogs report: MessageBoxA, unless a test puts its own here.
using QuitDetailsMessageFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern QuitDetailsMessageFunction QuitDetailsMessageBox;
// A refused entry: information icon, caption "Fumora".
void ReportEntryFault(HWND owner, const char* text);
