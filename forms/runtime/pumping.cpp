// Serving messages inside handlers: processEvents, waitPumping.
#include "forms/runtime/core.h"

namespace forms {

namespace {

// Serves what is waiting; a quit message is taken out, not dispatched, and its code
// returned so that the caller can put it back.
std::optional<WPARAM> serveWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return msg.wParam;
    serveMessage(msg);
  }
  return std::nullopt;
}

}  // namespace

void processEvents() {
  // Cheaper than a PeekMessage that finds nothing, which loops of many passes with a
  // short pause pay on every pass.
  if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
  if (std::optional<WPARAM> quit = serveWaiting()) PostQuitMessage(static_cast<int>(*quit));
}

void waitPumping(std::int32_t ms) {
  if (ms <= 0) return;
  const DWORD start = GetTickCount();
  std::optional<WPARAM> quit;
  for (;;) {
    if (!quit) quit = serveWaiting();
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed > static_cast<DWORD>(ms)) break;
    // Sleeps until a message arrives or the time is up, instead of spinning; after a
    // quit message only the time is waited for, the quit staying for the outer loop.
    const DWORD left = static_cast<DWORD>(ms) - elapsed + 1;
    if (quit)
      Sleep(left);
    else
      MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  if (quit) PostQuitMessage(static_cast<int>(*quit));
}

}  // namespace forms
