// Operations on windows: hot keys and the label feedback message.
#include "forms/runtime/core.h"

namespace forms {

namespace {

constexpr std::int32_t kFirstHotKeyId = 33000;

struct HotKeys {
  std::int32_t calls = 0;
  HWND target = nullptr;
  WNDPROC former = nullptr;
  HWND feedback = nullptr;
};

HotKeys& hotKeys() {
  static HotKeys h;
  return h;
}

LRESULT CALLBACK hotKeyProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  HotKeys& h = hotKeys();
  const WNDPROC former = h.former;
  if (message == WM_HOTKEY) {
    const auto id = static_cast<std::int32_t>(wp);
    if (id > kFirstHotKeyId && id <= kFirstHotKeyId + h.calls && h.feedback)
      SendMessageW(h.feedback, kFeedbackMessage, wp, 0);
  }
  return former ? CallWindowProcW(former, w, message, wp, lp) : DefWindowProcW(w, message, wp, lp);
}

UINT systemModifiers(std::int32_t code) {
  switch (code) {
    case 1: return MOD_CONTROL;
    case 2: return MOD_SHIFT;
    case 3: return MOD_CONTROL | MOD_SHIFT;
    case 4: return MOD_ALT;
    case 5: return MOD_ALT | MOD_CONTROL;
    case 6: return MOD_ALT | MOD_SHIFT;
    default: return static_cast<UINT>(code);
  }
}

}  // namespace

std::int32_t registerHotKey(WindowHandle target, WindowHandle feedback, std::int32_t modifiers,
                            std::int32_t key) {
  std::int32_t result = 0;
  runOnWindowThread([&] {
    HotKeys& h = hotKeys();
    const std::int32_t id = kFirstHotKeyId + ++h.calls;
    HWND t = reinterpret_cast<HWND>(target);
    if (h.calls == 1 && t) {
      h.target = t;
      h.former = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(t, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hotKeyProc)));
    }
    h.feedback = reinterpret_cast<HWND>(feedback);
    if (RegisterHotKey(t, id, systemModifiers(modifiers), static_cast<UINT>(key))) result = id;
  });
  return result;
}

std::int32_t raiseFeedbackEvent(UnitRef label, std::int32_t p1, std::int32_t p2, bool wait) {
  HWND h = nullptr;
  runOnWindowThread([&] {
    LiveUnit* u = liveUnit(label);
    if (u && u->control) h = u->control->window();
  });
  if (!h) return 0;
  if (!wait) {
    PostMessageW(h, kFeedbackMessage, static_cast<WPARAM>(p1), static_cast<LPARAM>(p2));
    return 0;
  }
  return static_cast<std::int32_t>(
      SendMessageW(h, kFeedbackMessage, static_cast<WPARAM>(p1), static_cast<LPARAM>(p2)));
}

}  // namespace forms
