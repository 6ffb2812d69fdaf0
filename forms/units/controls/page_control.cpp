#include "forms/units/controls/page_control.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/window_class.h"
#include "forms/values/gbk_wide.h"

namespace forms {
namespace {

constexpr wchar_t kContainerClass[] = L"FormsPageControl";

}  // namespace

std::vector<std::vector<UnitId>> PageControl::pagesOf(const std::vector<UnitId>& childIds) {
  std::vector<std::vector<UnitId>> pages;
  std::vector<UnitId> page;
  bool open = false;
  for (UnitId id : childIds) {
    if (id == 0) {
      pages.push_back(std::move(page));
      page.clear();
      open = false;
    } else {
      page.push_back(id);
      open = true;
    }
  }
  if (open) pages.push_back(std::move(page));
  return pages;
}

PageControl::PageControl(HWND parent, const RECT& where, const PageBlock& block,
                         std::vector<std::vector<UnitId>> pages, Units units)
    : records_(block.pages), pages_(std::move(pages)), units_(std::move(units)),
      pictures_(readPictureList(block.pictures[0])),
      secondPictures_(readPictureList(block.pictures[1])), font_(block.font) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_TAB_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)commonControls;
  const int width = where.right - where.left, height = where.bottom - where.top;
  container_ = base::createRoutedWindow(
      {kContainerClass, 0, GetSysColorBrush(COLOR_BTNFACE)}, &PageControl::containerProc, this,
      WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, where, parent);
  if (!container_) return;
  tabs_ =
      CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                      0, 0, width, height, container_, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (pictures_.get())
    SendMessageA(tabs_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures_.get()));
  // As many tabs as the larger of the stored pages and the child list's pages.
  const std::size_t count = std::max(records_.size(), pages_.size());
  records_.resize(count);
  pages_.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    // Captions are GBK, whatever the system's code page: set them as wide texts.
    std::wstring caption = widen(records_[i].caption);
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = &caption[0];
    item.iImage = records_[i].images[i == 0 ? 2 : 0];
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  // The tabs lie behind every unit on the pages.
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

PageControl::~PageControl() { base::destroyRoutedWindow(container_); }

void PageControl::setTabPicture(int page, bool selected) {
  if (page < 0 || page >= static_cast<int>(records_.size())) return;
  TCITEMA item = {};
  item.mask = TCIF_IMAGE;
  item.iImage = records_[page].images[selected ? 2 : 0];
  SendMessageA(tabs_, TCM_SETITEMA, page, reinterpret_cast<LPARAM>(&item));
}

int PageControl::pageOf(UnitId unit) const {
  for (std::size_t p = 0; p < pages_.size(); ++p) {
    if (std::find(pages_[p].begin(), pages_[p].end(), unit) != pages_[p].end())
      return static_cast<int>(p);
  }
  return -1;
}

bool PageControl::mayShow(UnitId unit) const {
  const int page = pageOf(unit);
  return page < 0 || page == current_;
}

void PageControl::applyPage() {
  for (std::size_t p = 0; p < pages_.size(); ++p) {
    for (UnitId unit : pages_[p]) {
      HWND w = units_.window ? units_.window(unit) : nullptr;
      if (!w) continue;
      const bool show = static_cast<int>(p) == current_ && units_.visible && units_.visible(unit);
      ShowWindow(w, show ? SW_SHOWNA : SW_HIDE);
    }
  }
}

void PageControl::showPage(int page) {
  if (page < 0 || page >= static_cast<int>(pages_.size())) return;
  if (page != current_) {
    setTabPicture(current_, false);
    setTabPicture(page, true);
  }
  current_ = page;
  if (SendMessageA(tabs_, TCM_GETCURSEL, 0, 0) != page) SendMessageA(tabs_, TCM_SETCURSEL, page, 0);
  applyPage();

  HWND first = nullptr;
  std::uint32_t smallest = 0;
  for (UnitId unit : pages_[page]) {
    HWND w = units_.window ? units_.window(unit) : nullptr;
    if (!w || !IsWindowVisible(w)) continue;
    const std::uint32_t order = units_.tabOrder ? units_.tabOrder(unit) : 0;
    if (!first || order < smallest) {
      first = w;
      smallest = order;
    }
  }
  if (first) SetFocus(first);
}

LRESULT PageControl::containerProc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<PageControl*>(object);
  switch (message) {
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NMHDR*>(lp);
      if (self && note->hwndFrom == self->tabs_) {
        if (note->code == TCN_SELCHANGE) {
          self->showPage(static_cast<int>(SendMessageA(self->tabs_, TCM_GETCURSEL, 0, 0)));
        }
        return 0;
      }
      return SendMessageW(GetParent(w), message, wp, lp);
    }
    case WM_SIZE:
      if (self && self->tabs_) MoveWindow(self->tabs_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    // The units on the pages talk to the window they belong to, as if they lay on it.
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL: return SendMessageW(GetParent(w), message, wp, lp);
    case WM_DESTROY:
      if (self) self->container_ = nullptr;
      break;
    default: break;
  }
  return DefWindowProcW(w, message, wp, lp);
}

}  // namespace forms
