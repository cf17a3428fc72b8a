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
#include "win/scoped.h"

PrefsMessageFunction PrefsMessageBox = MessageBoxA;

namespace {

enum Page { GeneralPage, FormatPage, ColoursPage, PageCount };
constexpr const char* TabNames[PageCount] = {"General Options", "Statistics Format", "Application Colours"};

constexpr char BlankFormatQuestion[] =
    "The clipboard format can't be left blank\n\r Hit OK to apply the default format or hit the cancel button to "
    "re-enter the format";

// The open dialog (one at a time).
struct OpenDialog {
  HWND dialog = nullptr;
  HWND tabs = nullptr;
  HWND apply = nullptr;
  HWND pages[PageCount] = {};
  ScopedHook keyFilter;
};
OpenDialog Prefs;

// The pages lie over the tabs' display area, above the tab control (which
// leaves them out of its painting).
void PlacePage(HWND page) {
  RECT area{};
  GetWindowRect(Prefs.tabs, &area);
  MapWindowPoints(nullptr, Prefs.dialog, reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(Prefs.tabs, FALSE, &area);
  SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
}

// A page is made the first time its tab is chosen: the dialog opens sooner,
// and the format page's rich edit module is loaded only when it is wanted.
// Apply leaves the values of a page never made as they are.
void ShowPage(int shown) {
  using MakePage = HWND (*)(HWND);
  constexpr MakePage Makers[PageCount] = {CreateGeneralPage, CreateFormatPage, CreateColoursPage};
  if (shown >= 0 && shown < PageCount && !Prefs.pages[shown]) {
    Prefs.pages[shown] = Makers[shown](Prefs.dialog);
    if (Prefs.pages[shown]) PlacePage(Prefs.pages[shown]);
  }
  for (int i = 0; i < PageCount; ++i)
    if (Prefs.pages[i]) ShowWindow(Prefs.pages[i], i == shown ? SW_SHOW : SW_HIDE);
}

// Ctrl+Tab and Ctrl+PageDown step forward through the tabs, Ctrl+Shift+Tab
// and Ctrl+PageUp back, as in any tabbed dialog.
void StepTab(int step) {
  const int count = TabCtrl_GetItemCount(Prefs.tabs);
  const int next = (TabCtrl_GetCurSel(Prefs.tabs) + step + count) % count;
  HWND focus = GetFocus();
  TabCtrl_SetCurSel(Prefs.tabs, next);
  ShowPage(next);
  // The focus must not stay on a page now hidden.
  if (focus != Prefs.tabs && IsChild(Prefs.dialog, focus) && !IsWindowVisible(focus)) SetFocus(Prefs.tabs);
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
  if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN &&
      (message->hwnd == Prefs.dialog || IsChild(Prefs.dialog, message->hwnd))) {
    if (const int step = TabStepOf(message->wParam)) {
      StepTab(step);
      return TRUE;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
  Prefs = OpenDialog{};
  Prefs.dialog = dialog;
  Prefs.tabs = GetDlgItem(dialog, IDC_PREFS_TABS);
  Prefs.apply = GetDlgItem(dialog, IDC_PREFS_APPLY);
  for (int i = 0; i < PageCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(TabNames[i]);
    SendMessageA(Prefs.tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  // Last in the order of the dialog's children, the tabs are followed by the
  // page shown (each is put first), then OK, Cancel and Apply.
  SetWindowPos(Prefs.tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowPage(GeneralPage);
  EnableWindow(Prefs.apply, FALSE);
  Prefs.keyFilter.Reset(SetWindowsHookExA(WH_MSGFILTER, KeyFilter, nullptr, GetCurrentThreadId()));
  SetFocus(Prefs.tabs);
  return FALSE;
}

void OnApply() {
  if (!ApplyPreferences()) return;
  SetFocus(Prefs.tabs);
  EnableWindow(Prefs.apply, FALSE);
}

void OnCommand(HWND dialog, int id, HWND, UINT code) {
  switch (id) {
    case IDC_PREFS_APPLY:
      if (code == BN_CLICKED) OnApply();
      break;
    case IDOK:
      // Pending changes only; a refused apply keeps the dialog open.
      if (IsWindowEnabled(Prefs.apply) && !ApplyPreferences()) break;
      EndDialog(dialog, IDOK);
      break;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      break;
  }
}

LRESULT OnNotify(HWND, int, const NMHDR* header) {
  if (header->hwndFrom == Prefs.tabs && header->code == TCN_SELCHANGE) ShowPage(TabCtrl_GetCurSel(Prefs.tabs));
  return 0;
}

void OnDestroy(HWND dialog) {
  if (dialog != Prefs.dialog) return;
  Prefs = OpenDialog{};
}

void StoreTemplate(const std::string& text) {
  std::memset(GeneralPrefs.statsTemplate, 0, sizeof GeneralPrefs.statsTemplate);
  std::memcpy(GeneralPrefs.statsTemplate, text.data(), std::min(text.size(), sizeof GeneralPrefs.statsTemplate - 1));
}

// The format page's template and flags; false when the user chose to
// re-enter a blank format.
bool ApplyFormat() {
  HWND page = Prefs.pages[FormatPage];
  // A damaged flag is stored as what it has meant: 0 or 1.
  const StatsSnapshot inForce = TakeStatsSnapshot();
  GeneralPrefs.includeSeconds = inForce.includeSeconds;
  GeneralPrefs.fullDates = inForce.fullDates;
  if (!page) return true;  // never opened (or no rich edit to be had): the format stays
  FormatChoices format = ReadFormatPage(page);
  if (IsBlankTemplate(format.statsTemplate)) {
    if (PrefsMessageBox(Prefs.tabs, BlankFormatQuestion, "Fumora", MB_OKCANCEL | MB_ICONERROR) != IDOK) return false;
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
void ApplyColours() {
  if (Prefs.pages[ColoursPage]) AppColors = ReadColoursPage(Prefs.pages[ColoursPage]);
  RefreshDaysAheadColours();
  for (HWND list : {MilestonesList, BuddyList})
    if (list) InvalidateRect(list, nullptr, TRUE);
}

void ApplyGeneral() {
  const GeneralChoices general = ReadGeneralPage(Prefs.pages[GeneralPage]);
  if (general.lookAheadDays && *general.lookAheadDays != GeneralPrefs.LookAheadDays) {
    GeneralPrefs.LookAheadDays = *general.lookAheadDays;
    BuildDaysAhead();
    SendMessageA(GetWindow(Prefs.dialog, GW_OWNER), LookAheadChangedMessage, 0, 0);
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
  }
  return FALSE;
}

void ShowPreferences(HWND owner) {
  if (Prefs.dialog) {
    SetForegroundWindow(Prefs.dialog);
    return;
  }
  DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFERENCES), owner, PreferencesDialogProc, 0);
}

bool ApplyPreferences() {
  if (!Prefs.dialog) return false;
  if (!ApplyFormat()) return false;
  ApplyColours();
  ApplyGeneral();
  RegisterStoredHotkey();
  StorePreferences();
  ShowStatsHotkeyName();
  return true;
}

void MarkPreferencesChanged(HWND page) {
  EnableWindow(GetDlgItem(GetParent(page), IDC_PREFS_APPLY), TRUE);
}
