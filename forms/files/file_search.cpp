#include "forms/files/file_search.h"

#include <windows.h>

namespace forms {

namespace {

bool passes(DWORD attributes, std::int32_t mask, bool filesOnly) {
  if (filesOnly) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  const DWORD wanted = static_cast<DWORD>(mask) & 0x37;
  // FILE_ATTRIBUTE_NORMAL is how the platform reports "no attribute at all".
  if (wanted == 0) return (attributes & ~DWORD{FILE_ATTRIBUTE_NORMAL}) == 0;
  return (attributes & wanted) != 0;
}

}  // namespace

Text findFile(const Text& pattern, std::int32_t attributeMask, bool filesOnly, FileSearch& search) {
  WIN32_FIND_DATAA entry;
  if (!pattern.empty()) {
    search.attach(FindFirstFileA(pattern.c_str(), &entry));
    if (!search) return {};
  } else {
    if (!search || !FindNextFileA(search.get(), &entry)) {
      search.close();
      return {};
    }
  }
  while (!passes(entry.dwFileAttributes, attributeMask, filesOnly)) {
    if (!FindNextFileA(search.get(), &entry)) {
      search.close();
      return {};
    }
  }
  return entry.cFileName;
}

void closeFind(FileSearch& search) { search.close(); }

}  // namespace forms
