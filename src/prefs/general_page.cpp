// The general options page: three lists, the run options and the hotkey.
// It keeps no copy of the values: apply reads its controls.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "engine/general_options.h"
#include "prefs/pages.h"
#include "resource.h"
#include "win/app_state.h"

namespace {

void FillList(HWND page, int id, const OptionList& list, uint32_t stored) {
  HWND combo = GetDlgItem(page, id);
  for (int item = 0; item < list.count; ++item) ComboBox_AddString(combo, OptionItemText(list, item).c_str());
  ComboBox_SetCurSel(combo, ItemForValue(list, stored));
}

std::optional<uint32_t> ListValue(HWND page, int id, const OptionList& list) {
  return ValueForItem(list, ComboBox_GetCurSel(GetDlgItem(page, id)));
}

void SetCheck(HWND page, int id, uint32_t value) {
  CheckDlgButton(page, id, value == 1 ? BST_CHECKED : BST_UNCHECKED);
}

uint32_t Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0; }

// The control refuses a key alone and Shift + key: it makes them Ctrl + Shift + key.
void SetUpHotkeyControl(HWND page) {
  HWND hotkey = GetDlgItem(page, IDC_GEN_HOTKEY);
  SendMessageA(hotkey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_SHIFT, 0));
  // It opens enabled whatever the check box says; only a click on the box
  // clears and disables it.
  SendMessageA(hotkey, HKM_SETHOTKEY, static_cast<WPARAM>(hotkeyCode & 0xFFFF), 0);
}

BOOL OnInitDialog(HWND page, HWND, LPARAM) {
  FillList(page, IDC_GEN_LIFE_MINUTES, LifeMinutesOptions, GeneralPrefs.lifeMinutesPerCigarette);
  FillList(page, IDC_GEN_LOOK_AHEAD, LookAheadOptions, GeneralPrefs.LookAheadDays);
  FillList(page, IDC_GEN_STARTUP_VIEW, StartupViewOptions, GeneralPrefs.startupView);
  SetCheck(page, IDC_GEN_START_MINIMISED, GeneralPrefs.startMinimised);
  SetCheck(page, IDC_GEN_RUN_AT_STARTUP, GeneralPrefs.runAtStartup);
  SetCheck(page, IDC_GEN_SAVE_POSITION, savePositionOnExit);
  SetCheck(page, IDC_GEN_HOTKEY_ENABLED, hotkeyEnabled);
  SetUpHotkeyControl(page);
  return FALSE;
}

void OnHotkeyEnabledClicked(HWND page) {
  HWND hotkey = GetDlgItem(page, IDC_GEN_HOTKEY);
  if (Checked(page, IDC_GEN_HOTKEY_ENABLED)) {
    EnableWindow(hotkey, TRUE);
    SetFocus(hotkey);
  } else {
    SendMessageA(hotkey, HKM_SETHOTKEY, 0, 0);  // no key stays in use
    EnableWindow(hotkey, FALSE);
  }
}

void OnCommand(HWND page, int id, HWND, UINT code) {
  switch (id) {
    case IDC_GEN_START_MINIMISED:
    case IDC_GEN_RUN_AT_STARTUP:
    case IDC_GEN_SAVE_POSITION:
      if (code == BN_CLICKED) MarkPreferencesChanged(page);
      break;
    case IDC_GEN_HOTKEY_ENABLED:
      if (code != BN_CLICKED) break;
      OnHotkeyEnabledClicked(page);
      MarkPreferencesChanged(page);
      break;
    case IDC_GEN_HOTKEY:
      if (code == EN_CHANGE) MarkPreferencesChanged(page);
      break;
    case IDC_GEN_LIFE_MINUTES:
    case IDC_GEN_LOOK_AHEAD:
    case IDC_GEN_STARTUP_VIEW:
      if (code == CBN_SELCHANGE) MarkPreferencesChanged(page);
      break;
  }
}

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(page, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(page, wParam, lParam, OnCommand);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateGeneralPage(HWND dialog) {
  return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFS_GENERAL), dialog, GeneralPageProc, 0);
}

GeneralChoices ReadGeneralPage(HWND page) {
  GeneralChoices c;
  c.lifeMinutes = ListValue(page, IDC_GEN_LIFE_MINUTES, LifeMinutesOptions);
  c.lookAheadDays = ListValue(page, IDC_GEN_LOOK_AHEAD, LookAheadOptions);
  c.startupView = ListValue(page, IDC_GEN_STARTUP_VIEW, StartupViewOptions);
  c.startMinimised = Checked(page, IDC_GEN_START_MINIMISED);
  c.runAtStartup = Checked(page, IDC_GEN_RUN_AT_STARTUP);
  c.savePositionOnExit = Checked(page, IDC_GEN_SAVE_POSITION);
  c.hotkeyEnabled = Checked(page, IDC_GEN_HOTKEY_ENABLED);
  c.hotkeyCode = LOWORD(SendDlgItemMessageA(page, IDC_GEN_HOTKEY, HKM_GETHOTKEY, 0, 0));
  return c;
}
