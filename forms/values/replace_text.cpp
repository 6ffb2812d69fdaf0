#include "forms/values/replace_text.h"

#include <string_view>

#include "forms/values/gbk.h"

namespace forms {
namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether find matches text at pos, walking find character by character so that case
// folding applies to single-byte characters only.
bool matchesAt(std::string_view text, std::size_t pos, std::string_view find, bool caseSensitive) {
  if (text.size() - pos < find.size()) return false;
  for (std::size_t j = 0; j < find.size();) {
    const std::size_t n = gbkCharLength(find, j);
    if (n == 2 || caseSensitive) {
      if (text.compare(pos + j, n, find.substr(j, n)) != 0) return false;
    } else if (asciiLower(text[pos + j]) != asciiLower(find[j])) {
      return false;
    }
    j += n;
  }
  return true;
}

}  // namespace

Text replaceText(const Text& text, const Text& find, const Text& replacement, std::int32_t start,
                 std::int32_t count, bool caseSensitive) {
  const std::size_t from = start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (text.empty() || find.empty() || from >= text.size() || count == 0) return text;

  Text out(text, 0, from);
  out.reserve(text.size());
  std::int64_t left = count < 0 ? -1 : count;
  std::size_t i = from;
  while (i < text.size() && left != 0) {
    if (matchesAt(text, i, find, caseSensitive)) {
      out += replacement;
      i += find.size();
      if (left > 0) --left;
    } else {
      const std::size_t n = gbkCharLength(text, i);
      out.append(text, i, n);
      i += n;
    }
  }
  out.append(text, i, Text::npos);
  return out;
}

}  // namespace forms
