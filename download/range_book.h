#pragma once
// A running task's range table: what each range has received and which ranges a connection
// serves. The connections and the caller's operations reach it from their own threads, so
// it has its own lock and hands out copies only.
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "download/range_table.h"

namespace download {

class RangeBook {
 public:
  // The split of a file of `total` bytes, no range served yet.
  void set(std::int64_t total, std::vector<Range> ranges);
  std::int64_t total() const;
  Range range(int index) const;

  // The first range that no connection serves and that is not complete, now served.
  std::optional<int> claimUnserved();
  void markServed(int index);
  void release(int index);
  // Only the connection that serves a range adds to it.
  void addReceived(int index, std::int64_t bytes);

  // Bytes received in all ranges.
  std::int64_t received() const;
  // resumeState; before the size is known, a table of one empty range.
  ByteSet snapshot(const StateSettings& settings) const;

 private:
  mutable std::mutex mutex_;
  std::int64_t total_ = 0;
  std::vector<Range> ranges_;
  std::vector<bool> served_;
};

}  // namespace download
