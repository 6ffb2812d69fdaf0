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

}  // namespace forms
