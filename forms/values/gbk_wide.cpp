#include "forms/values/gbk_wide.h"

#include <windows.h>

namespace forms {

namespace {
constexpr UINT kGbk = 936;
}

std::size_t widenInto(std::string_view gbk, wchar_t* out, std::size_t capacity) {
  if (capacity == 0) return 0;
  int n = 0;
  // With no room but the NUL's, the system would only count the characters.
  if (!gbk.empty() && capacity > 1)
    n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), out,
                            static_cast<int>(capacity - 1));
  const std::size_t length = n > 0 ? static_cast<std::size_t>(n) : 0;
  out[length] = L'\0';
  return length;
}

std::wstring widen(const Text& gbk) {
  if (gbk.empty()) return {};
  const int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  out.resize(widenInto(gbk, out.data(), out.size() + 1));  // the string's own NUL is the last place
  return out;
}

Text narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  Text out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr,
                        nullptr);
  return out;
}

Text narrow(const wchar_t* wide) { return wide ? narrow(std::wstring(wide)) : Text(); }

}  // namespace forms
