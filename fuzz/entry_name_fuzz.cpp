// Zip entry names are the package's, not ours. A name judged safe is checked again here
// against the plain rules, so a slip in the check's own splitting shows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "forms/files/entry_name.h"

namespace {

bool plainlyUnsafe(std::string_view name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return true;
  if (name.find(':') != std::string_view::npos) return true;
  std::size_t begin = 0;
  while (begin <= name.size()) {
    std::size_t end = name.find_first_of("/\\", begin);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(begin, end - begin) == "..") return true;
    begin = end + 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  if (forms::isSafeEntryName(name) && plainlyUnsafe(name)) __builtin_trap();
  return 0;
}
