#pragma once
// One reference to a COM object: Release when it goes, AddRef when it is copied.
#include <objbase.h>

#include <utility>

namespace base {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(o.detach()) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Takes over a reference the caller holds.
  void attach(T* p) {
    reset();
    p_ = p;
  }
  T* detach() { return std::exchange(p_, nullptr); }
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Adds a reference of its own to p.
  void share(T* p) {
    if (p) p->AddRef();
    attach(p);
  }
  // For the out parameter of a call that hands over a reference.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }

  // The object's interface `iid` (of type U), or empty.
  template <typename U>
  ComPtr<U> query(REFIID iid) const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(iid, out.putVoid());
    return out;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace base
