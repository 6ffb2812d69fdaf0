#pragma once
// The ZIP unit: invisible, it carries unzipArchive and raises its progress event.
#include "forms/values/text.h"
#include "forms/runtime/runtime.h"
#include "forms/runtime/unit.h"

namespace forms {

class ZipUnit : public UnitControl {
 public:
  explicit ZipUnit(UnitSite& site) : site_(site) {}
  // Has no window, no properties and is never visible.
  HWND window() const override { return nullptr; }

  // unzipArchive (forms/units/zip/unzip_archive.h) with its progress raised as the progress
  // event with one integer; a handler that returns false stops the unpacking there.
  int unzip(const Text& archive, const Text& target);

 private:
  UnitSite& site_;
};

std::unique_ptr<UnitControl> makeZipUnit(const UnitPlan& plan, UnitSite& site);

// unzipArchive through a ZIP unit of a loaded window; without such a unit the unpacking
// runs without events.
int unzipArchive(UnitRef zipUnit, const Text& archive, const Text& target);

}  // namespace forms
