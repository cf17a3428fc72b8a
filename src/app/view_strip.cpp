#include "app/view_strip.h"

#include "resource.h"

#include "app/main_window.h"
#include "win/app_state.h"
#include "win/new_static.h"
#include "win/scoped.h"
#include "win/subclass.h"

HWND StripPanel;
HICON StripIcons[StripButtonCount];

namespace {
ScopedFont StripFont;

struct StripButton {
  int top;  // of the icon label; its caption starts at top + 51
  int icon;
  const char* caption;
};
// By view index: statistics, milestones, buddies, days ahead.
constexpr StripButton Buttons[StripButtonCount] = {
    {10, IDI_QUIT_STATS, "Quit Stats"},
    {88, IDI_MILESTONES, "Milestones"},
    {163, IDI_BUDDIES, "Buddies"},
    {238, IDI_DAYS_AHEAD, "Days Ahead"},
};
constexpr int LabelLeft = 13;
constexpr int LabelSize = 48;
constexpr int CaptionOffset = 51;
constexpr int CaptionWidth = 72;
constexpr int CaptionHeight = 15;

// The class's hover frame lives on the capture: whatever takes the capture
// away (a switch to another program) takes the frame too.
LRESULT StripLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != label)
    DrawLabelFrame(label, LabelFrame::Erased);
  return DefSubclassProc(label, message, wParam, lParam);
}

void BuildButtons(HWND panel) {
  StripFont.Reset(CreateFontA(14, 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "MS Sans Serif"));
  for (int index = 0; index < StripButtonCount; ++index) {
    const StripButton& button = Buttons[index];
    HWND label = CreateWindowExA(0, NewStaticClassName, "",
                                 WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTERIMAGE | SS_ICON, LabelLeft,
                                 button.top, LabelSize, LabelSize, panel,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)), AppInstance, nullptr);
    SubclassControl<StripLabelProc>(label);
    // Not LoadIconA: its icons are shared and must never reach DestroyIcon.
    StripIcons[index] = static_cast<HICON>(
        LoadImageA(AppInstance, MAKEINTRESOURCEA(button.icon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    SendMessageA(label, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(StripIcons[index]));
    HWND caption = CreateWindowExA(0, "STATIC", button.caption, WS_CHILD | WS_VISIBLE | SS_CENTER, 0,
                                   button.top + CaptionOffset, CaptionWidth, CaptionHeight, panel, nullptr,
                                   AppInstance, nullptr);
    SendMessageA(caption, WM_SETFONT, reinterpret_cast<WPARAM>(StripFont.get()), FALSE);
  }
}

LRESULT OnControlColour(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOBK));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNSHADOW));
}

void OnCommand(WPARAM wParam) {
  // Notification code 0 is a NEWSTATIC label's click; its ID is the view index.
  if (HIWORD(wParam) == STN_CLICKED) SelectView(LOWORD(wParam));
}

void OnDestroy() {
  StripFont.Reset();
  StripPanel = nullptr;
}

// The panel's behaviour; everything else goes on to its STATIC procedure.
LRESULT ViewStripProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      break;
  }
  return DefSubclassProc(panel, message, wParam, lParam);
}
}  // namespace

HWND CreateViewStrip(HWND mainWindow) {
  StripPanel = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_GRAYRECT, 7, 3, 78, 328,
                               mainWindow, nullptr, AppInstance, nullptr);
  if (!StripPanel) return nullptr;
  SubclassControl<ViewStripProc>(StripPanel);
  RegisterNewStaticClass();
  BuildButtons(StripPanel);
  return StripPanel;
}

void DestroyStripIcons() {
  for (HICON& icon : StripIcons) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
}
