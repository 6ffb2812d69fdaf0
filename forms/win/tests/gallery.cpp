// Shows the gallery window until it is closed, for screenshots.
#include <windows.h>

#include "forms/win/runtime.h"
#include "forms/win/tests/gallery_window.h"
#include "forms/win/tests/test_segment.h"

int main() {
  using namespace forms;
  startRuntime(static_cast<const HandlerEntry*>(nullptr), 0, testing::segmentOf({testing::galleryWindow()}));
  loadStartWindow(testing::kGalleryWindow);
  runMessageLoop();
  return 0;
}
