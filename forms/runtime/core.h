#pragma once
// The runtime's state on the window thread: the stored windows, the loaded ones with
// their live units, and the event machinery that connects them to the handlers.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "base/handles.h"
#include "forms/runtime/private_messages.h"
#include "forms/runtime/stored_template.h"
#include "forms/runtime/unit.h"
#include "forms/runtime/window_thread.h"

namespace forms {

struct LiveUnit {
  StoredUnit* stored = nullptr;
  std::unique_ptr<UnitSite> site;
  std::unique_ptr<UnitControl> control;
  HCURSOR cursor = nullptr;   // null: the control's own default
  base::OwnCursor ownCursor;  // a cursor made from a cursor file
};

struct LiveWindow {
  WindowId id = 0;
  StoredWindow* stored = nullptr;
  HWND hwnd = nullptr;
  bool destroying = false;
  std::map<UnitId, LiveUnit> units;

  UnitId ownUnit() const { return stored->units.front().id; }
};

struct RuntimeState {
  DWORD thread = 0;
  const UnitTable* units = nullptr;  // the program's, from startRuntime
  StoredSegment segment;
  bool started = false;
  std::map<WindowId, std::unique_ptr<LiveWindow>> live;
  std::map<HWND, UnitRef> byWindow;
  EndRoutine endRoutine = nullptr;
  bool endRan = false;
  int holdEvents = 0;
  bool reportingError = false;
  std::uint32_t nextSerial = 0;
  base::WindowsHook dialogLoopFilter;
};

RuntimeState& state();
bool onWindowThread();

LiveWindow* liveWindow(WindowId window);
LiveUnit* liveUnit(UnitRef unit);
// The unit a system window belongs to: itself or its nearest ancestor that is a unit.
std::optional<UnitRef> unitOfWindow(HWND window);

// Raises an event through the unit's bindings (clone chains included). Runtime errors for
// a window or unit that does not exist.
HandlerResult raiseEvent(UnitRef unit, int event, std::vector<std::int32_t> args);

// The common events of a queued message, before the unit sees it: false drops it.
bool preTranslate(MSG& msg);
// One message of a message loop: pre-translation, then translate and dispatch.
void serveMessage(MSG& msg);

// Pre-translation in the system's dialog loops too (message boxes and dialogs serve
// their own loop): a handler is not held back while one is open. Installed once by the
// start of the runtime, removed at its end.
void installDialogLoopFilter();
void removeDialogLoopFilter();

// Runtime error with the box text; never returns.
[[noreturn]] void fatalError(const Text& message,
                             std::optional<std::int32_t> number = std::nullopt);
// The report of an exhausted heap, with the size asked for; never returns. Allocates
// nothing.
[[noreturn]] void reportExhaustedHeap(std::size_t size);
// The box text of a runtime error.
Text runtimeErrorText(const Text& message, std::optional<std::int32_t> number);

// Creates a loaded window and its units from the template; false on an invalid block.
// A given owner owns the new top-level window (it stays above it and is minimised with
// it).
bool createWindow(StoredWindow& stored, HWND owner = nullptr);

// Whether a unit's parent lets it be seen: a page control shows only the units of its
// current page.
bool parentLetsShow(WindowId window, const StoredUnit& unit);

// Serves messages until the window is gone, the program's other top-level windows
// disabled meanwhile; then gives them back their input and activates back.
void runModal(WindowId window, HWND back);
// Drops a destroyed window's live state (releaseModal, unit.h, comes before).
void windowDestroyed(WindowId window);

// The modifier flags of the common events: 1 Ctrl, 2 Shift, 4 Alt.
std::int32_t modifierFlags();

// Cursor from a MousePointer block: stock ones shared, cursor files made into own.
HCURSOR cursorOf(const ByteSet& pointer, base::OwnCursor& own);

// The unit's factory from the program's table, or null for a type it lacks.
UnitFactory factoryOf(UnitKind kind);
// Whether the program's table gives the type the trait.
bool typeHas(UnitKind kind, UnitTrait trait);
// Whether the runtime leaves the unit's window alone when it shows units (kNeverShown).
bool neverShown(const StoredUnit& unit);

// The window id of a top-level window of ours.
std::optional<WindowId> windowOfHandle(HWND top);

}  // namespace forms
