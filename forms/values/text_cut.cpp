#include "forms/values/text_cut.h"

namespace forms {

Text leftText(const Text& text, std::int32_t n) {
  if (n <= 0) return Text();
  return text.substr(0, static_cast<std::size_t>(n));
}

Text rightText(const Text& text, std::int32_t n) {
  if (n <= 0) return Text();
  const auto count = static_cast<std::size_t>(n);
  return count >= text.size() ? text : text.substr(text.size() - count);
}

}  // namespace forms
