// Texts and numbers read from server files: any bytes to toDouble and toInteger, and
// replaceText with arbitrary text, find, replacement, start and count.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "forms/values/replace_text.h"
#include "forms/values/to_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    if (std::isnan(forms::toDouble(all))) __builtin_trap();
    forms::toInteger(all);
    forms::toInteger(forms::toDouble(all));
  }
  FuzzedDataProvider in(data, size);
  const std::int32_t start = in.ConsumeIntegral<std::int32_t>();
  const std::int32_t count = in.ConsumeIntegral<std::int32_t>();
  const bool caseSensitive = in.ConsumeBool();
  const forms::Text find = in.ConsumeRandomLengthString(16);
  const forms::Text replacement = in.ConsumeRandomLengthString(16);
  const forms::Text text = in.ConsumeRemainingBytesAsString();

  forms::replaceText(text, find, replacement, start, count, caseSensitive);
  // Each match replaced by itself leaves the text as it was.
  if (caseSensitive && forms::replaceText(text, find, find, start, count, true) != text)
    __builtin_trap();
  if (forms::replaceText(text, find, replacement, start, 0, caseSensitive) != text)
    __builtin_trap();
  return 0;
}
