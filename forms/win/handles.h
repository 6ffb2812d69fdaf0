#pragma once
// Owners of the Win32 handles the runtime keeps: one small non-copyable type each.
#include <windows.h>

#include <utility>

namespace forms {

// A GDI object (bitmap, brush, pen, font, region) deleted with DeleteObject.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { close(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(o.detach()) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) attach(o.detach());
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void attach(H h) {
    close();
    h_ = h;
  }
  H detach() { return std::exchange(h_, nullptr); }
  void close() {
    if (h_) DeleteObject(h_);
    h_ = nullptr;
  }

 private:
  H h_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;
using Font = GdiObject<HFONT>;

// A kernel handle closed with CloseHandle.
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~KernelHandle() { close(); }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  KernelHandle(KernelHandle&& o) noexcept : h_(o.detach()) {}
  KernelHandle& operator=(KernelHandle&& o) noexcept {
    if (this != &o) attach(o.detach());
    return *this;
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void attach(HANDLE h) {
    close();
    h_ = h;
  }
  HANDLE detach() { return std::exchange(h_, nullptr); }
  void close() {
    if (h_) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// A cursor made by the runtime (not a shared stock cursor).
class OwnCursor {
 public:
  OwnCursor() = default;
  explicit OwnCursor(HCURSOR h) : h_(h) {}
  ~OwnCursor() { close(); }
  OwnCursor(const OwnCursor&) = delete;
  OwnCursor& operator=(const OwnCursor&) = delete;
  OwnCursor(OwnCursor&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  OwnCursor& operator=(OwnCursor&& o) noexcept {
    if (this != &o) attach(std::exchange(o.h_, nullptr));
    return *this;
  }
  HCURSOR get() const { return h_; }
  void attach(HCURSOR h) {
    close();
    h_ = h;
  }
  void close() {
    if (h_) DestroyCursor(h_);
    h_ = nullptr;
  }

 private:
  HCURSOR h_ = nullptr;
};

// A hook of the thread, removed with UnhookWindowsHookEx.
class WindowsHook {
 public:
  WindowsHook() = default;
  ~WindowsHook() { close(); }
  WindowsHook(const WindowsHook&) = delete;
  WindowsHook& operator=(const WindowsHook&) = delete;
  HHOOK get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void attach(HHOOK h) {
    close();
    h_ = h;
  }
  void close() {
    if (h_) UnhookWindowsHookEx(h_);
    h_ = nullptr;
  }

 private:
  HHOOK h_ = nullptr;
};

// A memory DC compatible with the screen, deleted with DeleteDC; the bitmap selected
// into it is put back first.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (old_) SelectObject(dc_, old_);
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }
  void select(HGDIOBJ object) {
    HGDIOBJ prev = SelectObject(dc_, object);
    if (!old_) old_ = prev;
  }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// Keeps one object selected into a DC for a scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace forms
