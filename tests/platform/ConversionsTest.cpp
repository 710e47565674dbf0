#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

struct FloatCase {
  char separator;
  const char* text;
  long double value;
};

TEST(StrToFloat, AcceptsTheStrictGrammarWithTheRegionalSeparator) {
  const FloatCase cases[] = {
      {',', "2,5", 2.5L},  {'.', "2.5", 2.5L}, {',', "  -2,5  ", -2.5L},
      {',', "+7", 7},      {',', "1E3", 1000}, {',', "1e-2", 0.01L},
      {',', "5,", 5},      {',', ",5", 0.5L},  {'.', "1e+4", 10000},
      {',', "1e-5000", 0}, {',', "0", 0},      {',', "1,5E-7", 1.5e-7L},
  };
  for (const auto& c : cases) {
    SetRegionalDecimalSeparator(c.separator);
    EXPECT_EQ(StrToFloat(c.text), c.value) << c.text << " with " << c.separator;
  }
}

TEST(StrToFloat, RejectsEverythingElseWithTheConversionMessage) {
  SetRegionalDecimalSeparator(',');
  for (const char* text : {"", " ", "2.5", "2,5,1", ",", "-", "1e", "1e+", "abc", "12abc", "inf",
                           "nan", "0x10", "1 2", "--1", "\t1", "1e5000", "-1e5000"}) {
    try {
      StrToFloat(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()),
                "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
}

TEST(StrToInt, ReadsDecimal32BitIntegers) {
  const std::pair<const char*, int32_t> good[] = {{"0", 0},
                                                  {" 42 ", 42},
                                                  {"-17", -17},
                                                  {"+5", 5},
                                                  {"2147483647", 2147483647},
                                                  {"-2147483648", INT32_MIN},
                                                  {"007", 7}};
  for (const auto& [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;
  for (const char* text : {"", " ", "2147483648", "-2147483649", "1.5", "0x10", "$10", "1 2", "abc",
                           "99999999999999999999999"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

TEST(FloatToStr, GeneralFormatWith15SignificantDigits) {
  const FloatCase cases[] = {
      {',', "2,5", 2.5L},
      {'.', "2.5", 2.5L},
      {',', "0,0001", 0.0001L},
      {',', "1E-5", 0.00001L},
      {',', "1,5E-7", 1.5e-7L},
      {',', "1E15", 1e15L},
      {',', "999999999999999", 999999999999999.0L},
      {',', "1E15", 999999999999999.9L},
      {',', "0,333333333333333", 1.0L / 3},
      {',', "-3", -3},
      {',', "0", 0},
      {',', "0", -0.0L},
      {',', "100", 100},
      {',', "1,23456789012346E20", 123456789012345678901.0L},
      {',', "INF", 1e400L},
      {',', "-INF", -1e400L},
  };
  for (const auto& c : cases) {
    SetRegionalDecimalSeparator(c.separator);
    EXPECT_EQ(FloatToStr(c.value), c.text) << static_cast<double>(c.value);
  }
}

TEST(LeadingInt, ReadsLikeAtolAndWrapsTo32Bits) {
  const std::pair<const char*, int32_t> cases[] = {
      {"255", 255}, {"  -12abc", -12},      {"abc", 0},         {"", 0},
      {"\t+7", 7},  {"16777215", 16777215}, {"4294967295", -1}, {"4294967296", 0},
      {"- 5", 0},   {"12 34", 12},          {"1.9", 1}};
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingInt(text), value) << text;
}

TEST(RegionalSettings, ReadsTheSeparatorFromTheLocaleVariablesInOrder) {
  struct Case {
    const char* all;
    const char* numeric;
    const char* lang;
    char separator;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", "", "", ','},
      {"", "de_DE.UTF-8", "en_US.UTF-8", ','},
      {"", "", "fr_FR", ','},
      {"en_US.UTF-8", "de_DE", "de_DE", '.'},
      {"", "", "", '.'},
      {"C", "", "de_DE", '.'},
      {"de_CH.UTF-8", "", "", '.'},
      {"", "", "de", ','},
  };
  for (const auto& c : cases) {
    setenv("LC_ALL", c.all, 1);
    setenv("LC_NUMERIC", c.numeric, 1);
    setenv("LANG", c.lang, 1);
    EXPECT_EQ(DecimalSeparatorFromEnvironment(), c.separator) << c.all << c.numeric << c.lang;
  }
}

}  // namespace
