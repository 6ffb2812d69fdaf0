#pragma once
// The command line by which the navigator starts the updater: the one definition of its
// words and what each means, used by the navigator to write it and by the updater to
// read it. Portable.
#include <cstddef>

#include "forms/values/text.h"

namespace updater {

// The token that tells the updater the navigator started it.
inline constexpr char kLaunchToken[] = "kqzrmesh_junction";

// The words after the program path, numbered from 1 as the updater's word array counts
// them. Words are unquoted and separated by one blank, so a value with a blank becomes
// several words and an empty value none.
namespace word {
constexpr int kLaunchToken = 1;
constexpr int kPackageUrl = 2;
constexpr int kPackageTitle = 3;
constexpr int kRunMarker = 4;        // "run"; nobody reads it
constexpr int kProgramToStart = 5;   // started again after the install
constexpr int kPackageFileName = 6;  // nobody reads it
constexpr int kFirstNote = 7;        // the upgrade notes, one word per piece
}  // namespace word

// Fewest words a start must carry: token up to the package's file name.
constexpr std::size_t kRequiredWords = word::kPackageFileName;

// What the navigator hands over.
struct UpdaterCommand {
  forms::Text packageUrl;
  forms::Text packageTitle;
  forms::Text programToStart;
  forms::Text packageFileName;
  forms::Text notes;  // raw, blanks and all
};

// The whole line: the updater's path quoted (an unquoted path with a blank makes the
// system try other program names first, and the updater would take the rest of the path
// for its words), then every word as it stands.
forms::Text updaterCommandLine(const forms::Text& updaterPath, const UpdaterCommand& command);

}  // namespace updater
