#include "hotkey/typing.h"

#include <vector>

namespace {

std::u16string WideText(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::u16string wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()), length);
  return wide;
}

std::vector<LayoutKey> AskLayout(std::u16string_view text, HKL layout) {
  std::vector<LayoutKey> answers;
  answers.reserve(text.size());
  for (char16_t unit : text) {
    LayoutKey answer;
    answer.scan = VkKeyScanExW(static_cast<WCHAR>(unit), layout);
    const UINT key = static_cast<UINT>(answer.scan) & 0xFF;
    if (answer.scan != -1 && key != 0) answer.dead = (MapVirtualKeyExW(key, MAPVK_VK_TO_CHAR, layout) & 0x80000000u) != 0;
    answers.push_back(answer);
  }
  return answers;
}

// The target reads its input at its own pace. Until it has read the key
// releases, and answered one message after them, a lone Alt release may
// still be on its way to open the menu bar; a hung target is not waited for.
bool TargetInMenuMode(DWORD thread, HWND focus) {
  constexpr DWORD SettleMs = 250;
  const DWORD start = GetTickCount();
  while ((GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0) &&
         GetTickCount() - start < SettleMs)
    Sleep(5);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(focus, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, SettleMs, &ignored);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE) != 0;
}

bool IsOwnWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

// Our input processing shares the target thread's for the length of one
// typing run: that is what lets us read and set its focus window.
class AttachedInput {
 public:
  explicit AttachedInput(DWORD target) : target_(target) {
    attached_ = target_ != GetCurrentThreadId() && AttachThreadInput(GetCurrentThreadId(), target_, TRUE);
  }
  ~AttachedInput() {
    if (attached_) AttachThreadInput(GetCurrentThreadId(), target_, FALSE);
  }
  AttachedInput(const AttachedInput&) = delete;
  AttachedInput& operator=(const AttachedInput&) = delete;
  explicit operator bool() const { return attached_; }

 private:
  DWORD target_;
  bool attached_ = false;
};

// Only one window can be locked at a time: another program's lock is not ours to lift.
class DrawingLock {
 public:
  explicit DrawingLock(HWND window) : locked_(LockWindowUpdate(window) != FALSE) {}
  ~DrawingLock() {
    if (locked_) LockWindowUpdate(nullptr);
  }
  DrawingLock(const DrawingLock&) = delete;
  DrawingLock& operator=(const DrawingLock&) = delete;

 private:
  bool locked_;
};

}  // namespace

void SendKeyEvents(const KeyEvent* events, size_t count, HKL layout) {
  if (count == 0) return;
  std::vector<INPUT> inputs(count);
  for (size_t i = 0; i < count; ++i) {
    const KeyEvent& event = events[i];
    KEYBDINPUT& key = inputs[i].ki;
    inputs[i].type = INPUT_KEYBOARD;
    if (event.key == 0) {
      key.wScan = event.unit;
      key.dwFlags = KEYEVENTF_UNICODE;
    } else {
      key.wVk = event.key;
      key.wScan = static_cast<WORD>(MapVirtualKeyExA(event.key, MAPVK_VK_TO_VSC, layout));
      if (event.extended) key.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    if (event.release) key.dwFlags |= KEYEVENTF_KEYUP;
  }
  SendInput(static_cast<UINT>(count), inputs.data(), sizeof(INPUT));
}

bool TypeIntoForeground(const std::string& text, uint32_t hotkeyCode) {
  HWND foreground = GetForegroundWindow();
  if (!foreground || IsOwnWindow(foreground)) return false;
  const DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
  AttachedInput input(thread);
  if (!input) return false;
  HWND focus = GetFocus();
  if (!focus || IsOwnWindow(focus)) return false;
  SetFocus(focus);
  DrawingLock lock(focus);

  const HKL layout = GetKeyboardLayout(thread);
  const std::u16string wide = WideText(text);
  TypingConditions conditions;
  conditions.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
  conditions.hotkeyCode = hotkeyCode;
  conditions.inMenu = TargetInMenuMode(thread, focus);
  for (const Keystroke& stroke : PlanTyping(wide, AskLayout(wide, layout), conditions))
    SendKeyEvents(stroke.events.data(), stroke.count, layout);
  return true;
}
