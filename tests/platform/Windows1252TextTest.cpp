#include "ui/platform/Windows1252Text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/NamedCases.h"

namespace {

struct CodecCase {
  const char* name;
  std::string bytes;
  QString text;
};

class Codec : public ::testing::TestWithParam<CodecCase> {};

TEST_P(Codec, RoundTripsEveryByte) {
  const CodecCase& c = GetParam();
  EXPECT_EQ(FromWindows1252(c.bytes), c.text);
  EXPECT_EQ(ToWindows1252(c.text), c.bytes);
  EXPECT_TRUE(FitsWindows1252(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Windows1252Text, Codec,
    ::testing::Values(CodecCase{"Ascii", "sin(x)", "sin(x)"},
                      CodecCase{"Latin", "\xE4\xFC\xDF", QString::fromUtf8("äüß")},
                      CodecCase{"Euro", "\x80", QString::fromUtf8("€")},
                      CodecCase{"Quotes", "\x84\x93", QString::fromUtf8("„“")},
                      CodecCase{"Unassigned", "\x81\x9D", QString::fromUtf8("\u0081\u009D")}),
    qeltest::CaseName());

TEST(Windows1252Text, CharactersOutsideTheCodePageDoNotFit) {
  EXPECT_FALSE(FitsWindows1252(QString::fromUtf8("→")));
  EXPECT_FALSE(FitsWindows1252(QString::fromUtf8("\u0080")));
  EXPECT_EQ(ToWindows1252(QString::fromUtf8("a→")), "a?");
}

}  // namespace
