#include "settings/first_run_wizard.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "engine/first_run_checks.h"
#include "engine/savings.h"
#include "engine/stats_view_texts.h"
#include "formats/settings_records.h"
#include "locale/formats.h"
#include "resource.h"
#include "settings/registry_store.h"
#include "util/systime_win32.h"
#include "win/app_state.h"
#include "win/dialog_fields.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/number_edit.h"
#include "win/scoped.h"

FirstRunMessageFunction FirstRunMessageBox = MessageBoxA;

namespace {
constexpr INT_PTR Stored = 0;
constexpr INT_PTR Cancelled = 1;

// Lives from WM_INITDIALOG to WM_NCDESTROY, so every way out of the dialog
// deletes the title font.
struct WizardState {
  ScopedFont titleFont;
};

BOOL OnInitDialog(HWND wizard, HWND, LPARAM) {
  WizardState* state = &AttachDialogState<WizardState>(wizard);

  ReadCurrencySymbol();
  SetDlgItemTextA(wizard, IDC_FR_CURRENCY, CurrencySymbol.c_str());

  FollowDpiChanges(wizard, IDI_FUMORA_SMALL);

  SetUpDatePicker(GetDlgItem(wizard, IDC_FR_DATE));

  SendDlgItemMessageA(wizard, IDC_FR_NAME, EM_LIMITTEXT, 30, 0);
  SendDlgItemMessageA(wizard, IDC_FR_PER_DAY, EM_LIMITTEXT, 3, 0);
  MakeDigitsOnlyEdit(GetDlgItem(wizard, IDC_FR_PER_DAY));
  MakePriceEdit(GetDlgItem(wizard, IDC_FR_PRICE));

  state->titleFont = MakeBannerFont(WindowDpi(wizard));
  SendDlgItemMessageA(wizard, IDC_FR_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(state->titleFont.get()), FALSE);

  RefreshClockValues(LocalTimeNow());
  return TRUE;  // the focus goes to the name field
}

// The title is white on a grey band; every other static keeps the defaults.
HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND control, int) {
  if (GetDlgCtrlID(control) != IDC_FR_TITLE) return nullptr;
  return PaintBanner(dc);
}

void OnContinue(HWND wizard) {
  if (!ValidateFirstRun(wizard)) return;
  SaveFirstRunSettings();
  MinuteInputsChanged();
  EndDialog(wizard, Stored);
}

// Only button clicks count: Enter and Escape arrive as IDOK / IDCANCEL from
// no control and are ignored, and so are the edits' notifications.
void OnCommand(HWND wizard, int id, HWND control, UINT code) {
  if (!control || code != BN_CLICKED) return;
  if (id == IDC_FR_CANCEL) EndDialog(wizard, Cancelled);
  if (id == IDC_FR_CONTINUE) OnContinue(wizard);
}

// Only the close command is ours (its low four bits, the system's own, are
// cleared); true when handled.
bool OnSysCommand(HWND wizard, UINT command) {
  if (command != SC_CLOSE) return false;
  EndDialog(wizard, Cancelled);
  return true;
}

void OnClose(HWND wizard) { EndDialog(wizard, Cancelled); }

void OnNcDestroy(HWND wizard) {
  DeleteDialogState<WizardState>(wizard);
}
}  // namespace

int ValidateFirstRun(HWND wizard) {
  SYSTEMTIME date = PickerTime(wizard, IDC_FR_DATE);
  QuitDetails.quitTime.wYear = date.wYear;
  QuitDetails.quitTime.wMonth = date.wMonth;
  QuitDetails.quitTime.wDay = date.wDay;
  SYSTEMTIME time = PickerTime(wizard, IDC_FR_TIME);
  QuitDetails.quitTime.wHour = time.wHour;
  QuitDetails.quitTime.wMinute = time.wMinute;
  QuitDetails.quitTime.wSecond = 0;
  QuitDetails.quitTime.wMilliseconds = 0;
  QuitDetails.quitTime.wDayOfWeek = 0;

  std::string name = DialogItemText(wizard, IDC_FR_NAME, 128);
  std::string perPack = DialogItemText(wizard, IDC_FR_PER_PACK, 256);
  std::string perDay = DialogItemText(wizard, IDC_FR_PER_DAY, 256);
  std::string price = DialogItemText(wizard, IDC_FR_PRICE, 256);
  QuitEntryFault fault = CheckQuitEntries({name, perPack, perDay, price}, QuitDetails);
  if (fault == QuitEntryFault::None) return 1;
  FirstRunMessageBox(wizard, QuitEntryMessage(fault), "Fumora", MB_OK | MB_ICONINFORMATION);
  return 0;
}

INT_PTR CALLBACK FirstRunWizardProc(HWND wizard, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(wizard, wParam, lParam, OnInitDialog);
    case WM_CTLCOLORSTATIC:
      return HANDLE_WM_CTLCOLORSTATIC(wizard, wParam, lParam, OnCtlColorStatic);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(wizard, wParam, lParam, OnCommand);
      return TRUE;
    case WM_SYSCOMMAND:
      return OnSysCommand(wizard, GET_SC_WPARAM(wParam));
    case WM_CLOSE:
      HANDLE_WM_CLOSE(wizard, wParam, lParam, OnClose);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(wizard, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

INT_PTR RunFirstRunWizard(HWND owner) {
  return DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_FIRST_RUN), owner, FirstRunWizardProc, 1);
}
