// delay: a pause of the asked milliseconds, not of the scheduler's tick. On stock
// Windows a 1 ms Sleep lasts the timer period (about 15.6 ms), which made the updater's
// start-up wait of a thousand 1 ms pauses last some 16 seconds.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>

#include "base/handles.h"
#include "forms/system/system_ops.h"

namespace forms {

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A timer that ends a wait when it is due rather than at the next tick (Windows 10 1803
// on). Looked up at run time: the programs also run on systems without it.
base::KernelHandle makeHighResolutionTimer() {
  using Create = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
  const auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateWaitableTimerExW")));
  if (!create) return base::KernelHandle();
  return base::KernelHandle(
      create(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
}

HANDLE highResolutionTimer() {
  thread_local base::KernelHandle timer = makeHighResolutionTimer();
  return timer.get();
}

void waitOnTimer(HANDLE timer, DWORD ms) {
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(ms) * 10000;  // relative, in 100 ns
  if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
    WaitForSingleObject(timer, INFINITE);
  else
    Sleep(ms);
}

// Sleep with the timer period at 1 ms for the time of the pause.
void sleepAtFinePeriod(DWORD ms) {
  const bool raised = timeBeginPeriod(1) == TIMERR_NOERROR;
  Sleep(ms);
  if (raised) timeEndPeriod(1);
}

double seconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Whether the high-resolution timer keeps closer to the asked time than a sleep at the
// fine period: a system may accept the timer's flag without keeping to it (under Wine
// its timers wait on the server and come later than a sleep). Three tries of each, once.
bool timerIsCloser(HANDLE timer) {
  double onTimer = 0, asleep = 0;
  for (int i = 0; i < 3; ++i) {
    double start = seconds();
    waitOnTimer(timer, 1);
    onTimer += seconds() - start;
    start = seconds();
    sleepAtFinePeriod(1);
    asleep += seconds() - start;
  }
  return onTimer <= asleep;
}

enum class Way { Unknown, Timer, Sleep };
std::atomic<Way> chosen{Way::Unknown};

}  // namespace

void delay(std::int32_t ms) {
  if (ms <= 0) {
    Sleep(0);
    return;
  }
  HANDLE timer = highResolutionTimer();
  Way way = chosen.load();
  if (way == Way::Unknown) {
    way = timer && timerIsCloser(timer) ? Way::Timer : Way::Sleep;
    chosen = way;
  }
  if (way == Way::Timer && timer)
    waitOnTimer(timer, static_cast<DWORD>(ms));
  else
    sleepAtFinePeriod(static_cast<DWORD>(ms));
}

}  // namespace forms
