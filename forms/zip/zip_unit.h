#pragma once
// The ZIP unit: invisible, it carries unzipArchive and raises its progress event 1.
#include "forms/core/text.h"
#include "forms/win/runtime.h"

namespace forms {

// unzipArchive (see forms/zip/unzip_archive.h) with its progress raised as event 1 of the
// ZIP unit, with one integer; a handler that returns false stops the unpacking there.
// Without a live unit, the unpacking runs without events.
int unzipArchive(UnitRef zipUnit, const Text& archive, const Text& target);

}  // namespace forms
