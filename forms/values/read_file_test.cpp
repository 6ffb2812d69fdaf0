#include "forms/values/read_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace forms {
namespace {

namespace fs = std::filesystem;

// A folder of the test's own under the system's temporary folder, removed at the end. The
// host's temporary folder is shared, so its name is drawn at random.
class ReadWholeFile : public testing::Test {
 protected:
  void SetUp() override {
    const std::string name = "forms_read_file_test_" + std::to_string(std::random_device()());
    dir_ = fs::temp_directory_path() / name;
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Text write(const char* name, const ByteSet& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  fs::path dir_;
};

TEST_F(ReadWholeFile, GivesEveryByteOrNone) {
  // More than one read's worth, with zero bytes and bytes above 0x7F inside.
  ByteSet large(40000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 7);
  const struct {
    const char* name;
    ByteSet bytes;
  } files[] = {{"empty", {}}, {"one", {0x00}}, {"large", large}};
  for (const auto& f : files) EXPECT_EQ(readWholeFile(write(f.name, f.bytes)), f.bytes) << f.name;

  EXPECT_EQ(readWholeFile((dir_ / "missing").string()), std::nullopt);
  // A folder opens on some systems but cannot be read.
  EXPECT_EQ(readWholeFile(dir_.string()), std::nullopt);
}

}  // namespace
}  // namespace forms
