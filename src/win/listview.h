// Routines shared by the program's report list views: rows, columns, cells,
// columns the user cannot resize, and a grey text in place of an empty list.
#pragma once
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

int RowCount(HWND list);
// The row with the focus (the first found from the top), or -1.
int CurrentRow(HWND list);
// The row the user sees selected: the focused row when it is selected, else
// the first selected one; -1 when none is.
int SelectedRow(HWND list);
// Alignment 2 centred, 3 right-aligned, anything else left-aligned.
void AddColumn(HWND list, int index, const char* caption, int width, int alignment);
void SetCellText(HWND list, int row, int column, const char* text);
// At most `capacity` - 1 characters of one cell.
std::string CellText(HWND list, int row, int column, int capacity = 80);
// The cells of `columns` of every row, row after row, each as CellText reads
// it; read past the list's behaviour (below), which they do not concern.
std::vector<std::string> RowCells(HWND list, std::span<const int> columns, int capacity = 80);

// Appends a row whose first cell is `firstCell`, with a key (item parameter)
// that no other row of the program has. Returns the position, or -1.
int AppendRow(HWND list, const char* firstCell);
// Sorts the rows of AppendRow with `order`, a strict order given the
// positions the two rows had when the sort began (< 0 when the first comes
// first); it reads a model taken beforehand, never the list. Rows keep their
// states and keys.
void SortRows(HWND list, const std::function<int(int, int)>& order);

// Fixes the columns: the list refuses every notification from its header
// (no resizing, no dragging, so zero-width key columns stay hidden) and the
// header never shows its sizing cursor. With `passHeaderClicks` a click on a
// heading still reaches the list (LVN_COLUMNCLICK to the list's parent).
// The list and its header are subclassed (win/subclass.h); everything else
// goes on to their own procedures.
void FixColumns(HWND list, bool passHeaderClicks = false);
// The program's own width change on a fixed list: the header's notifications
// pass while it is made.
void SetFixedColumnWidth(HWND list, int column, int width);

// Column `column` is `width` pixels wide while every row fits the list, and
// when they do not, narrower by at most the vertical scroll bar, as far as
// the other columns leave it less room; fitted now and again
// (with a repaint) whenever the list's position, size or frame changes, as
// when its scroll bar comes or goes.
void FitColumnToRows(HWND list, int column, int width);

// While the list has no rows it paints `text` instead, in grey on the window
// colour, centred, 10 pixels below the headings. Call after FixColumns when
// both are wanted (either order works).
void SetEmptyListText(HWND list, const char* text);

// The plain row colours of every list: black text on backgrounds that
// alternate, `firstRowBack` on the first row and white on the next.
void PaintAlternatingRow(int row, COLORREF firstRowBack, COLORREF& text, COLORREF& back);
