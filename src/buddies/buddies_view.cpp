#include "buddies/buddies_view.h"

#include <windowsx.h>
#include <commctrl.h>

#include <string>

#include "buddies/buddy_dialogs.h"
#include "buddies/buddy_store.h"
#include "formats/settings_records.h"
#include "resource.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/dpi.h"
#include "win/listview.h"

HWND BuddiesViewWindow;
HWND BuddyList;
uint32_t BuddySortState = SortByName;

namespace {
constexpr int AnniversaryWidth = 94;

void AddColumns(HWND list) {
  AddColumn(list, BuddyFlagColumn, "Buddy Name", 0, 1);
  AddColumn(list, BuddyNameColumn, "Buddy Name", Scaled(list, 144), 1);
  AddColumn(list, BuddyDateColumn, "Quit Date", Scaled(list, 76), 2);
  AddColumn(list, BuddyCompactColumn, "Comp Date", 0, 1);
  AddColumn(list, BuddyLabelColumn, "Anniversary", Scaled(list, AnniversaryWidth) - ScrollBarWidth, 1);
  AddColumn(list, BuddyIdColumn, "Anniversary", 0, 1);
}

BOOL OnInitDialog(HWND view, HWND, LPARAM) {
  BuddiesViewWindow = view;
  BuddyList = GetDlgItem(view, IDC_BUDDY_LIST);
  NextBuddyId = 0;
  BuddySortState = SortByName;
  AddColumns(BuddyList);
  ListView_SetExtendedListViewStyle(BuddyList, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  LoadBuddies(BuddyList);
  FixColumns(BuddyList, true);
  SetEmptyListText(BuddyList, "No buddies entered");
  FitColumnToRows(BuddyList, BuddyLabelColumn, Scaled(BuddyList, AnniversaryWidth));
  return FALSE;
}

// A row with today's anniversary in the anniversary colours; the others
// alternate, from the row highlight colour on the first row.
LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  if (ParseDecimal(CellText(draw->nmcd.hdr.hwndFrom, row, BuddyFlagColumn, 8)) == 1) {
    draw->clrTextBk = AppColors.anniversaryBack;
    draw->clrText = AppColors.anniversaryText;
  } else {
    PaintAlternatingRow(row, AppColors.rowHighlightBack, draw->clrText, draw->clrTextBk);
  }
  return CDRF_DODEFAULT;
}

void OnColumnClick(const NMLISTVIEW* click) {
  BuddySortState = NextBuddySortState(BuddySortState, click->iSubItem);
  SortBuddies(BuddyList, BuddySortState);
}

// Only a double-click on a row opens the buddy; below the last row, nothing.
void OnDoubleClick(HWND view, const NMITEMACTIVATE* activate) {
  LVHITTESTINFO hit{};
  hit.pt = activate->ptAction;
  if (SendMessageA(BuddyList, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0) return;
  if (RowCount(BuddyList) > 0) RunEditBuddyDialog(view);
}

INT_PTR OnNotify(HWND view, NMHDR* header) {
  if (header->idFrom != IDC_BUDDY_LIST) return FALSE;
  LRESULT result = 0;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
      break;
    case LVN_COLUMNCLICK:
      OnColumnClick(reinterpret_cast<NMLISTVIEW*>(header));
      break;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) DeleteCurrentBuddy();
      break;
    case NM_DBLCLK:
      OnDoubleClick(view, reinterpret_cast<NMITEMACTIVATE*>(header));
      break;
    default:
      return FALSE;
  }
  return SetDlgMsgResult(view, WM_NOTIFY, result);
}

// Only clicks on the buttons act; a dialog key's IDOK or IDCANCEL is no click.
void OnCommand(HWND view, int id, HWND control, UINT code) {
  if (!control || code != BN_CLICKED) return;
  switch (id) {
    case IDC_BUDDY_NEW:
      RunAddBuddyDialog(view);
      break;
    case IDC_BUDDY_CHANGE:
      RunEditBuddyDialog(view);
      break;
    case IDC_BUDDY_DELETE:
      DeleteCurrentBuddy();
      break;
  }
}

void OnClose(HWND view) { DestroyWindow(view); }

void OnDestroy(HWND view) {
  if (view != BuddiesViewWindow) return;
  BuddiesViewWindow = nullptr;
  BuddyList = nullptr;
}
}  // namespace

void DeleteCurrentBuddy() {
  if (!BuddyList) return;
  const int row = SelectedRow(BuddyList);
  if (row < 0) return;
  const BuddyEntry buddy = BuddyAt(BuddyList, row);
  const std::string question = "Are you sure that you wish to delete the data for " + buddy.name;
  if (BuddyMessageBox(BuddyList, question.c_str(), "Delete Warning", MB_YESNO | MB_ICONSTOP) != IDYES) return;
  TellBuddyRemoved(buddy.id);
  ListView_DeleteItem(BuddyList, row);
  SaveBuddies(BuddyList, BuddiesViewWindow);
}

void RefreshBuddyAnniversaries() {
  if (!BuddyList) return;
  const int count = RowCount(BuddyList);
  for (int row = 0; row < count; ++row)
    SetBuddyAnniversary(BuddyList, row, ParseCompactDate(CellText(BuddyList, row, BuddyCompactColumn, 16)));
  InvalidateRect(BuddyList, nullptr, TRUE);
}

INT_PTR CALLBACK BuddiesViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  if (TellBuddyFileOnShow(view, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(view, wParam, lParam, OnInitDialog);
    case WM_NOTIFY:
      return OnNotify(view, reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
      HANDLE_WM_COMMAND(view, wParam, lParam, OnCommand);
      return TRUE;
    case WM_CLOSE:
      HANDLE_WM_CLOSE(view, wParam, lParam, OnClose);
      return TRUE;
    case WM_DESTROY:
      HANDLE_WM_DESTROY(view, wParam, lParam, OnDestroy);
      return TRUE;
    default:
      return FALSE;
  }
}

HWND CreateBuddiesView(HWND parent) {
  HWND view = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_BUDDIES), parent, BuddiesViewProc, 0);
  if (view) ShowWindow(view, SW_HIDE);
  return view;
}
