#include "test_support/memory_store.h"

namespace test_support {

namespace {

class MemoryTarget : public download::DownloadTarget {
 public:
  explicit MemoryTarget(std::uint8_t* bytes) : bytes_(bytes) {}
  std::uint8_t* bytes() override { return bytes_; }

 private:
  std::uint8_t* bytes_;
};

}  // namespace

std::optional<std::int64_t> MemoryStore::existingSize(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return static_cast<std::int64_t>(it->second.size());
}

std::unique_ptr<download::DownloadTarget> MemoryStore::create(const std::string& path,
                                                              std::int64_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  created_.push_back(size);
  if (size < 0 || size > kLimit || files_.count(path) != 0) return nullptr;
  std::vector<std::uint8_t>& bytes = files_[path];
  bytes.assign(static_cast<std::size_t>(size), 0);
  return std::make_unique<MemoryTarget>(size == 0 ? nullptr : bytes.data());
}

void MemoryStore::put(const std::string& path, std::string bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_[path].assign(bytes.begin(), bytes.end());
}

void MemoryStore::remove(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_.erase(path);
}

std::optional<std::string> MemoryStore::file(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return std::string(it->second.begin(), it->second.end());
}

std::vector<std::int64_t> MemoryStore::createdSizes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return created_;
}

}  // namespace test_support
