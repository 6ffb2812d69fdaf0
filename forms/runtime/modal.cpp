// Windows loaded as modal: while one exists the program's other top-level windows take
// no input, as a dialog's owner does not, and a nested message loop keeps every window
// served until it is gone.
#include <algorithm>

#include "forms/runtime/core.h"

namespace forms {

namespace {

struct ModalFrame {
  HWND window = nullptr;
  std::vector<HWND> disabled;  // only what this frame disabled: it gives back only that
  bool released = false;
};

std::vector<ModalFrame*>& frames() {
  static std::vector<ModalFrame*> f;
  return f;
}

void release(ModalFrame& frame) {
  if (frame.released) return;
  frame.released = true;
  for (HWND h : frame.disabled)
    if (IsWindow(h)) EnableWindow(h, TRUE);
}

bool stillOpen(WindowId window, HWND hwnd) {
  LiveWindow* w = liveWindow(window);
  return w && !w->destroying && w->hwnd == hwnd;
}

}  // namespace

void releaseModal(HWND window) {
  for (ModalFrame* f : frames())
    if (f->window == window) release(*f);
}

void runModal(WindowId window, HWND back) {
  LiveWindow* w = liveWindow(window);
  if (!w || w->destroying) return;
  ModalFrame frame;
  frame.window = w->hwnd;
  for (auto& [id, other] : state().live) {
    if (id == window || !other->hwnd || !IsWindowEnabled(other->hwnd)) continue;
    EnableWindow(other->hwnd, FALSE);
    frame.disabled.push_back(other->hwnd);
  }
  frames().push_back(&frame);
  MSG msg;
  while (stillOpen(window, frame.window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The quit message belongs to the outer loop.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    serveMessage(msg);
  }
  frames().erase(std::find(frames().begin(), frames().end(), &frame));
  release(frame);
  if (back && IsWindow(back) && IsWindowVisible(back)) {
    SetForegroundWindow(back);
    SetActiveWindow(back);
  }
}

}  // namespace forms
