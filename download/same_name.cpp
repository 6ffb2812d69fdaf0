#include "download/same_name.h"

#include "forms/values/gbk.h"

namespace download {

std::string renamedPath(const std::string& path, int attempt) {
  // The file name begins after the last '\' or '/' that is a character of its own.
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < path.size(); i += forms::gbkCharLength(path, i))
    if (path[i] == '\\' || path[i] == '/') nameStart = i + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart || dot == nameStart) dot = path.size();
  std::string stem = path.substr(0, dot);
  std::string extension = path.substr(dot);

  // A '(' in a folder has a separator between it and the ')', so its "digits" are none.
  long number = attempt;
  std::size_t open = stem.rfind('(');
  if (!stem.empty() && stem.back() == ')' && open != std::string::npos && open + 2 < stem.size() &&
      stem.size() - open <= 8) {
    std::string digits = stem.substr(open + 1, stem.size() - open - 2);
    if (digits.find_first_not_of("0123456789") == std::string::npos) {
      number = std::stol(digits) + attempt;
      stem.resize(open);
    }
  }
  return stem + "(" + std::to_string(number) + ")" + extension;
}

}  // namespace download
