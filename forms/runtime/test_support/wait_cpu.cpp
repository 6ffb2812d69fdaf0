// Benchmark, not a test: the processor time that a 2-second waitPumping uses.
#include <windows.h>

#include <cstdio>

#include "forms/runtime/runtime.h"
#include "forms/system/system_ops.h"

namespace {
double cpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}
}  // namespace

int main() {
  const double before = cpuSeconds();
  const DWORD start = GetTickCount();
  forms::waitPumping(2000);
  std::printf("waitPumping(2000): %lu ms elapsed, %.3f CPU seconds\n", GetTickCount() - start,
              cpuSeconds() - before);
  return 0;
}
