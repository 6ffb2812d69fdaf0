#include "forms/net/open_web_page.h"

#include <windows.h>
#include <shellapi.h>

namespace forms {

void openWebPage(const Text& url) {
  HWND owner = FindWindowA(nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace forms
