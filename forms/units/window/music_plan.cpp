#include "forms/units/window/music_plan.h"

#include <algorithm>
#include <cstring>

#include "forms/template/byte_cursor.h"

namespace forms {

namespace {

bool isTag(const ByteSet& bytes, std::size_t at, const char* tag) {
  return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

}  // namespace

std::optional<std::uint32_t> wavLengthMs(const ByteSet& sound) {
  if (!isTag(sound, 0, "RIFF") || !isTag(sound, 8, "WAVE")) return std::nullopt;
  std::uint32_t bytesPerSecond = 0;
  bool haveFormat = false;
  std::size_t at = 12;
  while (at + 8 <= sound.size()) {
    tpl::ByteCursor header(sound.data() + at + 4, 4);
    std::uint32_t size = 0;
    header.u32(size);
    const std::size_t body = at + 8;
    const std::size_t present = std::min<std::size_t>(size, sound.size() - body);
    if (isTag(sound, at, "fmt ")) {
      // format tag, channels, samples per second, then the average bytes per second
      tpl::ByteCursor format(sound.data() + body, present);
      if (!format.skip(8) || !format.u32(bytesPerSecond)) return std::nullopt;
      haveFormat = true;
    } else if (isTag(sound, at, "data")) {
      if (!haveFormat || bytesPerSecond == 0) return std::nullopt;
      const std::uint64_t ms = static_cast<std::uint64_t>(present) * 1000u / bytesPerSecond;
      return static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, 0xFFFFFFFFu));
    }
    // Chunks are padded to an even length.
    const std::uint64_t next = static_cast<std::uint64_t>(body) + size + (size & 1u);
    if (next > sound.size()) break;
    at = static_cast<std::size_t>(next);
  }
  return std::nullopt;
}

MusicPlan musicPlanOf(const ByteSet& sound, std::int32_t playCount) {
  MusicPlan plan;
  std::optional<std::uint32_t> length = wavLengthMs(sound);
  if (!length) return plan;
  plan.lengthMs = std::max<std::uint32_t>(*length, 1);
  if (playCount <= 0) {
    plan.kind = MusicPlan::Kind::Loop;
  } else {
    plan.kind = MusicPlan::Kind::Times;
    plan.times = playCount;
  }
  return plan;
}

}  // namespace forms
