#pragma once
// GBK texts for the wide-character API: every text the runtime draws or sets as a
// window text goes through code page 936, whatever the system's own code page is.
#include <string>

#include "forms/core/text.h"

namespace forms {

std::wstring widen(const Text& gbk);
Text narrow(const std::wstring& wide);

}  // namespace forms
