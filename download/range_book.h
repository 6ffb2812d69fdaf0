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
  int count() const;
  Range range(int index) const;

  // Handing out a range is one test-and-set: a range is given to a connection only while
  // no connection serves it and it is not complete, whoever asks and in whatever order.
  // Range `index`, now served; false when it is served already, complete or not there.
  bool claim(int index);
  // The first range that no connection serves and that is not complete, now served.
  std::optional<int> claimUnserved();
  void release(int index);
  // Only the connection that serves a range adds to it; a range never counts more bytes
  // than its length.
  void addReceived(int index, std::int64_t bytes);

  // Bytes received in all ranges.
  std::int64_t received() const;
  // resumeState; before the size is known, a table of one empty range.
  ByteSet snapshot(const StateSettings& settings) const;

 private:
  bool claimable(std::size_t index) const;  // under mutex_

  mutable std::mutex mutex_;
  std::int64_t total_ = 0;
  std::vector<Range> ranges_;
  std::vector<bool> served_;
};

}  // namespace download
