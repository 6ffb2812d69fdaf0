#include "forms/files/entry_name.h"

#include <cctype>
#include <string>

namespace forms {
namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// The platform drops trailing dots and blanks from a part, so "..." or ".. " can act
// like "..": refuse every part made of nothing but dots and blanks, except ".".
bool isParentPart(std::string_view part) {
  if (part.empty() || part == ".") return false;
  return part.find_first_not_of(". ") == std::string_view::npos;
}

bool isDeviceName(std::string_view part) {
  std::string base(part.substr(0, part.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
      base == "CONOUT$") {
    return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool isSafeEntryName(std::string_view name) {
  if (name.empty() || isSeparator(name.front())) return false;
  if (name.find(':') != std::string_view::npos) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    const std::string_view part = name.substr(start, end - start);
    if (isParentPart(part) || isDeviceName(part)) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace forms
