#include "stats/statistics_view.h"

#include <windowsx.h>

#include "engine/savings.h"
#include "formats/settings_records.h"
#include "hotkey/hotkey.h"
#include "resource.h"
#include "stats/clipboard.h"
#include "util/systime_win32.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/new_static.h"
#include "win/scoped.h"
#include "win/subclass.h"

HWND StatisticsView;
UINT_PTR StatsTimerId;
StatsClockFunction StatsClockSource = LocalTimeNow;
ScopedIcon StatsClipboardIcon;

namespace {

constexpr UINT ClockPeriodMs = 450;

struct ViewState {
  HWND daysValue = nullptr;
  HWND cigarettesValue = nullptr;
  HWND moneyValue = nullptr;
  HWND lifeSavedValue = nullptr;
  HWND hint = nullptr;
  HWND hotkeyName = nullptr;
  HWND quitTimeValue = nullptr;
  HWND clipboardButton = nullptr;
  ScopedFont quitTimeFont;
};

ViewState* StateOf(HWND view) { return view ? DialogStateOf<ViewState>(view) : nullptr; }

// The clock's memory between ticks: the clock is the process's (a thread
// timer), and a tick may still come once the view has gone.
StatsClockMemory Clock;

HINSTANCE ProgramInstance() { return AppInstance ? AppInstance : GetModuleHandleA(nullptr); }

// ---- the figures ----

void ShowQuitTime() {
  QuitTimeText = QuitTimeValueText(QuitSpan);
  if (const ViewState* s = StateOf(StatisticsView)) SetWindowTextA(s->quitTimeValue, QuitTimeText.c_str());
}

void ShowMinuteFigures() {
  const ViewState* s = StateOf(StatisticsView);
  if (!s) return;
  const StatsViewTexts texts = CurrentStatsViewTexts();
  SetWindowTextA(s->daysValue, texts.daysQuit.c_str());
  SetWindowTextA(s->cigarettesValue, texts.cigarettes.c_str());
  SetWindowTextA(s->moneyValue, texts.money.c_str());
  SetWindowTextA(s->lifeSavedValue, texts.lifeSaved.c_str());
}

// ---- the clipboard button's face ----

// The class's own hover frame is not used here: moves never reach it. The
// press and its release take the class's frames.
void OnButtonMouseMove(HWND button, int x, int y, UINT) {
  POINT cursor{x, y};  // client coordinates, also while the capture is held
  ClientToScreen(button, &cursor);
  RECT bounds;
  GetWindowRect(button, &bounds);
  if (!PtInRect(&bounds, cursor)) {
    if (GetCapture() == button) ReleaseCapture();  // the class erases the frame with it
  } else if (GetCapture() != button) {
    DrawFrameLines(button, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    SetCapture(button);  // so that the move which leaves is seen
  }
}

// Everything else goes on to the NEWSTATIC procedure, whose erasing (the
// capture taken away) suits the button too.
LRESULT ClipboardButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(button, WM_MOUSEMOVE, OnButtonMouseMove);
    default:
      return DefSubclassProc(button, message, wParam, lParam);
  }
}

// ---- the view ----

void LookUpValueControls(HWND view, ViewState& s) {
  s.daysValue = GetDlgItem(view, IDC_STATS_DAYS);
  s.cigarettesValue = GetDlgItem(view, IDC_STATS_CIGS);
  s.moneyValue = GetDlgItem(view, IDC_STATS_MONEY);
  s.lifeSavedValue = GetDlgItem(view, IDC_STATS_LIFE);
  s.hint = GetDlgItem(view, IDC_STATS_HINT);
  s.hotkeyName = GetDlgItem(view, IDC_STATS_HOTKEY_NAME);
}

// Figures in pixels at 96 DPI.
constexpr int QuitTimeFontHeight = 16;
constexpr int QuitTimeHeight = 22;
constexpr int ButtonSize = 48;
constexpr int ButtonIconSize = 32;

RECT PlaceInView(HWND view, int id) {
  RECT place{};
  HWND control = GetDlgItem(view, id);
  GetWindowRect(control, &place);
  MapWindowPoints(HWND_DESKTOP, view, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// The quit time stands in the value column beside its caption; the button
// stands in the Clipboard group, centred right of its label.
void LayOutPixelParts(HWND view, ViewState& s) {
  const int dpi = WindowDpi(view);
  s.quitTimeFont.Reset(CreateFontA(ScaleToDpi(QuitTimeFontHeight, dpi), 0, 0, 0, 500, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, "MS Sans Serif"));
  SetWindowFont(s.quitTimeValue, s.quitTimeFont.get(), TRUE);
  const RECT caption = PlaceInView(view, IDC_STATS_QUIT_CAPTION);
  const RECT column = PlaceInView(view, IDC_STATS_DAYS);
  const int height = ScaleToDpi(QuitTimeHeight, dpi);
  SetWindowPos(s.quitTimeValue, nullptr, column.left, (caption.top + caption.bottom - height) / 2,
               column.right - column.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!s.clipboardButton) return;
  const RECT group = PlaceInView(view, IDC_STATS_CLIPBOARD_GROUP);
  const RECT label = PlaceInView(view, IDC_STATS_COPY_LABEL);
  const int size = ScaleToDpi(ButtonSize, dpi);
  SetWindowPos(s.clipboardButton, nullptr, (label.right + group.right - size) / 2,
               (label.top + label.bottom - size) / 2, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
  StatsClipboardIcon.Reset(LoadIconAtSize(ProgramInstance(), IDI_STATS_CLIPBOARD, ScaleToDpi(ButtonIconSize, dpi)));
  SendMessageA(s.clipboardButton, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(StatsClipboardIcon.get()));
}

void CreatePixelParts(HWND view, ViewState& s) {
  s.quitTimeValue = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_SIMPLE | SS_NOPREFIX, 0, 0, 0, 0, view,
                                    nullptr, ProgramInstance(), nullptr);
  s.clipboardButton = CreateWindowExA(0, "NEWSTATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY | SS_CENTERIMAGE,
                                      0, 0, 0, 0, view,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATS_CLIPBOARD_BUTTON)),
                                      ProgramInstance(), nullptr);
  // Without the NEWSTATIC class the view works without the button.
  if (s.clipboardButton) SubclassControl<ClipboardButtonProc>(s.clipboardButton);
  LayOutPixelParts(view, s);
}

// Both parts once, whatever the clock last remembered.
void ComputeAllFigures() {
  SysTime now = StatsClockSource();
  RefreshClockSecond(now);
  ShowQuitTime();
  RecomputeMinuteFigures();
  ShowMinuteFigures();
  QuitDetails.quitTime.wDayOfWeek = 0;
  QuitDetails.quitTime.wMilliseconds = 0;
  Clock = StatsClockMemory{};
  Clock.refreshedDay = TodayDayNumber;  // the other views are built for this day
}

void TellNewDay() {
  if (StatisticsView) SendMessageA(GetParent(StatisticsView), StatsNewDayMessage, 0, 0);
}

void StartClock() {
  StopStatisticsClock();
  StatsTimerId = SetTimer(nullptr, 0, ClockPeriodMs, StatisticsClockTick);
}

BOOL OnInitDialog(HWND view, HWND, LPARAM) {
  ViewState& s = AttachDialogState<ViewState>(view);
  StatisticsView = view;
  LookUpValueControls(view, s);
  CreatePixelParts(view, s);
  ComputeAllFigures();
  ShowStatsHotkeyName();
  StartClock();
  return FALSE;  // nothing here takes the focus
}

HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND control, int) {
  int id = GetDlgCtrlID(control);
  if (id >= IDC_STATS_QUIT_CAPTION && id <= IDC_STATS_LIFE_CAPTION) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    return GetSysColorBrush(COLOR_3DFACE);
  }
  if (id == IDC_STATS_HOTKEY_NAME) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    return GetSysColorBrush(COLOR_INFOBK);
  }
  return nullptr;  // default colours
}

void OnCommand(HWND view, int id, HWND, UINT code) {
  // The button's click (STN_CLICKED); other code-0 commands, such as a
  // dialog key's IDOK, are no click.
  if (code == STN_CLICKED && id == IDC_STATS_CLIPBOARD_BUTTON) CopyStatsToClipboard(view);
}

void OnClose(HWND view) { DestroyWindow(view); }

void OnDestroy(HWND view) {
  // No tick may write into the destroyed controls.
  StopStatisticsClock();
  const ViewState* s = StateOf(view);
  if (s && s->clipboardButton && GetCapture() == s->clipboardButton) ReleaseCapture();
  Clock = StatsClockMemory{};
  if (StatisticsView == view) StatisticsView = nullptr;
}

// The controls, destroyed after the view's WM_DESTROY, had the font and the
// button's icon until now.
void OnNcDestroy(HWND view) {
  DeleteDialogState<ViewState>(view);
  StatsClipboardIcon.Reset();
}

}  // namespace

INT_PTR CALLBACK StatisticsViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(view, wParam, lParam, OnInitDialog);
    case WM_CTLCOLORSTATIC:
      return HANDLE_WM_CTLCOLORSTATIC(view, wParam, lParam, OnCtlColorStatic);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(view, wParam, lParam, OnCommand);
      return TRUE;
    case WM_CLOSE:
      HANDLE_WM_CLOSE(view, wParam, lParam, OnClose);
      return TRUE;
    case WM_DESTROY:
      HANDLE_WM_DESTROY(view, wParam, lParam, OnDestroy);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(view, wParam, lParam, OnNcDestroy);
      return FALSE;
    default:
      return FALSE;
  }
}

HWND CreateStatisticsView(HWND parent) {
  return CreateDialogParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_STATISTICS), parent, StatisticsViewProc, 0);
}

void RefreshStatisticsNow() {
  if (StatisticsView) ComputeAllFigures();
}

void StopStatisticsClock() {
  if (StatsTimerId) KillTimer(nullptr, StatsTimerId);
  StatsTimerId = 0;
}

void CALLBACK StatisticsClockTick(HWND, UINT, UINT_PTR, DWORD) {
  SysTime now = StatsClockSource();
  RefreshClockValues(now);
  ClockTickPlan plan = PlanClockTick(now, Clock, StatsMinuteMarker);
  if (!plan.newSecond) return;
  RefreshClockSecond(now);
  ShowQuitTime();
  if (plan.newMinute) {
    RecomputeMinuteFigures();
    ShowMinuteFigures();
  }
  if (plan.newDay) TellNewDay();
}

void StatsTimeChanged() {
  MinuteInputsChanged();
  RefreshClockValues(StatsClockSource());
  Clock.refreshedDay = TodayDayNumber;
  TellNewDay();
}

void LayOutStatisticsView() {
  if (ViewState* s = StateOf(StatisticsView)) LayOutPixelParts(StatisticsView, *s);
}

void ShowStatsHotkeyName() {
  if (const ViewState* s = StateOf(StatisticsView))
    SetWindowTextA(s->hotkeyName, HotkeyNameText(RegisteredHotkeyCode()).c_str());
}
