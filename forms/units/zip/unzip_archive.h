#pragma once
// Unpacking a zip archive into a folder, for the updater's install step.
#include <functional>

#include "forms/values/text.h"

namespace forms {

// Told the integer progress 0..100 after each entry and once more with 100 at the end;
// returning false after an entry stops the unpacking there (with result 1).
using UnzipProgress = std::function<bool(int percent)>;

// Unpacks every entry of the archive below target, in archive order. Results: -1 when
// a path is empty or the archive file does not exist; 0 when the target folder cannot
// be made, the file is no zip archive, an entry name would lead outside the target
// (checked for all entries before anything is written) or an entry fails (earlier
// entries stay in place, the failed file is removed); 1 otherwise. Folders are created
// as needed for folder entries and for the target itself, but not for a file entry
// whose folder has no entry of its own. Read-only flags are not kept; symbolic-link
// entries are skipped.
int unzipArchive(const Text& archive, const Text& target, const UnzipProgress& progress);

}  // namespace forms
