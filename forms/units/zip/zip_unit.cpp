#include "forms/units/zip/zip_unit.h"

#include "forms/units/zip/unzip_archive.h"

namespace forms {

int ZipUnit::unzip(const Text& archive, const Text& target) {
  return unzipArchive(archive, target, [this](int percent) {
    return !stops(site_.raise(zip::kProgress, {percent}));
  });
}

std::unique_ptr<UnitControl> makeZipUnit(const UnitPlan&, UnitSite& site) {
  return std::make_unique<ZipUnit>(site);
}

}  // namespace forms
