#include "updater/command_words.h"

namespace updater {
namespace {

bool isSeparator(unsigned char c) { return c >= 1 && c <= 32; }
bool isLeadByte(unsigned char c) { return c >= 128; }

// Skips the program path and returns where the words begin.
std::size_t skipProgramPath(std::string_view line) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    i = line.find('"', 1);
    if (i == std::string_view::npos) return line.size();
    ++i;  // the closing quote
    if (i < line.size() && line[i] == ' ') ++i;
    return i;
  }
  i = line.find(' ');
  return i == std::string_view::npos ? line.size() : i + 1;
}

}  // namespace

std::vector<forms::Text> splitCommandWords(std::string_view line) {
  std::vector<forms::Text> words;
  const std::size_t n = line.size();
  std::size_t i = skipProgramPath(line);
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (isSeparator(c)) {
      ++i;
      continue;
    }
    const bool quoted = c == '"';
    if (quoted) ++i;
    forms::Text word;
    bool lineEnded = false;
    while (i < n) {
      c = static_cast<unsigned char>(line[i]);
      if (isLeadByte(c)) {
        // A lead byte keeps its trail byte, whatever that byte is; a lone lead byte at
        // the very end belongs to no word and ends the splitting.
        if (i + 1 >= n) {
          lineEnded = true;
          break;
        }
        word.push_back(line[i]);
        word.push_back(line[i + 1]);
        i += 2;
        continue;
      }
      if (c == '"') {
        if (quoted) ++i;  // closing quote; an unquoted word stops before it
        break;
      }
      if (!quoted && isSeparator(c)) break;
      word.push_back(line[i]);
      ++i;
    }
    // A lone lead byte at the end starts no word of its own, but a quoted word that it
    // ends still counts.
    if (!(lineEnded && !quoted && word.empty())) words.push_back(std::move(word));
    if (lineEnded) break;
  }
  return words;
}

bool isLaunchAccepted(const std::vector<forms::Text>& words) {
  return words.size() >= kRequiredWords && words[word::kLaunchToken - 1] == kLaunchToken;
}

}  // namespace updater
