#pragma once
// UTF-8 source text to the GBK bytes that every text of the system is. Through the C
// library's iconv, so only in the host build, where the template compiler reads its
// UTF-8 window sources.
#include <optional>
#include <string>

#include "forms/values/text.h"

namespace forms {

// None when the text holds a character that GBK cannot write or is not valid UTF-8.
std::optional<Text> utf8ToGbk(const std::string& utf8);

}  // namespace forms
