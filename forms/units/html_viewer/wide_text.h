#pragma once
// GBK texts to and from the wide strings of COM.
#include <windows.h>
#include <oleauto.h>

#include "base/unique_handle.h"
#include "forms/values/text.h"

namespace forms {

struct BstrTraits : base::NullIsInvalid<BSTR> {
  static void close(BSTR s) { SysFreeString(s); }
};

// One BSTR made from a GBK text.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const Text& gbk);
  BSTR get() const { return s_.get(); }

 private:
  base::UniqueHandle<BstrTraits> s_;
};

// The GBK bytes of a wide string (the empty text for none); characters GBK lacks
// become "?".
Text toGbk(const wchar_t* wide);

}  // namespace forms
