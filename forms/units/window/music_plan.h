#pragma once
// What a window's music (its sound bytes and play count) plays once the window is
// shown. Portable: the window unit carries the plan out through its sound player.
#include <cstdint>
#include <optional>

#include "forms/values/text.h"

namespace forms {

struct MusicPlan {
  enum class Kind { None, Loop, Times };
  Kind kind = Kind::None;
  std::int32_t times = 0;      // Times: how many plays, one after the other
  std::uint32_t lengthMs = 0;  // the length of one play (at least 1 ms)
};

inline bool operator==(const MusicPlan& a, const MusicPlan& b) {
  return a.kind == b.kind && a.times == b.times && a.lengthMs == b.lengthMs;
}

// Only a RIFF WAVE sound is played: it is the one the system plays from memory. A play
// count of 0 loops the sound as background music for as long as the window exists (a
// negative count too, as for a timer's interval); a count n plays it n times.
MusicPlan musicPlanOf(const ByteSet& sound, std::int32_t playCount);

// The length of a RIFF WAVE sound in milliseconds: its data chunk (as far as the bytes
// hold it) over the format's bytes per second. None for bytes that are no WAVE sound.
std::optional<std::uint32_t> wavLengthMs(const ByteSet& sound);

}  // namespace forms
