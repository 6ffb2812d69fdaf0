// Shows the gallery window until it is closed, for screenshots.
#include <windows.h>

#include <vector>

#include "forms/runtime/runtime.h"
#include "forms/units/test_support/gallery_window.h"
#include "forms/units/unit_table.h"
#include "test_support/test_segment.h"

int main() {
  using namespace forms;
  std::vector<tpl::WindowRecord> windows{testing::galleryWindow()};
  const int shapes = static_cast<int>(testing::galleryShapes().size());
  for (int i = 0; i < shapes; ++i) windows.push_back(testing::galleryShapeWindow(i));
  startRuntime(unitTable(), static_cast<const HandlerEntry*>(nullptr), 0,
               test_support::segmentOf(windows));
  loadStartWindow(testing::kGalleryWindow);
  for (int i = 0; i < shapes; ++i) loadWindow(testing::galleryShapeWindowId(i));
  runMessageLoop();
  return 0;
}
