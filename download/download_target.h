#pragma once
// Where a task's bytes go: a block of the file's full size that every connection writes
// into at its range's offset. Behind an interface, so tests can write into memory.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace download {

class DownloadTarget {
 public:
  virtual ~DownloadTarget() = default;
  // The file's bytes; nullptr for a file of size 0.
  virtual std::uint8_t* bytes() = 0;
};

class TargetStore {
 public:
  virtual ~TargetStore() = default;
  // The size of an existing file at `path`, nullopt when there is none.
  virtual std::optional<std::int64_t> existingSize(const std::string& path) = 0;
  // A new file of `size` bytes (it must not exist yet); nullptr on failure.
  virtual std::unique_ptr<DownloadTarget> create(const std::string& path, std::int64_t size) = 0;
};

// Local files, created new and mapped whole into memory.
TargetStore& fileStore();

}  // namespace download
