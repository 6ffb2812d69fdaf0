#pragma once
// The one owner of a handle: non-copyable, movable, closed once. Portable, so that the
// owner itself is tested in the host build; the Win32 kinds are in base/handles.h.
//
// Traits names the kind:
//   using Handle = ...;                  the handle type, value-initialised when empty
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
  explicit UniqueHandle(Handle h) : h_(Traits::valid(h) ? h : Handle{}) {}
  ~UniqueHandle() { close(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.detach()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) attach(o.detach());
    return *this;
  }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  void attach(Handle h) {
    close();
    h_ = Traits::valid(h) ? h : Handle{};
  }
  Handle detach() { return std::exchange(h_, Handle{}); }
  void close() {
    if (h_ != Handle{}) Traits::close(std::exchange(h_, Handle{}));
  }

 private:
  Handle h_{};
};

// Traits for handle kinds whose only invalid value is null.
template <typename H>
struct NullIsInvalid {
  using Handle = H;
  static bool valid(H h) { return h != H{}; }
};

}  // namespace base
