#include "forms/values/number_format.h"

#include <cmath>

#include "forms/values/to_text.h"

namespace forms {
namespace {

// The rounded magnitude of s: its integer part, plus 1 when the fraction of s + 1e-12
// is at least one half.
double roundMagnitude(double s) {
  double whole = 0;
  const double fraction = std::modf(s + 1e-12, &whole);
  return fraction >= 0.5 ? whole + 1 : whole;
}

bool onlyDigitsAndPoint(const Text& text, std::size_t from) {
  if (from >= text.size()) return false;
  for (std::size_t i = from; i < text.size(); ++i) {
    if ((text[i] < '0' || text[i] > '9') && text[i] != '.') return false;
  }
  return true;
}

}  // namespace

double roundNumber(double value, std::int32_t decimals) {
  if (value == 0 || std::isnan(value) || std::isinf(value)) return value;
  const double v = std::fabs(value);
  double r = 0;
  if (decimals > 0) {
    const double scale = std::pow(10.0, decimals);
    const double s = v * scale;
    if (std::isinf(s)) return value;
    r = roundMagnitude(s) / scale;
  } else if (decimals == 0) {
    r = roundMagnitude(v);
  } else {
    const double scale = std::pow(10.0, -static_cast<double>(decimals));
    if (std::isinf(scale)) return 0.0;
    r = roundMagnitude(v / scale) * scale;
  }
  if (r == 0) return 0.0;
  return value < 0 ? -r : r;
}

Text formatNumber(double value, std::optional<std::int32_t> decimals, bool thousands) {
  if (decimals) value = roundNumber(value, *decimals);
  Text text = toText(value);
  const bool plain = text.find_first_not_of("-0123456789.") == Text::npos;
  if (decimals && *decimals > 0 && plain) {
    std::size_t point = text.find('.');
    if (point == Text::npos) {
      point = text.size();
      text += '.';
    }
    const std::size_t have = text.size() - point - 1;
    if (have < static_cast<std::size_t>(*decimals)) text.append(*decimals - have, '0');
  }
  const std::size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
  if (thousands && onlyDigitsAndPoint(text, digitsFrom)) {
    const std::size_t point = text.find('.');
    std::size_t end = point == Text::npos ? text.size() : point;
    while (end > digitsFrom + 3) {
      end -= 3;
      text.insert(end, 1, ',');
    }
  }
  return text;
}

}  // namespace forms
