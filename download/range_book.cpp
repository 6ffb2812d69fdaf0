#include "download/range_book.h"

#include <algorithm>

namespace download {

void RangeBook::set(std::int64_t total, std::vector<Range> ranges) {
  std::lock_guard<std::mutex> lock(mutex_);
  total_ = total;
  ranges_ = std::move(ranges);
  served_.assign(ranges_.size(), false);
}

std::int64_t RangeBook::total() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return total_;
}

int RangeBook::count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(ranges_.size());
}

Range RangeBook::range(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ranges_.at(static_cast<std::size_t>(index));
}

bool RangeBook::claimable(std::size_t index) const {
  return index < ranges_.size() && !served_[index] &&
         ranges_[index].received < ranges_[index].length;
}

bool RangeBook::claim(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index < 0 || !claimable(static_cast<std::size_t>(index))) return false;
  served_[static_cast<std::size_t>(index)] = true;
  return true;
}

std::optional<int> RangeBook::claimUnserved() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < ranges_.size(); ++i) {
    if (claimable(i)) {
      served_[i] = true;
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

void RangeBook::release(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  served_.at(static_cast<std::size_t>(index)) = false;
}

void RangeBook::addReceived(int index, std::int64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  Range& range = ranges_.at(static_cast<std::size_t>(index));
  range.received = std::min(range.length, range.received + std::max<std::int64_t>(bytes, 0));
}

std::int64_t RangeBook::received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::int64_t sum = 0;
  for (const Range& range : ranges_) sum += range.received;
  return sum;
}

ByteSet RangeBook::snapshot(const StateSettings& settings) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ranges_.empty()) return encodeState(0, {Range{}}, settings);
  return encodeState(total_, ranges_, settings);
}

}  // namespace download
