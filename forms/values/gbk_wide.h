#pragma once
// GBK texts for the wide-character API: every text the runtime draws or sets as a
// window text goes through code page 936, whatever the system's own code page is.
// Win32 only (the conversion is the system's); the header itself needs no windows.h.
#include <cstddef>
#include <string>
#include <string_view>

#include "forms/values/text.h"

namespace forms {

std::wstring widen(const Text& gbk);
// Writes gbk into out as a NUL-terminated wide text of at most capacity characters (the
// NUL included; a text that does not fit gives the empty text) and returns its length.
// Allocates nothing.
std::size_t widenInto(std::string_view gbk, wchar_t* out, std::size_t capacity);
// Characters that GBK lacks become "?".
Text narrow(const std::wstring& wide);
// As above; no string (a null pointer) gives the empty text.
Text narrow(const wchar_t* wide);

}  // namespace forms
