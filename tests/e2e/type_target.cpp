// A stand-in for a chat window: a top-level window with a menu bar and a
// multi-line edit box that has the focus. A moment after each change it
// writes what it holds to the file named on its command line:
//   <time of the last change, Unix ms> ctrl=<0|1> alt=<0|1> shift=<0|1> menu=<0|1>
//   <the edit box's text, as GetWindowTextA gives it>
// menu=1 while the menu bar has the keyboard (a lone Alt release gives it).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND Edit;
std::string OutputPath;
long long LastChangeMs;
bool InMenu;

int Down(int key) { return (GetKeyState(key) < 0 || GetAsyncKeyState(key) < 0) ? 1 : 0; }

// Written aside and moved over, so that a reader never sees half a file.
void WriteState() {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(Edit)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(Edit, text.data(), static_cast<int>(text.size()))));
  const std::string temporary = OutputPath + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "%lld ctrl=%d alt=%d shift=%d menu=%d\n", LastChangeMs, Down(VK_CONTROL), Down(VK_MENU),
               Down(VK_SHIFT), InMenu ? 1 : 0);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  MoveFileExA(temporary.c_str(), OutputPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
                             0, 0, window, nullptr, nullptr, nullptr);
      return 0;
    case WM_SIZE:
      MoveWindow(Edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(Edit);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        LastChangeMs =
            static_cast<long long>(ULARGE_INTEGER{{now.dwLowDateTime, now.dwHighDateTime}}.QuadPart / 10000) -
            11644473600000LL;
        SetTimer(window, 1, 100, nullptr);
      }
      return 0;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      InMenu = message == WM_ENTERMENULOOP;
      SetTimer(window, 1, 100, nullptr);
      break;
    case WM_TIMER:
      KillTimer(window, 1);
      WriteState();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  OutputPath = commandLine && *commandLine ? commandLine : "typed.txt";
  WNDCLASSA type{0, WindowProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "FumoraTypingTarget"};
  RegisterClassA(&type);
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, 100, "&About");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  HWND window = CreateWindowExA(0, "FumoraTypingTarget", "Fumora typing target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300,
                                200, 520, 320, nullptr, bar, instance, nullptr);
  MSG message;
  while (window && GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
