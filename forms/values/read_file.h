#pragma once
// The whole contents of a file, read through the C library: a path names the file in the
// system's code page.
#include <optional>

#include "forms/values/text.h"

namespace forms {

// None when the file cannot be opened or a read fails; an empty file gives the empty set.
std::optional<ByteSet> readWholeFile(const Text& path);

}  // namespace forms
