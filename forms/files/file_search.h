#pragma once
// Walking a folder entry by entry, with the attribute filter that the install step uses.
#include <cstdint>

#include "forms/core/text.h"

namespace forms {

// Owns one open directory search (FindFirstFileA); empty when it holds none.
class FileSearch {
 public:
  FileSearch() = default;
  ~FileSearch() { close(); }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;
  FileSearch(FileSearch&& other) noexcept : handle_(other.detach()) {}
  FileSearch& operator=(FileSearch&& other) noexcept {
    if (this != &other) attach(other.detach());
    return *this;
  }

  bool open() const { return handle_ != nullptr; }
  void* get() const { return handle_; }
  void attach(void* handle);
  void* detach() {
    void* h = handle_;
    handle_ = nullptr;
    return h;
  }
  void close();

 private:
  void* handle_ = nullptr;  // a search HANDLE, never INVALID_HANDLE_VALUE
};

// The name of the next entry that passes the filter, or the empty text when there is
// none (the search is then closed). A non-empty pattern starts a new search in `search`;
// an empty one continues it. With filesOnly an entry passes unless it is a folder;
// otherwise it passes when its attributes share a bit with attributeMask & 0x37, and a
// mask without such a bit lets only entries through that carry no attribute at all.
Text findFile(const Text& pattern, std::int32_t attributeMask, bool filesOnly, FileSearch& search);

// Ends the search, if it holds one.
void closeFind(FileSearch& search);

}  // namespace forms
