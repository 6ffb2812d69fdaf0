// Writes a small segment for the template fuzzer to start from: one window holding a
// unit of every type with its default block, a page table, a cursor and a clone.
#include <cstdio>

#include "forms/template/bindings.h"
#include "forms/template/property_block.h"
#include "forms/template/segment.h"
#include "forms/template/type_tables.h"

using namespace forms::tpl;
using forms::UnitKind;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: template_corpus OUT.seg\n");
    return 2;
  }
  WindowRecord window;
  window.id = makeId(kWindowIdByte, 1);
  window.designWord2 = makeId(kDesignIdByte, 40);
  window.name = "W";
  std::uint32_t serial = 2;
  for (int t = 0; t <= static_cast<int>(UnitKind::Zip); ++t) {
    const auto type = static_cast<UnitKind>(t);
    const TypeLayout& plan = typeLayout(type);
    UnitRecord unit;
    unit.id = makeId(type == UnitKind::Window ? kOwnUnitIdByte : kUnitIdByte, serial++);
    unit.typeCode = plan.talveryCode ? plan.talveryCode : plan.updateCode;
    unit.type = type;
    unit.name = plan.name;
    unit.width = 20;
    unit.height = 10;
    unit.flags = forms::kFlagVisible;
    unit.bindings.push_back({0, handlerRefOf("onEvent")});
    PropertyBlock block = defaultBlock(type);
    if (FieldValue* pages = blockField(block, "pages")) {
      PageRecord page;
      page.caption = "P";
      pages->bytes = encodePageTable({page, page});
    }
    unit.propertyBlock = encodeBlock(block);
    window.units.push_back(unit);
  }
  window.units[1].mousePointer = {0x89, 0x7F, 0x00, 0x00};
  UnitRecord clone = window.units[1];
  clone.id = makeId(kUnitIdByte, serial++);
  clone.sourceUnitId = window.units[1].id;
  window.units.push_back(clone);

  Segment segment;
  segment.windows.push_back(window);
  const forms::ByteSet bytes = writeSegment(segment);
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out))
    return 1;
  return 0;
}
