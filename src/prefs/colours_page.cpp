// The colours page: a working copy of the seven AppColors entries, each shown
// in a swatch painted with its own brush and changed with the colour chooser.
#include <windows.h>
#include <commdlg.h>
#include <windowsx.h>

#include <array>

#include "prefs/pages.h"
#include "prefs/preferences_dialog.h"
#include "resource.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/scoped.h"
#include "win/system_library.h"

// comdlg32 is loaded when the chooser is first opened: start-up does without it.
BOOL WINAPI SystemChooseColour(LPCHOOSECOLORA chooser) {
  static auto* const choose = SystemFunction<decltype(ChooseColorA)>(LoadSystemLibrary("comdlg32.dll"), "ChooseColorA");
  return choose && choose(chooser);
}
ChooseColourFunction PrefsChooseColour = SystemChooseColour;

namespace {

constexpr std::size_t ColourCount = 7;

// In AppColors order.
struct ColourControls {
  int swatch;
  int button;
};
constexpr ColourControls Controls[ColourCount] = {
    {IDC_COL_ANNIVERSARY_BACK, IDC_COL_PICK_ANNIVERSARY_BACK},
    {IDC_COL_ANNIVERSARY_TEXT, IDC_COL_PICK_ANNIVERSARY_TEXT},
    {IDC_COL_TODAY_BACK, IDC_COL_PICK_TODAY_BACK},
    {IDC_COL_TOMORROW_BACK, IDC_COL_PICK_TOMORROW_BACK},
    {IDC_COL_ROW_HIGHLIGHT_BACK, IDC_COL_PICK_ROW_HIGHLIGHT_BACK},
    {IDC_COL_TODAY_TEXT, IDC_COL_PICK_TODAY_TEXT},
    {IDC_COL_TOMORROW_TEXT, IDC_COL_PICK_TOMORROW_TEXT},
};

// Lives from WM_INITDIALOG to WM_NCDESTROY, which deletes the brushes.
struct ColoursState {
  AppColorsRecord working{};
  std::array<ScopedBrush, ColourCount> brushes;
  CHOOSECOLORA chooser{};
  uint32_t& Colour(std::size_t index) { return *ColourFields(working)[index]; }
};

ColoursState* StateOf(HWND page) { return DialogStateOf<ColoursState>(page); }

BOOL OnInitDialog(HWND page, HWND, LPARAM) {
  ColoursState* state = &AttachDialogState<ColoursState>(page);
  state->chooser.lStructSize = sizeof(CHOOSECOLORA);
  state->chooser.hwndOwner = page;
  state->chooser.hInstance = reinterpret_cast<HWND>(AppInstance);
  state->chooser.lpCustColors = CustomColours;  // the run-long custom colours
  state->chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  state->working = AppColors;
  for (std::size_t i = 0; i < ColourCount; ++i) state->brushes[i].Reset(CreateSolidBrush(state->Colour(i)));
  return FALSE;
}

void PickColour(HWND page, std::size_t index) {
  ColoursState* state = StateOf(page);
  state->chooser.rgbResult = state->Colour(index);
  if (!PrefsChooseColour(&state->chooser)) return;
  // Confirming counts as a change even when the colour stays the same.
  const COLORREF chosen = state->chooser.rgbResult & 0x00FFFFFF;
  state->Colour(index) = chosen;
  state->brushes[index].Reset(CreateSolidBrush(chosen));
  InvalidateRect(GetDlgItem(page, Controls[index].swatch), nullptr, TRUE);
  MarkPreferencesChanged(page);
}

void OnCommand(HWND page, int id, HWND, UINT code) {
  if (code != BN_CLICKED || !StateOf(page)) return;
  for (std::size_t i = 0; i < ColourCount; ++i)
    if (Controls[i].button == id) PickColour(page, i);
}

// A swatch is filled with its working colour; other statics keep the default.
HBRUSH OnCtlColorStatic(HWND page, HDC, HWND control, int) {
  ColoursState* state = StateOf(page);
  const int id = GetDlgCtrlID(control);
  for (std::size_t i = 0; state && i < ColourCount; ++i)
    if (Controls[i].swatch == id) return state->brushes[i].get();
  return nullptr;
}

void OnNcDestroy(HWND page) { DeleteDialogState<ColoursState>(page); }

INT_PTR CALLBACK ColoursPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(page, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(page, wParam, lParam, OnCommand);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return static_cast<INT_PTR>(HANDLE_WM_CTLCOLORSTATIC(page, wParam, lParam, OnCtlColorStatic));
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(page, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

HWND CreateColoursPage(HWND dialog) {
  return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFS_COLOURS), dialog, ColoursPageProc, 0);
}

AppColorsRecord ReadColoursPage(HWND page) {
  const ColoursState* state = StateOf(page);
  return state ? state->working : AppColors;
}
