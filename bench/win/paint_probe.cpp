// The hook that startup_probe.exe sets for every program (WH_GETMESSAGE): in
// the process it started, it notes the moment the first paint has ended. A
// thread paints when it takes a WM_PAINT from its queue, and it is offered
// WM_PAINT before any timer message and after everything else: the first
// message it takes, once a window of its is shown, that is no WM_PAINT while
// none is pending comes after every window has painted once. A timer of zero
// set then makes sure such a message comes. The window's pixels reach the
// screen as each window's paint ends (under Wine, as X damage of its place).
// The process's processor time by then is noted too: it varies less with the
// load of the machine than the time that passed.
#include "startup_probe.h"

namespace {

enum class Role { Unknown, Watching, Ignoring, Done };
Role role = Role::Unknown;
StartupProbe* shared;
HANDLE painted;
UINT_PTR timer;

bool Watching() {
  if (role != Role::Unknown) return role == Role::Watching;
  role = Role::Ignoring;
  if (HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, StartupProbeMapping)) {
    shared = static_cast<StartupProbe*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(StartupProbe)));
    if (shared && shared->process == GetCurrentProcessId()) {
      painted = OpenEventA(EVENT_MODIFY_STATE, FALSE, StartupProbePainted);
      role = Role::Watching;
    }
  }
  return role == Role::Watching;
}

BOOL CALLBACK FindShown(HWND window, LPARAM found) {
  if (!IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

void Look(const MSG& message) {
  bool shown = false;
  EnumThreadWindows(GetCurrentThreadId(), FindShown, reinterpret_cast<LPARAM>(&shown));
  if (!shown) return;
  if (!timer) timer = SetTimer(nullptr, 0, 0, nullptr);
  if (message.message == WM_PAINT || (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT)) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  shared->painted = now.QuadPart;
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  shared->cpu = static_cast<LONGLONG>(ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}.QuadPart +
                                      ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart);
  SetEvent(painted);
  KillTimer(nullptr, timer);
  role = Role::Done;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK PaintProbeHook(int code, WPARAM remove, LPARAM message) {
  if (code == HC_ACTION && Watching()) Look(*reinterpret_cast<const MSG*>(message));
  return CallNextHookEx(nullptr, code, remove, message);
}
