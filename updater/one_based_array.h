#pragma once
// The updater's global arrays: cells numbered from 1, and a read outside 1..count is the
// program's fatal array error, reported through the runtime (which ends the program).
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace updater {

// The runtime's numbered array errors.
enum ArrayFault : std::int32_t {
  kIndexAboveCount = 1,  // "数组成员引用下标超出定义范围"
  kIndexBelowOne = 4,    // "数组成员引用下标必须大于等于1"
  kNegativeSize = 10,  // "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零"
};

// Told the fault; it is not expected to return (the program's reporter ends the process,
// a test's reporter throws).
using ArrayFaultReporter = void (*)(std::int32_t fault);

void setArrayFaultReporter(ArrayFaultReporter reporter);
[[noreturn]] void reportArrayFault(std::int32_t fault);

template <typename T>
class OneBasedArray {
 public:
  std::int32_t count() const { return static_cast<std::int32_t>(cells_.size()); }
  bool empty() const { return cells_.empty(); }

  T& operator[](std::int32_t index) { return cells_[offset(index)]; }
  const T& operator[](std::int32_t index) const { return cells_[offset(index)]; }

  void append(T value) { cells_.push_back(std::move(value)); }
  // Redimension: the first min(count, n) cells stay, new cells are default records. A
  // one-dimension array may become empty, never of a negative size.
  void resize(std::int32_t n) {
    if (n < 0) reportArrayFault(kNegativeSize);
    cells_.resize(static_cast<std::size_t>(n));
  }
  void clear() { std::vector<T>().swap(cells_); }
  void assign(std::vector<T> cells) { cells_ = std::move(cells); }

  typename std::vector<T>::iterator begin() { return cells_.begin(); }
  typename std::vector<T>::iterator end() { return cells_.end(); }
  typename std::vector<T>::const_iterator begin() const { return cells_.begin(); }
  typename std::vector<T>::const_iterator end() const { return cells_.end(); }

 private:
  std::size_t offset(std::int32_t index) const {
    if (index < 1) reportArrayFault(kIndexBelowOne);
    if (index > count()) reportArrayFault(kIndexAboveCount);
    return static_cast<std::size_t>(index - 1);
  }

  std::vector<T> cells_;
};

}  // namespace updater
