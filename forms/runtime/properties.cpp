// getUnitProperty and setUnitProperty: the common properties 0 to 7 of every unit, kept in
// the stored record and applied to the live unit; type properties go to the unit's type.
#include <algorithm>

#include "forms/runtime/core.h"
#include "forms/runtime/see_through.h"

namespace forms {

namespace {

constexpr std::int32_t kPositionLimit = 32627;

struct Found {
  StoredWindow* window = nullptr;
  StoredUnit* unit = nullptr;
  LiveUnit* live = nullptr;  // null while the window is not loaded
};

Found find(UnitRef ref) {
  Found f;
  f.window = state().segment.find(ref.window);
  if (!f.window) fatalError("未载入欲访问窗口组件所在的窗口");
  f.unit = f.window->find(ref.unit);
  LiveWindow* w = liveWindow(ref.window);
  if (w && !w->destroying) f.live = liveUnit(ref);
  return f;
}

// The see-through units in front of a unit show it: when it moves, changes size, shows or
// hides, they are repainted over where it was and where it is.
class OverlayRepaint {
 public:
  explicit OverlayRepaint(HWND h) : h_(h) {
    if (h_) GetWindowRect(h_, &before_);
  }
  ~OverlayRepaint() {
    if (!h_ || !IsWindow(h_)) return;
    RECT after;
    GetWindowRect(h_, &after);
    redrawSeeThroughOver(h_, before_);
    if (!EqualRect(&after, &before_)) redrawSeeThroughOver(h_, after);
  }
  OverlayRepaint(const OverlayRepaint&) = delete;
  OverlayRepaint& operator=(const OverlayRepaint&) = delete;

 private:
  HWND h_;
  RECT before_{};
};

HWND liveWindowOf(const Found& f) {
  return f.live && f.live->control ? f.live->control->window() : nullptr;
}

// The live rectangle: screen coordinates for a top-level window, else the parent's
// client coordinates.
RECT liveRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  if (GetWindowLongW(h, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

bool parentLetsShow(WindowId window, const StoredUnit& u) {
  if (u.parentId == 0) return true;
  UnitControl* parent = findUnitControl(UnitRef{window, u.parentId});
  return !parent || parent->mayShowChild(u.id);
}

Value getUnitProperty(UnitRef ref, int index, int member) {
  (void)member;
  Value result;
  runOnWindowThread([&] {
    Found f = find(ref);
    if (!f.unit) return;
    if (index >= common::kFirstTypeProperty) {
      if (!liveWindow(ref.window)) fatalError("指定窗口尚未载入");
      if (!f.live) return;
      if (std::optional<Value> v = f.live->control->property(index)) result = std::move(*v);
      return;
    }
    StoredUnit& u = *f.unit;
    HWND h = liveWindowOf(f);
    switch (index) {
      case common::kLeft:
      case common::kTop:
      case common::kWidth:
      case common::kHeight: {
        if (h) {
          RECT r = liveRect(h);
          const std::int32_t v[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
          result = v[index];
        } else {
          const std::int32_t v[] = {u.left, u.top, u.width, u.height};
          result = v[index];
        }
        break;
      }
      case common::kTag: result = u.tag; break;
      case common::kVisible:
        result = f.live ? (h ? IsWindowVisible(h) != FALSE : false) : u.visible();
        break;
      case common::kDisabled: result = h ? IsWindowEnabled(h) == FALSE : u.disabled(); break;
      case common::kMousePointer: result = u.mousePointer; break;
      default: break;
    }
  });
  return result;
}

void setUnitProperty(UnitRef ref, int index, const Value& value, int member) {
  (void)member;
  runOnWindowThread([&] {
    Found f = find(ref);
    if (!f.unit) return;
    if (index >= common::kFirstTypeProperty) {
      if (!liveWindow(ref.window)) fatalError("指定窗口尚未载入");
      if (f.live) f.live->control->setProperty(index, value);
      return;
    }
    StoredUnit& u = *f.unit;
    HWND h = liveWindowOf(f);
    const bool reshapes = index == common::kLeft || index == common::kTop ||
                          index == common::kWidth || index == common::kHeight ||
                          index == common::kVisible;
    OverlayRepaint overlays(reshapes ? h : nullptr);
    switch (index) {
      case common::kLeft:
      case common::kTop: {
        std::int32_t v = std::clamp(valueToInt(value), -kPositionLimit, kPositionLimit);
        (index == common::kLeft ? u.left : u.top) = v;
        if (h) {
          RECT r = liveRect(h);
          SetWindowPos(h, nullptr, index == common::kLeft ? v : r.left,
                       index == common::kTop ? v : r.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
      }
      case common::kWidth:
      case common::kHeight: {
        std::int32_t v = std::clamp(valueToInt(value), 0, kPositionLimit);
        (index == common::kWidth ? u.width : u.height) = v;
        if (h) {
          RECT r = liveRect(h);
          SetWindowPos(h, nullptr, 0, 0, index == common::kWidth ? v : r.right - r.left,
                       index == common::kHeight ? v : r.bottom - r.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
      }
      case common::kTag: u.tag = valueToText(value); break;
      case common::kVisible: {
        const bool v = valueToBool(value);
        u.flags = v ? (u.flags | kFlagVisible) : (u.flags & ~kFlagVisible);
        if (!h || neverShown(u)) break;
        if (!v) {
          ShowWindow(h, SW_HIDE);
        } else if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) {
          // A hidden top-level window comes back as it was, and is activated.
          if (!IsWindowVisible(h)) ShowWindow(h, IsIconic(h) ? SW_SHOWMINNOACTIVE : SW_SHOW);
        } else if (parentLetsShow(ref.window, u)) {
          ShowWindow(h, SW_SHOWNA);
        }
        break;
      }
      case common::kDisabled: {
        const bool v = valueToBool(value);
        u.flags = v ? (u.flags | kFlagDisabled) : (u.flags & ~kFlagDisabled);
        if (h) EnableWindow(h, !v);
        break;
      }
      case common::kMousePointer:
        u.mousePointer = valueToBytes(value);
        if (f.live) f.live->cursor = cursorOf(u.mousePointer, f.live->ownCursor);
        break;
      default: break;
    }
  });
}

WindowHandle getUnitWindowHandle(UnitRef unit, UnitKind type) {
  WindowHandle result = 0;
  runOnWindowThread([&] {
    LiveUnit* u = liveUnit(unit);
    if (!u || !u->stored->type || *u->stored->type != type) return;
    result = reinterpret_cast<WindowHandle>(u->control->window());
  });
  return result;
}

}  // namespace forms
