#include "forms/win/gbk_wide.h"

#include <windows.h>

namespace forms {

namespace {
constexpr UINT kGbk = 936;
}

std::wstring widen(const Text& gbk) {
  if (gbk.empty()) return {};
  int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), &out[0], n);
  return out;
}

Text narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  Text out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace forms
