#include "forms/values/gbk_utf8.h"

#include <iconv.h>

#include <vector>

namespace forms {

std::optional<Text> utf8ToGbk(const std::string& utf8) {
  if (utf8.empty()) return Text();
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in = utf8;
  std::vector<char> out(in.size() * 2 + 4);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  return Text(out.data(), outPtr);
}

}  // namespace forms
