#include "forms/units/window/window_music.h"

#include <mmsystem.h>

namespace forms {

namespace {

class SystemPlayer : public SoundPlayer {
 public:
  void play(const ByteSet& wav, bool loop) override {
    PlaySoundW(reinterpret_cast<LPCWSTR>(wav.data()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (loop ? SND_LOOP : 0));
  }
  void stop() override { PlaySoundW(nullptr, nullptr, 0); }
};

SoundPlayer*& chosenPlayer() {
  static SoundPlayer* p = nullptr;
  return p;
}

SoundPlayer& player() {
  static SystemPlayer system;
  SoundPlayer* p = chosenPlayer();
  return p ? *p : system;
}

// The music that the player plays now: one at a time, the last started.
const WindowMusic*& current() {
  static const WindowMusic* c = nullptr;
  return c;
}

}  // namespace

void setSoundPlayer(SoundPlayer* p) { chosenPlayer() = p; }

void WindowMusic::set(ByteSet sound, std::int32_t playCount) {
  // A window that has been shown plays what is written to it at once.
  if (started_) stop();
  sound_ = std::move(sound);
  playCount_ = playCount;
  if (started_) start();
}

void WindowMusic::shown() {
  if (started_) return;
  started_ = true;
  start();
}

void WindowMusic::start() {
  plan_ = musicPlanOf(sound_, playCount_);
  played_ = 0;
  if (plan_.kind == MusicPlan::Kind::None) return;
  current() = this;
  const bool loop = plan_.kind == MusicPlan::Kind::Loop;
  player().play(sound_, loop);
  played_ = 1;
  if (!loop && played_ < plan_.times) SetTimer(window_, timerId_, plan_.lengthMs, nullptr);
}

void WindowMusic::elapsed() {
  if (current() != this || played_ >= plan_.times) {
    KillTimer(window_, timerId_);
    return;
  }
  player().play(sound_, false);
  if (++played_ >= plan_.times) KillTimer(window_, timerId_);
}

void WindowMusic::stop() {
  KillTimer(window_, timerId_);
  played_ = plan_.times;
  if (current() != this) return;
  current() = nullptr;
  player().stop();
}

}  // namespace forms
