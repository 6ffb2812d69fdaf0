#include "forms/values/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace forms {
namespace {

TEST(RoundNumber, HalfAwayFromZero) {
  const struct {
    double value;
    std::int32_t decimals;
    double result;
  } cases[] = {
      {1234.567, 2, 1234.57},
      {1.005, 2, 1.01},  // the double lies just below 1.005; the added
                         // 1e-12 carries it
      {0.125, 2, 0.13},
      {-0.125, 2, -0.13},
      {2.5, 0, 3},
      {-2.5, 0, -3},
      {1234.5, -2, 1200},
      {1250, -2, 1300},
      {-1249, -2, -1200},
      {2.4, 0, 2},
      {0.0049, 2, 0},
      {20.48, 2, 20.48},
      {1e300, 20, 1e300},  // too large to carry
                           // decimals
      {123, -400, 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(roundNumber(c.value, c.decimals), c.result) << c.value << ", " << c.decimals;
  }
  EXPECT_EQ(roundNumber(2.5), 3);
}

TEST(RoundNumber, ZeroAndNotANumberUnchanged) {
  EXPECT_EQ(roundNumber(0.0, 2), 0.0);
  EXPECT_TRUE(std::isnan(roundNumber(std::numeric_limits<double>::quiet_NaN(), 2)));
  EXPECT_TRUE(std::isinf(roundNumber(std::numeric_limits<double>::infinity(), 2)));
  // A negative value that rounds to zero gives +0, which shows as "0".
  EXPECT_FALSE(std::signbit(roundNumber(-0.001, 2)));
}

TEST(FormatNumber, Table) {
  const struct {
    double value;
    std::optional<std::int32_t> decimals;
    bool thousands;
    const char* text;
  } cases[] = {
      {20.48, 2, false, "20.48"},
      {1.5, 2, false, "1.50"},
      {0, 2, false, "0.00"},
      {1234567.891, 2, true, "1,234,567.89"},
      {1234.5, std::nullopt, false, "1234.5"},
      {1.005, 2, false, "1.01"},
      {-0.001, 2, false, "0.00"},
      {3, 0, false, "3"},
      {1234.5, -2, true, "1,200"},
      {-1234567, std::nullopt, true, "-1,234,567"},
      {123, std::nullopt, true, "123"},
      {-123.5, std::nullopt, true, "-123.5"},
      {1000, 3, true, "1,000.000"},
      {0.123456, std::nullopt, false, "0.123456"},
      {1.23456789, 10, false, "1.2345678900"},
      // Thirteen digits and no more: the padding never cuts, nor does it invent digits
      // beyond what "%.13g" gave.
      {1234567.891, 9, false, "1234567.891000000"},
      // Exponent notation is left as it is.
      {1e20, 2, true, "1e+20"},
      {0.00001, 5, false, "1e-05"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatNumber(c.value, c.decimals, c.thousands), c.text) << c.text;
}

}  // namespace
}  // namespace forms
