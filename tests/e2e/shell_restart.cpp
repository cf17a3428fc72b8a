// What a restart of Explorer does to Fumora, as seen from Fumora: the new
// shell holds none of its icons, and it announces itself with the
// "TaskbarCreated" message to every top-level window.
#include <windows.h>
#include <shellapi.h>

int main() {
  HWND fumora = FindWindowA("#32770", " Fumora v1.05b");
  if (!fumora) return 2;
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = fumora;
  icon.uID = 0;
  if (!Shell_NotifyIconA(NIM_DELETE, &icon)) return 3;
  Sleep(500);
  PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  return 0;
}
