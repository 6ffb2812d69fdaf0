// Loading windows from their templates, clones of units, and the end of a window.
#include <algorithm>

#include "forms/template/property_block.h"
#include "forms/runtime/core.h"
#include "forms/runtime/hidden_window.h"

namespace forms {

namespace {

class RuntimeSite : public UnitSite {
 public:
  explicit RuntimeSite(UnitRef ref) : ref_(ref) {}
  RuntimeSite(const RuntimeSite&) = delete;
  RuntimeSite& operator=(const RuntimeSite&) = delete;
  HandlerResult raise(int event, std::vector<std::int32_t> args) override {
    return raiseUnitEvent(ref_, event, std::move(args));
  }
  HWND unitWindow(UnitId unit) const override {
    UnitControl* c = findUnitControl(UnitRef{ref_.window, unit});
    return c ? c->window() : nullptr;
  }
  bool unitVisible(UnitId unit) const override {
    const StoredUnit* u = storedUnit(unit);
    return u && u->visible();
  }
  std::uint32_t unitTabOrder(UnitId unit) const override {
    const StoredUnit* u = storedUnit(unit);
    return u ? u->tabOrder : 0;
  }
  void setTimer(UINT periodMs, std::function<void()> elapsed) override {
    if (!timer_) {
      static UINT_PTR lastTimer = kUnitTimerBase;
      timer_ = ++lastTimer;
    }
    setHiddenTimer(timer_, periodMs, std::move(elapsed));
  }
  void killTimer() override {
    if (timer_) killHiddenTimer(timer_);
  }
  HWND taskbarlessOwner() const override { return hiddenWindow(); }

 private:
  const StoredUnit* storedUnit(UnitId unit) const {
    const StoredWindow* w = state().segment.find(ref_.window);
    return w ? w->find(unit) : nullptr;
  }
  UnitRef ref_;
  UINT_PTR timer_ = 0;  // none until the unit sets one
};

UnitPlan planOf(const LiveWindow& w, const StoredUnit& u, HWND parent) {
  UnitPlan plan;
  plan.ref = UnitRef{w.id, u.id};
  plan.kind = *u.type;
  plan.parent = parent;
  plan.rect = RECT{u.left, u.top, u.left + u.width, u.top + u.height};
  plan.visible = u.visible();
  plan.disabled = u.disabled();
  plan.tabStop = u.tabStop();
  plan.childIds = u.childIds;
  plan.block = u.propertyBlock;
  return plan;
}

HWND parentWindowOf(LiveWindow& w, const StoredUnit& u) {
  if (u.parentId == 0) return w.hwnd;
  UnitControl* parent = findUnitControl(UnitRef{w.id, u.parentId});
  HWND h = parent ? parent->childParent() : nullptr;
  return h ? h : w.hwnd;
}

// Creates one unit into the live window; false when its type cannot create it.
bool createUnit(LiveWindow& w, StoredUnit& u, bool visibleNow) {
  if (!u.type) return false;
  UnitFactory factory = factoryOf(*u.type);
  if (!factory) return false;
  LiveUnit live;
  live.stored = &u;
  const UnitRef ref{w.id, u.id};
  live.site = std::make_unique<RuntimeSite>(ref);
  UnitPlan plan = planOf(w, u, parentWindowOf(w, u));
  plan.visible = visibleNow && plan.visible;
  live.control = factory(plan, *live.site);
  if (!live.control) return false;
  if (HWND h = live.control->window()) {
    state().byWindow[h] = ref;
    if (u.disabled()) EnableWindow(h, FALSE);
  }
  live.cursor = cursorOf(u.mousePointer, live.ownCursor);
  w.units[u.id] = std::move(live);
  return true;
}

void failLoad(WindowId id) {
  LiveWindow* w = liveWindow(id);
  if (w && w->hwnd && IsWindow(w->hwnd)) DestroyWindow(w->hwnd);
  if (liveWindow(id)) windowDestroyed(id);
}

}  // namespace

std::optional<WindowId> windowOfHandle(HWND top) {
  for (auto& [id, w] : state().live)
    if (w->hwnd == top) return id;
  return std::nullopt;
}

void topWindowDestroyed(HWND top) {
  if (std::optional<WindowId> window = windowOfHandle(top)) windowDestroyed(*window);
}

bool createWindow(StoredWindow& stored, HWND owner) {
  if (stored.units.empty() || stored.units.front().type != UnitKind::Window) return false;
  RuntimeState& s = state();
  auto owned = std::make_unique<LiveWindow>();
  LiveWindow& w = *owned;
  w.id = stored.id;
  w.stored = &stored;
  s.live[stored.id] = std::move(owned);
  ++s.holdEvents;
  struct Release {
    ~Release() { --state().holdEvents; }
  } release;

  StoredUnit& own = stored.units.front();
  {
    LiveUnit live;
    live.stored = &own;
    live.site = std::make_unique<RuntimeSite>(UnitRef{w.id, own.id});
    const UnitFactory makeWindow = factoryOf(UnitKind::Window);
    live.control = makeWindow ? makeWindow(planOf(w, own, owner), *live.site) : nullptr;
    if (!live.control) {
      s.live.erase(w.id);
      return false;
    }
    w.hwnd = live.control->window();
    s.byWindow[w.hwnd] = UnitRef{w.id, own.id};
    live.cursor = cursorOf(own.mousePointer, live.ownCursor);
    w.units[own.id] = std::move(live);
  }

  // From the last entry back to entry 1; a parent that comes earlier in the list than
  // its child is created first, so that the child has its window to lie in.
  std::vector<bool> done(stored.units.size(), false);
  std::function<bool(std::size_t, int)> create = [&](std::size_t i, int depth) {
    if (done[i]) return true;
    StoredUnit& u = stored.units[i];
    if (u.parentId != 0 && depth < 64) {
      for (std::size_t p = 1; p < stored.units.size(); ++p)
        if (stored.units[p].id == u.parentId && !done[p] && p != i && !create(p, depth + 1))
          return false;
    }
    done[i] = true;
    return createUnit(w, u, true);
  };
  for (std::size_t i = stored.units.size(); i-- > 1;) {
    if (!create(i, 0)) {
      failLoad(stored.id);
      return false;
    }
  }

  // List position is z-order among siblings: entry 1 in front.
  std::map<HWND, HWND> lastOf;
  for (std::size_t i = 1; i < stored.units.size(); ++i) {
    UnitControl* c = findUnitControl(UnitRef{w.id, stored.units[i].id});
    HWND h = c ? c->window() : nullptr;
    if (!h) continue;
    HWND parent = GetParent(h);
    auto it = lastOf.find(parent);
    SetWindowPos(h, it == lastOf.end() ? HWND_TOP : it->second, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    lastOf[parent] = h;
  }

  for (std::size_t i = 1; i < stored.units.size(); ++i) {
    StoredUnit& u = stored.units[i];
    UnitControl* c = findUnitControl(UnitRef{w.id, u.id});
    HWND h = c ? c->window() : nullptr;
    if (!h) continue;
    ShowWindow(h, u.visible() && !neverShown(u) && parentLetsShow(w.id, u) ? SW_SHOWNA : SW_HIDE);
  }
  for (auto& [id, live] : w.units) live.control->unitsCreated();
  return true;
}

void windowDestroyed(WindowId id) {
  RuntimeState& s = state();
  auto it = s.live.find(id);
  if (it == s.live.end()) return;
  std::unique_ptr<LiveWindow> w = std::move(it->second);
  s.live.erase(it);
  w->destroying = true;
  for (auto b = s.byWindow.begin(); b != s.byWindow.end();)
    b = b->second.window == id ? s.byWindow.erase(b) : std::next(b);
  ++s.holdEvents;
  w->units.clear();
  --s.holdEvents;
  // Clones go with the window; their ids leave their parents' child lists.
  StoredWindow& stored = *w->stored;
  std::vector<UnitId> clones;
  for (const StoredUnit& u : stored.units)
    if (u.clone) clones.push_back(u.id);
  while (!stored.units.empty() && stored.units.back().clone) stored.units.pop_back();
  for (StoredUnit& u : stored.units)
    u.childIds.erase(std::remove_if(u.childIds.begin(), u.childIds.end(),
                                    [&](UnitId c) {
                                      return c != 0 && std::count(clones.begin(), clones.end(), c);
                                    }),
                     u.childIds.end());
  if (s.live.empty()) PostQuitMessage(0);
}

namespace {

// Created event, position and size events, then the window shown when its own unit is
// visible.
void finishLoad(WindowId id) {
  LiveWindow* w = liveWindow(id);
  const UnitRef own{id, w->ownUnit()};
  raiseEvent(own, window::kCreated, {});
  for (int e : {window::kPositionChanged, window::kSizeChanged}) {
    if (!liveWindow(id)) return;
    raiseEvent(own, e, {});
  }
  w = liveWindow(id);
  if (!w || w->destroying) return;
  if (w->stored->units.front().visible()) {
    ShowWindow(w->hwnd, findUnitControl(own)->showCommand());
    SetForegroundWindow(w->hwnd);
  }
}

// The top-level window of the parent unit's window; null when none is given or loaded.
HWND ownerOf(UnitRef parent) {
  LiveWindow* w = parent.window ? liveWindow(parent.window) : nullptr;
  return w && !w->destroying ? w->hwnd : nullptr;
}

}  // namespace

bool loadWindow(WindowId window, UnitRef parent, bool modal) {
  bool result = false;
  runOnWindowThread([&] {
    StoredWindow* stored = state().segment.find(window);
    if (!stored) return;
    if (LiveWindow* w = liveWindow(window); w && !w->destroying) {
      if (IsIconic(w->hwnd)) {
        ShowWindow(w->hwnd, SW_RESTORE);
      } else if (IsWindowVisible(w->hwnd)) {
        SetForegroundWindow(w->hwnd);
        SetActiveWindow(w->hwnd);
      }
      result = true;
      return;
    }
    const HWND owner = ownerOf(parent);
    // A modal window hands the activation back where it was, as a dialog does.
    HWND back = owner;
    if (!back && modal) {
      HWND active = GetActiveWindow();
      if (active && windowOfHandle(active)) back = active;
    }
    processEvents();
    if (!createWindow(*stored, owner)) return;
    finishLoad(window);
    result = true;
    if (modal) runModal(window, back);
  });
  return result;
}

void loadStartWindow(WindowId window) {
  StoredWindow* stored = state().segment.find(window);
  if (!stored || !createWindow(*stored)) fatalError(tpl::kStartWindowFailed);
  finishLoad(window);
}

bool copyWindowUnit(UnitRef source, UnitKind type, UnitRef& target) {
  bool result = false;
  runOnWindowThread([&] {
    LiveWindow* w = liveWindow(source.window);
    if (!w || w->destroying || source.unit == w->ownUnit()) return;
    StoredUnit* src = w->stored->find(source.unit);
    if (!src || !src->type || *src->type != type) return;
    if (typeHas(type, kNotCopied)) return;
    RuntimeState& s = state();
    StoredUnit clone = *src;
    // The source's record as it stands now: what the run wrote to its type properties
    // (a caption, a colour) is copied along with what the template stored.
    if (UnitControl* live = findUnitControl(source)) {
      std::optional<ByteSet> current = tpl::blockWithCurrentProperties(
          type, src->propertyBlock, [live](int index) { return live->property(index); });
      if (current) clone.propertyBlock = std::move(*current);
    }
    clone.id = tpl::makeId(tpl::kUnitIdByte, ++s.nextSerial);
    clone.sourceUnitId = src->id;
    clone.childIds.clear();
    clone.bindings.clear();
    clone.handlers.clear();
    clone.clone = true;
    StoredUnit* parent = src->parentId ? w->stored->find(src->parentId) : nullptr;
    auto listed = parent ? std::find(parent->childIds.begin(), parent->childIds.end(), src->id)
                         : std::vector<UnitId>::iterator();
    if (!parent || listed == parent->childIds.end()) {
      clone.parentId = 0;
    } else {
      parent->childIds.insert(listed + 1, clone.id);
    }
    w->stored->units.push_back(std::move(clone));
    StoredUnit& made = w->stored->units.back();
    if (!createUnit(*w, made, false)) {
      if (parent)
        parent->childIds.erase(
            std::find(parent->childIds.begin(), parent->childIds.end(), made.id));
      w->stored->units.pop_back();
      return;
    }
    HWND h = findUnitControl(UnitRef{w->id, made.id})->window();
    HWND srcWindow = findUnitControl(source) ? findUnitControl(source)->window() : nullptr;
    if (h) {
      // Shown only once its visible property is set.
      ShowWindow(h, SW_HIDE);
      if (srcWindow && GetParent(srcWindow) == GetParent(h))
        SetWindowPos(h, srcWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    target = UnitRef{w->id, made.id};
    result = true;
  });
  return result;
}

}  // namespace forms
