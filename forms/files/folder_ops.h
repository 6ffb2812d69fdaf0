#pragma once
// File and folder operations of the install step, on the platform's ANSI file functions.
#include "forms/values/text.h"

namespace forms {

// Copies source over target, replacing a target that exists; false when refused.
bool copyFile(const Text& source, const Text& target);

// Deletes the folder and what it holds, except entries whose names begin with ".",
// which stay in place (and so keep the folder). Refuses an empty path and a drive root.
// Attributes are left alone, so read-only files stay too. True when the folder is gone.
bool deleteDirectory(const Text& path);

}  // namespace forms
