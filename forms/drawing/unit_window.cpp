#include <map>
#include <memory>
#include <string>
#include <utility>

#include "forms/drawing/bag_unit.h"

namespace forms {

std::optional<PropertyBag> decodeUnitBlock(const UnitPlan& plan) {
  return decodeProperties(plan.kind, plan.block);
}

namespace {

struct Route {
  UnitProc proc;
  void* object;
  bool* adopted;  // the creator's flag, set when the window takes the route over
};

LRESULT CALLBACK routedProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_NCCREATE) {
    auto* route = static_cast<Route*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    *std::exchange(route->adopted, nullptr) = true;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(route));
  }
  auto* route = reinterpret_cast<Route*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!route) return DefWindowProcW(w, message, wp, lp);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    Route r = *route;
    delete route;
    return r.proc(r.object, w, message, wp, lp);
  }
  return route->proc(route->object, w, message, wp, lp);
}

}  // namespace

HWND createUnitWindow(const wchar_t* className, UnitProc proc, void* object, DWORD style, DWORD exStyle,
                      const RECT& rect, HWND parent, const wchar_t* text) {
  static std::map<std::wstring, bool> registered;
  if (!registered[className]) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = routedProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    registered[className] = true;
  }
  bool adopted = false;
  auto route = std::make_unique<Route>(Route{proc, object, &adopted});
  HWND w = CreateWindowExW(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), route.get());
  // From WM_NCCREATE on the window owns the route and frees it with WM_NCDESTROY, also
  // when the creation fails after that.
  if (adopted) route.release();
  return w;
}

void destroyUnitWindow(HWND w) {
  if (!w || !IsWindow(w)) return;
  delete reinterpret_cast<Route*>(SetWindowLongPtrW(w, GWLP_USERDATA, 0));
  DestroyWindow(w);
}

}  // namespace forms
