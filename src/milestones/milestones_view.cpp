#include "milestones/milestones_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/milestones.h"
#include "engine/savings.h"
#include "formats/settings_records.h"
#include "resource.h"
#include "util/systime_win32.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/listview.h"
#include "win/scoped.h"

HWND MilestonesViewWindow;
HWND MilestonesList;

namespace {
constexpr UINT Unmarked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT Marked = INDEXTOSTATEIMAGEMASK(2);
// How far below the next milestone the list is scrolled into view.
constexpr int RowsShownBelowNext = 10;

// The list is filled when the view is first shown, not at start-up: the
// first paint of the main window does not need it. The view's own template
// shows it once while it is being created; that show does not count.
enum class ListState { Creating, Unfilled, Filled };

struct MilestonesState {
  ScopedFont lineFont;
  ListState fill = ListState::Creating;
  // The check boxes belong to the program: while it sets them, a change
  // passes; otherwise (the space bar) it is refused.
  bool settingMarks = false;
};

MilestonesState* StateOf(HWND view) { return DialogStateOf<MilestonesState>(view); }

// While it lives, the program, not the user, sets the list's check boxes.
class SettingMarks {
 public:
  explicit SettingMarks(HWND list) : state_(StateOf(GetParent(list))) {
    if (state_) state_->settingMarks = true;
  }
  SettingMarks(const SettingMarks&) = delete;
  SettingMarks& operator=(const SettingMarks&) = delete;
  ~SettingMarks() {
    if (state_) state_->settingMarks = false;
  }

 private:
  MilestonesState* state_;
};

// 16 pixels at 96 DPI.
ScopedFont MakeLineFont(HWND view) {
  return ScopedFont(CreateFontA(Scaled(view, 16), 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "Arial"));
}

void SetRowMark(HWND list, int row, UINT mark) {
  SettingMarks program(list);
  ListView_SetItemState(list, row, mark, LVIS_STATEIMAGEMASK);
}

bool IsMarked(HWND list, int row) {
  return (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == Marked;
}

void AddColumns(HWND list) {
  AddColumn(list, 0, "Cdate", 0, 1);
  AddColumn(list, 1, "Milestone Date", Scaled(list, 150), 2);
  AddColumn(list, 2, "Milestone", Scaled(list, 164) - ScrollBarWidth, 1);
}

BOOL OnInitDialog(HWND view, HWND, LPARAM) {
  MilestonesState& state = AttachDialogState<MilestonesState>(view);
  MilestonesViewWindow = view;
  MilestonesList = GetDlgItem(view, IDC_MILESTONES_LIST);
  ListView_SetExtendedListViewStyle(MilestonesList, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP |
                                                         LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
  AddColumns(MilestonesList);
  FixColumns(MilestonesList);
  state.lineFont = MakeLineFont(view);
  SendDlgItemMessageA(view, IDC_MILESTONES_NEXT, WM_SETFONT, reinterpret_cast<WPARAM>(state.lineFont.get()), FALSE);
  return FALSE;
}

// Sent before the view becomes visible, so the rows are there for its first paint.
void OnShowWindow(HWND view, BOOL shown, UINT) {
  const MilestonesState* state = StateOf(view);
  if (shown && state && state->fill == ListState::Unfilled) BuildMilestoneList();
}

// Even row positions (the first, third, ...) in the row highlight colour,
// odd ones white; the marked row in the anniversary colours.
LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      int row = static_cast<int>(draw->nmcd.dwItemSpec);
      if (IsMarked(draw->nmcd.hdr.hwndFrom, row)) {
        draw->clrText = AppColors.anniversaryText;
        draw->clrTextBk = AppColors.anniversaryBack;
      } else {
        PaintAlternatingRow(row, AppColors.rowHighlightBack, draw->clrText, draw->clrTextBk);
      }
      return CDRF_DODEFAULT;
    }
  }
  return CDRF_DODEFAULT;
}

LRESULT OnItemChanging(const MilestonesState& state, const NMLISTVIEW* change) {
  bool markChanges = ((change->uOldState ^ change->uNewState) & LVIS_STATEIMAGEMASK) != 0;
  return markChanges && (change->uChanged & LVIF_STATE) && !state.settingMarks ? TRUE : FALSE;
}

LRESULT OnNotify(HWND view, int, NMHDR* header) {
  if (header->idFrom != IDC_MILESTONES_LIST) return 0;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ITEMCHANGING:
      if (const MilestonesState* state = StateOf(view))
        return OnItemChanging(*state, reinterpret_cast<NMLISTVIEW*>(header));
      break;
  }
  return 0;
}

// The line: tooltip-background text on the button-shadow colour.
HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND control, int) {
  if (GetDlgCtrlID(control) != IDC_MILESTONES_NEXT) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOBK));
  return GetSysColorBrush(COLOR_BTNSHADOW);
}

void OnClose(HWND view) { DestroyWindow(view); }

void OnDestroy(HWND view) {
  if (view != MilestonesViewWindow) return;
  MilestonesViewWindow = nullptr;
  MilestonesList = nullptr;
}

// The line below the list, destroyed after the view's WM_DESTROY, had the font until now.
void OnNcDestroy(HWND view) { DeleteDialogState<MilestonesState>(view); }
}  // namespace

int AddMilestoneRow(HWND list, const char* key, const char* date, const char* label) {
  int index = RowCount(list);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  item.iItem = index;
  item.pszText = const_cast<char*>(key);
  item.lParam = index;
  item.state = Unmarked;
  item.stateMask = LVIS_STATEIMAGEMASK;
  {
    SettingMarks program(list);
    index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  }
  if (index < 0) return index;
  SetCellText(list, index, 1, date);
  SetCellText(list, index, 2, label);
  return index;
}

void BuildMilestoneList() {
  HWND list = MilestonesList;
  MilestonesState* state = StateOf(MilestonesViewWindow);
  if (!list || !state) return;
  state->fill = ListState::Filled;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  std::vector<MilestoneRow> rows = MilestoneRows(QuitDetails.quitTime, QuitDetails.cigsPerDay);
  for (const MilestoneRow& row : rows)
    AddMilestoneRow(list, FormatDecimal(row.day).c_str(), row.date.c_str(), row.label.c_str());

  RefreshClockValues(LocalTimeNow());
  int next = NextMilestoneRow(rows, TodayDayNumber);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  if (next >= 0) {
    // Show the rows after the next one too; near the end, the last row.
    int below = next + RowsShownBelowNext;
    if (below >= static_cast<int>(rows.size())) below = static_cast<int>(rows.size()) - 1;
    ListView_EnsureVisible(list, below, FALSE);
    SetRowMark(list, next, Marked);
  }
  if (MilestonesViewWindow) SetDlgItemTextA(MilestonesViewWindow, IDC_MILESTONES_NEXT, NextMilestoneLine(rows, next).c_str());
  InvalidateRect(list, nullptr, TRUE);
}

INT_PTR CALLBACK MilestonesViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(view, wParam, lParam, OnInitDialog);
    case WM_SHOWWINDOW:
      HANDLE_WM_SHOWWINDOW(view, wParam, lParam, OnShowWindow);
      return FALSE;
    case WM_NOTIFY:
      return SetDlgMsgResult(view, message, HANDLE_WM_NOTIFY(view, wParam, lParam, OnNotify));
    case WM_CTLCOLORSTATIC:
      return HANDLE_WM_CTLCOLORSTATIC(view, wParam, lParam, OnCtlColorStatic);
    case WM_CLOSE:
      HANDLE_WM_CLOSE(view, wParam, lParam, OnClose);
      return TRUE;
    case WM_DESTROY:
      HANDLE_WM_DESTROY(view, wParam, lParam, OnDestroy);
      return FALSE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(view, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

HWND CreateMilestonesView(HWND parent) {
  HWND view = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MILESTONES), parent, MilestonesViewProc, 0);
  if (!view) return nullptr;
  ShowWindow(view, SW_HIDE);
  MilestonesState* state = StateOf(view);
  if (state && state->fill == ListState::Creating) state->fill = ListState::Unfilled;
  return view;
}
