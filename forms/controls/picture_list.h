#pragma once
// Image lists stored in templates: "MITL", 0xFF000000, then an ImageList_Write stream.
#include <windows.h>
// Before commctrl.h, which declares the stream functions only when IStream is known.
#include <objidl.h>
#include <commctrl.h>

#include "forms/core/text.h"

namespace forms {

class ImageList {
 public:
  ImageList() = default;
  explicit ImageList(HIMAGELIST h) : h_(h) {}
  ~ImageList() { reset(); }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ImageList(ImageList&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  ImageList& operator=(ImageList&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }
  HIMAGELIST get() const { return h_; }
  void reset() {
    if (h_) ImageList_Destroy(h_);
    h_ = nullptr;
  }

 private:
  HIMAGELIST h_ = nullptr;
};

// The list a stored block holds; empty for an empty, foreign or damaged block.
ImageList readPictureList(const ByteSet& block);

// The stored form of a list (for tests and tools).
ByteSet writePictureList(HIMAGELIST list);

// Owner of a font made from a stored LOGFONTA; the default GUI font when there is none.
class StoredFont {
 public:
  explicit StoredFont(const ByteSet& logfont);
  ~StoredFont();
  StoredFont(const StoredFont&) = delete;
  StoredFont& operator=(const StoredFont&) = delete;
  HFONT get() const { return made_ ? made_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

 private:
  HFONT made_ = nullptr;
};

}  // namespace forms
