// The yardstick for start-up beside the bare dialogs: the windows that
// Fumora's main window shows at its first paint, made from Fumora's own
// resources (the main template with its menu bar, the statistics view's
// template, the icons, the manifest) with the same classes, styles, fonts and
// icons, and fixed texts where Fumora shows its figures. Nothing else: no
// settings, data files, figures, clock, hooks, hotkey or locale set-up, no
// colours of its own (they cost the same paint), and no layout beyond the
// places Fumora gives its windows at 96 DPI. What Fumora takes beyond it is
// its own work; the rest is the platform's cost of the windows the program
// must have. The views that Fumora makes after its first paint are left out:
// start-up is timed to the first paint. Nothing it makes is freed: it is
// ended, not closed.
//   bench/win/startup.sh starts it (through startup_probe.exe).
#include <windows.h>
#include <commctrl.h>

#include "resource.h"

namespace {

HINSTANCE Instance;

HICON Icon(int id, int size) {
  return static_cast<HICON>(LoadImageA(Instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

HFONT Font(int height, int weight, const char* face) {
  return CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, face);
}

HWND Child(HWND parent, const char* type, const char* text, DWORD style, int x, int y, int width, int height,
           int id = 0) {
  return CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance, nullptr);
}

// The strip down the left edge: a panel, four icon labels and their captions.
void MakeStrip(HWND window) {
  WNDCLASSEXA type{};
  type.cbSize = sizeof(type);
  GetClassInfoExA(nullptr, "STATIC", &type);
  type.hInstance = Instance;
  type.lpszClassName = "NEWSTATIC";
  RegisterClassExA(&type);

  HWND panel = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, "STATIC", "",
                               WS_CHILD | WS_VISIBLE | SS_GRAYRECT, 7, 3, 78, 328, window, nullptr, Instance, nullptr);
  HFONT font = Font(14, 500, "MS Sans Serif");
  const struct {
    int top, icon;
    const char* caption;
  } buttons[] = {{10, IDI_QUIT_STATS, "Quit Stats"},
                 {88, IDI_MILESTONES, "Milestones"},
                 {163, IDI_BUDDIES, "Buddies"},
                 {238, IDI_DAYS_AHEAD, "Days Ahead"}};
  for (const auto& button : buttons) {
    HWND label = Child(panel, "NEWSTATIC", "", SS_NOTIFY | SS_CENTERIMAGE | SS_ICON, 13, button.top, 48, 48);
    SendMessageA(label, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Icon(button.icon, 32)));
    HWND caption = Child(panel, "STATIC", button.caption, SS_CENTER, 0, button.top + 51, 72, 15);
    SendMessageA(caption, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

INT_PTR CALLBACK ViewProc(HWND view, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    const struct {
      int id;
      const char* text;
    } texts[] = {{IDC_STATS_DAYS, "10 Days"},
                 {IDC_STATS_CIGS, "210"},
                 {IDC_STATS_MONEY, "$52.55"},
                 {IDC_STATS_LIFE, "17h 30m"},
                 {IDC_STATS_HOTKEY_NAME, "None"}};
    for (const auto& text : texts) SetDlgItemTextA(view, text.id, text.text);
    RECT value{72, 12, 197, 24};
    MapDialogRect(view, &value);
    HWND quitTime = Child(view, "STATIC", "1W 3D 12h 15m 41s", SS_SIMPLE | SS_NOPREFIX, value.left, value.top,
                          value.right - value.left, 22);
    SendMessageA(quitTime, WM_SETFONT, reinterpret_cast<WPARAM>(Font(16, 500, "MS Sans Serif")), TRUE);
    RECT button{155, 120, 195, 150};
    MapDialogRect(view, &button);
    HWND clipboard =
        Child(view, "NEWSTATIC", "", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, button.left, button.top, 48, 48,
              IDC_STATS_CLIPBOARD_BUTTON);
    SendMessageA(clipboard, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Icon(IDI_STATS_CLIPBOARD, 32)));
    return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK MainProc(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      SendMessageA(window, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(Icon(IDI_FUMORA_SMALL, GetSystemMetrics(SM_CXSMICON))));
      MakeStrip(window);
      HWND view = CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_STATISTICS), window, ViewProc, 0);
      RECT area{VIEW_LEFT, VIEW_TOP, 0, 0};
      MapDialogRect(window, &area);
      SetWindowPos(view, nullptr, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      HWND title = GetDlgItem(window, IDC_TITLE_LABEL);
      SetWindowTextA(title, "Quitting Statistics");
      SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(Font(20, FW_BOLD, "Arial")), TRUE);
      // The window holds the strip and the view, with Fumora's margin of 4.
      RECT place, client, outer;
      GetWindowRect(view, &place);
      MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&place), 2);
      GetClientRect(window, &client);
      GetWindowRect(window, &outer);
      SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + place.right + 4 - client.right,
                   outer.bottom - outer.top + place.bottom + 4 - client.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return FALSE;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Instance = instance;
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                               ICC_DATE_CLASSES | ICC_HOTKEY_CLASS | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainProc, 0);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
