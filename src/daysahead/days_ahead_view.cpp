#include "daysahead/days_ahead_view.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "buddies/buddies_view.h"
#include "buddies/buddy_store.h"
#include "engine/general_options.h"
#include "engine/savings.h"
#include "formats/settings_records.h"
#include "resource.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/listview.h"
#include "win/scoped.h"

HWND DaysAheadViewWindow;
HWND DaysAheadList;

namespace {
enum DaysAheadColumn { DayColumn, DateColumn, NameColumn, LabelColumn, IdColumn };
constexpr int AnniversaryWidth = 94;

struct ViewState {
  SysTime periodStart;  // the first day of the last rebuild's period
  uint32_t periodDays = 0;
  // What the list shows, in its order (day, name, BuddyId): the list itself
  // holds no rows (LVS_OWNERDATA) and asks for their texts as it paints.
  std::vector<DaysAheadRow> rows;
  ScopedBrush todayBrush;
  ScopedBrush tomorrowBrush;
};

// The view's state; there whenever DaysAheadList is set.
ViewState& Shown() { return *DialogStateOf<ViewState>(DaysAheadViewWindow); }

void AddColumns(HWND list) {
  AddColumn(list, DayColumn, "Date", 0, 1);
  AddColumn(list, DateColumn, "Date", Scaled(list, 75), 1);
  AddColumn(list, NameColumn, "Buddy Name", Scaled(list, 145), 1);
  AddColumn(list, LabelColumn, "Anniversary", Scaled(list, AnniversaryWidth) - ScrollBarWidth, 1);
  AddColumn(list, IdColumn, "Anniversary", 0, 1);
}

std::string CellOf(const DaysAheadRow& r, int column) {
  switch (column) {
    case DayColumn: return FormatDecimal(r.day);
    case DateColumn: return r.dateText;
    case NameColumn: return r.name;
    case LabelColumn: return r.label;
    case IdColumn: return FormatDecimal(static_cast<int32_t>(r.id));
  }
  return {};
}

// The rows the user had selected, the focused one and the anchor of a Shift
// selection stay on their rows while other rows come and go around them.
struct RowMarks {
  std::vector<int> selected;
  int focused = -1;
  int anchor = -1;
};

RowMarks TakeMarks(HWND list) {
  RowMarks marks;
  if (ListView_GetSelectedCount(list) > 0)
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
      marks.selected.push_back(row);
  marks.focused = CurrentRow(list);
  marks.anchor = ListView_GetSelectionMark(list);
  return marks;
}

// Row by row: clearing the marks of every row at once would visit them all.
void PutMarks(HWND list, const RowMarks& marks, const RowMoves& moves) {
  for (int row : marks.selected) ListView_SetItemState(list, row, 0, LVIS_SELECTED);
  if (marks.focused >= 0) ListView_SetItemState(list, marks.focused, 0, LVIS_FOCUSED);
  for (int row : marks.selected)
    if (const int moved = MovedRow(row, moves); moved >= 0) ListView_SetItemState(list, moved, LVIS_SELECTED, LVIS_SELECTED);
  if (const int moved = marks.focused >= 0 ? MovedRow(marks.focused, moves) : -1; moved >= 0)
    ListView_SetItemState(list, moved, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_SetSelectionMark(list, marks.anchor >= 0 ? MovedRow(marks.anchor, moves) : -1);
}

// Shows the rows after a change of one buddy's rows: the rows before and after
// them keep their place on the screen, and the user's marks stay on their rows.
void ShowMovedRows(const RowMoves& moves) {
  const RowMarks marks = TakeMarks(DaysAheadList);
  ListView_SetItemCountEx(DaysAheadList, static_cast<int>(Shown().rows.size()), LVSICF_NOSCROLL);
  PutMarks(DaysAheadList, marks, moves);
  InvalidateRect(DaysAheadList, nullptr, TRUE);
}

void MakeLegendBrushes() {
  ViewState& state = Shown();
  state.todayBrush.Reset(CreateSolidBrush(AppColors.todayBack));
  state.tomorrowBrush.Reset(CreateSolidBrush(AppColors.tomorrowBack));
}

BOOL OnInitDialog(HWND view, HWND, LPARAM) {
  AttachDialogState<ViewState>(view);
  DaysAheadViewWindow = view;
  DaysAheadList = GetDlgItem(view, IDC_DAYS_AHEAD_LIST);
  ListView_SetExtendedListViewStyle(DaysAheadList, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  AddColumns(DaysAheadList);
  BuildDaysAhead();
  FixColumns(DaysAheadList);
  SetEmptyListText(DaysAheadList, "No milestones in the period specified");
  FitColumnToRows(DaysAheadList, LabelColumn, Scaled(DaysAheadList, AnniversaryWidth));
  MakeLegendBrushes();
  return FALSE;
}

// Today's and tomorrow's rows in their colours; the others alternate, from
// the row highlight colour on the first row.
LRESULT OnCustomDraw(const ViewState& state, NMLVCUSTOMDRAW* draw) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  if (row < 0 || static_cast<std::size_t>(row) >= state.rows.size()) return CDRF_DODEFAULT;
  const DayNumber day = state.rows[static_cast<std::size_t>(row)].day;
  if (day == TodayDayNumber) {
    draw->clrTextBk = AppColors.todayBack;
    draw->clrText = AppColors.todayText;
  } else if (day == TodayDayNumber + 1) {
    draw->clrTextBk = AppColors.tomorrowBack;
    draw->clrText = AppColors.tomorrowText;
  } else {
    PaintAlternatingRow(row, AppColors.rowHighlightBack, draw->clrText, draw->clrTextBk);
  }
  return CDRF_DODEFAULT;
}

// A cell's text, asked for by the list, cut to the room it offers.
void OnGetDispInfo(const ViewState& state, NMLVDISPINFOA* info) {
  LVITEMA& item = info->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax < 1) return;
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= state.rows.size()) {
    item.pszText[0] = '\0';
    return;
  }
  const std::string text = CellOf(state.rows[static_cast<std::size_t>(item.iItem)], item.iSubItem);
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
  text.copy(item.pszText, length);
  item.pszText[length] = '\0';
}

INT_PTR OnNotify(HWND view, NMHDR* header) {
  const ViewState* state = DialogStateOf<ViewState>(view);
  if (header->idFrom != IDC_DAYS_AHEAD_LIST || !state) return FALSE;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return SetDlgMsgResult(view, WM_NOTIFY, OnCustomDraw(*state, reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
    case LVN_GETDISPINFOA:
      OnGetDispInfo(*state, reinterpret_cast<NMLVDISPINFOA*>(header));
      return TRUE;
  }
  return FALSE;
}

// The legend: its swatches in the day colours, its texts in the tooltip
// colour on the button-shadow band.
HBRUSH OnCtlColorStatic(HWND view, HDC dc, HWND control, int) {
  const ViewState* state = DialogStateOf<ViewState>(view);
  switch (GetDlgCtrlID(control)) {
    case IDC_LEGEND_TODAY_SWATCH:
      return state ? state->todayBrush.get() : nullptr;
    case IDC_LEGEND_TOMORROW_SWATCH:
      return state ? state->tomorrowBrush.get() : nullptr;
    case IDC_LEGEND_BAND:
    case IDC_LEGEND_TODAY:
    case IDC_LEGEND_TOMORROW:
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOBK));
      return GetSysColorBrush(COLOR_BTNSHADOW);
  }
  return nullptr;
}

void OnClose(HWND view) { DestroyWindow(view); }

void OnDestroy(HWND view) {
  if (view != DaysAheadViewWindow) return;
  DaysAheadViewWindow = nullptr;
  DaysAheadList = nullptr;
}

// The legend's swatches, destroyed after the view's WM_DESTROY, had the brushes until now.
void OnNcDestroy(HWND view) { DeleteDialogState<ViewState>(view); }
}  // namespace

void BuildDaysAhead() {
  if (!DaysAheadList) return;
  ViewState& state = Shown();
  state.periodStart = MakeDate(LocalNow.wYear, LocalNow.wMonth, LocalNow.wDay);
  state.periodDays = LookAheadDaysInRange();
  const std::vector<BuddyEntry> buddies = BuddyList ? BuddyEntries(BuddyList) : std::vector<BuddyEntry>{};
  // A new list: no selection, no focus, scrolled to its top.
  ListView_DeleteAllItems(DaysAheadList);
  state.rows = DaysAheadRows(buddies, state.periodStart, state.periodDays, UserTextOrder);
  ListView_SetItemCountEx(DaysAheadList, static_cast<int>(state.rows.size()), 0);
  InvalidateRect(DaysAheadList, nullptr, TRUE);
}

void RefreshDaysAheadColours() {
  if (!DaysAheadViewWindow) return;
  MakeLegendBrushes();
  InvalidateRect(DaysAheadViewWindow, nullptr, TRUE);
  InvalidateRect(DaysAheadList, nullptr, TRUE);
}

void AddDaysAheadRows(const BuddyEntry& buddy) {
  if (!DaysAheadList) return;
  ViewState& state = Shown();
  RowMoves moves;
  InsertDaysAheadRows(state.rows, DaysAheadRows({&buddy, 1}, state.periodStart, state.periodDays, UserTextOrder),
                      UserTextOrder, moves);
  ShowMovedRows(moves);
}

void RemoveDaysAheadRows(uint32_t id) {
  if (!DaysAheadList) return;
  RowMoves moves;
  TakeBuddyRows(Shown().rows, id, moves);
  ShowMovedRows(moves);
}

// A new name moves the buddy's rows within their days: taken out and put
// back in their places.
void RenameDaysAheadRows(uint32_t id, const std::string& name) {
  if (!DaysAheadList) return;
  std::vector<DaysAheadRow>& rows = Shown().rows;
  RowMoves moves;
  std::vector<DaysAheadRow> renamed = TakeBuddyRows(rows, id, moves);
  for (DaysAheadRow& r : renamed) r.name = name;
  InsertDaysAheadRows(rows, std::move(renamed), UserTextOrder, moves);
  ShowMovedRows(moves);
}

INT_PTR CALLBACK DaysAheadViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  if (TellBuddyFileOnShow(view, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(view, wParam, lParam, OnInitDialog);
    case WM_NOTIFY:
      return OnNotify(view, reinterpret_cast<NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
      return HANDLE_WM_CTLCOLORSTATIC(view, wParam, lParam, OnCtlColorStatic);
    case WM_CLOSE:
      HANDLE_WM_CLOSE(view, wParam, lParam, OnClose);
      return TRUE;
    case WM_DESTROY:
      HANDLE_WM_DESTROY(view, wParam, lParam, OnDestroy);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(view, wParam, lParam, OnNcDestroy);
      return FALSE;
    default:
      return FALSE;
  }
}

HWND CreateDaysAheadView(HWND parent) {
  HWND view = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_DAYS_AHEAD), parent, DaysAheadViewProc, 0);
  if (view) ShowWindow(view, SW_HIDE);
  return view;
}
