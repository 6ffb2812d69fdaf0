// Local files as download targets: created new at their full size and written only
// through a mapping of the whole file.
#include <windows.h>

#include <utility>

#include "base/handles.h"
#include "download/download_target.h"

namespace download {

namespace {

// Members in this order so that the view goes first, then the mapping, then the file.
class MappedFile : public DownloadTarget {
 public:
  MappedFile(base::KernelHandle file, base::KernelHandle mapping, base::MappedView view)
      : file_(std::move(file)), mapping_(std::move(mapping)), view_(std::move(view)) {}
  std::uint8_t* bytes() override { return static_cast<std::uint8_t*>(view_.get()); }

 private:
  base::KernelHandle file_;
  base::KernelHandle mapping_;
  base::MappedView view_;
};

class FileStore : public TargetStore {
 public:
  std::optional<std::int64_t> existingSize(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  std::unique_ptr<DownloadTarget> create(const std::string& path, std::int64_t size) override {
    bool created = false;
    std::unique_ptr<DownloadTarget> target = open(path, size, created);
    // A file this call made but could not map is of no use to anyone.
    if (!target && created) DeleteFileA(path.c_str());
    return target;
  }

 private:
  static std::unique_ptr<DownloadTarget> open(const std::string& path, std::int64_t size,
                                              bool& created) {
    HANDLE raw = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return nullptr;
    created = true;
    base::KernelHandle file(raw);
    LARGE_INTEGER end;
    end.QuadPart = size;
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
      return nullptr;
    if (size == 0)
      return std::make_unique<MappedFile>(std::move(file), base::KernelHandle(),
                                          base::MappedView());
    base::KernelHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READWRITE,
                                                  static_cast<DWORD>(size >> 32),
                                                  static_cast<DWORD>(size), nullptr));
    if (!mapping) return nullptr;
    base::MappedView view(
        MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(size)));
    if (!view) return nullptr;
    return std::make_unique<MappedFile>(std::move(file), std::move(mapping), std::move(view));
  }
};

}  // namespace

TargetStore& fileStore() {
  static FileStore* store = new FileStore;  // outlives connection threads still ending at exit
  return *store;
}

}  // namespace download
