// A small window that shows the three libraries at work: the decoded JPEG, and one
// line for each library check. "--check" prints the checks and exits with 0 when all
// pass (the ctest entry); "--exit-after MS" closes the window after MS milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/toolchain_check/library_checks.h"

namespace {

DecodedPicture picture;
std::vector<CheckResult> results;

LRESULT CALLBACK windowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      // DIBs want BGR rows padded to 4 bytes, bottom-up for a positive height.
      int stride = (picture.width * 3 + 3) & ~3;
      std::vector<unsigned char> bgr(stride * picture.height);
      for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
          const unsigned char* s = &picture.rgb[(y * picture.width + x) * 3];
          unsigned char* d = &bgr[y * stride + x * 3];
          d[0] = s[2], d[1] = s[1], d[2] = s[0];
        }
      BITMAPINFO bi = {};
      bi.bmiHeader.biSize = sizeof bi.bmiHeader;
      bi.bmiHeader.biWidth = picture.width;
      bi.bmiHeader.biHeight = -picture.height;
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 24;
      StretchDIBits(dc, 20, 20, 160, 160, 0, 0, picture.width, picture.height, bgr.data(), &bi,
                    DIB_RGB_COLORS, SRCCOPY);
      SetBkMode(dc, TRANSPARENT);
      int y = 200;
      for (const CheckResult& r : results) {
        SetTextColor(dc, r.ok ? RGB(0, 110, 0) : RGB(200, 0, 0));
        TextOutA(dc, 20, y, r.line.c_str(), static_cast<int>(r.line.size()));
        y += 22;
      }
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_TIMER: DestroyWindow(wnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int show) {
  results.push_back(checkJpeg(picture));
  results.push_back(checkZlib());
  results.push_back(checkMinizip());
  bool allOk = true;
  for (const CheckResult& r : results) allOk = allOk && r.ok;

  if (std::strstr(cmdLine, "--check")) {
    for (const CheckResult& r : results) std::printf("%s\n", r.line.c_str());
    return allOk ? 0 : 1;
  }

  WNDCLASSA wc = {};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "ToolchainCheckWindow";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA(wc.lpszClassName, "toolchain check", WS_OVERLAPPEDWINDOW, 40, 40, 420,
                           320, nullptr, nullptr, instance, nullptr);
  if (const char* after = std::strstr(cmdLine, "--exit-after "))
    SetTimer(wnd, 1, std::atoi(after + 13), nullptr);
  ShowWindow(wnd, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return allOk ? 0 : 1;
}
