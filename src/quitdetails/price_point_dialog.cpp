#include "quitdetails/price_point_dialog.h"

#include <windowsx.h>
#include <commctrl.h>

#include "engine/calendar.h"
#include "engine/first_run_checks.h"
#include "engine/price_rows.h"
#include "formats/price_points.h"
#include "locale/formats.h"
#include "quitdetails/price_list.h"
#include "resource.h"
#include "util/systime_win32.h"
#include "win/app_state.h"
#include "win/dialog_fields.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/listview.h"
#include "win/number_edit.h"

namespace {
constexpr INT_PTR Untouched = 0;
constexpr INT_PTR RowsChanged = 1;

struct PricePointState {
  HWND list = nullptr;
  PricePointMode mode = PricePointMode::Add;
  int row = -1;
  PricePoint original{};  // edit mode: the row as it was
  // The picker's date counts only once the user has changed it: a Day that
  // it cannot show (outside its range) stays as it was.
  bool dateChanged = false;
  bool ready = false;
};

PricePointState* StateOf(HWND dialog) { return DialogStateOf<PricePointState>(dialog); }

SysTime Date(const PricePointState& state) {
  SysTime date;
  DayNumberToDate(static_cast<DayNumber>(state.original.Day), date);
  return date;
}

void ShowRow(HWND dialog, const PricePointState& state) {
  const SysTime date = Date(state);
  const PricePoint& point = state.original;
  if (!ShowInPicker(GetDlgItem(dialog, IDC_PP_DATE), date)) PostMessageA(dialog, TellDateOutsidePicker, 0, 0);
  SetDlgItemTextA(dialog, IDC_PP_PRICE, PriceFieldText(point.Price).c_str());
}

// The caller's state is the dialog's to start from.
BOOL OnInitDialog(HWND dialog, HWND, LPARAM param) {
  PricePointState& state = AttachDialogState<PricePointState>(dialog, *reinterpret_cast<const PricePointState*>(param));
  FollowDpiChanges(dialog);
  if (state.mode == PricePointMode::Edit) {
    SetWindowTextA(dialog, "Edit Price Point");
    SetDlgItemTextA(dialog, IDOK, "Change");
  }
  SetUpDatePicker(GetDlgItem(dialog, IDC_PP_DATE));
  ReadCurrencySymbol();
  SetDlgItemTextA(dialog, IDC_PP_CURRENCY, CurrencySymbol.c_str());
  MakePriceEdit(GetDlgItem(dialog, IDC_PP_PRICE));
  // Add mode: the picker's own default, today, and an empty price.
  if (state.mode == PricePointMode::Edit) ShowRow(dialog, state);
  state.ready = true;
  SetFocus(GetDlgItem(dialog, IDC_PP_PRICE));
  return FALSE;
}

uint32_t ChosenDay(HWND dialog, const PricePointState& state) {
  if (state.mode == PricePointMode::Edit && !state.dateChanged) return state.original.Day;
  return static_cast<uint32_t>(DateToDayNumber(ToSysTime(PickerTime(dialog, IDC_PP_DATE))));
}

void OnConfirm(HWND dialog) {
  PricePointState& state = *StateOf(dialog);
  uint32_t price = 0;
  if (!ReadPrice(DialogItemText(dialog, IDC_PP_PRICE, 256), price)) {
    ReportEntryFault(dialog, QuitEntryMessage(QuitEntryFault::Price));
    return;
  }
  const uint32_t day = ChosenDay(dialog, state);
  const int row = state.mode == PricePointMode::Add ? AddPriceRow(state.list, day, price)
                                                     : UpdatePriceRow(state.list, state.row, day, price);
  FitPriceColumns(state.list);
  FocusPriceRow(state.list, row);
  EndDialog(dialog, RowsChanged);
}

void OnCommand(HWND dialog, int id, HWND, UINT code) {
  if (code != BN_CLICKED) return;
  if (id == IDOK) OnConfirm(dialog);
  if (id == IDCANCEL) EndDialog(dialog, Untouched);
}

LRESULT OnNotify(HWND dialog, int, const NMHDR* header) {
  PricePointState* state = StateOf(dialog);
  if (state && state->ready && header->idFrom == IDC_PP_DATE && header->code == DTN_DATETIMECHANGE)
    state->dateChanged = true;
  return 0;
}

void OnClose(HWND dialog) { EndDialog(dialog, Untouched); }

void OnNcDestroy(HWND dialog) { DeleteDialogState<PricePointState>(dialog); }
}  // namespace

INT_PTR CALLBACK PricePointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand);
      return TRUE;
    case WM_NOTIFY:
      return SetDlgMsgResult(dialog, message, HANDLE_WM_NOTIFY(dialog, wParam, lParam, OnNotify));
    case TellDateOutsidePicker:
      ReportEntryFault(dialog, DateOutsidePickerText(Date(*StateOf(dialog))).c_str());
      return TRUE;
    case WM_CLOSE:
      HANDLE_WM_CLOSE(dialog, wParam, lParam, OnClose);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(dialog, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

bool RunPricePointDialog(HWND owner, HWND list, PricePointMode mode) {
  PricePointState state;
  state.list = list;
  state.mode = mode;
  if (mode == PricePointMode::Edit) {
    state.row = CurrentRow(list);
    if (!PriceRowAt(list, state.row, state.original)) return false;
  }
  return DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_PRICE_POINT), owner, PricePointDialogProc,
                         reinterpret_cast<LPARAM>(&state)) == RowsChanged;
}
