#include "forms/zip/zip_unit.h"

#include "forms/win/unit.h"
#include "forms/zip/unzip_archive.h"

namespace forms {
namespace {

constexpr int kProgressEvent = 1;

// Has no window, no properties and is never visible.
class ZipUnit : public UnitControl {
 public:
  HWND window() const override { return nullptr; }
};

bool isFalse(const HandlerResult& r) {
  const bool* b = r ? std::get_if<bool>(&*r) : nullptr;
  return b && !*b;
}

}  // namespace

std::unique_ptr<UnitControl> makeZipUnit(const UnitSpec&, UnitSite&) { return std::make_unique<ZipUnit>(); }

int unzipArchive(UnitRef zipUnit, const Text& archive, const Text& target) {
  UnzipProgress progress;
  if (dynamic_cast<ZipUnit*>(findUnitControl(zipUnit))) {
    progress = [zipUnit](int percent) { return !isFalse(raiseUnitEvent(zipUnit, kProgressEvent, {percent})); };
  }
  return unzipArchive(archive, target, progress);
}

}  // namespace forms
