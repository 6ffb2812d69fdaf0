#include "download/range_book.h"

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

Range RangeBook::range(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ranges_.at(static_cast<std::size_t>(index));
}

std::optional<int> RangeBook::claimUnserved() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < ranges_.size(); ++i) {
    if (!served_[i] && ranges_[i].received < ranges_[i].length) {
      served_[i] = true;
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

void RangeBook::markServed(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  served_.at(static_cast<std::size_t>(index)) = true;
}

void RangeBook::release(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  served_.at(static_cast<std::size_t>(index)) = false;
}

void RangeBook::addReceived(int index, std::int64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  ranges_.at(static_cast<std::size_t>(index)).received += bytes;
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
