// What the main window costs up to its first paint under Wine, against a
// frame holding as many plain STATIC texts: printed, never judged. Start-up
// time beyond a bare dialog is mostly this: under Wine every child window
// costs a few tenths of a millisecond to make and as much again to paint,
// whatever it shows (some three times that when the wineserver wakes on
// another CPU).
//   scripts/test-env start $PWD/build/win32/testenv win32 &&
//     scripts/wine-run $PWD/build/win32/testenv build/win32/first_paint_bench.exe
#include <windows.h>

#include <cstdio>

#include "app/main_window.h"
#include "app/startup.h"
#include "bench_timing.h"
#include "win/app_state.h"

namespace {
struct Census {
  int all = 0;
  int shown = 0;  // visible once the top-level window is
};

BOOL CALLBACK CountChild(HWND child, LPARAM data) {
  auto* census = reinterpret_cast<Census*>(data);
  ++census->all;
  bool shown = true;
  for (HWND w = child; w && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD); w = GetParent(w)) {
    if (!(GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE)) shown = false;
  }
  census->shown += shown;
  return TRUE;
}

// Shown, and painted with every child before this returns.
double ShowAndPaint(HWND window) {
  const double start = NowMs();
  ShowWindow(window, SW_SHOWNOACTIVATE);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return NowMs() - start;
}

// A captioned top-level window with `texts` plain STATIC children, made at
// `frame`; the times taken go to `made` and `painted`.
HWND PlainFrame(const RECT& frame, int texts, double& made, double& painted) {
  const double start = NowMs();
  HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_POPUP | WS_CAPTION, frame.left, frame.top,
                               frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, AppInstance,
                               nullptr);
  for (int i = 0; i < texts; ++i) {
    CreateWindowExA(0, "STATIC", "Plain text", WS_CHILD | WS_VISIBLE, 4, 4 + 12 * i, 120, 11, plain, nullptr,
                    AppInstance, nullptr);
  }
  made = NowMs() - start;
  painted = ShowAndPaint(plain);
  return plain;
}
}  // namespace

int main() {
  InitialiseProcessValues(GetModuleHandleA(nullptr));

  // The first window a process shows pays for the platform's own set-up, a
  // bare dialog as much as Fumora: taken here, apart from both figures below.
  double made = 0, painted = 0;
  DestroyWindow(PlainFrame(RECT{0, 0, 200, 100}, 0, made, painted));
  Pump();
  std::printf("first window of the process (an empty frame): made in %.1f ms, shown and painted in %.1f ms\n", made,
              painted);

  double start = NowMs();
  HWND main = CreateMainWindow();
  made = NowMs() - start;
  if (!main) {
    std::printf("the main window was not made\n");
    return 1;
  }
  Census census;
  EnumChildWindows(main, CountChild, reinterpret_cast<LPARAM>(&census));
  painted = ShowAndPaint(main);

  // The yardstick: a frame of the same size holding as many plain texts as
  // the main window shows windows.
  RECT frame;
  GetWindowRect(main, &frame);
  double plainMade = 0, plainPainted = 0;
  HWND plain = PlainFrame(frame, census.shown, plainMade, plainPainted);

  std::printf("main window: made in %.1f ms, shown and painted in %.1f ms; %d child windows, %d of them shown\n",
              made, painted, census.all, census.shown);
  std::printf("%d plain STATIC windows in a frame: made in %.1f ms, shown and painted in %.1f ms\n", census.shown,
              plainMade, plainPainted);
  DestroyWindow(plain);
  DestroyWindow(main);
  Pump();
  return 0;
}
