#include "quitdetails/quit_details_dialog.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/calendar.h"
#include "engine/first_run_checks.h"
#include "engine/price_rows.h"
#include "engine/savings.h"
#include "engine/stats_view_texts.h"
#include "formats/settings_records.h"
#include "locale/formats.h"
#include "quitdetails/price_list.h"
#include "quitdetails/price_point_dialog.h"
#include "quitdetails/price_point_file.h"
#include "resource.h"
#include "settings/registry_store.h"
#include "util/systime_win32.h"
#include "win/app_state.h"
#include "win/dialog_fields.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/file_io.h"
#include "win/listview.h"
#include "win/number_edit.h"
#include "win/scoped.h"

namespace {
constexpr INT_PTR Discarded = 0;
constexpr INT_PTR Stored = 1;
constexpr char Title[] = "Edit Quit Details";
// Posted at opening: what became of pp.dat is told over the dialog, not before it shows.
constexpr UINT TellPricePointLoss = WM_APP + 1;

// Lives from WM_INITDIALOG to WM_NCDESTROY, so every way out of the dialog
// deletes the banner font, once.
struct QuitDetailsState {
  HWND list = nullptr;
  HWND previousTarget = nullptr;
  ScopedFont bannerFont;
  // The pickers' values count only once the user has changed them: a stored
  // quit date that they cannot show (outside their range) stays as it was.
  bool dateChanged = false;
  bool timeChanged = false;
  bool ready = false;
};

QuitDetailsState* StateOf(HWND dialog) { return DialogStateOf<QuitDetailsState>(dialog); }

void FillPriceRows(HWND list) {
  SetUpPriceList(list);
  const uint32_t count = std::min(PricePoints.count, PricePointCapacity);
  for (uint32_t i = 0; i < count; ++i) AddPriceRow(list, PricePoints.points[i].Day, PricePoints.points[i].Price);
  FitPriceColumns(list);
}

void ShowQuitDetails(HWND dialog) {
  const QuitDetailsRecord& details = QuitDetails;
  SetUpDatePicker(GetDlgItem(dialog, IDC_QD_DATE));
  ShowInPicker(GetDlgItem(dialog, IDC_QD_DATE), details.quitTime);
  ShowInPicker(GetDlgItem(dialog, IDC_QD_TIME), details.quitTime);
  SendDlgItemMessageA(dialog, IDC_QD_NAME, EM_LIMITTEXT, 30, 0);
  SetDlgItemTextA(dialog, IDC_QD_NAME, std::string(details.name, strnlen(details.name, sizeof details.name)).c_str());
  SendDlgItemMessageA(dialog, IDC_QD_PER_DAY, EM_LIMITTEXT, 3, 0);
  MakeDigitsOnlyEdit(GetDlgItem(dialog, IDC_QD_PER_DAY));
  SetDlgItemTextA(dialog, IDC_QD_PER_DAY, std::to_string(details.cigsPerDay).c_str());
  MakeDigitsOnlyEdit(GetDlgItem(dialog, IDC_QD_PER_PACK));
  SetDlgItemTextA(dialog, IDC_QD_PER_PACK, std::to_string(details.cigsPerPack).c_str());
  MakePriceEdit(GetDlgItem(dialog, IDC_QD_PRICE));
  SetDlgItemTextA(dialog, IDC_QD_PRICE, PriceFieldText(details.price).c_str());
}

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
  QuitDetailsState* state = &AttachDialogState<QuitDetailsState>(dialog);
  state->previousTarget = DialogMessageTarget;
  DialogMessageTarget = dialog;

  state->list = GetDlgItem(dialog, IDC_QD_PRICE_LIST);
  FillPriceRows(state->list);

  SetWindowTextA(dialog, Title);
  SetDlgItemTextA(dialog, IDC_QD_BANNER, Title);
  ReadCurrencySymbol();
  SetDlgItemTextA(dialog, IDC_QD_CURRENCY, CurrencySymbol.c_str());
  FollowDpiChanges(dialog, IDI_FUMORA_SMALL);

  ShowQuitDetails(dialog);
  state->bannerFont = MakeBannerFont(WindowDpi(dialog));
  SendDlgItemMessageA(dialog, IDC_QD_BANNER, WM_SETFONT, reinterpret_cast<WPARAM>(state->bannerFont.get()), FALSE);

  RefreshClockValues(LocalTimeNow());
  state->ready = true;
  PostMessageA(dialog, TellPricePointLoss, 0, 0);
  return TRUE;  // the focus goes to the name field
}

HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND control, int) {
  if (GetDlgCtrlID(control) != IDC_QD_BANNER) return nullptr;
  return PaintBanner(dc);
}

// ---- the price-change rows ----

void AddRow(HWND dialog, HWND list) {
  if (PriceRowsFull(static_cast<std::size_t>(RowCount(list)))) {
    ReportEntryFault(dialog, PriceRowsFullMessage);
    return;
  }
  RunPricePointDialog(dialog, list, PricePointMode::Add);
}

void EditRow(HWND dialog, HWND list) {
  if (CurrentRow(list) >= 0) RunPricePointDialog(dialog, list, PricePointMode::Edit);
}

void DeleteRow(HWND list) {
  const int row = CurrentRow(list);
  if (row < 0) return;
  const std::string question = "Are you sure that you wish to delete the data for " + CellText(list, row, 1);
  if (QuitDetailsMessageBox(list, question.c_str(), "Delete Warning", MB_YESNO | MB_ICONERROR) != IDYES) return;
  ListView_DeleteItem(list, row);
  FitPriceColumns(list);
  // The row below (or the new last row) takes the focus, for the next Delete.
  FocusPriceRow(list, std::min(row, RowCount(list) - 1));
}

// ---- Change ----

SysTime EditedQuitTime(HWND dialog, const QuitDetailsState& state) {
  SysTime quit = QuitDetails.quitTime;
  if (state.dateChanged) {
    const SYSTEMTIME date = PickerTime(dialog, IDC_QD_DATE);
    quit.wYear = date.wYear;
    quit.wMonth = date.wMonth;
    quit.wDay = date.wDay;
    quit.wDayOfWeek = 0;
  }
  if (state.timeChanged) {
    const SYSTEMTIME time = PickerTime(dialog, IDC_QD_TIME);
    quit.wHour = time.wHour;
    quit.wMinute = time.wMinute;
    quit.wSecond = 0;
    quit.wMilliseconds = 0;
  }
  return quit;
}

// pp.dat is rewritten only when a row changed, so that a file another program
// held at start-up, or one of more changes than the list keeps, is not
// replaced by what little was read. Beside the executable (a read-only folder,
// say) pp.dat may not be writable: the new prices count for this run, and the
// user must know that the next start will not have them.
void StorePriceRows(HWND dialog, const std::vector<PricePoint>& rows) {
  if (!PriceRowsChanged(rows)) return;
  std::string text;
  switch (SavePricePoints(rows)) {
    case PriceSave::Written:
      return;
    case PriceSave::NotWritten:
      text = "The price changes could not be saved to " + PricePointFilePath + ".";
      break;
    case PriceSave::NotBackedUp:
      text = PricePointFilePath + " could not be read in full and could not be copied to " + PricePointBackupPath +
             ", so it has not been replaced.";
      break;
  }
  text += " Your change is shown but not saved.";
  QuitDetailsMessageBox(dialog, text.c_str(), "Fumora", MB_OK | MB_ICONERROR);
}

// Checked on a copy: a refused entry changes nothing.
void OnChange(HWND dialog, const QuitDetailsState& state) {
  QuitDetailsRecord edited = QuitDetails;
  const std::string name = DialogItemText(dialog, IDC_QD_NAME, 128);
  const std::string perPack = DialogItemText(dialog, IDC_QD_PER_PACK, 256);
  const std::string perDay = DialogItemText(dialog, IDC_QD_PER_DAY, 256);
  const std::string price = DialogItemText(dialog, IDC_QD_PRICE, 256);
  const QuitEntryFault fault = CheckQuitEntries({name, perPack, perDay, price}, edited);
  if (fault != QuitEntryFault::None) {
    ReportEntryFault(dialog, QuitEntryMessage(fault));
    return;
  }
  edited.quitTime = EditedQuitTime(dialog, state);
  QuitDetails = edited;
  SaveQuitDetails();
  StorePriceRows(dialog, PriceRows(state.list));
  QuitDayNumber = DateToDayNumber(QuitDetails.quitTime);
  MinuteInputsChanged();
  EndDialog(dialog, Stored);
}

void OnCommand(HWND dialog, int id, HWND, UINT code) {
  QuitDetailsState* state = StateOf(dialog);
  if (!state || code != BN_CLICKED) return;
  switch (id) {
    case IDC_QD_ADD:
      AddRow(dialog, state->list);
      break;
    case IDC_QD_EDIT:
      EditRow(dialog, state->list);
      break;
    case IDC_QD_DELETE:
      DeleteRow(state->list);
      break;
    case IDOK:
      OnChange(dialog, *state);
      break;
    case IDCANCEL:
      EndDialog(dialog, Discarded);
      break;
  }
}

LRESULT OnListNotify(HWND dialog, HWND list, NMHDR* header) {
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return PaintPriceRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case NM_DBLCLK:
      if (reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem >= 0) EditRow(dialog, list);
      break;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) DeleteRow(list);
      break;
  }
  return 0;
}

LRESULT OnNotify(HWND dialog, int, NMHDR* header) {
  QuitDetailsState* state = StateOf(dialog);
  if (!state || !state->ready) return 0;
  if (header->code == DTN_DATETIMECHANGE) {
    if (header->idFrom == IDC_QD_DATE) state->dateChanged = true;
    if (header->idFrom == IDC_QD_TIME) state->timeChanged = true;
    return 0;
  }
  if (header->hwndFrom != state->list) return 0;
  return OnListNotify(dialog, state->list, header);
}

void OnClose(HWND dialog) { EndDialog(dialog, Discarded); }

void OnPricePointLoss(HWND dialog) {
  if (const std::string notice = TakePricePointNotice(); !notice.empty())
    QuitDetailsMessageBox(dialog, notice.c_str(), "Fumora", MB_OK | MB_ICONWARNING);
}

// Dialog keys go back to the window that had them, unless a view switch
// while the dialog was open has already aimed them at the view on show.
void OnNcDestroy(HWND dialog) {
  QuitDetailsState* state = StateOf(dialog);
  if (!state) return;
  if (DialogMessageTarget == dialog) DialogMessageTarget = state->previousTarget;
  DeleteDialogState<QuitDetailsState>(dialog);
}
}  // namespace

INT_PTR CALLBACK QuitDetailsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_CTLCOLORSTATIC:
      return HANDLE_WM_CTLCOLORSTATIC(dialog, wParam, lParam, OnCtlColorStatic);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand);
      return TRUE;
    case WM_NOTIFY:
      return SetDlgMsgResult(dialog, message, HANDLE_WM_NOTIFY(dialog, wParam, lParam, OnNotify));
    case WM_CLOSE:
      HANDLE_WM_CLOSE(dialog, wParam, lParam, OnClose);
      return TRUE;
    case TellPricePointLoss:
      OnPricePointLoss(dialog);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(dialog, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

bool RunEditQuitDetails(HWND owner) {
  return DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_QUIT_DETAILS), owner, QuitDetailsDialogProc, 0) == Stored;
}
