// startup_probe.exe RUNS SECONDS PROGRAM...: starts each program in turn
// (from the current folder), RUNS rounds of them, and prints a line per round
// of two figures for each program: the milliseconds from its start to the end
// of its first paint, and its processor time by then (both -1 when it did not
// paint within SECONDS); each is ended once timed. The hook of
// paint_probe.dll, beside this program, sees the paint.
//   bench/win/startup.sh runs it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "startup_probe.h"

namespace {

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
  double ms = -1;
  double cpuMs = -1;
};

// The program started, its first paint waited for, and the program ended.
Figures TimeToFirstPaint(char* program, DWORD seconds, StartupProbe& shared, HANDLE painted) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ResetEvent(painted);
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  // Suspended until the hook knows which process to watch.
  if (!CreateProcessA(program, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                      &process))
    return {};
  shared.process = process.dwProcessId;
  ResumeThread(process.hThread);
  const bool seen = WaitForSingleObject(painted, seconds * 1000) == WAIT_OBJECT_0;
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!seen) return {};
  return {Milliseconds(shared.painted - start.QuadPart), static_cast<double>(shared.cpu) / 10000};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_probe RUNS SECONDS PROGRAM...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const DWORD seconds = static_cast<DWORD>(std::atoi(argv[2]));
  HANDLE mapping =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(StartupProbe), StartupProbeMapping);
  auto* shared = mapping ? static_cast<StartupProbe*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(StartupProbe)))
                         : nullptr;
  HANDLE painted = CreateEventA(nullptr, TRUE, FALSE, StartupProbePainted);
  char own[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string dll(own, length);
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "paint_probe.dll";
  HMODULE probe = LoadLibraryA(dll.c_str());
  // Through void*: a FARPROC names no signature.
  auto* hook =
      probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "PaintProbeHook"))) : nullptr;
  HHOOK set = hook ? SetWindowsHookExA(WH_GETMESSAGE, hook, probe, 0) : nullptr;
  if (!shared || !painted || !set) {
    std::fprintf(stderr, "startup_probe: no shared memory, event or hook (%s)\n", dll.c_str());
    return 1;
  }
  int failures = 0;
  for (int run = 0; run < runs; ++run) {
    for (int i = 3; i < argc; ++i) {
      const Figures figures = TimeToFirstPaint(argv[i], seconds, *shared, painted);
      failures += figures.ms < 0;
      std::printf(i == 3 ? "%.1f %.1f" : " %.1f %.1f", figures.ms, figures.cpuMs);
      Sleep(500);  // the next start meets a settled server
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  UnhookWindowsHookEx(set);
  return failures ? 1 : 0;
}
