#pragma once
// Opening an address in the system's default browser.
#include "forms/values/text.h"

namespace forms {

// The shell's "open" on url, shown normally; the request is owned by a top-level
// window titled "Microsoft Internet Explorer" when there is one. Does not wait for the
// browser and reports no failure.
void openWebPage(const Text& url);

}  // namespace forms
