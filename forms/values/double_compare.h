#pragma once
// Double comparisons of the programs' own code, with the tolerance 1e-7, so that a
// version read as 2.0199999999 still equals 2.02.
#include <cmath>

namespace forms {

constexpr double kDoubleTolerance = 1e-7;

inline bool doublesEqual(double a, double b) { return std::fabs(a - b) <= kDoubleTolerance; }

// a exceeds b by more than the tolerance.
inline bool doubleGreater(double a, double b) { return a - b > kDoubleTolerance; }

}  // namespace forms
