#pragma once
// A window's music: played from memory once the window is first shown, stopped when it
// is destroyed. The sound device sits behind SoundPlayer, so that what is played when
// can be checked without one.
#include <windows.h>

#include <cstdint>

#include "forms/values/text.h"
#include "forms/units/window/music_plan.h"

namespace forms {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Starts the WAVE sound without waiting for it; the bytes stay valid until the next
  // play or stop. The system plays one sound at a time: a play replaces the one before.
  virtual void play(const ByteSet& wav, bool loop) = 0;
  virtual void stop() = 0;
};

// The player from now on; null gives the system's back (which fails quietly where there
// is no sound device).
void setSoundPlayer(SoundPlayer* player);

class WindowMusic {
 public:
  // timerId: a timer of window that the window hands to elapsed().
  WindowMusic(HWND window, UINT_PTR timerId) : window_(window), timerId_(timerId) {}
  ~WindowMusic() { stop(); }
  WindowMusic(const WindowMusic&) = delete;
  WindowMusic& operator=(const WindowMusic&) = delete;

  // New sound or count; once the window has been shown, its music starts over with them.
  void set(ByteSet sound, std::int32_t playCount);
  // The window is shown: the first time starts the music.
  void shown();
  // One play has run its length: the next one of a count starts.
  void elapsed();
  // The window goes: its music ends (another window's music that replaced it plays on).
  void stop();

 private:
  void start();

  HWND window_;
  UINT_PTR timerId_;
  ByteSet sound_;
  std::int32_t playCount_ = 0;
  MusicPlan plan_;
  bool started_ = false;
  std::int32_t played_ = 0;
};

}  // namespace forms
