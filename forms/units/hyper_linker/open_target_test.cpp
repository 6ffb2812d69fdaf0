#include "forms/units/hyper_linker/open_target.h"

#include <gtest/gtest.h>

namespace forms {
namespace {

TEST(LinkTarget, HtmFallbackCutsThePlaceholder) {
  struct Case {
    const char* command;
    const char* line;
  };
  const Case cases[] = {
      {"\"C:\\b\\iexplore.exe\" \"%1\"", "\"C:\\b\\iexplore.exe\"  http://a/"},
      {"browser.exe %1 -new", "browser.exe  http://a/"},
      {"browser.exe", "browser.exe http://a/"},
  };
  for (const Case& c : cases) EXPECT_EQ(htmFallbackCommand(c.command, "http://a/"), c.line);
}

}  // namespace
}  // namespace forms
