#include "app/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <utility>
#include <cstring>

#include "app/about_box.h"
#include "app/startup.h"
#include "app/view_strip.h"
#include "buddies/buddies_view.h"
#include "buddies/buddy_store.h"
#include "daysahead/days_ahead_view.h"
#include "engine/general_options.h"
#include "formats/settings_records.h"
#include "hotkey/hotkey.h"
#include "milestones/milestones_view.h"
#include "prefs/preferences_dialog.h"
#include "quitdetails/price_point_file.h"
#include "quitdetails/quit_details_dialog.h"
#include "resource.h"
#include "settings/registry_store.h"
#include "stats/clipboard.h"
#include "stats/statistics_view.h"
#include "util/text.h"
#include "util/window_rect.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/rich_edit.h"
#include "win/dpi.h"
#include "win/scoped.h"
#include "win/system_library.h"

HWND ViewWindows[ViewCount];
int CurrentView = NoView;
HWND TitleLabel;
NOTIFYICONDATAA TrayIcon;
bool TrayIconShown;

// shell32 is loaded when the icon is first needed: start-up does without it.
BOOL WINAPI SystemTrayNotify(DWORD message, PNOTIFYICONDATAA icon) {
  static auto* const notify =
      SystemFunction<decltype(Shell_NotifyIconA)>(LoadSystemLibrary("shell32.dll"), "Shell_NotifyIconA");
  return notify && notify(message, icon);
}
TrayNotifyFunction TrayNotify = SystemTrayNotify;

namespace {
constexpr const char* ViewTitles[ViewCount] = {"Quitting Statistics", "Personal Milestones", "Buddy List",
                                               "Days Ahead"};
constexpr int32_t NoStoredPosition = -103;
// The tip field of the record the shell is told about (its first version)
// holds 64 bytes, whatever the size of the structure's own field.
constexpr int TrayTipSize = 64;

// The window's own state, gone with the window after its children (the
// window's menu bar goes with the window itself).
struct WindowState {
  ScopedMenu trayMenu;  // menu 10100; its first pop-up is the one shown
  ScopedIcon smallIcon;  // also the notification-area icon
  ScopedIcon largeIcon;
  ScopedFont titleFont;
  StatsTypingRun typing;
};
WindowState& StateOf(HWND window) { return *DialogStateOf<WindowState>(window); }

// The Days Ahead list follows the BuddyList row by row (nothing without the view).
void OnBuddyChanged(const BuddyChange& change) {
  switch (change.kind) {
    case BuddyChange::Added:
      AddDaysAheadRows(*change.buddy);
      break;
    case BuddyChange::Removed:
      RemoveDaysAheadRows(change.id);
      break;
    case BuddyChange::Renamed:
      RenameDaysAheadRows(change.id, *change.name);
      break;
  }
}

// A new date: the anniversaries of the buddies and the days ahead move on.
void RefreshBuddyViewsForNewDay() {
  BuildDaysAhead();
  RefreshBuddyAnniversaries();
}

bool NotifyShell(DWORD message) { return TrayNotify(message, &TrayIcon) != FALSE; }

// The shell may refuse (early in log-on, or while Explorer restarts).
bool AddTrayIcon() {
  if (NotifyShell(NIM_ADD)) TrayIconShown = true;
  return TrayIconShown;
}

// Asking the shell to delete an icon it does not hold can cost seconds
// under some shells; there is nothing to remove then.
void RemoveTrayIcon() {
  if (!TrayIconShown) return;
  NotifyShell(NIM_DELETE);
  TrayIconShown = false;
}

// The caption's and the notification area's icon at `dpi`; the shell holds a
// copy of the one it shows.
void LoadSmallIcon(HWND window, int dpi) {
  ScopedIcon icon(LoadIconAtSize(AppInstance, IDI_FUMORA_SMALL, SmallIconSize(dpi)));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
  TrayIcon.hIcon = icon.get();
  if (TrayIconShown) NotifyShell(NIM_MODIFY);
  StateOf(window).smallIcon = std::move(icon);  // the icon no longer shown goes
}

// The taskbar's and Alt+Tab's icon at `dpi`. The window's own paint never
// draws it: start-up sets it after the first paint.
void LoadLargeIcon(HWND window, int dpi) {
  ScopedIcon icon(LoadIconAtSize(AppInstance, IDI_FUMORA, LargeIconSize(dpi)));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
  StateOf(window).largeIcon = std::move(icon);
}

// The menu bar comes with the template: set after, it would change the
// window's frame once more on the way to the first paint.
void LoadMenusAndIcon(HWND window) {
  StateOf(window).trayMenu.Reset(LoadMenuA(AppInstance, MAKEINTRESOURCEA(IDR_TRAY_MENU)));

  TrayIcon = NOTIFYICONDATAA{};
  TrayIcon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  TrayIcon.hWnd = window;
  TrayIcon.uID = 0;
  TrayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIcon.uCallbackMessage = TrayMessage;
  TrayIconShown = false;
  LoadSmallIcon(window, WindowDpi(window));
}

// The order in which the views are made: the Days Ahead view reads the
// buddy rows that the Buddies view loads.
constexpr std::array<int, ViewCount> ViewCreationOrder = {StatisticsViewIndex, BuddiesViewIndex,
                                                          DaysAheadViewIndex, MilestonesViewIndex};
// Makes the views and the large icon that the first paint does not need:
// timer messages come after the paint messages, so the window is on screen
// and drawn by then.
constexpr UINT_PTR AfterFirstPaintTimer = 1;
// Posted on activation, so that it runs after the dialog manager has put back
// the focus it saved.
constexpr UINT FocusShownView = WM_APP + 3;

HWND CreateView(HWND window, int index) {
  switch (index) {
    case StatisticsViewIndex:
      return CreateStatisticsView(window);
    case BuddiesViewIndex:
      return CreateBuddiesView(window);  // loads anny.dat, which Days Ahead reads
    case DaysAheadViewIndex:
      return CreateDaysAheadView(window);
    case MilestonesViewIndex:
      return CreateMilestonesView(window);
  }
  return nullptr;
}

// Where the views lie, in the main window's client area.
RECT ViewArea(HWND window) {
  RECT area{VIEW_LEFT, VIEW_TOP, VIEW_LEFT + VIEW_WIDTH, VIEW_TOP + VIEW_HEIGHT};
  MapDialogRectNow(window, area);
  return area;
}

// Each view template is a visible child: hidden at once, in the same move
// that puts it in place, unless it is the view about to be shown. Every view
// lies at the same place, whatever font its template has.
void EnsureView(HWND window, int index, bool shown) {
  if (ViewWindows[index]) return;
  HWND view = CreateView(window, index);
  if (view) {
    const RECT area = ViewArea(window);
    SetWindowPos(view, nullptr, area.left, area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (shown ? 0 : SWP_HIDEWINDOW));
  }
  ViewWindows[index] = view;
}

// The right and bottom edges of the largest view (those made later have the
// size of the view area) in the client area.
SIZE ViewsExtent(HWND window) {
  const RECT area = ViewArea(window);
  SIZE need{area.right, area.bottom};
  for (HWND view : ViewWindows) {
    RECT place{};
    if (!view || !GetWindowRect(view, &place)) continue;
    need.cx = std::max<LONG>(need.cx, area.left + place.right - place.left);
    need.cy = std::max<LONG>(need.cy, area.top + place.bottom - place.top);
  }
  return need;
}

// The window's rectangle whose client area holds the strip and the largest
// view, with a margin right and below, about the window's present centre.
RECT FittedToViews(HWND window) {
  SIZE need = ViewsExtent(window);
  need.cy = std::max<LONG>(need.cy, ViewStripBottom());
  const int margin = Scaled(window, 4);
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  const SIZE grow{need.cx + margin - client.right, need.cy + margin - client.bottom};
  return {outer.left - grow.cx / 2, outer.top - grow.cy / 2, outer.right + grow.cx - grow.cx / 2,
          outer.bottom + grow.cy - grow.cy / 2};
}

// The window fitted to its views, its top-left corner at `corner`.
void FitToViewsAt(HWND window, POINT corner) {
  const RECT fitted = FittedToViews(window);
  SetWindowPos(window, nullptr, corner.x, corner.y, fitted.right - fitted.left, fitted.bottom - fitted.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The title's font has a pixel height: where the font outgrows the label's
// dialog units, the label grows, centred on its band. The band reaches the
// right edge of the views, whose fonts do not grow evenly with the DPI.
void MakeTitleFont(HWND window) {
  ScopedFont& font = StateOf(window).titleFont;
  font.Reset(CreateFontA(Scaled(window, 20), 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "Arial"));
  SendMessageA(TitleLabel, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  TEXTMETRICA metrics{};
  {
    WindowDC dc(TitleLabel);
    SelectedObject selected(dc.get(), font.get());
    GetTextMetricsA(dc.get(), &metrics);
  }
  RECT label{TITLE_LEFT, TITLE_TOP, TITLE_LEFT + TITLE_WIDTH, TITLE_TOP + TITLE_HEIGHT};
  RECT band{TITLE_BAND_LEFT, TITLE_BAND_TOP, TITLE_BAND_LEFT + TITLE_BAND_WIDTH, TITLE_BAND_TOP + TITLE_BAND_HEIGHT};
  MapDialogRectNow(window, label);
  MapDialogRectNow(window, band);
  const int height = std::max<int>(label.bottom - label.top, metrics.tmHeight);
  SetWindowPos(TitleLabel, nullptr, label.left, (band.top + band.bottom - height) / 2, label.right - label.left, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(GetDlgItem(window, IDC_TITLE_BAND), nullptr, 0, 0, ViewsExtent(window).cx - band.left,
               band.bottom - band.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Makes the views still missing, in their order, up to and including `last`
// (every view for NoView), which is about to be shown.
void CreateViews(HWND window, int last) {
  for (const int index : ViewCreationOrder) {
    EnsureView(window, index, index == last);
    if (index == last) return;
  }
}

void OnTimer(HWND window, UINT id) {
  if (id != AfterFirstPaintTimer) return;
  KillTimer(window, AfterFirstPaintTimer);
  CreateViews(window, NoView);
  LoadLargeIcon(window, WindowDpi(window));
}

// Fitted to its views and moved to the stored position in one move. A stored
// position that would put the window on no monitor at all (a monitor since
// removed, a damaged value) is not applied: the window keeps its centre.
void FitAndRestorePosition(HWND window) {
  RECT place = FittedToViews(window);
  ReadWindowPosition();
  RECT stored = place;
  if (LastPosX != NoStoredPosition && MoveCornerTo(stored, LastPosX, LastPosY) &&
      MonitorFromRect(&stored, MONITOR_DEFAULTTONULL))
    place = stored;
  FitToViewsAt(window, {place.left, place.top});
}

// After the preferences changed the look-ahead period.
void RetitleDaysAhead() {
  if (CurrentView == DaysAheadViewIndex) SetWindowTextA(TitleLabel, ViewTitleText(DaysAheadViewIndex).c_str());
}

BOOL OnInitDialog(HWND window, HWND, LPARAM) {
  AttachDialogState<WindowState>(window);
  CurrentView = NoView;
  MainWindow = window;
  LoadMenusAndIcon(window);
  LoadSettings();
  LoadPricePoints();
  CreateViewStrip(window);
  // Start-up makes the statistics view (the program's clock) and the start-up
  // view; the others follow once the window has been shown and painted.
  const uint32_t startView = GeneralPrefs.startupView;
  const int shownView = startView < ViewCount ? static_cast<int>(startView) : StatisticsViewIndex;
  CreateViews(window, shownView);
  SetTimer(window, AfterFirstPaintTimer, 0, nullptr);

  TitleLabel = GetDlgItem(window, IDC_TITLE_LABEL);
  // Only a damaged GenPrefs holds another start-up view: show the statistics.
  SelectView(shownView);
  MakeTitleFont(window);
  // Its controls and views are placed and sized again on a move to a monitor
  // of another scale (the stored position may lie on one); OnDpiChanged then
  // lays out what is sized in pixels. Not earlier: every message to the window
  // passes through it once it is there.
  FollowDpiChanges(window);
  FitAndRestorePosition(window);

  HotkeyId.Reset(GlobalAddAtomA(InstanceMutexName));
  RegisterStoredHotkey();
  ShowStatsHotkeyName();
  return FALSE;
}

HBRUSH OnControlColour(HWND, HDC dc, HWND control, int) {
  const int id = GetDlgCtrlID(control);
  if (id != IDC_TITLE_LABEL && id != IDC_TITLE_BAND) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  return GetSysColorBrush(COLOR_BTNSHADOW);
}

// Moved to a monitor of another scale: the controls are in their places at
// the new DPI already (FollowDpiChanges), in the suggested rectangle; what is
// sized in pixels is laid out again, and the window fitted to its views at
// the suggested place.
void OnDpiChanged(HWND window, int dpi, const RECT& suggested) {
  LoadSmallIcon(window, dpi);
  LoadLargeIcon(window, dpi);
  MakeTitleFont(window);
  PlaceViewStrip();
  LayOutStatisticsView();
  FitToViewsAt(window, {suggested.left, suggested.top});
}

void RestoreFromTray(HWND window) {
  RemoveTrayIcon();
  ShowWindow(window, SW_RESTORE);
}

// The Buddies view shown while a modal dialog was open (Ctrl+B in it) gets
// the keyboard when the window is active again.
void OnFocusShownView(HWND window) {
  HWND view = CurrentView == BuddiesViewIndex ? ViewWindows[BuddiesViewIndex] : nullptr;
  if (view && GetActiveWindow() == window && !IsChild(view, GetFocus())) SetFocus(GetDlgItem(view, IDC_BUDDY_LIST));
}

// New quit details show at once in every view and in the stats text.
void EditQuitDetails(HWND window) {
  if (!RunEditQuitDetails(window)) return;
  BuildMilestoneList();
  RefreshStatisticsNow();
}

void OnCommand(HWND window, int id, HWND, UINT) {
  switch (id) {
    case IDM_EXIT:
    case IDM_TRAY_EXIT:
      DestroyWindow(window);
      break;
    case IDM_COPY_STATS:
    case IDM_TRAY_COPY_STATS:
      CopyStatsToClipboard(window);
      break;
    case IDM_VIEW_STATISTICS:
    case IDM_VIEW_MILESTONES:
    case IDM_VIEW_BUDDIES:
    case IDM_VIEW_DAYS_AHEAD:
      SelectView(id - IDM_VIEW_STATISTICS);
      break;
    case IDM_PREFERENCES:
      ShowPreferences(window);
      break;
    case IDM_ABOUT:
      ShowAboutBox(window);
      break;
    case IDM_EDIT_QUIT_DETAILS:
      EditQuitDetails(window);
      break;
    case IDM_TRAY_RESTORE:
      RestoreFromTray(window);
      break;
    case IDM_TRAY_STATISTICS:
    case IDM_TRAY_MILESTONES:
    case IDM_TRAY_BUDDIES:
    case IDM_TRAY_DAYS_AHEAD:
      SendMessageA(window, WM_COMMAND, IDM_VIEW_STATISTICS + (id - IDM_TRAY_STATISTICS), 0);
      SendMessageA(window, WM_COMMAND, IDM_TRAY_RESTORE, 0);
      break;
  }
}

// Hidden only behind an icon that is really there: without one the window
// stays minimised on the taskbar, where the user can find it.
void OnSize(HWND window, UINT state, int, int) {
  if (state == SIZE_MINIMIZED && AddTrayIcon()) ShowWindow(window, SW_HIDE);
}

// A new shell (Explorer restarted, or started after Fumora at log-on) holds
// no icon of ours: a minimised window goes (back) behind a new one, or shows
// on the taskbar when the shell refuses it.
void OnTaskbarCreated(HWND window) {
  if (!IsIconic(window)) return;
  TrayIconShown = false;
  if (AddTrayIcon())
    ShowWindow(window, SW_HIDE);
  else
    ShowWindow(window, SW_SHOWMINNOACTIVE);
}

// Another start of Fumora asks for the running window.
LRESULT OnShowRunning(HWND window) {
  if (IsIconic(window) || !IsWindowVisible(window)) {
    RemoveTrayIcon();
    ShowWindow(window, SW_RESTORE);
  }
  ShowWindow(window, SW_SHOW);
  // A modal dialog open over the window comes forward with it.
  SetForegroundWindow(GetLastActivePopup(window));
  return ShownAnswer;
}

// Ends modal dialogs and message boxes (as their Cancel would) so that the
// window they belong to can close after them.
BOOL CALLBACK EndModalDialog(HWND candidate, LPARAM owner) {
  char type[8] = {};
  if (candidate != reinterpret_cast<HWND>(owner) && GetClassNameA(candidate, type, sizeof type) &&
      lstrcmpA(type, DialogClassName) == 0)
    EndDialog(candidate, IDCANCEL);
  return TRUE;
}

// WM_CLOSE from outside (taskkill, an installer, an updater) ends the program
// as File > Exit does; a modal dialog then open is cancelled first.
void OnClose(HWND window) {
  if (IsWindowEnabled(window)) {
    DestroyWindow(window);
    return;
  }
  EnumThreadWindows(GetCurrentThreadId(), EndModalDialog, reinterpret_cast<LPARAM>(window));
  PostMessageA(window, WM_CLOSE, 0, 0);
}

// The session ends: the shutdown steps run now, before the process is ended.
void OnEndSession(HWND window, BOOL ending) {
  if (!ending) return;
  EnumThreadWindows(GetCurrentThreadId(), EndModalDialog, reinterpret_cast<LPARAM>(window));
  DestroyWindow(window);
}

void ShowTrayMenu(HWND window) {
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(window);
  HMENU popup = GetSubMenu(StateOf(window).trayMenu.get(), 0);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  // Lets the menu close when the user clicks elsewhere.
  PostMessageA(window, WM_NULL, 0, 0);
}

void OnTrayMessage(HWND window, WPARAM iconId, LPARAM mouseMessage) {
  if (iconId != 0) return;
  switch (mouseMessage) {
    case WM_MOUSEMOVE:
      lstrcpynA(TrayIcon.szTip, QuitTimeText.c_str(), TrayTipSize);
      NotifyShell(NIM_MODIFY);
      break;
    case WM_RBUTTONDOWN:
      ShowTrayMenu(window);
      break;
    case WM_LBUTTONDBLCLK:
      RemoveTrayIcon();
      ShowWindow(window, SW_MINIMIZE);
      ShowWindow(window, SW_RESTORE);
      break;
  }
}

void OnTimeChange(HWND) { StatsTimeChanged(); }

// Whatever its id: the program registers one hotkey.
void OnHotkey(HWND window, int, UINT, UINT key) { StartStatsTyping(StateOf(window).typing, window, key); }

void OnActivate(HWND window, UINT state, HWND, BOOL) {
  if (state != WA_INACTIVE) PostMessageA(window, FocusShownView, 0, 0);
}

// Only the close command is ours (its low four bits, the system's own, are
// cleared); true when handled.
bool OnSysCommand(HWND window, UINT command) {
  if (command != SC_CLOSE) return false;
  DestroyWindow(window);
  return true;
}

void StorePositionIfAsked(HWND window) {
  // A window closed from the notification area is minimised: nothing stored.
  if (IsIconic(window) || savePositionOnExit != 1) return;
  RECT area{};
  if (GetWindowRect(window, &area)) StoreWindowPosition(area.left, area.top);
}

void DestroyViews() {
  for (int index : {StatisticsViewIndex, MilestonesViewIndex, DaysAheadViewIndex, BuddiesViewIndex}) {
    if (ViewWindows[index]) DestroyWindow(ViewWindows[index]);
    ViewWindows[index] = nullptr;
  }
}

// The order that matters: the position is read before anything moves, the
// notification icon leaves the shell before its icon goes, and the hotkey is
// unregistered before its atom. The rest is released by its owner.
void OnDestroy(HWND window) {
  StorePositionIfAsked(window);
  RemoveTrayIcon();
  StopStatisticsClock();
  KillTimer(window, AfterFirstPaintTimer);
  UnregisterStatsHotkey();
  HotkeyId.Reset();
  KeyboardHookHandle.Reset();
  InstanceMutex.Reset();
  FreeRichEdit();
  DestroyViews();
  TitleLabel = nullptr;
  CurrentView = NoView;
  PostQuitMessage(0);
}

void OnNcDestroy(HWND window) { DeleteDialogState<WindowState>(window); }
}  // namespace

std::string ViewTitleText(int index) {
  if (index == DaysAheadViewIndex) return "Next " + FormatDecimal(static_cast<int32_t>(LookAheadDaysInRange())) + " Days";
  if (index < 0 || index >= ViewCount) return {};
  return ViewTitles[index];
}

void SelectView(int index) {
  if (index == CurrentView || index < 0 || index >= ViewCount) return;
  if (!ViewWindows[index] && MainWindow) CreateViews(MainWindow, index);
  if (CurrentView != NoView && ViewWindows[CurrentView]) {
    HWND leaving = ViewWindows[CurrentView];
    // The keyboard never stays in a view the user cannot see.
    const bool hadFocus = IsChild(leaving, GetFocus());
    ShowWindow(leaving, SW_HIDE);
    if (hadFocus) SetFocus(MainWindow);
  }
  CurrentView = index;
  if (ViewWindows[index]) ShowWindow(ViewWindows[index], SW_SHOW);
  SetWindowTextA(TitleLabel, ViewTitleText(index).c_str());
  DialogMessageTarget = index == BuddiesViewIndex && ViewWindows[index] ? ViewWindows[index] : MainWindow;
  // A view's list takes the keyboard, except behind a modal dialog: Ctrl+B
  // there switches the view behind it and the keyboard stays with the dialog.
  static const int ViewLists[ViewCount] = {0, IDC_MILESTONES_LIST, IDC_BUDDY_LIST, IDC_DAYS_AHEAD_LIST};
  if (ViewLists[index] && ViewWindows[index] && IsWindowEnabled(MainWindow))
    SetFocus(GetDlgItem(ViewWindows[index], ViewLists[index]));
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Registered messages have no fixed number.
  static const UINT TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  static const UINT ShowRunning = RegisterWindowMessageA(ShowRunningMessageName);
  if (message == TaskbarCreated && TaskbarCreated) {
    OnTaskbarCreated(window);
    return FALSE;
  }
  if (message == ShowRunning && ShowRunning) return SetDlgMsgResult(window, message, OnShowRunning(window));
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(window, wParam, lParam, OnInitDialog);
    case WM_CTLCOLORSTATIC:
      return static_cast<INT_PTR>(HANDLE_WM_CTLCOLORSTATIC(window, wParam, lParam, OnControlColour));
    case WM_COMMAND:
      HANDLE_WM_COMMAND(window, wParam, lParam, OnCommand);
      return TRUE;
    case DpiChangedMessage:
      OnDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_SIZE:
      HANDLE_WM_SIZE(window, wParam, lParam, OnSize);
      return FALSE;
    case TrayMessage:
      OnTrayMessage(window, wParam, lParam);
      return FALSE;
    case WM_TIMER:
      HANDLE_WM_TIMER(window, wParam, lParam, OnTimer);
      return FALSE;
    case WM_HOTKEY:
      HANDLE_WM_HOTKEY(window, wParam, lParam, OnHotkey);
      return FALSE;
    case WM_TIMECHANGE:
      HANDLE_WM_TIMECHANGE(window, wParam, lParam, OnTimeChange);
      return FALSE;
    case WM_ACTIVATE:
      HANDLE_WM_ACTIVATE(window, wParam, lParam, OnActivate);
      return FALSE;
    case FocusShownView:
      OnFocusShownView(window);
      return TRUE;
    case StatsNewDayMessage:
      RefreshBuddyViewsForNewDay();
      return TRUE;
    case LookAheadChangedMessage:
      RetitleDaysAhead();
      return TRUE;
    case BuddyChangedMessage:
      OnBuddyChanged(*reinterpret_cast<const BuddyChange*>(lParam));
      return TRUE;
    case WM_SYSCOMMAND:
      // Handled: the default course would close a window already gone.
      return OnSysCommand(window, GET_SC_WPARAM(wParam));
    case WM_CLOSE:
      HANDLE_WM_CLOSE(window, wParam, lParam, OnClose);
      return TRUE;
    case WM_QUERYENDSESSION:
      return SetDlgMsgResult(window, message, TRUE);
    case WM_ENDSESSION:
      HANDLE_WM_ENDSESSION(window, wParam, lParam, OnEndSession);
      return FALSE;
    case WM_DESTROY:
      HANDLE_WM_DESTROY(window, wParam, lParam, OnDestroy);
      return FALSE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(window, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

HWND CreateMainWindow() {
  return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
}
