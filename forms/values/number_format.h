#pragma once
// Rounding and formatting of figures shown to the user (sizes, speeds).
#include <cstdint>
#include <optional>

#include "forms/values/text.h"

namespace forms {

// Rounds half away from zero to the given decimals (negative: to tens, hundreds, ...),
// adding 1e-12 first so that 1.005 rounds to 1.01 although its double lies just below.
// 0, not-a-number and values too large to carry fractions come back unchanged; a result
// of zero is +0, so that -0.001 never shows as "-0".
double roundNumber(double value, std::int32_t decimals = 0);

// The value as toText(double) writes it, rounded first when decimals is given. With
// decimals above 0 the fraction is padded with zeros to exactly that many digits (never
// cut); a text in exponent notation is left unpadded, where padding would only garble
// it. thousands puts "," between groups of three digits before the point.
Text formatNumber(double value, std::optional<std::int32_t> decimals = std::nullopt,
                  bool thousands = false);

}  // namespace forms
