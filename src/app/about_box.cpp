#include "app/about_box.h"

#include <windowsx.h>

#include <utility>

#include "resource.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/dpi.h"
#include "win/new_static.h"
#include "win/scoped.h"

namespace {
struct AboutState {
  HWND iconLabel = nullptr;
  ScopedIcon icon;  // the label shows it until the box has gone
};

void ShowIconAtDpi(AboutState& state, int dpi) {
  ScopedIcon icon(LoadIconAtSize(AppInstance, IDI_FUMORA, ScaleToDpi(32, dpi)));
  SendMessageA(state.iconLabel, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
  state.icon = std::move(icon);
}

BOOL OnInitDialog(HWND box, HWND, LPARAM) {
  RegisterNewStaticClass();
  AboutState& state = AttachDialogState<AboutState>(box);
  // SS_NOTIFY, or STATIC answers hit-tests as transparent and the pointer
  // never reaches the label to draw its hover frame. Its clicks come as
  // commands with ID 0, which the box ignores.
  state.iconLabel = CreateWindowExA(0, NewStaticClassName, "",
                                    WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTERIMAGE | SS_ICON, Scaled(box, 13),
                                    Scaled(box, 14), Scaled(box, 48), Scaled(box, 48), box, nullptr, AppInstance, nullptr);
  ShowIconAtDpi(state, WindowDpi(box));
  FollowDpiChanges(box);  // it places the label anew; the box draws the icon again
  return FALSE;
}

void OnCommand(HWND box, int id, HWND, UINT) {
  // Escape (IDCANCEL) leaves the box open; OK and Enter close it.
  if (id == IDC_ABOUT_OK) EndDialog(box, 0);
}

void OnClose(HWND box) { EndDialog(box, 0); }

void OnDpiChanged(HWND box, int dpi) {
  if (AboutState* state = DialogStateOf<AboutState>(box)) ShowIconAtDpi(*state, dpi);
}

void OnNcDestroy(HWND box) { DeleteDialogState<AboutState>(box); }
}  // namespace

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(box, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(box, wParam, lParam, OnCommand);
      return TRUE;
    case WM_CLOSE:
      HANDLE_WM_CLOSE(box, wParam, lParam, OnClose);
      return TRUE;
    case DpiChangedMessage:
      OnDpiChanged(box, LOWORD(wParam));
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(box, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

void ShowAboutBox(HWND owner) {
  DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc, 0);
}
