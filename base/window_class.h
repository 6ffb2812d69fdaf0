#pragma once
// The one way the project registers a window class and ties a window to its object. A
// routed window keeps a route (its object and the object's procedure) in its user data
// from WM_NCCREATE to WM_NCDESTROY; the object's procedure passes what it does not handle
// on to DefWindowProcW.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace base {

// A class as the project registers them: wide, of this module, with the arrow cursor.
struct WindowClass {
  const wchar_t* name;
  UINT style = CS_DBLCLKS;
  HBRUSH background = nullptr;  // null: the window paints its background itself
};

// Registers the class with its procedure once per process: true when it is registered.
inline bool registerWindowClass(const WindowClass& c, WNDPROC proc) {
  static std::map<std::wstring, bool> registered;
  bool& done = registered[c.name];
  if (!done) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = c.style;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = c.background;
    wc.lpszClassName = c.name;
    done = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return done;
}

using RoutedProc = LRESULT (*)(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp);

namespace route_detail {

struct Route {
  RoutedProc proc;
  void* object;
  bool* adopted;  // the creator's flag, set when the window takes the route over
};

inline LRESULT CALLBACK routedProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_NCCREATE) {
    auto* route = static_cast<Route*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    *std::exchange(route->adopted, nullptr) = true;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(route));
  }
  auto* route = reinterpret_cast<Route*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!route) return DefWindowProcW(w, message, wp, lp);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    const Route r = *route;
    delete route;
    return r.proc(r.object, w, message, wp, lp);
  }
  return route->proc(route->object, w, message, wp, lp);
}

}  // namespace route_detail

// Registers the class (once) with the routing procedure and creates a window of it whose
// messages go to proc with object. Null when the class or the window cannot be made.
inline HWND createRoutedWindow(const WindowClass& c, RoutedProc proc, void* object, DWORD style,
                               DWORD exStyle, const RECT& rect, HWND parent,
                               const wchar_t* text = L"") {
  if (!registerWindowClass(c, route_detail::routedProc)) return nullptr;
  bool adopted = false;
  auto route = std::make_unique<route_detail::Route>(route_detail::Route{proc, object, &adopted});
  HWND w = CreateWindowExW(exStyle, c.name, text, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                           GetModuleHandleW(nullptr), route.get());
  // From WM_NCCREATE on the window owns the route and frees it with WM_NCDESTROY, also
  // when the creation fails after that.
  if (adopted) route.release();
  return w;
}

// Destroys a routed window from its object's destructor: the object hears none of the
// window's last messages, and the route goes with the window.
inline void destroyRoutedWindow(HWND w) {
  if (!w || !IsWindow(w)) return;
  delete reinterpret_cast<route_detail::Route*>(SetWindowLongPtrW(w, GWLP_USERDATA, 0));
  DestroyWindow(w);
}

// The object of a routed window, or null for another window or one whose route has gone.
inline void* routedObject(HWND w) {
  if (reinterpret_cast<WNDPROC>(GetClassLongPtrW(w, GCLP_WNDPROC)) != route_detail::routedProc)
    return nullptr;
  const auto* route =
      reinterpret_cast<const route_detail::Route*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  return route ? route->object : nullptr;
}

}  // namespace base
