#pragma once
// The names tried when the local file already exists and the answer is to rename.
#include <string>

namespace download {

constexpr int kRenameAttempts = 99;

// The attempt-th name (from 1): "a.zip" -> "a(1).zip"; a name that already ends in
// "(k)" counts on from k: "a(3).zip" -> "a(4).zip".
std::string renamedPath(const std::string& path, int attempt);

}  // namespace download
