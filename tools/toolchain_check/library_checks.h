#pragma once
#include <string>
#include <vector>

// Proves that the three libraries the programs rely on are linked and work.
struct DecodedPicture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;  // top-down rows, 3 bytes a pixel
};

struct CheckResult {
  bool ok;
  std::string line;
};

CheckResult checkJpeg(DecodedPicture& out);
CheckResult checkZlib();
CheckResult checkMinizip();
