#pragma once
// Download targets in memory, for tests: the files a task would create, by path.
#include <map>
#include <mutex>
#include <vector>

#include "download/download_target.h"

namespace test_support {

class MemoryStore : public download::TargetStore {
 public:
  // Larger files fail like a file that cannot be mapped.
  static constexpr std::int64_t kLimit = 64 << 20;

  std::optional<std::int64_t> existingSize(const std::string& path) override;
  std::unique_ptr<download::DownloadTarget> create(const std::string& path,
                                                   std::int64_t size) override;

  void put(const std::string& path, std::string bytes);
  void remove(const std::string& path);
  std::optional<std::string> file(const std::string& path) const;
  std::vector<std::int64_t> createdSizes() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::vector<std::int64_t> created_;
};

}  // namespace test_support
