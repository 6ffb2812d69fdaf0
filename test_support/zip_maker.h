#pragma once
// Test helper: builds small zip archives in memory, with the faults the tests need.
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

struct ZipEntry {
  std::string name;
  std::string data;
  bool deflate = true;
  std::uint32_t externalAttributes = 0;  // low word: DOS attributes; high word: Unix mode
  std::uint16_t madeBy = 20;             // upper byte 0 = DOS, 3 = Unix
  std::uint16_t dosTime = 0x5A2F;        // 11:17:30
  std::uint16_t dosDate = 0x50B1;        // 2020-05-17
  bool wrongCrc = false;                 // store a CRC that does not match the data
  bool damaged = false;                  // compressed data that cannot be inflated
};

std::string makeZip(const std::vector<ZipEntry>& entries);

}  // namespace test_support
