#include "forms/browser/wide_text.h"

#include <string>

namespace forms {
namespace {

// Every text of the system is GBK, whatever code page the platform runs with.
constexpr UINT kGbk = 936;

}  // namespace

Bstr::Bstr(const Text& gbk) {
  const int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  s_ = SysAllocStringLen(nullptr, n);
  if (s_ && n > 0) MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), s_, n);
}

Text toGbk(const wchar_t* wide) {
  if (!wide || !*wide) return {};
  const int n = WideCharToMultiByte(kGbk, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  Text out(n, '\0');
  WideCharToMultiByte(kGbk, 0, wide, -1, &out[0], n, nullptr, nullptr);
  out.resize(n - 1);
  return out;
}

}  // namespace forms
