#pragma once
// GBK texts to and from the wide strings of COM.
#include <windows.h>
#include <oleauto.h>

#include "forms/core/text.h"

namespace forms {

// Owner of one BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const Text& gbk);
  ~Bstr() { SysFreeString(s_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return s_; }

 private:
  BSTR s_ = nullptr;
};

// The GBK bytes of a wide string (the empty text for none); characters GBK lacks
// become "?".
Text toGbk(const wchar_t* wide);

}  // namespace forms
