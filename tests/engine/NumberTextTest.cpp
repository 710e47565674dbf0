#include "engine/NumberText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

// The fast paths must agree bit for bit with the library and with the exact expansion.
TEST(NumberText, ReadingAgreesWithTheLibraryBitForBit) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> spread(-10, 10);
  char text[64];
  for (int i = 0; i < 20000; ++i) {
    const long double x = spread(random) * std::pow(10.0L, static_cast<int>(random() % 40) - 20);
    std::snprintf(text, sizeof text, "%.*Lf", static_cast<int>(random() % 25), x);
    const long double expected = std::strtold(text, nullptr);
    const DecimalReading reading = ReadLeadingDecimal(text, '.', '.');
    ASSERT_FALSE(reading.Overflow);
    ASSERT_EQ(std::memcmp(&reading.Value, &expected, 10), 0) << text;
  }
}

TEST(NumberText, FixedDigitsAgreeWithTheExactExpansion) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> spread(-10, 10);
  for (int i = 0; i < 20000; ++i) {
    const double x = spread(random) * std::pow(10.0, static_cast<int>(random() % 50) - 25);
    const int64_t decimals = static_cast<int64_t>(random() % 30);
    const FixedDigits fast = RoundToFixedDigits(x, decimals);
    const FixedDigits exact = RoundToFixedDigitsExact(x, decimals);
    ASSERT_EQ(fast.Digits, exact.Digits) << x << " " << decimals;
    if (!fast.Digits.empty()) {
      ASSERT_EQ(fast.Point, exact.Point) << x << " " << decimals;
    }
  }
}

TEST(NumberText, HalvesRoundToEven) {
  struct Case {
    double value;
    int64_t decimals;
    std::string digits;
    int point;
  };
  const Case cases[] = {
      {2.5, 0, "2", 1},         {3.5, 0, "4", 1},      {0.125, 2, "12", 0},
      {0.375, 2, "38", 0},      {0.5, 0, "", 0},       {1.5, 0, "2", 1},
      {0.6, 0, "1", 1},         {9.5, 0, "1", 2},      {DBL_MAX, 0, "1797693134862315708", 309},
      {DBL_TRUE_MIN, 8, "", 0}, {1250.0, -2, "12", 4}, {1350.0, -2, "14", 4},
      {INFINITY, 8, "", 0},     {NAN, 8, "", 0},
  };
  for (const auto& c : cases) {
    const FixedDigits fast = RoundToFixedDigits(c.value, c.decimals);
    const FixedDigits exact = RoundToFixedDigitsExact(c.value, c.decimals);
    EXPECT_EQ(fast.Digits, c.digits) << c.value;
    EXPECT_EQ(exact.Digits, c.digits) << c.value;
    if (!c.digits.empty()) {
      EXPECT_EQ(fast.Point, c.point) << c.value;
      EXPECT_EQ(exact.Point, c.point) << c.value;
    }
  }
}

}  // namespace
