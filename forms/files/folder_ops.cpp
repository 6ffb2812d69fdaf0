#include "forms/files/folder_ops.h"

#include <windows.h>

#include <algorithm>

#include "forms/files/file_search.h"

namespace forms {

bool copyFile(const Text& source, const Text& target) {
  return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

namespace {

bool isDriveRoot(const Text& path) {
  const auto letter = static_cast<unsigned char>(path.empty() ? 0 : path[0]);
  const bool drive =
      path.size() >= 2 && ((letter | 0x20) >= 'a' && (letter | 0x20) <= 'z') && path[1] == ':';
  return drive && (path.size() == 2 || (path.size() == 3 && path[2] == '\\'));
}

bool removeTree(const Text& path) {
  WIN32_FIND_DATAA entry;
  FileSearch search(FindFirstFileA((path + "\\*.*").c_str(), &entry));
  if (search) {
    do {
      if (entry.cFileName[0] == '.') continue;
      const Text inner = path + "\\" + entry.cFileName;
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(inner.c_str());
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A linked folder: remove the link only, never what lies behind it.
        RemoveDirectoryA(inner.c_str());
      } else {
        removeTree(inner);
      }
    } while (FindNextFileA(search.get(), &entry));
  }
  search.close();
  return RemoveDirectoryA(path.c_str()) != 0;
}

}  // namespace

bool deleteDirectory(const Text& path) {
  const Text trimmed = path.substr(std::min(path.size(), path.find_first_not_of(" \t")));
  if (trimmed.empty() || isDriveRoot(trimmed)) return false;
  return removeTree(trimmed);
}

}  // namespace forms
