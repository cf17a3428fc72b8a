#include "daysahead/days_ahead_view.h"

#include <windowsx.h>
#include <commctrl.h>

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

bool PutRow(int position, const DaysAheadRow& r) {
  // Keyed by the BuddyId: a buddy's rows are found without reading every row.
  const int row = InsertRow(DaysAheadList, position, FormatDecimal(r.day).c_str(), static_cast<LPARAM>(r.id));
  if (row < 0) return false;
  SetCellText(DaysAheadList, row, DateColumn, r.dateText.c_str());
  SetCellText(DaysAheadList, row, NameColumn, r.name.c_str());
  SetCellText(DaysAheadList, row, LabelColumn, r.label.c_str());
  SetCellText(DaysAheadList, row, IdColumn, FormatDecimal(static_cast<int32_t>(r.id)).c_str());
  return true;
}

void AppendRows(const std::vector<DaysAheadRow>& rows) {
  for (const DaysAheadRow& r : rows)
    if (!PutRow(RowCount(DaysAheadList), r)) return;
}

std::string Cell(int row, int column) { return CellText(DaysAheadList, row, column, BuddyCellCapacity); }

// What the order of the rows reads of row `row`.
DaysAheadRow OrderOf(int row) {
  DaysAheadRow r;
  r.day = ParseDecimal(Cell(row, DayColumn));
  r.name = Cell(row, NameColumn);
  r.id = static_cast<uint32_t>(ParseDecimal(Cell(row, IdColumn)));
  return r;
}

// Each row goes into its place in the ordered list, found by halving: a
// change of one buddy reads a few rows, not all of them.
void InsertInOrder(const std::vector<DaysAheadRow>& rows) {
  for (const DaysAheadRow& r : rows) {
    int first = 0, last = RowCount(DaysAheadList);
    while (first < last) {
      const int middle = first + (last - first) / 2;
      if (DaysAheadRowBefore(OrderOf(middle), r, UserTextOrder))
        first = middle + 1;
      else
        last = middle;
    }
    if (!PutRow(first, r)) return;
  }
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
LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  const DayNumber day = ParseDecimal(CellText(draw->nmcd.hdr.hwndFrom, row, DayColumn, 16));
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

INT_PTR OnNotify(HWND view, NMHDR* header) {
  if (header->idFrom != IDC_DAYS_AHEAD_LIST || header->code != NM_CUSTOMDRAW) return FALSE;
  return SetDlgMsgResult(view, WM_NOTIFY, OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
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
  SendMessageA(DaysAheadList, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(DaysAheadList);
  AppendRows(DaysAheadRows(buddies, state.periodStart, state.periodDays, UserTextOrder));
  SendMessageA(DaysAheadList, WM_SETREDRAW, TRUE, 0);
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
  const ViewState& state = Shown();
  InsertInOrder(DaysAheadRows({&buddy, 1}, state.periodStart, state.periodDays, UserTextOrder));
}

void RemoveDaysAheadRows(uint32_t id) {
  if (!DaysAheadList) return;
  for (int row = FindRowByKey(DaysAheadList, static_cast<LPARAM>(id)); row >= 0;
       row = FindRowByKey(DaysAheadList, static_cast<LPARAM>(id), row - 1))
    ListView_DeleteItem(DaysAheadList, row);
  InvalidateRect(DaysAheadList, nullptr, TRUE);
}

// A new name moves the buddy's rows within their days: taken out and put
// back in their places.
void RenameDaysAheadRows(uint32_t id, const std::string& name) {
  if (!DaysAheadList) return;
  std::vector<DaysAheadRow> renamed;
  for (int row = FindRowByKey(DaysAheadList, static_cast<LPARAM>(id)); row >= 0;
       row = FindRowByKey(DaysAheadList, static_cast<LPARAM>(id), row - 1)) {
    DaysAheadRow r = OrderOf(row);
    r.dateText = Cell(row, DateColumn);
    r.label = Cell(row, LabelColumn);
    r.name = name;
    renamed.push_back(std::move(r));
    ListView_DeleteItem(DaysAheadList, row);
  }
  InsertInOrder(renamed);
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
