#include "test_support/temp_folder.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "base/handles.h"

namespace test_support {
namespace {

void removeAll(const std::string& path) {
  WIN32_FIND_DATAA entry;
  base::FindHandle search(FindFirstFileA((path + "\\*").c_str(), &entry));
  if (search) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string inner = path + "\\" + name;
      SetFileAttributesA(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        removeAll(inner);
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(inner.c_str());
      } else {
        DeleteFileA(inner.c_str());
      }
    } while (FindNextFileA(search.get(), &entry));
    search.close();
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string root = base;
  if (!root.empty() && root.back() == '\\') root.pop_back();
  path_ = root + "\\forms-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  removeAll(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { removeAll(path_); }

void TempFolder::write(const std::string& relative, const std::string& content) const {
  std::ofstream out(*this / relative, std::ios::binary);
  out << content;
}

void TempFolder::makeFolder(const std::string& relative) const {
  CreateDirectoryA((*this / relative).c_str(), nullptr);
}

bool TempFolder::exists(const std::string& relative) const {
  return GetFileAttributesA((*this / relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder::read(const std::string& relative) const {
  std::ifstream in(*this / relative, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace test_support
