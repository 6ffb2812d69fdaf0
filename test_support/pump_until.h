#pragma once
// Tests of live controls: serve the thread's window messages until a condition holds.
#include <windows.h>

namespace test_support {

// True once done() holds; false when ms milliseconds pass first. Waits for messages
// between checks instead of spinning.
template <class Done>
bool pumpUntil(Done done, DWORD ms = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

}  // namespace test_support
