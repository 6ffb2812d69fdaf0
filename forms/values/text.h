#pragma once
// The runtime's two value kinds for bytes. Both are plain values: whoever holds one owns
// it, and a missing text or byte set is simply the empty one.
#include <cstdint>
#include <string>
#include <vector>

namespace forms {

// NUL-free view of GBK bytes (a stored text ends at its first zero byte).
using Text = std::string;

// A counted block of bytes: an HTTP body, a picture file.
using ByteSet = std::vector<std::uint8_t>;

}  // namespace forms
