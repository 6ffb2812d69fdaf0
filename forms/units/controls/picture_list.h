#pragma once
// Image lists stored in templates: "MITL", 0xFF000000, then an ImageList_Write stream.
#include <windows.h>
// Before commctrl.h, which declares the stream functions only when IStream is known.
#include <objidl.h>
#include <commctrl.h>

#include "base/handles.h"
#include "base/unique_handle.h"
#include "forms/values/text.h"

namespace forms {

struct ImageListTraits : base::NullIsInvalid<HIMAGELIST> {
  static void close(HIMAGELIST h) { ImageList_Destroy(h); }
};
using ImageList = base::UniqueHandle<ImageListTraits>;

// The list a stored block holds; empty for an empty, foreign or damaged block.
ImageList readPictureList(const ByteSet& block);

// The stored form of a list (for tests and tools).
ByteSet writePictureList(HIMAGELIST list);

// Owner of a font made from a stored LOGFONTA; the default GUI font when there is none.
class StoredFont {
 public:
  explicit StoredFont(const ByteSet& logfont);
  StoredFont(const StoredFont&) = delete;
  StoredFont& operator=(const StoredFont&) = delete;
  HFONT get() const { return made_ ? made_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

 private:
  Font made_;
};

}  // namespace forms
