#pragma once
// Scoped device contexts: a memory DC, an object selected for a scope, a window's DC,
// and the buffer that a window paints into before one copy to the screen.
#include <windows.h>

#include <algorithm>

#include "base/handles.h"
#include "base/unique_handle.h"

namespace base {

struct MemoryDcTraits : NullIsInvalid<HDC> {
  static void close(HDC dc) { DeleteDC(dc); }
};

// A memory DC compatible with `like` (the screen for null); what select() replaced is
// put back before the DC goes, so that a selected object can be deleted afterwards.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (old_) SelectObject(dc_.get(), old_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_.get(); }
  explicit operator bool() const { return static_cast<bool>(dc_); }
  void select(HGDIOBJ object) {
    HGDIOBJ prev = SelectObject(dc_.get(), object);
    if (!old_) old_ = prev;
  }

 private:
  UniqueHandle<MemoryDcTraits> dc_;
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

// The DC of a window (GetDC, or GetWindowDC with `whole`), released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND w, bool whole = false) : w_(w), dc_(whole ? GetWindowDC(w) : GetDC(w)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

// A width x height bitmap compatible with `target`, selected into a memory DC; drawing
// goes to dc() and reaches the target in one copy, so no half-drawn state shows. The
// bitmap is at least 1 x 1, so that dc() always has one.
class PaintBuffer {
 public:
  PaintBuffer(HDC target, int width, int height)
      : width_(width), height_(height),
        bitmap_(CreateCompatibleBitmap(target, std::max(1, width), std::max(1, height))),
        dc_(target) {
    if (bitmap_ && dc_) dc_.select(bitmap_.get());
  }
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  explicit operator bool() const { return bitmap_ && dc_; }
  HDC dc() const { return dc_.get(); }
  // Copies the whole buffer to (x, y) of target.
  void copyTo(HDC target, int x, int y) const {
    BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
  }

 private:
  int width_;
  int height_;
  // Before the DC, so that the DC lets go of the bitmap before it is deleted.
  Bitmap bitmap_;
  MemoryDc dc_;
};

}  // namespace base
