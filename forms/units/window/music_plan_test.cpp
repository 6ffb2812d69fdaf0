#include "forms/units/window/music_plan.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support/test_segment.h"

namespace forms {
namespace {

using test_support::wavFile;

// A WAVE file with a LIST chunk of odd length (padded) before its fmt chunk.
ByteSet withListChunk() {
  ByteSet wav = wavFile(8000, 400);
  const ByteSet list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  wav.insert(wav.begin() + 12, list.begin(), list.end());
  return wav;
}

TEST(WavLength, DataOverBytesPerSecond) {
  struct Case {
    const char* what;
    ByteSet sound;
    std::optional<std::uint32_t> ms;
  };
  ByteSet noFormat = wavFile(8000, 800);
  std::memcpy(noFormat.data() + 12, "junk", 4);
  ByteSet zeroRate = wavFile(0, 800);
  ByteSet shortFormat = wavFile(8000, 0);
  shortFormat.resize(12 + 8 + 6);
  ByteSet riffOther = wavFile(8000, 800);
  std::memcpy(riffOther.data() + 8, "AVI ", 4);
  const Case cases[] = {
      {"plain", wavFile(8000, 1200), 150u},
      {"padded chunk first", withListChunk(), 50u},
      {"data cut short", wavFile(8000, 800, 8000), 100u},
      {"empty", {}, std::nullopt},
      {"MIDI", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, std::nullopt},
      {"RIFF of another kind", riffOther, std::nullopt},
      {"no fmt chunk", noFormat, std::nullopt},
      {"no bytes per second", zeroRate, std::nullopt},
      {"fmt chunk cut short", shortFormat, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(wavLengthMs(c.sound), c.ms) << c.what;
}

TEST(MusicPlan, CountZeroLoopsAndNPlaysNTimes) {
  using K = MusicPlan::Kind;
  const ByteSet wav = wavFile(8000, 1200);
  struct Case {
    ByteSet sound;
    std::int32_t count;
    MusicPlan plan;
  };
  const Case cases[] = {
      {wav, 0, {K::Loop, 0, 150}},
      {wav, -2, {K::Loop, 0, 150}},
      {wav, 1, {K::Times, 1, 150}},
      {wav, 3, {K::Times, 3, 150}},
      {{}, 0, {}},
      {{'I', 'D', '3', 3}, 2, {}},
      {wavFile(8000, 0), 2, {K::Times, 2, 1}},  // a silent sound still takes its turns
  };
  for (const Case& c : cases) {
    const MusicPlan p = musicPlanOf(c.sound, c.count);
    EXPECT_TRUE(p == c.plan) << "count " << c.count << " kind " << static_cast<int>(p.kind)
                             << " times " << p.times << " length " << p.lengthMs;
  }
}

}  // namespace
}  // namespace forms
