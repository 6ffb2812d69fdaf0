// The ShapeBox unit: a drawn shape over its background colour.
#include <algorithm>

#include "forms/units/shape_box/shape_box.h"
#include "forms/unit_base/painted_unit.h"

namespace forms {

namespace {

using namespace shape_box;

class ShapeBoxUnit : public PaintedUnit {
 public:
  ShapeBoxUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : PaintedUnit(std::move(bag), site) {
    create(plan, L"TvShapeBox", 0);
  }
  bool dragsWindow() const override { return true; }

 protected:
  void applied(int) override { repaint(); }

  void paint(HDC dc, const RECT& client) override {
    fillRect(dc, client, colourOr(number(kBgColour), GetSysColor(COLOR_BTNFACE)));
    const int look = number(kLook3d);
    RECT r = client;
    if (look == 1 || look == 2) r.right -= 1, r.bottom -= 1;
    if (look == 1 || look == 2) {
      const COLORREF first = look == 1 ? RGB(255, 255, 255) : RGB(0, 0, 0);
      const COLORREF second = look == 1 ? RGB(0, 0, 0) : RGB(255, 255, 255);
      RECT r2 = r;
      OffsetRect(&r2, 1, 1);
      drawShape(dc, r2, second, 1, PS_SOLID, true);
      drawShape(dc, r, first, 1, PS_SOLID, true);
      return;
    }
    static const int kStyles[] = {PS_NULL, PS_INSIDEFRAME, PS_DASH,
                                  PS_DOT,  PS_DASHDOT,     PS_DASHDOTDOT};
    const int ls = number(kLineStyle);
    const int style = ls >= 0 && ls <= 5 ? kStyles[ls] : PS_INSIDEFRAME;
    const int width = ls == 1 ? std::max(1, number(kLineWidth)) : 1;
    drawShape(dc, r, colourOr(number(kLineColour), 0), width, style, false);
  }

 private:
  void drawShape(HDC dc, RECT r, COLORREF colour, int width, int style, bool outlineOnly) {
    base::Pen pen(style == PS_NULL ? nullptr : CreatePen(style, width, colour));
    base::Brush fill(!outlineOnly && colourSet(number(kFillColour))
                         ? CreateSolidBrush(static_cast<COLORREF>(number(kFillColour)))
                         : nullptr);
    base::Selected p(dc, pen ? static_cast<HGDIOBJ>(pen.get()) : GetStockObject(NULL_PEN));
    base::Selected b(dc, fill ? static_cast<HGDIOBJ>(fill.get()) : GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    const int shape = number(kShape);
    if (shape == 1 || shape == 3 || shape == 5) {
      const int side = std::min(r.right - r.left, r.bottom - r.top);
      const int x = r.left + (r.right - r.left - side) / 2,
                y = r.top + (r.bottom - r.top - side) / 2;
      r = RECT{x, y, x + side, y + side};
    }
    // A null pen draws one pixel less; keep fills to the unit's edge.
    const int grow = pen ? 0 : 1;
    const int w = r.right - r.left, h = r.bottom - r.top;
    switch (shape) {
      case 2:
      case 3: Ellipse(dc, r.left, r.top, r.right + grow, r.bottom + grow); break;
      case 4:
      case 5: RoundRect(dc, r.left, r.top, r.right + grow, r.bottom + grow, w / 5, h / 5); break;
      case 6:
        MoveToEx(dc, r.left, r.top + width / 2, nullptr);
        LineTo(dc, r.right, r.top + width / 2);
        break;
      case 7:
        MoveToEx(dc, r.left + width / 2, r.top, nullptr);
        LineTo(dc, r.left + width / 2, r.bottom);
        break;
      default: Rectangle(dc, r.left, r.top, r.right + grow, r.bottom + grow); break;
    }
  }
};

}  // namespace

std::unique_ptr<UnitControl> makeShapeBoxUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<ShapeBoxUnit>(plan, site);
}

}  // namespace forms
