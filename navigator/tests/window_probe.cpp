// End-to-end test helper, a console program:
//   window_probe list TITLE   the visible top-level windows titled TITLE (GBK), each with
//                             its screen rectangle, then every descendant window: class,
//                             text, rectangle relative to the top-level window, visible.
//   window_probe close W H    asks every visible top-level window of that outer size to
//                             close (WM_CLOSE), as the system's close command would.
//   window_probe focus        a plain window titled "tv-focus" that runs until it is
//                             closed, to hold the keyboard focus inside the Wine session.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct ListState {
  const char* title;
  int found = 0;
};

// Line ends, tabs and backslashes written as \r, \n, \t and \\, one window a line.
std::string escaped(const char* text) {
  std::string out;
  for (const char* c = text; *c; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte >= 0x81 && byte <= 0xFE && c[1]) {  // a GBK pair: its trail byte may be '\\'
      out += *c++;
      out += *c;
      continue;
    }
    switch (*c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out += *c;
    }
  }
  return out;
}

void printRect(const char* kind, HWND window, const RECT& origin) {
  RECT r;
  GetWindowRect(window, &r);
  char className[128] = "";
  GetClassNameA(window, className, sizeof className);
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  std::printf("%s\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%d\n", kind, className, escaped(text).c_str(),
              r.left - origin.left, r.top - origin.top, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(window) ? 1 : 0);
}

BOOL CALLBACK printChild(HWND child, LPARAM top) {
  RECT origin;
  GetWindowRect(reinterpret_cast<HWND>(top), &origin);
  printRect("child", child, origin);
  return TRUE;
}

BOOL CALLBACK listTop(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<ListState*>(param);
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  if (!IsWindowVisible(window) || std::strcmp(text, state->title) != 0) return TRUE;
  ++state->found;
  const RECT screen{0, 0, 0, 0};
  printRect("window", window, screen);
  EnumChildWindows(window, printChild, reinterpret_cast<LPARAM>(window));
  return TRUE;
}

struct CloseState {
  long width;
  long height;
  int closed = 0;
};

BOOL CALLBACK closeBySize(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<CloseState*>(param);
  RECT r;
  if (IsWindowVisible(window) && GetWindowRect(window, &r) && r.right - r.left == state->width &&
      r.bottom - r.top == state->height) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    ++state->closed;
  }
  return TRUE;
}

LRESULT CALLBACK focusProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, w, l);
}

int focusWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = focusProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "tv-focus";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND window = CreateWindowA("tv-focus", "tv-focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              120, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "focus") == 0) return focusWindow();
  if (argc >= 3 && std::strcmp(argv[1], "list") == 0) {
    ListState state{argv[2]};
    EnumWindows(listTop, reinterpret_cast<LPARAM>(&state));
    std::fflush(stdout);
    return state.found > 0 ? 0 : 2;
  }
  if (argc >= 4 && std::strcmp(argv[1], "close") == 0) {
    CloseState state{std::atol(argv[2]), std::atol(argv[3])};
    EnumWindows(closeBySize, reinterpret_cast<LPARAM>(&state));
    return state.closed > 0 ? 0 : 2;
  }
  std::fprintf(stderr, "usage: window_probe list TITLE | close W H | focus\n");
  return 64;
}
