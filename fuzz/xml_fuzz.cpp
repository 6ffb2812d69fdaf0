// The update descriptor and the popup switch come from a server: load any bytes, then
// read the attributes the navigator reads.
#include <cstddef>
#include <cstdint>

#include "forms/xml/xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kAttributes[] = {"版本号", "升级说明", "下载地址", "文件标题", "文件名"};
  forms::XmlDocument document;
  const bool loaded = forms::xmlLoad(document, forms::ByteSet(data, data + size));
  if (loaded != document.hasTree()) __builtin_trap();
  for (const char* attribute : kAttributes) {
    bool found = false;
    const forms::Text value =
        forms::xmlGetAttribute(document, "最新版本/版本信息", attribute, &found);
    if (!found && !value.empty()) __builtin_trap();
  }
  // A path of one name and one that runs deeper than any element.
  forms::xmlGetAttribute(document, "最新版本", "版本号");
  forms::xmlGetAttribute(document, "最新版本/版本信息/版本信息/a", "版本号");
  forms::xmlFree(document);
  return 0;
}
