#include "win/dpi.h"

#include "win/system_library.h"

namespace {
// Declared here: the SDK declares them only for Windows 10 targets.
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);

HMODULE User32() {
  static const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32;
}
}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : BaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : BaseDpi;
}

int WindowDpi(HWND window) {
  static auto* const forWindow = SystemFunction<GetDpiForWindowFunction>(User32(), "GetDpiForWindow");
  if (window && forWindow) {
    const UINT dpi = forWindow(window);
    if (dpi) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SmallIconSize(HWND window) {
  static auto* const forDpi = SystemFunction<GetSystemMetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
  const int dpi = WindowDpi(window);
  const int size = forDpi ? forDpi(SM_CXSMICON, static_cast<UINT>(dpi)) : 0;
  return size > 0 ? size : GetSystemMetrics(SM_CXSMICON);  // at the system DPI
}

HICON LoadIconAtSize(HINSTANCE instance, int id, int size) {
  for (int drawn = DrawnIconSize(size);; drawn = DrawnIconSize(drawn - 1)) {
    if (HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, drawn, drawn, 0))
      return static_cast<HICON>(icon);
    if (drawn == DrawnIconSizes[0]) return nullptr;
  }
}
