#pragma once
// The StatusBar unit with its defaults: one empty part, at its stored place.
#include <windows.h>

namespace forms {

class StatusBar {
 public:
  StatusBar(HWND parent, const RECT& where);
  ~StatusBar();
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;
  HWND window() const { return bar_; }

 private:
  HWND bar_ = nullptr;
};

}  // namespace forms
