#include "forms/runtime/core.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "forms/values/to_text.h"
#include "forms/template/bindings.h"
#include "forms/template/type_tables.h"
#include "forms/values/gbk_wide.h"

namespace forms {

RuntimeState& state() {
  static RuntimeState s;
  return s;
}

bool onWindowThread() { return !state().started || GetCurrentThreadId() == state().thread; }

LiveWindow* liveWindow(WindowId window) {
  auto it = state().live.find(window);
  return it == state().live.end() ? nullptr : it->second.get();
}

LiveUnit* liveUnit(UnitRef unit) {
  LiveWindow* w = liveWindow(unit.window);
  if (!w) return nullptr;
  auto it = w->units.find(unit.unit);
  return it == w->units.end() ? nullptr : &it->second;
}

std::optional<UnitRef> unitOfWindow(HWND window) {
  for (HWND h = window; h; h = GetParent(h)) {
    auto it = state().byWindow.find(h);
    if (it != state().byWindow.end()) return it->second;
    if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return std::nullopt;
}

UnitFactory factoryOf(UnitKind kind) {
  const UnitTable* units = state().units;
  return units ? units->factoryOf(kind) : nullptr;
}

bool typeHas(UnitKind kind, UnitTrait trait) {
  const UnitTable* units = state().units;
  return units && units->has(kind, trait);
}

bool neverShown(const StoredUnit& unit) { return unit.type && typeHas(*unit.type, kNeverShown); }

UnitControl* findUnitControl(UnitRef unit) {
  LiveUnit* u = liveUnit(unit);
  return u ? u->control.get() : nullptr;
}

UnitControl* unitControlOfWindow(HWND window) {
  std::optional<UnitRef> unit = unitOfWindow(window);
  return unit ? findUnitControl(*unit) : nullptr;
}

HWND loadedWindowHandle(WindowId window) {
  LiveWindow* w = liveWindow(window);
  return w && !w->destroying ? w->hwnd : nullptr;
}

std::int32_t modifierFlags() {
  std::int32_t flags = 0;
  if (GetKeyState(VK_CONTROL) < 0) flags |= 1;
  if (GetKeyState(VK_SHIFT) < 0) flags |= 2;
  if (GetKeyState(VK_MENU) < 0) flags |= 4;
  return flags;
}

Text runtimeErrorText(const Text& message, std::optional<std::int32_t> number) {
  Text text = tpl::kFatalHeading;
  if (number) text += tpl::kFatalCodeLabel + toText(*number) + "\r\n\r\n";
  text += tpl::kFatalMessageLabel + message + "\r\n";
  return text;
}

namespace {

// The one way a fatal report ends the program: a box with text (wide, for the box) and
// caption, then exit code -1. Allocates nothing, so the exhausted heap reports through it.
[[noreturn]] void endWithReport(std::string_view text, const wchar_t* wideText,
                                const wchar_t* caption) {
  // Tests read the box text from a file instead of a box that would wait for a user.
  if (const char* file = std::getenv("TV_RUNTIME_ERROR_FILE"); file && *file) {
    const base::KernelHandle f(CreateFileA(file, FILE_APPEND_DATA,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (f) WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    MessageBoxW(nullptr, wideText, caption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

void fatalError(const Text& message, std::optional<std::int32_t> number) {
  state().reportingError = true;
  const Text text = runtimeErrorText(message, number);
  endWithReport(text, widen(text).c_str(), widen("信息：").c_str());
}

void reportExhaustedHeap(std::size_t size) {
  // "分配 %d 字节内存失败!" with the size unsigned, put together in fixed buffers.
  static constexpr char kBefore[] = "分配 ";
  static constexpr char kAfter[] = " 字节内存失败!";
  char text[sizeof kBefore + 20 + sizeof kAfter];
  std::size_t n = 0;
  for (const char* c = kBefore; *c; ++c) text[n++] = *c;
  char digits[20];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + size % 10);
    size /= 10;
  } while (size > 0);
  while (count > 0) text[n++] = digits[--count];
  for (const char* c = kAfter; *c; ++c) text[n++] = *c;
  wchar_t wide[sizeof text];
  widenInto(std::string_view(text, n), wide, sizeof text);
  endWithReport(std::string_view(text, n), wide, L"");
}

namespace {

bool raisesEvents(const StoredUnit& unit) {
  return unit.type && tpl::typeLayout(*unit.type).raisesEvents;
}

}  // namespace

HandlerResult raiseEvent(UnitRef unit, int event, std::vector<std::int32_t> args) {
  RuntimeState& s = state();
  if (s.holdEvents > 0 || s.reportingError) return std::nullopt;
  StoredWindow* w = s.segment.find(unit.window);
  if (!w) fatalError(tpl::kEventWindowMissing);
  const StoredUnit* u = w->find(unit.unit);
  if (!u) fatalError(tpl::kEventUnitMissing);
  if (!raisesEvents(*u)) fatalError(tpl::kEventUnitInvalid);
  const StoredUnit* owner = tpl::bindingRecord(*w, *u);
  Handler handler = nullptr;
  for (const Binding& b : owner->handlers) {
    if (b.event == event) {
      handler = b.handler;
      break;
    }
  }
  if (!handler) return std::nullopt;
  Event e;
  e.source = unit;
  e.number = event;
  e.args = std::move(args);
  return handler(e);
}

HandlerResult raiseUnitEvent(UnitRef unit, int event, std::vector<std::int32_t> args) {
  HandlerResult result;
  runOnWindowThread([&] { result = raiseEvent(unit, event, std::move(args)); });
  return result;
}

bool reflectToUnit(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lp)->hwndFrom; break;
    case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem; break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: child = reinterpret_cast<HWND>(lp); break;
    default: return false;
  }
  if (!child) return false;
  auto it = state().byWindow.find(child);
  if (it == state().byWindow.end()) return false;
  UnitControl* control = findUnitControl(it->second);
  if (!control) return false;
  std::optional<LRESULT> r = control->reflected(message, wp, lp);
  if (!r) return false;
  result = *r;
  return true;
}

namespace {

struct CommonEvent {
  UINT message;
  int event;
  bool mouse;
};

const CommonEvent kCommonEvents[] = {
    {WM_LBUTTONDOWN, common::kLeftDown, true},
    {WM_LBUTTONUP, common::kLeftUp, true},
    {WM_LBUTTONDBLCLK, common::kLeftDoubleClick, true},
    {WM_RBUTTONDOWN, common::kRightDown, true},
    {WM_RBUTTONUP, common::kRightUp, true},
    {WM_MOUSEMOVE, common::kMouseMove, true},
    {WM_KEYDOWN, common::kKeyDown, false},
    {WM_KEYUP, common::kKeyUp, false},
    {WM_CHAR, common::kCharacter, false},
    {WM_MOUSEWHEEL, common::kMouseWheel, false},
};

std::int32_t windowNumber(UnitRef window, int property);

bool dragWindow(UnitRef unit, LiveWindow& w) {
  if (windowNumber(UnitRef{w.id, w.ownUnit()}, window::kMoveAnywhere) != 1) return false;
  bool drags = unit.unit == w.ownUnit();
  if (!drags) {
    UnitControl* c = findUnitControl(unit);
    drags = c && c->dragsWindow();
  }
  if (!drags) return false;
  ReleaseCapture();
  SendMessageW(w.hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return true;
}

std::int32_t windowNumber(UnitRef window, int property) {
  UnitControl* c = findUnitControl(window);
  if (!c) return 0;
  std::optional<Value> v = c->property(property);
  return v ? valueToInt(*v) : 0;
}

}  // namespace

bool preTranslate(MSG& msg) {
  const CommonEvent* common = nullptr;
  for (const CommonEvent& c : kCommonEvents)
    if (c.message == msg.message) common = &c;
  if (!common) return true;
  std::optional<UnitRef> unit = unitOfWindow(msg.hwnd);
  if (!unit) return true;
  LiveWindow* w = liveWindow(unit->window);
  if (!w || w->destroying) return true;
  // Only units the runtime knows raise the common events; pressing elsewhere is no error.
  const StoredUnit* stored = w->stored->find(unit->unit);
  if (!stored || !raisesEvents(*stored)) return true;
  if (msg.message == WM_LBUTTONDOWN && dragWindow(*unit, *w)) return false;

  std::vector<std::int32_t> args;
  if (common->mouse) {
    args = {LOWORD(msg.lParam), HIWORD(msg.lParam), modifierFlags()};
  } else if (msg.message == WM_MOUSEWHEEL) {
    args = {GET_WHEEL_DELTA_WPARAM(msg.wParam) / WHEEL_DELTA, modifierFlags()};
  } else if (msg.message == WM_CHAR) {
    args = {static_cast<std::int32_t>(msg.wParam)};
  } else {
    args = {static_cast<std::int32_t>(msg.wParam), modifierFlags()};
  }
  const WindowId windowId = w->id;
  const UnitId own = w->ownUnit();
  HandlerResult r = raiseEvent(*unit, common->event, std::move(args));
  if (msg.message == WM_CHAR) {
    // A number replaces the character, 0 drops it; a logical is no character: true lets
    // it through as it is, false drops it, as for the other events.
    if (stops(r)) return false;
    if (r && !std::holds_alternative<std::monostate>(*r) && !std::holds_alternative<bool>(*r)) {
      std::int32_t c = valueToInt(*r);
      if (c == 0) return false;
      msg.wParam = static_cast<WPARAM>(c);
    }
  } else if (stops(r)) {
    return false;
  }
  // The handler may have closed the window.
  w = liveWindow(windowId);
  if (!w || w->destroying) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
      windowNumber(UnitRef{windowId, own}, window::kEscCloses) == 1) {
    PostMessageW(w->hwnd, WM_CLOSE, 0, 0);
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN &&
      windowNumber(UnitRef{windowId, own}, window::kEnterMovesFocus) == 1) {
    HWND next = GetNextDlgTabItem(w->hwnd, GetFocus(), FALSE);
    if (next) SetFocus(next);
    return false;
  }
  return true;
}

namespace {

// The messages being pre-translated or served: a system function that our loop hands a
// message to may pass it through the dialog loop filter as well, which must not raise
// its events a second time.
std::vector<const MSG*>& inHand() {
  static std::vector<const MSG*> messages;
  return messages;
}

class InHand {
 public:
  explicit InHand(const MSG& msg) { inHand().push_back(&msg); }
  ~InHand() { inHand().pop_back(); }
  InHand(const InHand&) = delete;
  InHand& operator=(const InHand&) = delete;
};

bool isInHand(const MSG* msg) {
  return std::find(inHand().begin(), inHand().end(), msg) != inHand().end();
}

// Dialog loops (a message box's included) hand every message to the filter before they
// translate and dispatch it; TRUE keeps it from them. The tracking loops of menus,
// scroll bars and moves are left alone: they keep the input to themselves.
LRESULT CALLBACK dialogLoopFilter(int code, WPARAM wp, LPARAM lp) {
  if ((code == MSGF_DIALOGBOX || code == MSGF_MESSAGEBOX) && !state().reportingError) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (!isInHand(msg)) {
      InHand held(*msg);
      if (!preTranslate(*msg)) return TRUE;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void serveMessage(MSG& msg) {
  InHand held(msg);
  if (!preTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void installDialogLoopFilter() {
  RuntimeState& s = state();
  if (!s.dialogLoopFilter)
    s.dialogLoopFilter.attach(
        SetWindowsHookExW(WH_MSGFILTER, dialogLoopFilter, nullptr, GetCurrentThreadId()));
}

void removeDialogLoopFilter() { state().dialogLoopFilter.close(); }

}  // namespace forms
