#pragma once
// Test helper: a fresh folder under the temporary folder, removed with all it holds
// (read-only entries included) when the owner goes.
#include <string>

namespace test_support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::string& path() const { return path_; }
  // path() + "\" + relative
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

  // Creates a file (and no folders) holding content.
  void write(const std::string& relative, const std::string& content) const;
  void makeFolder(const std::string& relative) const;
  bool exists(const std::string& relative) const;
  std::string read(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace test_support
