#pragma once
// Base of the unit types that draw themselves in a child window of their own: double-
// buffered painting, printing for transparent children above them, and the container
// duties (reflected notifications) for units placed inside them.
#include "forms/unit_base/bag_unit.h"
#include "forms/painting/paint.h"

namespace forms {

class PaintedUnit : public BagUnit {
 public:
  PaintedUnit(PropertyBag bag, UnitSite& site) : BagUnit(std::move(bag)), site_(site) {}
  ~PaintedUnit() override;

  HWND window() const override { return hwnd_; }

 protected:
  // Creates the child window; the unit's border code adds its frame styles.
  bool create(const UnitPlan& plan, const wchar_t* className, int borderCode, DWORD extraStyle = 0);
  virtual void paint(HDC dc, const RECT& client) = 0;
  // Messages of the type before the common handling; none to go on.
  virtual std::optional<LRESULT> handle(UINT message, WPARAM wp, LPARAM lp) {
    (void)message;
    (void)wp;
    (void)lp;
    return std::nullopt;
  }
  // The unit, its children and the see-through units in front of it.
  void repaint() const { redrawUnit(hwnd_); }

  UnitSite& site_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT proc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp);
  void paintBuffered(HDC dc);
};

}  // namespace forms
