#pragma once
// What the programs' own code calls of the runtime: program life, windows, unit
// properties and events, message loops, and the funnel from other threads to the window
// thread (window_thread.h). Operations of one unit type or of the system have their
// areas' headers (forms/units/..., forms/system, forms/files, forms/net).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/runtime/window_thread.h"
#include "forms/template/unit_numbers.h"
#include "forms/values/text.h"
#include "forms/values/value.h"

namespace forms {

using WindowId = std::uint32_t;  // 0x52xxxxxx: the key a window is loaded under
using UnitId = std::uint32_t;    // 0x06xxxxxx the window's own unit, 0x16xxxxxx a unit

struct UnitRef {
  WindowId window = 0;
  UnitId unit = 0;
};

inline bool operator==(const UnitRef& a, const UnitRef& b) {
  return a.window == b.window && a.unit == b.unit;
}
inline bool operator!=(const UnitRef& a, const UnitRef& b) { return !(a == b); }

// What a handler gave back: no value at all, or one value. Only a returned false stops
// an action that can be stopped.
using HandlerResult = std::optional<Value>;
// Whether a handler's result stops the action: a returned false.
inline bool stops(const HandlerResult& r) {
  const bool* b = r ? std::get_if<bool>(&*r) : nullptr;
  return b && !*b;
}

struct Event {
  UnitRef source;                  // the unit that raised it (a clone: the clone itself)
  int number = 0;                  // the unit's own events from 0, common ones negative
  std::vector<std::int32_t> args;  // x, y, flags; feedback parameters; ...
};

using Handler = HandlerResult (*)(const Event&);

// A program's handler table: the templates name handlers, and the runtime resolves each
// name through this table at start-up.
struct HandlerEntry {
  const char* name;
  Handler handler;
};

// A system window handle as the programs pass it around (an integer for them).
using WindowHandle = std::intptr_t;

using EndRoutine = void (*)();

struct UnitTable;  // unit.h; forms/units/unit_table.h has the table of every type

// ---- Program life ----

// The first call of a program entry: heap, OLE, current directory = the program's
// folder, the runtime's hidden window, then the template segment is read and every
// binding resolved through the handler table. A segment that cannot be read is the
// runtime error "载入窗口模板数据段出错!". units outlives the runtime.
void startRuntime(const UnitTable& units, const HandlerEntry* handlers, std::size_t count,
                  const ByteSet& segment);
inline void startRuntime(const UnitTable& units, const std::vector<HandlerEntry>& handlers,
                         const ByteSet& segment) {
  startRuntime(units, handlers.data(), handlers.size(), segment);
}
template <std::size_t N>
void startRuntime(const UnitTable& units, const HandlerEntry (&handlers)[N],
                  const ByteSet& segment) {
  startRuntime(units, handlers, N, segment);
}

// One end-of-program routine (a later call replaces it); it runs exactly once, unless a
// runtime error ends the program.
void registerEndRoutine(EndRoutine routine);

// Loads the start-up window (created event, position and size events, then shown).
// Failure is the runtime error "载入启动窗口失败".
void loadStartWindow(WindowId window);

// Serves messages while any window of the program exists, hidden ones included. After it
// returns the end routine has run.
void runMessageLoop();

// Runs the end routine (once), destroys the windows, ends the process with code. From
// another thread, the window thread does the clean-up while the caller waits.
[[noreturn]] void endProgram(std::int32_t code);

// ---- Runtime errors ----

// "运行时出错!" box, then exit code -1 without the end routine.
[[noreturn]] void raiseRuntimeError(const Text& message);
// The numbered errors of the programs' arrays: 1, 4 and 10.
[[noreturn]] void raiseRuntimeError(std::int32_t number);

// ---- Windows and units ----

// False when the window cannot be created. A window that is open is only restored or
// activated. parent {0, 0} = none.
bool loadWindow(WindowId window, UnitRef parent = {}, bool modal = false);

// Property reads and writes; member is -1 for the whole property.
Value getUnitProperty(UnitRef unit, int index, int member = -1);
void setUnitProperty(UnitRef unit, int index, const Value& value, int member = -1);
inline Value getUnitProperty(WindowId window, UnitId unit, int index, int member = -1) {
  return getUnitProperty(UnitRef{window, unit}, index, member);
}
inline void setUnitProperty(WindowId window, UnitId unit, int index, const Value& value,
                            int member = -1) {
  setUnitProperty(UnitRef{window, unit}, index, value, member);
}

// A clone of source in its window; target receives it. False (target untouched) when
// the window is not loaded, source is missing or the window's own unit, or its type is
// not `type` or cannot be copied.
bool copyWindowUnit(UnitRef source, UnitKind type, UnitRef& target);

// The unit's live system window, or 0. type is the kind of the caller's unit variable.
WindowHandle getUnitWindowHandle(UnitRef unit, UnitKind type);

// Message 0x8075 (p1, p2) to a label: sent (the handler's value, 0 for none) or, with
// wait false, posted (0 at once).
std::int32_t raiseFeedbackEvent(UnitRef label, std::int32_t p1 = 0, std::int32_t p2 = 0,
                                bool wait = true);

// Hot key with id 33000 + calls so far; WM_HOTKEY on target sends 0x8075 (id, 0) to the
// feedback window. 0 when the system refuses the key.
std::int32_t registerHotKey(WindowHandle target, WindowHandle feedback, std::int32_t modifiers,
                            std::int32_t key);

// ---- Message loops ----

// Serves the waiting messages; a quit message stays in the queue.
void processEvents();

// Serves messages for ms milliseconds (nesting allowed); waits for messages or the time
// left instead of spinning.
void waitPumping(std::int32_t ms);

}  // namespace forms
