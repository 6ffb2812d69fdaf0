#pragma once
// Which zip entry names may be unpacked below a target folder.
#include <string_view>

namespace forms {

// False for a name that could lead outside the folder it is unpacked into: an empty
// name, a leading "/" or "\" (absolute, UNC and device paths), any ":" (a drive or an
// alternate data stream), a ".." part between separators of either kind, and reserved
// device names such as "CON" or "com1.txt". Names that merely contain dots pass.
// The bytes are GBK; splitting at every 0x5C byte, even a trail byte, only ever finds
// more parts than the platform does, never fewer.
bool isSafeEntryName(std::string_view name);

}  // namespace forms
