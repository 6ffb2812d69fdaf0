// The operation the programs call: kept apart from the unit type, since it reaches the
// unit through the runtime's table of live units.
#include "forms/units/zip/unzip_archive.h"
#include "forms/units/zip/zip_unit.h"

namespace forms {

int unzipArchive(UnitRef zipUnit, const Text& archive, const Text& target) {
  if (auto* zip = dynamic_cast<ZipUnit*>(findUnitControl(zipUnit)))
    return zip->unzip(archive, target);
  return unzipArchive(archive, target, nullptr);
}

}  // namespace forms
