// The yardstick for the hotkey: a program that does nothing but hold
// Ctrl+Alt+Shift+Q and, each time it is pressed, wait for those keys to be up
// and type the text of the file named on its command line (ANSI) into the
// foreground window: one SendInput per character, with the events Fumora
// sends for it (the layout's key, wrapped in Shift where it needs it; one
// Enter for CR LF; Unicode input for a character without a plain key).
// It writes an empty file `ready` in its folder once it holds the hotkey.
//   bare_typer.exe text.txt      (bench/win/hotkey_typing.sh starts it)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring ReadText(const char* path) {
  std::string bytes;
  if (FILE* file = std::fopen(path, "rb")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    std::fclose(file);
  }
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                          static_cast<int>(text.size()))));
  return text;
}

INPUT Key(WORD key, WCHAR unit, bool release, HKL layout) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = key ? static_cast<WORD>(MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout)) : unit;
  input.ki.dwFlags = (key ? 0 : KEYEVENTF_UNICODE) | (release ? KEYEVENTF_KEYUP : 0);
  return input;
}

void Type(const std::wstring& text) {
  const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
  std::vector<INPUT> stroke;
  for (size_t i = 0; i < text.size(); ++i) {
    stroke.clear();
    WCHAR unit = text[i];
    const SHORT scan = unit == L'\r' || unit == L'\n' ? VK_RETURN : VkKeyScanExW(unit, layout);
    if (unit == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    const WORD key = static_cast<WORD>(scan & 0xFF);
    const bool shift = (scan & 0x100) != 0;
    if (scan == -1 || (scan & 0xFE00) != 0) {
      stroke = {Key(0, unit, false, layout), Key(0, unit, true, layout)};
    } else {
      if (shift) stroke.push_back(Key(VK_SHIFT, 0, false, layout));
      stroke.push_back(Key(key, 0, false, layout));
      stroke.push_back(Key(key, 0, true, layout));
      if (shift) stroke.push_back(Key(VK_SHIFT, 0, true, layout));
    }
    SendInput(static_cast<UINT>(stroke.size()), stroke.data(), sizeof(INPUT));
  }
}

bool HotkeyKeysDown() {
  for (int key : {VK_CONTROL, VK_MENU, VK_SHIFT, int{'Q'}})
    if (GetAsyncKeyState(key) < 0) return true;
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const std::wstring text = ReadText(commandLine);
  if (text.empty() || !RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'Q')) return 1;
  if (FILE* ready = std::fopen("ready", "wb")) std::fclose(ready);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message != WM_HOTKEY) continue;
    while (HotkeyKeysDown()) Sleep(1);
    Type(text);
  }
  return 0;
}
