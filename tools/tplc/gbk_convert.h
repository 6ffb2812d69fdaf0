#pragma once
// UTF-8 source text to the GBK bytes that every text of the system is.
#include <optional>
#include <string>

namespace tplc {

// None when the text holds a character that GBK cannot write or is not valid UTF-8.
std::optional<std::string> utf8ToGbk(const std::string& utf8);

}  // namespace tplc
