#pragma once
// The wide strings of COM made from GBK texts.
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

}  // namespace forms
