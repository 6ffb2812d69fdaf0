#pragma once
// Walking a folder entry by entry, with the attribute filter that the install step uses.
#include <cstdint>

#include "base/handles.h"
#include "forms/values/text.h"

namespace forms {

// One open directory search (FindFirstFileA); empty when it holds none.
using FileSearch = base::FindHandle;

// The name of the next entry that passes the filter, or the empty text when there is
// none (the search is then closed). A non-empty pattern starts a new search in `search`;
// an empty one continues it. With filesOnly an entry passes unless it is a folder;
// otherwise it passes when its attributes share a bit with attributeMask & 0x37, and a
// mask without such a bit lets only entries through that carry no attribute at all.
Text findFile(const Text& pattern, std::int32_t attributeMask, bool filesOnly, FileSearch& search);

// Ends the search, if it holds one.
void closeFind(FileSearch& search);

}  // namespace forms
