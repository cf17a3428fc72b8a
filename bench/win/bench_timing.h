// What the Windows benchmarks share: a millisecond clock, a message pump,
// timed runs, and the test run's smoke run (--smoke on the command line: one
// run of everything, which shows that the benchmark still runs; its figures
// mean nothing then).
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

inline double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

inline bool Smoke = false;
inline void ReadBenchArguments(int argc, char** argv) { Smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0; }
// How many times to run what is timed `runs` times.
inline int Runs(int runs) { return Smoke ? 1 : runs; }

// Each run timed alone, its messages pumped after it, and sorted: on a shared
// machine the fastest and the median say more than a mean.
template <typename F>
std::vector<double> Timed(int runs, F&& run) {
  std::vector<double> times;
  for (int i = 0; i < Runs(runs); ++i) {
    const double start = NowMs();
    run();
    times.push_back(NowMs() - start);
    Pump();
  }
  std::sort(times.begin(), times.end());
  return times;
}
