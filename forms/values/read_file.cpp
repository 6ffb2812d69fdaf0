#include "forms/values/read_file.h"

#include <cstdio>
#include <memory>

namespace forms {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<ByteSet> readWholeFile(const Text& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  ByteSet contents;
  std::uint8_t buffer[16384];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    contents.insert(contents.end(), buffer, buffer + n);
  if (std::ferror(file.get())) return std::nullopt;
  return contents;
}

}  // namespace forms
