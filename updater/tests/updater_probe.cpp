// End-to-end test helper, a console program:
//   updater_probe list TITLE   the top-level windows titled TITLE (GBK), then every
//                              descendant: class, text (asked with WM_GETTEXT, so an edit
//                              box of another process answers), rectangle relative to
//                              its parent's client area, visible. Tab-separated lines.
//   updater_probe close TITLE  posts WM_CLOSE to those windows, as their close box does.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Search {
  const char* title;
  bool close;
  int found = 0;
};

std::string escaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && i + 1 < text.size()) {  // a GBK pair: its trail byte may be '\\'
      out += text[i];
      out += text[++i];
      continue;
    }
    switch (text[i]) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out += text[i];
    }
  }
  return out;
}

std::string textOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return "";
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

void print(const char* kind, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  if (HWND parent = GetParent(window))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  char className[128] = "";
  GetClassNameA(window, className, sizeof className);
  std::printf("%s\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%d\n", kind, className,
              escaped(textOf(window)).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(window) ? 1 : 0);
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
  print("child", child);
  return TRUE;
}

BOOL CALLBACK visitTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, search->title) != 0) return TRUE;
  ++search->found;
  if (search->close) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  print("window", window);
  EnumChildWindows(window, printChild, 0);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && (std::strcmp(argv[1], "list") == 0 || std::strcmp(argv[1], "close") == 0)) {
    Search search{argv[2], std::strcmp(argv[1], "close") == 0};
    EnumWindows(visitTop, reinterpret_cast<LPARAM>(&search));
    std::fflush(stdout);
    return search.found > 0 ? 0 : 2;
  }
  std::fprintf(stderr, "usage: updater_probe list|close TITLE\n");
  return 64;
}
