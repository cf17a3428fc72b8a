// What a restart of Explorer does to Fumora, as seen from Fumora, in two
// steps: "forget" (the new shell holds none of its icons) and "announce"
// (the new shell sends "TaskbarCreated" to every top-level window).
#include <windows.h>
#include <shellapi.h>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) return 1;
  if (std::strcmp(argv[1], "announce") == 0) {
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    return 0;
  }
  HWND fumora = FindWindowA("#32770", " Fumora v1.05b");
  if (!fumora || std::strcmp(argv[1], "forget") != 0) return 2;
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = fumora;
  icon.uID = 0;
  return Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 3;
}
