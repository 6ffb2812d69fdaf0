// The updater's command line is whatever its starter passed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "updater/command_words.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const auto words = updater::splitCommandWords(line);
  std::size_t total = 0;
  for (const auto& word : words) total += word.size();
  // Words are taken from the line; none can hold more bytes than it.
  if (total > size) __builtin_trap();
  updater::isLaunchAccepted(words);
  return 0;
}
