#include "forms/runtime/stored_template.h"

#include "forms/template/bindings.h"
#include "forms/template/segment.h"
#include "forms/template/type_tables.h"

namespace forms {

StoredUnit* StoredWindow::find(UnitId unit) {
  for (auto& u : units)
    if (u.id == unit) return &u;
  return nullptr;
}

const StoredUnit* StoredWindow::find(UnitId unit) const {
  for (auto& u : units)
    if (u.id == unit) return &u;
  return nullptr;
}

StoredWindow* StoredSegment::find(WindowId window) {
  for (auto& w : windows)
    if (w.id == window) return &w;
  return nullptr;
}

std::uint32_t handlerKey(const char* name) { return tpl::handlerRefOf(name); }

std::optional<StoredSegment> readStoredSegment(const ByteSet& segment,
                                               const std::map<std::uint32_t, Handler>& handlers) {
  std::optional<tpl::Segment> read = tpl::readSegmentRecords(segment);
  if (!read) return std::nullopt;
  StoredSegment out;
  out.highestSerial = read->highestSerial();
  for (tpl::WindowRecord& w : read->windows) {
    StoredWindow sw;
    sw.id = w.id;
    for (tpl::UnitRecord& r : w.units) {
      if (tpl::idTopByte(r.id) == tpl::kMenuIdByte) continue;  // no menus in our windows
      StoredUnit u;
      static_cast<tpl::UnitRecord&>(u) = std::move(r);
      for (const tpl::EventBinding& b : u.bindings) {
        auto found = handlers.find(b.handlerRef);
        u.handlers.push_back(Binding{
            b.eventIndex,
            b.handlerRef != tpl::kNoHandler && found != handlers.end() ? found->second : nullptr});
      }
      sw.units.push_back(std::move(u));
    }
    out.windows.push_back(std::move(sw));
  }
  return out;
}

}  // namespace forms
