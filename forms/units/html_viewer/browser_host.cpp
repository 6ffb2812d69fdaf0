#include "forms/units/html_viewer/browser_host.h"

#include <exdispid.h>
#include <ocidl.h>
#include <oleidl.h>

#include "base/handles.h"
#include "base/window_class.h"
#include "forms/units/html_viewer/wide_text.h"
#include "forms/values/gbk_wide.h"

namespace forms {
namespace {

constexpr wchar_t kContainerClass[] = L"FormsHtmlViewer";

// The control needs the keys meant for it before they are translated and dispatched.
// Whatever message loop runs (the runtime's, a message box's, a pumping wait), a hook on
// the thread's message retrieval hands them over; it lives while the thread hosts one.
struct KeyRouting {
  base::WindowsHook hook;
  int hosts = 0;
};
thread_local KeyRouting keys;

// The argument n of an event, counted as the event's signature lists them (the
// parameters arrive in reverse order).
VARIANT* argument(DISPPARAMS* params, UINT n) {
  if (!params || n >= params->cArgs) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - n];
}

const wchar_t* stringArgument(DISPPARAMS* params, UINT n) {
  VARIANT* v = argument(params, n);
  if (!v) return nullptr;
  if (v->vt == VT_BSTR) return v->bstrVal;
  if (v->vt == (VT_BSTR | VT_BYREF) && v->pbstrVal) return *v->pbstrVal;
  if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal && v->pvarVal->vt == VT_BSTR)
    return v->pvarVal->bstrVal;
  return nullptr;
}

VARIANT_BOOL* cancelArgument(DISPPARAMS* params, UINT n) {
  VARIANT* v = argument(params, n);
  return v && v->vt == (VT_BOOL | VT_BYREF) ? v->pboolVal : nullptr;
}

}  // namespace

// The client site, in-place site and in-place frame in one object; the host owns it, so
// its reference count only answers COM's questions.
class BrowserHost::Site : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(BrowserHost& host) : host_(host) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, for the site and the frame alike
  STDMETHODIMP GetWindow(HWND* out) override {
    *out = host_.container_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = this;
    AddRef();
    *document = nullptr;
    GetClientRect(host_.container_, position);
    GetClientRect(host_.container_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(host_.container_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT position) override {
    if (auto inPlace = host_.object_.query<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
      inPlace->SetObjectRects(position, position);
    }
    return S_OK;
  }

  // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus, tools or status bar of ours.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
    host_.active_.share(active);
    return S_OK;
  }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  BrowserHost& host_;
  ULONG refs_ = 1;
};

// The DWebBrowserEvents2 sink.
class BrowserHost::Sink : public IDispatch {
 public:
  explicit Sink(BrowserHost& host) : host_(host) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    host_.onEvent(id, params);
    return S_OK;
  }

 private:
  BrowserHost& host_;
  ULONG refs_ = 1;
};

BrowserHost::BrowserHost(Callbacks callbacks)
    : callbacks_(std::move(callbacks)), site_(std::make_unique<Site>(*this)),
      sink_(std::make_unique<Sink>(*this)) {
  if (keys.hosts++ == 0)
    keys.hook.attach(SetWindowsHookExA(WH_GETMESSAGE, keyHook, nullptr, GetCurrentThreadId()));
}

BrowserHost::~BrowserHost() {
  if (--keys.hosts == 0) keys.hook.close();
  stop();
  base::destroyRoutedWindow(container_);
}

IDispatch* BrowserHost::eventSink() const { return sink_.get(); }

std::unique_ptr<BrowserHost> BrowserHost::create(HWND parent, const RECT& where,
                                                 Callbacks callbacks) {
  std::unique_ptr<BrowserHost> host(new BrowserHost(std::move(callbacks)));
  if (!host->start(parent, where)) return nullptr;
  return host;
}

bool BrowserHost::start(HWND parent, const RECT& where) {
  container_ = base::createRoutedWindow({kContainerClass, 0}, &BrowserHost::containerProc, this,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                        0, where, parent);
  if (!container_) return false;

  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              object_.putVoid()))) {
    return false;
  }
  object_->SetClientSite(site_.get());
  OleSetContainedObject(object_.get(), TRUE);
  RECT area;
  GetClientRect(container_, &area);
  if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, container_, &area)))
    return false;
  browser_ = object_.query<IWebBrowser2>(IID_IWebBrowser2);
  if (!browser_) return false;

  if (auto points = object_.query<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
    if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events_.put()))) {
      if (FAILED(events_->Advise(sink_.get(), &cookie_))) events_.reset();
    }
  }
  return static_cast<bool>(events_);
}

void BrowserHost::stop() {
  if (events_) {
    events_->Unadvise(cookie_);
    events_.reset();
  }
  active_.reset();
  browser_.reset();
  if (object_) {
    if (auto inPlace = object_.query<IOleInPlaceObject>(IID_IOleInPlaceObject))
      inPlace->InPlaceDeactivate();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_.reset();
  }
}

void BrowserHost::resize() {
  if (!object_) return;
  RECT area;
  GetClientRect(container_, &area);
  site_->OnPosRectChange(&area);
}

LRESULT BrowserHost::containerProc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* host = static_cast<BrowserHost*>(object);
  switch (message) {
    case WM_SIZE:
      if (host) host->resize();
      return 0;
    case WM_DESTROY:
      // The parent is going: let go of the control while its windows still exist.
      if (host) {
        host->stop();
        host->container_ = nullptr;
      }
      break;
    case WM_ERASEBKGND: return 1;
    default: break;
  }
  return DefWindowProcW(w, message, wp, lp);
}

bool BrowserHost::navigate(const Text& url) {
  if (!browser_) return false;
  Bstr address(url);
  VARIANT none;
  VariantInit(&none);
  return SUCCEEDED(browser_->Navigate(address.get(), &none, &none, &none, &none));
}

void BrowserHost::setSilent(bool silent) {
  if (browser_) browser_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

void BrowserHost::setOffline(bool offline) {
  if (browser_) browser_->put_Offline(offline ? VARIANT_TRUE : VARIANT_FALSE);
}

void BrowserHost::setFontSize(int size) {
  fontSize_ = size;
  applyFontSize();
}

void BrowserHost::applyFontSize() {
  if (!browser_) return;
  VARIANT size;
  VariantInit(&size);
  size.vt = VT_I4;
  size.lVal = fontSize_;
  browser_->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &size, nullptr);
}

void BrowserHost::onEvent(DISPID id, DISPPARAMS* params) {
  switch (id) {
    case DISPID_STATUSTEXTCHANGE: statusText_ = narrow(stringArgument(params, 0)); break;
    case DISPID_TITLECHANGE: title_ = narrow(stringArgument(params, 0)); break;
    case DISPID_DOCUMENTCOMPLETE: applyFontSize(); break;
    case DISPID_NEWWINDOW2:
    case DISPID_NEWWINDOW3: {
      // A control that sends both asks about one window twice, NewWindow2 first, and
      // sends NewWindow3 only when NewWindow2 let it go on: ask the handler once.
      const bool second = id == DISPID_NEWWINDOW3 && newWindow2Seen_;
      newWindow2Seen_ = id == DISPID_NEWWINDOW2;
      if (second) break;
      VARIANT_BOOL* cancel = cancelArgument(params, 1);
      if (callbacks_.newWindow && !callbacks_.newWindow()) {
        if (cancel) *cancel = VARIANT_TRUE;
        newWindow2Seen_ = false;
      }
      break;
    }
    default: break;
  }
  if (callbacks_.observe && params) callbacks_.observe(id, *params);
}

LRESULT CALLBACK BrowserHost::keyHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (translateAccelerator(msg)) {
      // Taken by the control: the loop gets nothing to translate or dispatch.
      msg->message = WM_NULL;
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return CallNextHookEx(keys.hook.get(), code, wp, lp);
}

bool BrowserHost::translateAccelerator(MSG* msg) {
  if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  for (HWND w = msg->hwnd; w; w = GetParent(w)) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    if (lstrcmpW(name, kContainerClass) != 0) continue;
    auto* host = static_cast<BrowserHost*>(base::routedObject(w));
    return host && host->active_ && host->active_->TranslateAccelerator(msg) == S_OK;
  }
  return false;
}

}  // namespace forms
