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

// The panel, down the main window's left edge, in its client area.
RECT StripPlace(int dpi) {
  const int left = ScaleToDpi(7, dpi), top = ScaleToDpi(3, dpi);
  return {left, top, left + ScaleToDpi(78, dpi), top + ScaleToDpi(328, dpi)};
}

int TextWidth(HDC dc, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

// Moves the panel's child `id` to `place`, or makes it there: a window made in
// its place needs no move, and no parent is told (each notification to the
// subclassed panel and main window costs lookups).
HWND PlaceChild(int id, const char* className, const char* text, DWORD style, const RECT& place) {
  const int width = place.right - place.left, height = place.bottom - place.top;
  if (HWND child = GetDlgItem(StripPanel, id)) {
    SetWindowPos(child, nullptr, place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return child;
  }
  return CreateWindowExA(WS_EX_NOPARENTNOTIFY, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                         width, height, StripPanel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance,
                         nullptr);
}
}  // namespace

void LayOutViewStrip() {
  if (!StripPanel) return;
  const int dpi = WindowDpi(StripPanel);
  auto scaled = [dpi](int value) { return ScaleToDpi(value, dpi); };
  StripFont.Reset(CreateFontA(scaled(CaptionFontHeight), 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "MS Sans Serif"));
  RECT panel{};
  GetClientRect(StripPanel, &panel);
  WindowDC dc(StripPanel);  // measures the captions
  SelectedObject selected(dc.get(), StripFont.get());
  for (int index = 0; index < StripButtonCount; ++index) {
    const StripButton& button = Buttons[index];
    const int left = scaled(LabelLeft), top = scaled(button.top), size = scaled(LabelSize);
    HWND label = PlaceChild(index, NewStaticClassName, "", SS_NOTIFY | SS_CENTERIMAGE | SS_ICON,
                            {left, top, left + size, top + size});
    StripIcons[index].Reset(LoadIconAtSize(AppInstance, button.icon, scaled(IconSize)));
    SendMessageA(label, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(StripIcons[index].get()));
    // Wider where the text needs it (up to the panel's width): the caption
    // font's sizes do not follow the DPI evenly.
    const int width =
        std::min<int>(std::max(scaled(CaptionWidth), TextWidth(dc.get(), button.caption)), panel.right);
    const int captionTop = scaled(button.top + CaptionOffset);
    HWND caption = PlaceChild(FirstCaptionId + index, "STATIC", button.caption, SS_CENTER,
                              {0, captionTop, width, captionTop + scaled(CaptionHeight)});
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
  // Made in its place and laid out once: nothing on the way to the first
  // paint is moved, measured or loaded twice.
  const RECT place = StripPlace(WindowDpi(mainWindow));
  StripPanel = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_GRAYRECT,
                               place.left, place.top, place.right - place.left, place.bottom - place.top, mainWindow,
                               nullptr, AppInstance, nullptr);
  if (!StripPanel) return nullptr;
  SubclassControl<ViewStripProc>(StripPanel);
  RegisterNewStaticClass();
  LayOutViewStrip();
  return StripPanel;
}

void PlaceViewStrip() {
  const RECT place = StripPlace(WindowDpi(StripPanel));
  SetWindowPos(StripPanel, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutViewStrip();
}

int ViewStripBottom() { return StripPlace(WindowDpi(StripPanel)).bottom; }
