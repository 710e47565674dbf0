// Expressions and number texts at and beyond the engine's bounds, and the value-table builder fed
// with extreme ranges and step widths.
#include <cmath>

#include "engine/QelParser.h"
#include "tests/hardening/HardeningSupport.h"
#include "valuetable/ValueTable.h"

namespace hardening {
namespace {

std::string Chain(const std::string& first, const std::string& link, size_t length) {
  std::string text = first;
  while (text.size() + link.size() <= length) text += link;
  return text;
}

std::string Nested(const std::string& opening, int depth, const std::string& inner) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += opening;
  return text + inner + std::string(depth, ')');
}

TEST(HostileExpression, ChainsAndNestingAtTheBoundsBuildAndEvaluate) {
  struct Case {
    const char* name;
    std::string expression;
    const char* x;
    long double value;
  };
  const size_t limit = TQelParser::kMaxExpressionLength;
  const std::vector<Case> cases = {
      {"minus chain", Chain("x", "-x", limit), "1", -4998},
      {"division chain", Chain("x", "/x", limit), "2", std::ldexp(1.0L, -4998)},
      {"power chain", Chain("x", "^x", limit), "1", 1},
      {"blanks up to the bound", Chain("x", " ", limit), "3", 3},
      {"mixed chain", Chain("x", "*x-x+x", limit), "1", 1},
  };
  UnderBothSeparators([&](char) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      TQelParser parser;
      parser.SetX(c.x);
      parser.SetExpression(c.expression);
      ASSERT_TRUE(parser.CreateTree());
      EXPECT_EQ(parser.Evaluate(), c.value);
      // Blanks count toward the bound: padded to it the text still builds, one more does not.
      const std::string padded = c.expression + std::string(limit - c.expression.size(), ' ');
      parser.SetExpression(padded);
      ASSERT_TRUE(parser.CreateTree());
      EXPECT_EQ(parser.Evaluate(), c.value);
      parser.SetExpression(padded + " ");
      EXPECT_FALSE(parser.CreateTree());
    }
  });
}

TEST(HostileExpression, NestedFunctionsAtTheDepthBound) {
  const int depth = TQelParser::kMaxNesting;
  for (const char* function : {"sin(", "abs(", "ln(2+", "(1+"}) {
    SCOPED_TRACE(function);
    TQelParser parser;
    parser.SetX("1");
    parser.SetExpression(Nested(function, depth, "x"));
    ASSERT_TRUE(parser.CreateTree());
    EXPECT_TRUE(std::isfinite(parser.Evaluate()));
    parser.SetExpression(Nested(function, depth + 1, "x"));
    EXPECT_FALSE(parser.CreateTree());
  }
}

TEST(HostileExpression, HighBytesStayVerbatimInTheBuildersMessage) {
  TQelParser engine;
  const std::string expression = "\xE4x\xB2";
  const ValueTableResult result = BuildValueTableRows(engine, {"-1", "1", "1", expression}, {});
  EXPECT_TRUE(result.Rows.empty());
  EXPECT_NE(result.Message.find("\n\n" + expression + "\n\n"), std::string::npos);
}

TEST(HostileValueTable, ExtremeRangesAndStepWidthsStopOnTheirOwn) {
  struct Case {
    const char* name;
    ValueTableInput input;
    size_t rows;
    bool limitMessage;
  };
  const std::vector<Case> cases = {
      {"step below every increment", {"-1", "1", "1e-4000", "x"}, MaxValueTableRows, true},
      {"negative tiny step", {"-1", "1", "-1e-4000", "x"}, MaxValueTableRows, true},
      {"step beyond every range", {"-1", "1", "1e4000", "x"}, 1, false},
      {"step beyond the extended range", {"-1", "1", "1e5000", "x"}, 3, false},
      {"range of width 1e-300", {"0", "1e-300", "1e-300", "x"}, 2, false},
      {"range of width 1e300", {"0", "1e300", "1e300", "x"}, 2, false},
      {"range bounds beyond the extended range", {"-1e5000", "1e5000", "5", "x"}, 5, false},
      {"step of zero", {"-1", "1", "0", "x"}, 0, false},
      {"ranges of letters", {"a", "b", "1", "x"}, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelParser engine;
    engine.SetPrecision(2);
    long polls = 0;
    const ValueTableResult result = BuildValueTableRows(engine, c.input, [&] { ++polls; });
    EXPECT_EQ(result.Rows.size(), c.rows);
    EXPECT_EQ(result.Message.empty(), !c.limitMessage);
    EXPECT_LE(polls, static_cast<long>(MaxValueTableRows) + 2);
  }
}

TEST(HostileValueTable, HugeValuesAreWrittenInFullAtAnyPrecision) {
  for (const int32_t precision : {0, 2, 16, 25, 100000, 2147483647, -5}) {
    SCOPED_TRACE(precision);
    TQelParser engine;
    engine.SetPrecision(precision);
    const ValueTableResult result = BuildValueTableRows(engine, {"0", "1e300", "1e300", "x"}, {});
    ASSERT_EQ(result.Rows.size(), 2u);
    const std::string& x = result.Rows[1].X;
    // 19 significant digits of the double nearest 1e300, rounded, then zeros: no fraction.
    EXPECT_EQ(x, "1000000000000000053" + std::string(282, '0'));
    EXPECT_EQ(result.Rows[1].Fx, x);
  }
}

}  // namespace
}  // namespace hardening
