#include "forms/net/open_web_page.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace forms {
namespace {

// Wine's stand-in for the default browser runs the programs listed here; the build
// provides a script that records its arguments next to itself.
constexpr char kBrowserKey[] = "Software\\Wine\\WineBrowser";

class RecordedBrowser {
 public:
  explicit RecordedBrowser(const std::string& script) : log_("Z:" + script + ".log") {
    for (char& c : log_) {
      if (c == '/') c = '\\';
    }
    DeleteFileA(log_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &key_, nullptr);
    char old[1024];
    DWORD size = sizeof(old);
    hadOld_ = RegQueryValueExA(key_, "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                               &size) == ERROR_SUCCESS;
    if (hadOld_) old_.assign(old, size ? size - 1 : 0);
    RegSetValueExA(key_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(script.c_str()),
                   static_cast<DWORD>(script.size() + 1));
  }
  ~RecordedBrowser() {
    if (hadOld_) {
      RegSetValueExA(key_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                     static_cast<DWORD>(old_.size() + 1));
    } else {
      RegDeleteValueA(key_, "Browsers");
    }
    RegCloseKey(key_);
    DeleteFileA(log_.c_str());
  }
  RecordedBrowser(const RecordedBrowser&) = delete;
  RecordedBrowser& operator=(const RecordedBrowser&) = delete;

  // What the browser was given, once it has been started (or "" after a while).
  std::string opened() const {
    for (int i = 0; i < 100; ++i) {
      std::ifstream in(log_);
      std::ostringstream all;
      all << in.rdbuf();
      if (!all.str().empty()) return all.str();
      Sleep(50);
    }
    return {};
  }

 private:
  std::string log_;
  HKEY key_ = nullptr;
  bool hadOld_ = false;
  std::string old_;
};

TEST(OpenWebPage, HandsTheAddressToTheDefaultBrowser) {
  const char* script = std::getenv("FORMS_BROWSER_SCRIPT");
  if (!script || !*script) GTEST_SKIP() << "no recording browser script given";
  RecordedBrowser browser(script);
  openWebPage("http://127.0.0.1:8460/?ruanjian");
  EXPECT_EQ(browser.opened(), "http://127.0.0.1:8460/?ruanjian\n");
}

}  // namespace
}  // namespace forms
