#include "buddies/buddy_dialogs.h"

#include <windowsx.h>
#include <commctrl.h>

#include <string>

#include "buddies/buddies_view.h"
#include "buddies/buddy_store.h"
#include "formats/buddy_file.h"
#include "resource.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/dialog_fields.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/listview.h"

namespace {
constexpr int NameLimit = 25;

void PrepareFields(HWND dialog, int nameId, int dateId) {
  FollowDpiChanges(dialog);
  SendDlgItemMessageA(dialog, nameId, EM_LIMITTEXT, NameLimit, 0);
  SetUpDatePicker(GetDlgItem(dialog, dateId));
}

// The picker's date, without its time of day.
SysTime PickerDate(HWND dialog, int dateId) {
  const SYSTEMTIME picked = PickerTime(dialog, dateId);
  return MakeDate(picked.wYear, picked.wMonth, picked.wDay);
}

// What the name edit holds, without the characters the file cannot keep.
std::string TypedName(HWND dialog, int nameId) {
  return CleanBuddyName(DialogItemText(dialog, nameId, BuddyCellCapacity));
}

bool RefuseBlankName(HWND dialog, const std::string& name) {
  if (!name.empty()) return false;
  BuddyMessageBox(dialog, "The buddy name cannot be blank", "Fumora", MB_OK | MB_ICONERROR);
  return true;
}

// After an add or a change the list is in name order, whatever the user's
// sort, with the buddy's row in view; the next heading click starts from
// the order on show.
void ShowInNameOrder(uint32_t id) {
  BuddySortState = SortByName;
  SortBuddies(BuddyList, SortByName);
  const int row = FindBuddyRow(BuddyList, id);
  if (row >= 0) ListView_EnsureVisible(BuddyList, row, FALSE);
  InvalidateRect(BuddyList, nullptr, TRUE);
}

// ---- Add New Buddy ----

BOOL OnAddInitDialog(HWND dialog, HWND, LPARAM) {
  PrepareFields(dialog, IDC_ADD_BUDDY_NAME, IDC_ADD_BUDDY_DATE);
  return TRUE;
}

void OnAdd(HWND dialog) {
  const std::string name = TypedName(dialog, IDC_ADD_BUDDY_NAME);
  if (RefuseBlankName(dialog, name) || !BuddyList) return;
  const SysTime date = PickerDate(dialog, IDC_ADD_BUDDY_DATE);
  const int row = AppendBuddyRow(BuddyList, date, name);
  if (row < 0) return;
  const BuddyEntry buddy = BuddyAt(BuddyList, row);
  SaveBuddies(BuddyList, dialog);
  TellBuddyAdded(buddy);
  ShowInNameOrder(buddy.id);
  EndDialog(dialog, 0);
}

void OnAddCommand(HWND dialog, int id, HWND, UINT) {
  if (id == IDOK) OnAdd(dialog);
  if (id == IDCANCEL) EndDialog(dialog, 0);
}

// ---- Edit Buddy ----

struct EditState {
  int row = -1;
  BuddyEntry loaded;
  bool filling = true;
  bool datePicked = false;  // the user changed the picker's date
};

BOOL OnEditInitDialog(HWND dialog, HWND, LPARAM) {
  EditState& editing = AttachDialogState<EditState>(dialog);
  PrepareFields(dialog, IDC_EDIT_BUDDY_NAME, IDC_EDIT_BUDDY_DATE);
  // Only the row the user sees selected is edited; with none, nothing shows.
  editing.row = BuddyList ? SelectedRow(BuddyList) : -1;
  if (editing.row < 0) {
    EndDialog(dialog, 0);
    return FALSE;
  }
  editing.loaded = BuddyAt(BuddyList, editing.row);
  SetDlgItemTextA(dialog, IDC_EDIT_BUDDY_NAME, editing.loaded.name.c_str());
  // A date outside the picker's range leaves the picker on its own date;
  // it is not taken unless the user picks one, and the user is told.
  if (!ShowInPicker(GetDlgItem(dialog, IDC_EDIT_BUDDY_DATE), editing.loaded.date))
    PostMessageA(dialog, TellDateOutsidePicker, 0, 0);
  editing.filling = false;
  return TRUE;
}

void ApplyNewDate(const EditState& editing, const BuddyEntry& buddy) {
  SetBuddyDate(BuddyList, editing.row, buddy.date);
  TellBuddyRemoved(buddy.id);
  TellBuddyAdded(buddy);
}

void OnApply(HWND dialog, const EditState& editing) {
  const bool nameTyped = SendDlgItemMessageA(dialog, IDC_EDIT_BUDDY_NAME, EM_GETMODIFY, 0, 0) != 0;
  BuddyEntry buddy = editing.loaded;
  if (nameTyped) buddy.name = TypedName(dialog, IDC_EDIT_BUDDY_NAME);
  if (RefuseBlankName(dialog, buddy.name) || !BuddyList) return;
  const SysTime picked = PickerDate(dialog, IDC_EDIT_BUDDY_DATE);
  const bool dateChanged = editing.datePicked && DateToDayNumber(picked) != DateToDayNumber(editing.loaded.date);
  if (nameTyped) SetCellText(BuddyList, editing.row, BuddyNameColumn, buddy.name.c_str());
  if (dateChanged) {
    buddy.date = picked;
    ApplyNewDate(editing, buddy);
  } else if (nameTyped) {
    TellBuddyRenamed(buddy.id, buddy.name);
  }
  // The file is written in the order on show: by name.
  ShowInNameOrder(buddy.id);
  SaveBuddies(BuddyList, dialog);
  EndDialog(dialog, 0);
}

void OnEditCommand(HWND dialog, int id, HWND, UINT) {
  const EditState* state = DialogStateOf<EditState>(dialog);
  if (id == IDOK && state) OnApply(dialog, *state);
  if (id == IDCANCEL) EndDialog(dialog, 0);
}

LRESULT OnEditNotify(HWND dialog, int, NMHDR* header) {
  EditState* state = DialogStateOf<EditState>(dialog);
  if (state && header->idFrom == IDC_EDIT_BUDDY_DATE && header->code == DTN_DATETIMECHANGE && !state->filling)
    state->datePicked = true;
  return 0;
}

void OnDateOutsidePicker(HWND dialog) {
  if (const EditState* state = DialogStateOf<EditState>(dialog))
    BuddyMessageBox(dialog, DateOutsidePickerText(state->loaded.date).c_str(), "Fumora", MB_OK | MB_ICONINFORMATION);
}

void OnEditNcDestroy(HWND dialog) { DeleteDialogState<EditState>(dialog); }
}  // namespace

INT_PTR CALLBACK AddBuddyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnAddInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(dialog, wParam, lParam, OnAddCommand);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK EditBuddyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnEditInitDialog);
    case WM_NOTIFY:
      return SetDlgMsgResult(dialog, message, HANDLE_WM_NOTIFY(dialog, wParam, lParam, OnEditNotify));
    case TellDateOutsidePicker:
      OnDateOutsidePicker(dialog);
      return TRUE;
    case WM_COMMAND:
      HANDLE_WM_COMMAND(dialog, wParam, lParam, OnEditCommand);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(dialog, wParam, lParam, OnEditNcDestroy);
      return FALSE;
    default:
      return FALSE;
  }
}

void RunAddBuddyDialog(HWND owner) {
  DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ADD_BUDDY), owner, AddBuddyDialogProc, 0);
}

void RunEditBuddyDialog(HWND owner) {
  DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_EDIT_BUDDY), owner, EditBuddyDialogProc, 0);
}
