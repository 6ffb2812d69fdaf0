#pragma once
// The system's WebBrowser control hosted in a child window through OLE containment:
// client site, in-place site and frame, and a DWebBrowserEvents2 sink.
#include <windows.h>
#include <exdisp.h>

#include <functional>
#include <memory>

#include "base/com_ptr.h"
#include "forms/values/text.h"

namespace forms {

class BrowserHost {
 public:
  struct Callbacks {
    // A new window is about to open; false cancels it.
    std::function<bool()> newWindow;
    // Every event that reaches the sink, after the host has handled it.
    std::function<void(DISPID, const DISPPARAMS&)> observe;
  };

  // The container window (a child of parent at where) with the control active in place
  // inside it; null when the control cannot be made. OLE must be initialised.
  static std::unique_ptr<BrowserHost> create(HWND parent, const RECT& where, Callbacks callbacks);
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  HWND window() const { return container_; }
  IWebBrowser2* browser() const { return browser_.get(); }
  // The DWebBrowserEvents2 sink, as the control sees it.
  IDispatch* eventSink() const;

  // Navigates at once: no flags, no target frame, no post data, no extra headers.
  bool navigate(const Text& url);
  // The latest status-bar text and document title the control reported ("" before).
  const Text& statusText() const { return statusText_; }
  const Text& title() const { return title_; }

  void setSilent(bool silent);
  void setOffline(bool offline);
  // 0 smallest .. 4 largest; applied now when a document is there, else when one is.
  void setFontSize(int size);

 private:
  class Site;
  class Sink;
  friend class Site;
  friend class Sink;

  explicit BrowserHost(Callbacks callbacks);
  bool start(HWND parent, const RECT& where);
  void stop();
  void resize();
  void applyFontSize();
  void onEvent(DISPID id, DISPPARAMS* params);
  static LRESULT containerProc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp);
  // Gives the control of the window that msg is for a chance at its keys (Tab, the
  // editing keys); true when it took the message.
  static bool translateAccelerator(MSG* msg);
  static LRESULT CALLBACK keyHook(int code, WPARAM wp, LPARAM lp);

  Callbacks callbacks_;
  std::unique_ptr<Site> site_;
  std::unique_ptr<Sink> sink_;
  HWND container_ = nullptr;
  base::ComPtr<IOleObject> object_;
  base::ComPtr<IWebBrowser2> browser_;
  base::ComPtr<IOleInPlaceActiveObject> active_;
  base::ComPtr<IConnectionPoint> events_;
  DWORD cookie_ = 0;
  Text statusText_;
  Text title_;
  int fontSize_ = 2;
  bool newWindow2Seen_ = false;
};

}  // namespace forms
