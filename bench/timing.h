#pragma once
#include <windows.h>

#include <algorithm>

// Milliseconds since the first call, from the performance counter.
inline double now() {
  static LARGE_INTEGER frequency, start;
  static bool started = [] {
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    return true;
  }();
  (void)started;
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

// The shortest of several runs, in milliseconds.
template <typename Run>
double bestOf(int runs, Run run) {
  double best = 1e18;
  for (int i = 0; i < runs; ++i) {
    double begin = now();
    run();
    best = std::min(best, now() - begin);
  }
  return best;
}
