#include "forms/units/html_viewer/wide_text.h"

#include <string>

#include "forms/values/gbk_wide.h"

namespace forms {

Bstr::Bstr(const Text& gbk) {
  const std::wstring wide = widen(gbk);
  s_.attach(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

}  // namespace forms
