#include "app/view_strip.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "resource.h"

#include "app/main_window.h"
#include "win/app_state.h"
#include "win/dpi.h"
#include "win/new_static.h"
#include "win/scoped.h"
#include "win/subclass.h"

HWND StripPanel;
ScopedIcon StripIcons[StripButtonCount];

namespace {
ScopedFont StripFont;

struct StripButton {
  int top;  // of the icon label; its caption starts at top + 51
  int icon;
  const char* caption;
};
// By view index: statistics, milestones, buddies, days ahead. Figures in
// pixels at 96 DPI.
constexpr StripButton Buttons[StripButtonCount] = {
    {10, IDI_QUIT_STATS, "Quit Stats"},
    {88, IDI_MILESTONES, "Milestones"},
    {163, IDI_BUDDIES, "Buddies"},
    {238, IDI_DAYS_AHEAD, "Days Ahead"},
};
constexpr int LabelLeft = 13;
constexpr int LabelSize = 48;
constexpr int IconSize = 32;
constexpr int CaptionOffset = 51;
constexpr int CaptionWidth = 72;  // at the least
constexpr int CaptionHeight = 15;
constexpr int CaptionFontHeight = 14;
// The captions' IDs follow the labels' (the view indexes).
constexpr int FirstCaptionId = StripButtonCount;

int TextWidth(HWND control, HFONT font) {
  char text[32] = {};
  GetWindowTextA(control, text, sizeof text);
  WindowDC dc(control);
  SelectedObject selected(dc.get(), font);
  SIZE size{};
  GetTextExtentPoint32A(dc.get(), text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

// The class's hover frame lives on the capture: whatever takes the capture
// away (a switch to another program) takes the frame too.
LRESULT StripLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != label)
    DrawLabelFrame(label, LabelFrame::Erased);
  return DefSubclassProc(label, message, wParam, lParam);
}

void BuildButtons(HWND panel) {
  for (int index = 0; index < StripButtonCount; ++index) {
    HWND label = CreateWindowExA(0, NewStaticClassName, "", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTERIMAGE | SS_ICON,
                                 0, 0, 0, 0, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)), AppInstance,
                                 nullptr);
    SubclassControl<StripLabelProc>(label);
    CreateWindowExA(0, "STATIC", Buttons[index].caption, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0, panel,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstCaptionId + index)), AppInstance, nullptr);
  }
}
}  // namespace

void LayOutViewStrip() {
  if (!StripPanel) return;
  const int dpi = WindowDpi(StripPanel);
  auto scaled = [dpi](int value) { return ScaleToDpi(value, dpi); };
  StripFont.Reset(CreateFontA(scaled(CaptionFontHeight), 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "MS Sans Serif"));
  RECT panel{};
  GetClientRect(StripPanel, &panel);
  for (int index = 0; index < StripButtonCount; ++index) {
    const StripButton& button = Buttons[index];
    HWND label = GetDlgItem(StripPanel, index);
    SetWindowPos(label, nullptr, scaled(LabelLeft), scaled(button.top), scaled(LabelSize), scaled(LabelSize),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    StripIcons[index].Reset(LoadIconAtSize(AppInstance, button.icon, scaled(IconSize)));
    SendMessageA(label, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(StripIcons[index].get()));
    // Wider where the text needs it (up to the panel's width): the caption
    // font's sizes do not follow the DPI evenly.
    HWND caption = GetDlgItem(StripPanel, FirstCaptionId + index);
    const int width = std::min<int>(std::max(scaled(CaptionWidth), TextWidth(caption, StripFont.get())), panel.right);
    SetWindowPos(caption, nullptr, 0, scaled(button.top + CaptionOffset), width, scaled(CaptionHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(caption, WM_SETFONT, reinterpret_cast<WPARAM>(StripFont.get()), TRUE);
  }
}

namespace {
HBRUSH OnControlColour(HWND, HDC dc, HWND, int) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOBK));
  return GetSysColorBrush(COLOR_BTNSHADOW);
}

void OnCommand(HWND, int id, HWND, UINT code) {
  // Notification code 0 is a NEWSTATIC label's click; its ID is the view index.
  if (code == STN_CLICKED) SelectView(id);
}

void OnDestroy(HWND) {
  StripFont.Reset();
  for (ScopedIcon& icon : StripIcons) icon.Reset();
  StripPanel = nullptr;
}

// The panel's behaviour; everything else goes on to its STATIC procedure.
LRESULT ViewStripProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(panel, WM_CTLCOLORSTATIC, OnControlColour);
    HANDLE_MSG(panel, WM_COMMAND, OnCommand);
    case WM_DESTROY:
      HANDLE_WM_DESTROY(panel, wParam, lParam, OnDestroy);
      break;  // and on to the STATIC procedure
  }
  return DefSubclassProc(panel, message, wParam, lParam);
}
}  // namespace

HWND CreateViewStrip(HWND mainWindow) {
  // The main window places and sizes it (PlaceViewStrip), which lays out the
  // buttons: laid out before, in a panel of no size, they would load their
  // icons twice on the way to the first paint.
  StripPanel = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_GRAYRECT, 0, 0, 0, 0,
                               mainWindow, nullptr, AppInstance, nullptr);
  if (!StripPanel) return nullptr;
  SubclassControl<ViewStripProc>(StripPanel);
  RegisterNewStaticClass();
  BuildButtons(StripPanel);
  return StripPanel;
}

int PlaceViewStrip() {
  const int dpi = WindowDpi(StripPanel);
  const int top = ScaleToDpi(3, dpi), height = ScaleToDpi(328, dpi);
  SetWindowPos(StripPanel, nullptr, ScaleToDpi(7, dpi), top, ScaleToDpi(78, dpi), height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutViewStrip();
  return top + height;
}
