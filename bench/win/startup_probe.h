// What startup_probe.exe and the hook it sets (paint_probe.dll) share: a
// named mapping that holds the process to watch and the moment its first
// paint ended, and the event that says so.
#pragma once
#include <windows.h>

struct StartupProbe {
  DWORD process;  // the one started; every other process ignores the hook
  LONGLONG painted;  // QueryPerformanceCounter, the same clock in every process
  LONGLONG cpu;  // the process's processor time by then, user and kernel, in 100 ns
};
inline constexpr char StartupProbeMapping[] = "FumoraStartupProbe";
inline constexpr char StartupProbePainted[] = "FumoraStartupProbePainted";
