#include "prefs/preferences_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "buddies/buddies_view.h"
#include "daysahead/days_ahead_view.h"
#include "engine/stats_text.h"
#include "engine/stats_view_texts.h"
#include "engine/template_editor.h"
#include "hotkey/hotkey.h"
#include "milestones/milestones_view.h"
#include "prefs/pages.h"
#include "resource.h"
#include "settings/registry_store.h"
#include "stats/statistics_view.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/scoped.h"
#include "win/dpi.h"

PrefsMessageFunction PrefsMessageBox = MessageBoxA;

namespace {

enum Page { GeneralPage, FormatPage, ColoursPage, PageCount };
constexpr const char* TabNames[PageCount] = {"General Options", "Statistics Format", "Application Colours"};

constexpr char BlankFormatQuestion[] =
    "The clipboard format can't be left blank\n\r Hit OK to apply the default format or hit the cancel button to "
    "re-enter the format";

struct PrefsState {
  HWND dialog = nullptr;
  HWND tabs = nullptr;
  HWND apply = nullptr;
  HWND pages[PageCount] = {};
  ScopedHook keyFilter;
};

// The dialog on show (one at a time), null while none is: the key filter,
// which has no window of its own, and ApplyPreferences find its state here.
HWND OpenPrefsDialog;
PrefsState* OpenPrefs() { return OpenPrefsDialog ? DialogStateOf<PrefsState>(OpenPrefsDialog) : nullptr; }

// The pages lie over the tabs' display area, above the tab control (which
// leaves them out of its painting).
void PlacePage(const PrefsState& prefs, HWND page) {
  RECT area{};
  GetWindowRect(prefs.tabs, &area);
  MapWindowPoints(nullptr, prefs.dialog, reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(prefs.tabs, FALSE, &area);
  SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
}

// A page is made the first time its tab is chosen: the dialog opens sooner,
// and the format page's rich edit module is loaded only when it is wanted.
// Apply leaves the values of a page never made as they are.
void ShowPage(PrefsState& prefs, int shown) {
  using MakePage = HWND (*)(HWND);
  constexpr MakePage Makers[PageCount] = {CreateGeneralPage, CreateFormatPage, CreateColoursPage};
  if (shown >= 0 && shown < PageCount && !prefs.pages[shown]) {
    prefs.pages[shown] = Makers[shown](prefs.dialog);
    if (prefs.pages[shown]) PlacePage(prefs, prefs.pages[shown]);
  }
  for (int i = 0; i < PageCount; ++i)
    if (prefs.pages[i]) ShowWindow(prefs.pages[i], i == shown ? SW_SHOW : SW_HIDE);
}

// Ctrl+Tab and Ctrl+PageDown step forward through the tabs, Ctrl+Shift+Tab
// and Ctrl+PageUp back, as in any tabbed dialog.
void StepTab(PrefsState& prefs, int step) {
  const int count = TabCtrl_GetItemCount(prefs.tabs);
  const int next = (TabCtrl_GetCurSel(prefs.tabs) + step + count) % count;
  HWND focus = GetFocus();
  TabCtrl_SetCurSel(prefs.tabs, next);
  ShowPage(prefs, next);
  // The focus must not stay on a page now hidden.
  if (focus != prefs.tabs && IsChild(prefs.dialog, focus) && !IsWindowVisible(focus)) SetFocus(prefs.tabs);
}

int TabStepOf(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0) return 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (key == VK_TAB) return shift ? -1 : 1;
  if (shift) return 0;  // Ctrl+Shift+PageDown selects text in the editor
  return key == VK_NEXT ? 1 : key == VK_PRIOR ? -1 : 0;
}

LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  PrefsState* prefs = OpenPrefs();
  if (prefs && code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN &&
      (message->hwnd == prefs->dialog || IsChild(prefs->dialog, message->hwnd))) {
    if (const int step = TabStepOf(message->wParam)) {
      StepTab(*prefs, step);
      return TRUE;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
  PrefsState& prefs = AttachDialogState<PrefsState>(dialog);
  OpenPrefsDialog = dialog;
  prefs.dialog = dialog;
  FollowDpiChanges(dialog);
  prefs.tabs = GetDlgItem(dialog, IDC_PREFS_TABS);
  prefs.apply = GetDlgItem(dialog, IDC_PREFS_APPLY);
  for (int i = 0; i < PageCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(TabNames[i]);
    SendMessageA(prefs.tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  // Last in the order of the dialog's children, the tabs are followed by the
  // page shown (each is put first), then OK, Cancel and Apply.
  SetWindowPos(prefs.tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowPage(prefs, GeneralPage);
  EnableWindow(prefs.apply, FALSE);
  prefs.keyFilter.Reset(SetWindowsHookExA(WH_MSGFILTER, KeyFilter, nullptr, GetCurrentThreadId()));
  SetFocus(prefs.tabs);
  return FALSE;
}

void OnApply(const PrefsState& prefs) {
  if (!ApplyPreferences()) return;
  SetFocus(prefs.tabs);
  EnableWindow(prefs.apply, FALSE);
}

void OnCommand(HWND dialog, int id, HWND, UINT code) {
  const PrefsState* prefs = DialogStateOf<PrefsState>(dialog);
  if (!prefs) return;
  switch (id) {
    case IDC_PREFS_APPLY:
      if (code == BN_CLICKED) OnApply(*prefs);
      break;
    case IDOK:
      // Pending changes only; a refused apply keeps the dialog open.
      if (IsWindowEnabled(prefs->apply) && !ApplyPreferences()) break;
      EndDialog(dialog, IDOK);
      break;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      break;
  }
}

LRESULT OnNotify(HWND dialog, int, const NMHDR* header) {
  PrefsState* prefs = DialogStateOf<PrefsState>(dialog);
  if (prefs && header->hwndFrom == prefs->tabs && header->code == TCN_SELCHANGE)
    ShowPage(*prefs, TabCtrl_GetCurSel(prefs->tabs));
  return 0;
}

void OnDestroy(HWND dialog) {
  if (dialog == OpenPrefsDialog) OpenPrefsDialog = nullptr;
}

// The key filter goes with the state.
void OnNcDestroy(HWND dialog) { DeleteDialogState<PrefsState>(dialog); }

void StoreTemplate(const std::string& text) {
  std::memset(GeneralPrefs.statsTemplate, 0, sizeof GeneralPrefs.statsTemplate);
  std::memcpy(GeneralPrefs.statsTemplate, text.data(), std::min(text.size(), sizeof GeneralPrefs.statsTemplate - 1));
}

// The format page's template and flags; false when the user chose to
// re-enter a blank format.
bool ApplyFormat(const PrefsState& prefs) {
  HWND page = prefs.pages[FormatPage];
  // A damaged flag is stored as what it has meant: 0 or 1.
  const StatsSnapshot inForce = TakeStatsSnapshot();
  GeneralPrefs.includeSeconds = inForce.includeSeconds;
  GeneralPrefs.fullDates = inForce.fullDates;
  if (!page) return true;  // never opened (or no rich edit to be had): the format stays
  FormatChoices format = ReadFormatPage(page);
  if (IsBlankTemplate(format.statsTemplate)) {
    if (PrefsMessageBox(prefs.tabs, BlankFormatQuestion, "Fumora", MB_OKCANCEL | MB_ICONERROR) != IDOK) return false;
    format.statsTemplate = DefaultStatsTemplate;
    ShowTemplate(page, DefaultStatsTemplate);
  }
  StoreTemplate(format.statsTemplate);
  GeneralPrefs.includeSeconds = format.includeSeconds;
  GeneralPrefs.fullDates = format.fullDates;
  return true;
}

// The lists and the Days Ahead legend in the new colours (the legend's
// brushes are made again).
void ApplyColours(const PrefsState& prefs) {
  if (prefs.pages[ColoursPage]) AppColors = ReadColoursPage(prefs.pages[ColoursPage]);
  RefreshDaysAheadColours();
  for (HWND list : {MilestonesList, BuddyList})
    if (list) InvalidateRect(list, nullptr, TRUE);
}

void ApplyGeneral(const PrefsState& prefs) {
  const GeneralChoices general = ReadGeneralPage(prefs.pages[GeneralPage]);
  if (general.lookAheadDays && *general.lookAheadDays != GeneralPrefs.LookAheadDays) {
    GeneralPrefs.LookAheadDays = *general.lookAheadDays;
    BuildDaysAhead();
    SendMessageA(GetWindow(prefs.dialog, GW_OWNER), LookAheadChangedMessage, 0, 0);
  }
  if (general.lifeMinutes) GeneralPrefs.lifeMinutesPerCigarette = *general.lifeMinutes;
  MinuteInputsChanged();  // life saved follows on the next tick
  if (general.startupView) GeneralPrefs.startupView = *general.startupView;
  GeneralPrefs.startMinimised = general.startMinimised;
  GeneralPrefs.runAtStartup = general.runAtStartup;
  savePositionOnExit = general.savePositionOnExit;
  hotkeyEnabled = general.hotkeyEnabled;
  hotkeyCode = general.hotkeyCode;
}

}  // namespace

INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand);
      return TRUE;
    case WM_NOTIFY:
      return SetDlgMsgResult(dialog, message, HANDLE_WM_NOTIFY(dialog, wParam, lParam, OnNotify));
    case WM_DESTROY:
      HANDLE_WM_DESTROY(dialog, wParam, lParam, OnDestroy);
      return FALSE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(dialog, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

void ShowPreferences(HWND owner) {
  if (OpenPrefsDialog) {
    SetForegroundWindow(OpenPrefsDialog);
    return;
  }
  DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFERENCES), owner, PreferencesDialogProc, 0);
}

bool ApplyPreferences() {
  const PrefsState* prefs = OpenPrefs();
  if (!prefs) return false;
  if (!ApplyFormat(*prefs)) return false;
  ApplyColours(*prefs);
  ApplyGeneral(*prefs);
  RegisterStoredHotkey();
  StorePreferences();
  ShowStatsHotkeyName();
  return true;
}

void MarkPreferencesChanged(HWND page) {
  EnableWindow(GetDlgItem(GetParent(page), IDC_PREFS_APPLY), TRUE);
}
