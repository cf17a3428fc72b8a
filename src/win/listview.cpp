#include "win/listview.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "win/app_state.h"
#include "win/scoped.h"
#include "win/subclass.h"

namespace {
// Per-list state: the reference data of the list's subclass.
struct ListBehaviour {
  HWND header = nullptr;
  bool fixed = false;
  bool passHeaderClicks = false;
  int ownWidthChanges = 0;  // > 0 while SetFixedColumnWidth runs
  bool hasEmptyText = false;
  std::string emptyText;
  COLORREF greyText = 0;
  COLORREF windowBack = 0;
  int fittedColumn = -1;
  int fittedWidth = 0;
};

LRESULT ListBehaviourProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, ListBehaviour& b);
LRESULT HeaderBehaviourProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam);

ListBehaviour* BehaviourOf(HWND list) { return ControlStateOf<ListBehaviour, ListBehaviourProc>(list); }
ListBehaviour* Behaviour(HWND list) { return SubclassControlWithState<ListBehaviour, ListBehaviourProc>(list); }

bool IsHeaderClick(UINT code) { return code == HDN_ITEMCLICKA || code == HDN_ITEMCLICKW; }

LRESULT OnHeaderNotify(HWND list, ListBehaviour& b, WPARAM wParam, LPARAM lParam) {
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  if (b.ownWidthChanges > 0 || (b.passHeaderClicks && IsHeaderClick(header->code)))
    return DefSubclassProc(list, WM_NOTIFY, wParam, lParam);
  return TRUE;
}

void PaintEmptyText(HWND list, const ListBehaviour& b) {
  PaintDC paint(list);
  HDC dc = paint.get();
  SetTextColor(dc, b.greyText);
  SetBkColor(dc, b.windowBack);
  SelectedObject font(dc, GetStockObject(ANSI_VAR_FONT));
  RECT area;
  GetClientRect(list, &area);
  HWND header = ListView_GetHeader(list);
  if (header && IsWindowVisible(header)) {
    RECT headerRect;
    GetWindowRect(header, &headerRect);
    MapWindowPoints(HWND_DESKTOP, list, reinterpret_cast<POINT*>(&headerRect), 2);
    area.top = headerRect.bottom;
  }
  area.top += 10;
  DrawTextA(dc, b.emptyText.c_str(), -1, &area, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Beside a scroll bar the column gives way only as far as the list lacks
// room for it, so that its heading stays whole where the list is wide enough.
int RoomForColumn(HWND list, int column) {
  RECT client;
  GetClientRect(list, &client);
  int room = client.right;
  const int columns = Header_GetItemCount(ListView_GetHeader(list));
  for (int i = 0; i < columns; ++i)
    if (i != column) room -= ListView_GetColumnWidth(list, i);
  return room;
}

void FitColumn(HWND list, const ListBehaviour& b) {
  const bool allFit = ListView_GetCountPerPage(list) >= RowCount(list);
  const int width = allFit ? b.fittedWidth
                           : std::clamp(RoomForColumn(list, b.fittedColumn), b.fittedWidth - ScrollBarWidth,
                                        b.fittedWidth);
  if (ListView_GetColumnWidth(list, b.fittedColumn) != width) SetFixedColumnWidth(list, b.fittedColumn, width);
}

LPARAM RowKey(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

// The position each row had when the sort began, by its key (AppendRow's
// keys are small and never repeat).
struct RowSort {
  std::vector<int> positions;
  const std::function<int(int, int)>& order;
  int PositionOf(LPARAM key) const { return positions[static_cast<std::size_t>(key)]; }
};

int CALLBACK CompareRowPositions(LPARAM first, LPARAM second, LPARAM sort) {
  const RowSort& s = *reinterpret_cast<const RowSort*>(sort);
  return s.order(s.PositionOf(first), s.PositionOf(second));
}

// The list control repaints only the rows that came or went: when the empty
// text comes or goes, the whole list is repainted.
LRESULT ChangeRows(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool wasEmpty = RowCount(list) == 0;
  const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
  if (wasEmpty != (RowCount(list) == 0)) InvalidateRect(list, nullptr, TRUE);
  return result;
}

LRESULT ListBehaviourProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, ListBehaviour& b) {
  switch (message) {
    case WM_NOTIFY:
      if (b.fixed && b.header && reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == b.header)
        return OnHeaderNotify(list, b, wParam, lParam);
      break;
    case WM_PAINT:
      if (b.hasEmptyText && RowCount(list) == 0) {
        PaintEmptyText(list, b);
        return 0;
      }
      break;
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS:
      if (b.hasEmptyText) return ChangeRows(list, message, wParam, lParam);
      break;
    case WM_WINDOWPOSCHANGED:
      if (b.fittedColumn >= 0) {
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        FitColumn(list, b);
        InvalidateRect(list, nullptr, TRUE);
        return result;
      }
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

// Never the sizing cursor over a divider.
LRESULT HeaderBehaviourProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR) return TRUE;
  return DefSubclassProc(header, message, wParam, lParam);
}
}  // namespace

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int CurrentRow(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
}

int SelectedRow(HWND list) {
  const int focused = CurrentRow(list);
  if (focused >= 0 && ListView_GetItemState(list, focused, LVIS_SELECTED)) return focused;
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void AddColumn(HWND list, int index, const char* caption, int width, int alignment) {
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = alignment == 2 ? LVCFMT_CENTER : alignment == 3 ? LVCFMT_RIGHT : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<char*>(caption);
  column.iSubItem = index;
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetCellText(HWND list, int row, int column, const char* text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text);
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string CellText(HWND list, int row, int column, int capacity) {
  if (capacity < 1) return {};
  std::string text(static_cast<std::size_t>(capacity), '\0');
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = capacity;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  // Some list views fill the whole buffer without a terminator.
  text[static_cast<std::size_t>(capacity) - 1] = '\0';
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::vector<std::string> RowCells(HWND list, std::span<const int> columns, int capacity) {
  std::vector<std::string> cells;
  // Under Wine every message through a subclass looks the subclass up in the
  // server three times; thousands of reads are made past the behaviour.
  WithoutBehaviour<ListBehaviour, ListBehaviourProc>(list, [&] {
    const int rows = RowCount(list);
    cells.reserve(static_cast<std::size_t>(rows) * columns.size());
    for (int row = 0; row < rows; ++row)
      for (int column : columns) cells.push_back(CellText(list, row, column, capacity));
  });
  return cells;
}

int AppendRow(HWND list, const char* firstCell) {
  static ULONG_PTR nextKey = 0;
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = RowCount(list);
  item.pszText = const_cast<char*>(firstCell);
  item.lParam = static_cast<LPARAM>(nextKey++);
  return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SortRows(HWND list, const std::function<int(int, int)>& order) {
  // The keys are read, never written: a change of an item sends its parent
  // notifications, which would cost more than the sort.
  WithoutBehaviour<ListBehaviour, ListBehaviourProc>(list, [&] {
    RowSort sort{{}, order};
    const int count = RowCount(list);
    std::vector<LPARAM> keys(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) keys[static_cast<std::size_t>(row)] = RowKey(list, row);
    sort.positions.resize(keys.empty() ? 0 : static_cast<std::size_t>(*std::max_element(keys.begin(), keys.end())) + 1);
    for (int row = 0; row < count; ++row) sort.positions[static_cast<std::size_t>(keys[static_cast<std::size_t>(row)])] = row;
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&sort), reinterpret_cast<LPARAM>(CompareRowPositions));
  });
}

void FixColumns(HWND list, bool passHeaderClicks) {
  ListBehaviour* b = Behaviour(list);
  if (!b) return;
  b->fixed = true;
  b->passHeaderClicks = passHeaderClicks;
  HWND header = ListView_GetHeader(list);
  if (!header || b->header) return;
  b->header = header;
  SubclassControl<HeaderBehaviourProc>(header);
}

void SetFixedColumnWidth(HWND list, int column, int width) {
  ListBehaviour* b = BehaviourOf(list);
  if (b) ++b->ownWidthChanges;
  SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
  if (b) --b->ownWidthChanges;
}

void SetEmptyListText(HWND list, const char* text) {
  ListBehaviour* b = Behaviour(list);
  if (!b) return;
  b->hasEmptyText = true;
  b->emptyText = text;
  b->greyText = GetSysColor(COLOR_GRAYTEXT);
  b->windowBack = GetSysColor(COLOR_WINDOW);
  InvalidateRect(list, nullptr, TRUE);
}

void FitColumnToRows(HWND list, int column, int width) {
  ListBehaviour* b = Behaviour(list);
  if (!b) return;
  b->fittedColumn = column;
  b->fittedWidth = width;
  FitColumn(list, *b);
}

void PaintAlternatingRow(int row, COLORREF firstRowBack, COLORREF& text, COLORREF& back) {
  text = RGB(0, 0, 0);
  back = row % 2 ? RGB(255, 255, 255) : firstRowBack;
}
