#include "updater/one_based_array.h"

#include <atomic>

namespace updater {
namespace {
std::atomic<ArrayFaultReporter> faultReporter{nullptr};
}  // namespace

void setArrayFaultReporter(ArrayFaultReporter reporter) { faultReporter = reporter; }

void reportArrayFault(std::int32_t fault) {
  if (ArrayFaultReporter reporter = faultReporter.load()) reporter(fault);
  // A reporter that returns would let the caller read past its storage.
  std::abort();
}

}  // namespace updater
