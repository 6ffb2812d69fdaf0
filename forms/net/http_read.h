#pragma once
// Synchronous HTTP(S) GET of one resource, for the navigator's server reads.
#include "forms/values/text.h"

namespace forms {

// The body of the resource at url, whatever the reply's status; the empty byte set when
// the URL does not parse or nothing could be read. What arrived before a failed read is
// kept. Blocks the calling thread; there is no time limit of our own.
ByteSet httpReadFile(const Text& url);

}  // namespace forms
