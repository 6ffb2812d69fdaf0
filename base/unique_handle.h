#pragma once
// The one owner of a handle: non-copyable, movable, closed once. Portable, so that the
// owner itself is tested in the host build; the Win32 kinds are in base/handles.h.
//
// Traits names the kind:
//   using Handle = ...;                  the handle type
//   static Handle empty();               what an owner holds when it holds none
//   static bool valid(Handle h);         false for each value that is no handle
//   static void close(Handle h);         called once for a valid handle
#include <utility>

namespace base {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  // Every invalid value is stored as the empty one, so that get() has one "none".
  explicit UniqueHandle(Handle h) : h_(Traits::valid(h) ? h : Traits::empty()) {}
  ~UniqueHandle() { close(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.detach()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) attach(o.detach());
    return *this;
  }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::empty(); }
  void attach(Handle h) {
    close();
    h_ = Traits::valid(h) ? h : Traits::empty();
  }
  Handle detach() { return std::exchange(h_, Traits::empty()); }
  void close() {
    if (h_ != Traits::empty()) Traits::close(std::exchange(h_, Traits::empty()));
  }

 private:
  Handle h_ = Traits::empty();
};

// Traits for handle kinds whose only invalid value is null.
template <typename H>
struct NullIsInvalid {
  using Handle = H;
  static H empty() { return H{}; }
  static bool valid(H h) { return h != H{}; }
};

}  // namespace base
