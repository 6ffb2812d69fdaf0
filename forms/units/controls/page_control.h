#pragma once
// The PageControl unit: a tab control with pictures whose pages hold units; only the
// current page's units are shown.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "forms/painting/paint.h"
#include "forms/units/controls/page_block.h"
#include "forms/units/controls/picture_list.h"
#include "forms/runtime/runtime.h"

namespace forms {

class PageControl {
 public:
  // How the page control reaches the units on its pages.
  struct Units {
    std::function<HWND(UnitId)> window;   // the unit's live window, or null
    std::function<bool(UnitId)> visible;  // the unit's own visible property
    std::function<std::uint32_t(UnitId)> tabOrder;
  };

  // The pages of a stored child list: the units of page 1, a 0, the units of page 2, a
  // 0, and so on; a list without its closing 0 still ends its last page.
  static std::vector<std::vector<UnitId>> pagesOf(const std::vector<UnitId>& childIds);

  PageControl(HWND parent, const RECT& where, const PageBlock& block,
              std::vector<std::vector<UnitId>> pages, Units units);
  ~PageControl();
  PageControl(const PageControl&) = delete;
  PageControl& operator=(const PageControl&) = delete;

  // The window that the units on the pages are children of.
  HWND window() const { return container_; }
  HWND tabs() const { return tabs_; }

  int currentPage() const { return current_; }
  // Shows that page as if its tab was chosen: the old page's units hide, the new page's
  // visible units show, and the shown unit with the smallest tab order takes the focus.
  void showPage(int page);
  // Shows and hides the units as the current page asks (after the units were created).
  void applyPage();
  // False for a unit on a page that is not the current one.
  bool mayShow(UnitId unit) const;

 private:
  static LRESULT containerProc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp);
  void setTabPicture(int page, bool selected);
  int pageOf(UnitId unit) const;

  std::vector<PageRecord> records_;
  std::vector<std::vector<UnitId>> pages_;
  Units units_;
  ImageList pictures_;
  ImageList secondPictures_;
  UnitFont font_;
  HWND container_ = nullptr;
  HWND tabs_ = nullptr;
  int current_ = 0;
};

}  // namespace forms
