#include "forms/values/gbk.h"

namespace forms {
namespace {

// The ASCII character whose full-width form is the pair, or 0. Row 0xA3 holds the
// full-width forms in ASCII order, except that 0xA3A4 is the yen sign and 0xA3FE the
// macron; the dollar sign and tilde live in row 0xA1 instead, as does the blank.
char fullWidthAscii(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFD && trail != 0xA4) {
    return static_cast<char>(trail - 0x80);
  }
  if (lead == 0xA1) {
    switch (trail) {
      case 0xA1: return ' ';
      case 0xE7: return '$';
      case 0xAB: return '~';
    }
  }
  return 0;
}

}  // namespace

Text foldFullWidth(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = gbkCharLength(text, i);
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = n == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (const char ascii = n == 2 ? fullWidthAscii(lead, trail) : 0) {
      out += ascii;
    } else {
      out.append(text, i, n);
    }
    i += n;
  }
  return out;
}

}  // namespace forms
