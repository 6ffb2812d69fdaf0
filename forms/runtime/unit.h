#pragma once
// The interface a unit type plugs into, and the whole of the runtime that a unit type
// sees besides runtime.h: how the runtime creates a unit's control from its template
// record, asks it for its own properties (8 and up), and how a unit raises its events and
// reaches the runtime's services (its site and the operations below). One factory per
// type; the program hands the runtime its table of types (forms/units/unit_table.h) with
// startRuntime.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "forms/values/text.h"
#include "forms/values/value.h"
#include "forms/runtime/runtime.h"

namespace forms {

// Everything a type needs to create one live unit.
struct UnitPlan {
  UnitRef ref;  // the unit's window and its own id
  UnitKind kind = UnitKind::Label;
  HWND parent = nullptr;  // the control window the unit lies in
  RECT rect{};            // outer rectangle in parent's client coordinates
  bool visible = false;   // the stored flag; the runtime shows units itself
  bool disabled = false;
  bool tabStop = false;
  std::vector<UnitId> childIds;  // as stored (a page control's lists keep their 0 words)
  ByteSet block;                 // the stored property block; empty means all defaults
};

// The runtime's side of one unit, handed to its control at creation.
class UnitSite {
 public:
  virtual ~UnitSite() = default;
  // Raises one of the unit's own events (number >= 0) through its bindings, clone
  // chains included; no value when nothing is bound or events are held back.
  virtual HandlerResult raise(int event, std::vector<std::int32_t> args = {}) = 0;
  // The live window of another unit of the same window, or null.
  virtual HWND unitWindow(UnitId unit) const = 0;
  // Another unit's stored visible flag and tab order (for page controls).
  virtual bool unitVisible(UnitId unit) const = 0;
  virtual std::uint32_t unitTabOrder(UnitId unit) const = 0;
  // The unit's one timer, for units without a window of their own: it ticks through the
  // runtime's hidden window, so nested message loops serve it too. Setting it again
  // replaces its period and call.
  virtual void setTimer(UINT periodMs, std::function<void()> elapsed) = 0;
  virtual void killTimer() = 0;
  // The owner of top-level windows without a taskbar button (the runtime's hidden
  // window).
  virtual HWND taskbarlessOwner() const = 0;
};

// Messages the runtime's unit windows take (private_messages.h numbers the core's own
// apart from these).
// Posted by a thread that may not touch windows (an animation): the window thread then
// calls redrawUnit.
constexpr UINT kRedrawUnitMessage = WM_APP + 3;
// To a Label: its feedback event, wParam and lParam the two integers.
constexpr UINT kFeedbackMessage = 0x8075;  // WM_APP + 0x75, a number the programs know

// One live unit. Common properties 0 to 7 are the runtime's; a type keeps the rest.
class UnitControl {
 public:
  virtual ~UnitControl() = default;
  UnitControl() = default;
  UnitControl(const UnitControl&) = delete;
  UnitControl& operator=(const UnitControl&) = delete;

  // The unit's system window; null for units that have none (Timer, ZIP).
  virtual HWND window() const = 0;
  // The window that the unit's child units are created in (a page control's container).
  virtual HWND childParent() const { return window(); }

  // A type property (index 8 and up): none for an index the type does not have.
  virtual std::optional<Value> property(int index) const {
    (void)index;
    return std::nullopt;
  }
  // Stores it and applies it to the live unit. False for an index it does not have or a
  // read-only one.
  virtual bool setProperty(int index, const Value& value) {
    (void)index;
    (void)value;
    return false;
  }

  // Called once all units of the window exist, before the created event.
  virtual void unitsCreated() {}
  // False while the unit must stay hidden although its visible property is true (a unit
  // on a page that is not shown): asked of the unit's parent.
  virtual bool mayShowChild(UnitId child) const {
    (void)child;
    return true;
  }
  // A notification the unit's parent received about this unit's window (WM_COMMAND,
  // WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM): the result, or none for the default handling.
  virtual std::optional<LRESULT> reflected(UINT message, WPARAM wp, LPARAM lp) {
    (void)message;
    (void)wp;
    (void)lp;
    return std::nullopt;
  }

  // Whether a left press on this unit drags a window whose moveAnywhere is 1 (units that
  // react to presses themselves do not).
  virtual bool dragsWindow() const { return false; }

  // Whether the unit shows what lies behind it (see_through.h): it is then repainted
  // whenever that changes.
  virtual bool seeThrough() const { return false; }

  // For a window's own unit: the show command of the window's first showing.
  virtual int showCommand() const { return SW_SHOW; }
};

// Creates a live unit from its plan, or null when its stored block is invalid (the window
// load then fails).
// The unit when it got its system window, else null (the window load then fails).
inline std::unique_ptr<UnitControl> unitWithWindow(std::unique_ptr<UnitControl> unit) {
  return unit && unit->window() ? std::move(unit) : nullptr;
}

using UnitFactory = std::unique_ptr<UnitControl> (*)(const UnitPlan& plan, UnitSite& site);

// What the core asks of a type besides its factory: flags of a type's row.
enum UnitTrait : unsigned {
  // The runtime never shows or hides the unit's window (Timer, ZIP: they have none).
  kNeverShown = 1u << 0,
  // copyWindowUnit refuses to clone it (a window's own unit, units with child lists).
  kNotCopied = 1u << 1,
};

// The unit types a program can load. A type the table lacks is not created, so a window
// that holds a unit of it does not load.
struct UnitTable {
  struct Type {
    UnitKind kind;
    UnitFactory make;
    unsigned traits = 0;  // UnitTrait flags
  };
  std::vector<Type> types;

  // The type's row, or null.
  const Type* find(UnitKind kind) const {
    for (const Type& t : types)
      if (t.kind == kind) return &t;
    return nullptr;
  }
  // The type's factory, or null.
  UnitFactory factoryOf(UnitKind kind) const {
    const Type* t = find(kind);
    return t ? t->make : nullptr;
  }
  // Whether the type's row has the trait (false for a type the table lacks).
  bool has(UnitKind kind, UnitTrait trait) const {
    const Type* t = find(kind);
    return t && (t->traits & trait) != 0;
  }
};

// Raises an event of any live unit from outside its control (a ZIP unit's progress from
// unzipArchive): as UnitSite::raise, on the window thread.
HandlerResult raiseUnitEvent(UnitRef unit, int event, std::vector<std::int32_t> args = {});

// For the window procedure of every window that holds units: hands WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR* and WM_DRAWITEM about a child unit to that unit. True when the
// unit handled it (result set).
bool reflectToUnit(UINT message, WPARAM wp, LPARAM lp, LRESULT& result);

// The live control of a unit of a loaded window, or null (for operations of other areas
// that work on one unit type).
UnitControl* findUnitControl(UnitRef unit);
// The live control of the unit a system window belongs to (the window's own unit, or its
// nearest ancestor that is a unit), or null. Window thread only.
UnitControl* unitControlOfWindow(HWND window);
// The top-level system window of a loaded window that is not being destroyed, or null.
// Window thread only.
HWND loadedWindowHandle(WindowId window);

// ---- Units that show what lies behind them ----
// A TransLabel, a picture button's transparent parts, a link without a background colour
// compose what lies behind them themselves (see_through.h has how).

// Paints into dc (the unit's client coordinates) what lies behind the unit's window.
void paintWhatLiesBehind(HWND unit, HDC dc);
// Invalidates a unit's window with its children, and every see-through unit in front of
// it that shows part of it. Window thread only.
void redrawUnit(HWND unit);

// ---- For the window's own unit type ----

// Before a window is destroyed: a modal one gives the windows it disabled back their
// input first, so that the system activates one of them and not another program's window.
void releaseModal(HWND window);
// Sets the cursor of the unit under the pointer (WM_SETCURSOR): true when it has one.
bool setUnitCursor(HWND under, UINT hitTest);
// WM_NCDESTROY of a top-level window: drops the live state of the loaded window it was.
void topWindowDestroyed(HWND top);

// Value conversions that every type's property code shares.
std::int32_t valueToInt(const Value& value);
bool valueToBool(const Value& value);
Text valueToText(const Value& value);
ByteSet valueToBytes(const Value& value);

}  // namespace forms
