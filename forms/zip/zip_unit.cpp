#include "forms/zip/zip_unit.h"

#include "forms/zip/unzip_archive.h"

namespace forms {
namespace {

bool isFalse(const HandlerResult& r) {
  const bool* b = r ? std::get_if<bool>(&*r) : nullptr;
  return b && !*b;
}

}  // namespace

int ZipUnit::unzip(const Text& archive, const Text& target) {
  return unzipArchive(archive, target, [this](int percent) { return !isFalse(site_.raise(kProgressEvent, {percent})); });
}

std::unique_ptr<UnitControl> makeZipUnit(const UnitSpec&, UnitSite& site) { return std::make_unique<ZipUnit>(site); }

}  // namespace forms
