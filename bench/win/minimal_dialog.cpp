// The yardstick for start-up time: a dialog program that does nothing else.
#include <windows.h>

static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_COMMAND && LOWORD(wp) == IDOK) EndDialog(dlg, 0);
  if (msg == WM_CLOSE) EndDialog(dlg, 0);
  return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, Proc, 0));
}
