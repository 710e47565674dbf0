#include "engine/QelParser.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/RegionalSettings.h"

namespace {

// The application's engine: both "." and "," accepted.
TQelParser AppEngine(char separator) {
  SetRegionalDecimalSeparator(separator);
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  return parser;
}

std::string Prefix(const Tree& node) {
  if (!node.Left || !node.Right) return node.Text;
  return "(" + node.Text + " " + Prefix(*node.Left) + " " + Prefix(*node.Right) + ")";
}

class BothSeparators : public ::testing::TestWithParam<char> {};
INSTANTIATE_TEST_SUITE_P(Engine, BothSeparators, ::testing::Values(',', '.'));

TEST_P(BothSeparators, NormalisationReplacesNamesBlanksAndOneBracketPair) {
  TQelParser p = AppEngine(GetParam());
  const std::string dot(1, GetParam());
  const std::pair<std::string, std::string> cases[] = {
      {"  x  +  1 ", "x+1"},
      {"SIN(X)", "s#(X)"},
      {"Sin(x)+COS(x)", "s#(x)+c#(x)"},
      {"LN(x)", "n#(x)"},
      {"Abs(x-1)", "r#(x-1)"},
      {"x mod 3", "xm3"},
      {"((x))", "(x)"},
      {"(x)+(y)", "(x)+(y)"},
      {"2.5*x", "2" + dot + "5*x"},
      {"2,5*x", "2" + dot + "5*x"},
      {"sinx", "s#x"},
      {"asin(x)", "as#(x)"},
      {"2 * sin(x) - 1/x/2", "2*s#(x)-1/x/2"},
      {"x\t+1", "x\t+1"},
      {"", ""},
      {"si", "si"},
  };
  for (const auto& [input, normalised] : cases) {
    p.SetExpression(input);
    p.CreateTree();
    EXPECT_EQ(p.Expression(), normalised) << input;
  }
}

TEST(Normalisation, WithoutConvertAllTheSeparatorsStayAsTyped) {
  SetRegionalDecimalSeparator(',');
  TQelParser p;
  EXPECT_EQ(p.WandleSinCosTanUm("2.5*x+2,5"), "2.5*x+2,5");
}

TEST(Normalisation, EntferneKlammernRemovesOnlyAnEnclosingPair) {
  const TQelParser p;
  const std::pair<const char*, const char*> cases[] = {
      {"(x+1)", "x+1"}, {"(x+1)*(x-1)", "(x+1)*(x-1)"},
      {"((x))", "(x)"}, {"(a)+b", "(a)+b"},
      {"(x)", "x"},     {"", ""},
      {"(", "("},       {"()", ""},
      {")(", ")("},     {"(x))", "x)"}};
  for (const auto& [input, output] : cases) EXPECT_EQ(p.EntferneKlammern(input), output) << input;
}

TEST(Normalisation, AssociativityInvertsTheOperatorsAfterTheSplitOperator) {
  const TQelParser p;
  const std::pair<const char*, const char*> cases[] = {
      {"a-b-c", "a-b+c"},     {"a+b-c+d", "a+b-c-d"}, {"a*b/c*d", "a*b/c*d"},
      {"a/b*c/d", "a/b/c*d"}, {"a/b+c/d", "a/b+c/d"}, {"a^b^c", "a^b^c"},
      {"a-b+c-d", "a-b-c+d"}, {"8/4/2", "8/4*2"},     {"x-(a-b)+1", "x-(a-b)-1"},
      {"a/bmc*d", "a/bmc/d"}, {"amb/c", "amb/c"},
  };
  for (const auto& [input, output] : cases) EXPECT_EQ(p.Assiotiativitaet(input), output) << input;
}

TEST_P(BothSeparators, TreesHaveTheDocumentedShape) {
  TQelParser p = AppEngine(GetParam());
  const std::string dot(1, GetParam());
  const std::pair<std::string, std::string> cases[] = {
      {"2 * sin(x) - 1/x/2", "(- (* 2 (# s x)) (/ 1 (* x 2)))"},
      {"x", "x"},
      {"(x)", "x"},
      {"-x", "(- 0 x)"},
      {"SIN(X)+PI", "(+ (# s X) PI)"},
      {"(-2.5)*x", "(* -2" + dot + "5 x)"},
      {"-2.5*x", "(- 0 (* 2" + dot + "5 x))"},
      {"sin x^2", "(^ (# s x) 2)"},
      {"sin 2*x", "(* (# s 2) x)"},
      {"7 mod 4*2", "(m 7 (* 4 2))"},
      {"2*7 mod 4", "(* 2 (m 7 4))"},
      {"1E15*x", "(* 1E15 x)"},
      {"s#x", "(# s x)"},
      {"2*(-x)", "(* 2 (- 0 x))"},
  };
  for (const auto& [input, prefix] : cases) {
    p.SetExpression(input);
    ASSERT_TRUE(p.CreateTree()) << input;
    EXPECT_EQ(Prefix(p.Root()), prefix) << input;
  }
}

TEST_P(BothSeparators, InvalidExpressionsAreRejected) {
  TQelParser p = AppEngine(GetParam());
  for (const char* input : {"",        "((x))",   "sin((x))",  "2x",     "y+1",  "2*-x", "x^-1",
                            "--x",     "+x",      "sqrt(x)",   "2.50*x", ".5*x", "05*x", "1e3*x",
                            "0.00001", "asin(x)", "x\t+1",     "(x",     "x)",   "x+",   "()",
                            "#",       "m",       "2*((x+1))", "1e400",  "x**2", "1,2.3"}) {
    p.SetExpression(input);
    EXPECT_FALSE(p.CreateTree()) << input;
  }
  for (const char* input : {"0.0001", "1/100000", "s+1", "c+1", "7m4", "x mod 2", "2,5*x", "e^x"}) {
    p.SetExpression(input);
    EXPECT_TRUE(p.CreateTree()) << input;
  }
}

TEST(LeafTest, AlwaysUsesTheRegionalSeparator) {
  SetRegionalDecimalSeparator(',');
  TQelParser p;
  p.SetOverwriteDecimalSymbol(".");
  p.SetConvertAllColonsAndDots(true);
  p.SetExpression("2,5*x");
  EXPECT_FALSE(p.CreateTree());
  EXPECT_EQ(p.Expression(), "2.5*x");
  EXPECT_TRUE(p.IsLongDouble("2,5"));
  EXPECT_FALSE(p.IsLongDouble("2.5"));
}

struct EvalCase {
  const char* expression;
  const char* x;
  long double value;
};

TEST_P(BothSeparators, EvaluatesWithTheDocumentedGroupingAndRules) {
  TQelParser p = AppEngine(GetParam());
  const EvalCase cases[] = {
      {"1/2+1/4", "", 0.75L},
      {"1-8/4/2", "", 0},
      {"2*6/3*2", "", 8},
      {"9-6/3*2", "", 5},
      {"2^3^2", "", 512},
      {"8/4/2", "", 1},
      {"8/4*2", "", 4},
      {"a-b+c-d", "", 0},
      {"1-2+3", "", 2},
      {"7 mod 4*2", "", 7},
      {"7 mod 5 mod 3", "", 1},
      {"2*7 mod 4", "", 6},
      {"8/4 mod 3", "", 8},
      {"s+1", "", 1},
      {"7m4", "", 3},
      {"7 mod 0", "", 0},
      {"-7 mod 3", "", -1},

      {"(0-7) mod 3", "", -1},
      {"7 mod (0-3)", "", 1},
      {"7.5 mod 2", "", 1.5L},
      {"(-8)^3", "", -512},
      {"0^2", "", 0},
      {"0^0", "", 1},
      {"x+0", "3", 3},
      {"0+x", "3", 3},
      {"0*x", "3", 0},
      {"abs(x)", "-2,5", 2.5L},
      {"abs(x)", "-2.5", 2.5L},
      {"x^0.5", "4", 2},
      {"-x^2", "3", -9},
      {"C#x", "1", 0},
      {"a+1", "", 1},
      {"10^400", "", INFINITY},
      {"(0-10)^401", "", INFINITY},
      {"10^(0-400)", "", 0},
      {"0^(-1)", "", INFINITY},
      {"(-2.5)*x", "2", -5},
      {"0^(0-1)", "", INFINITY},
      {"(0-2)^2", "", 4},
  };
  for (const auto& c : cases) {
    p.SetExpression(c.expression);
    p.SetX(c.x);
    ASSERT_TRUE(p.CreateTree()) << c.expression;
    EXPECT_EQ(p.Evaluate(), c.value) << c.expression << " at " << c.x;
  }
}

TEST_P(BothSeparators, ResultTextsOfTheConstants) {
  TQelParser p = AppEngine(GetParam());
  const std::string dot(1, GetParam());
  const std::pair<const char*, std::string> cases[] = {
      {"sin(pi)", "-0" + dot + "00000005"},
      {"ln(e)", "0" + dot + "99999999"},
      {"PI", "3" + dot + "1415927"},
      {"2 * sin(x) - 1/x/2", "1" + dot + "18294197"},
  };
  p.SetX("1");
  for (const auto& [expression, text] : cases) {
    p.SetExpression(expression);
    ASSERT_TRUE(p.CreateTree());
    p.Evaluate();
    EXPECT_EQ(p.ErgebnisString(), text) << expression;
  }
}

// A zero power is +0: a negative base must not make it print as "-0".
TEST_P(BothSeparators, ZeroPowersArePositiveZero) {
  TQelParser p = AppEngine(GetParam());
  const std::pair<const char*, const char*> cases[] = {
      {"x^3", "-0"}, {"x^123456789012345", "-1E-7"}, {"x^(0-3)", "-1E200"}, {"x^2", "-0"}};
  for (const auto& [expression, x] : cases) {
    p.SetExpression(expression);
    p.SetX(x);
    ASSERT_TRUE(p.CreateTree()) << expression;
    const long double value = p.Evaluate();
    EXPECT_EQ(value, 0) << expression << " at " << x;
    EXPECT_FALSE(std::signbit(value)) << expression << " at " << x;
    EXPECT_EQ(p.ErgebnisString(), "0") << expression << " at " << x;
  }
}

void ExpectEvaluationErrors(TQelParser& p) {
  struct ErrorCase {
    const char* expression;
    const char* x;
    const char* message;
  };
  const ErrorCase cases[] = {
      {"1/0", "", "Division durch 0"},
      {"1/(x-x)", "2", "Division durch 0"},
      {"ln(0)", "", "Log von X mit X <= 0"},
      {"lg(0-1)", "", "Log von X mit X <= 0"},
      {"ln(sin(2^60))", "", "Log von X mit X <= 0"},
      {"(-8)^(1/3)", "", "Kein negativer Ausdruck unter Wurzel erlaubt."},
      {"x^2", "1e400", "Kein negativer Ausdruck unter Wurzel erlaubt."},
      {"x*x", "1e3000", "Floating point overflow"},
      {"x+x", "1e4932", "Floating point overflow"},
      {"1/x", "1e-4940", "Floating point overflow"},
      {"0^(0-1)-0^(0-1)", "", "Invalid floating point operation"},
      {"0^(0-1)*0^(0-1)/(0^(0-1))", "", "Invalid floating point operation"},
      {"x", "1e5000", "1e5000 kann nicht in eine Zahl umgewandelt werden! (STD)"},
      {"x*x-x*x", "1e3000", "Floating point overflow"},
      {"ln(0-x*x)", "1e3000", "Floating point overflow"},
      {"(x*x) mod 2", "1e3000", "Floating point overflow"},
      {"2^(x*x)", "1e3000", "Floating point overflow"},
      {"1/0+ln(0-x*x)", "1e3000", "Floating point overflow"},
      {"ln(0)+x*x", "1e3000", "Floating point overflow"},
  };
  p.SetExpression("2");
  ASSERT_TRUE(p.CreateTree());
  p.Evaluate();
  for (const auto& c : cases) {
    p.SetExpression(c.expression);
    p.SetX(c.x);
    ASSERT_TRUE(p.CreateTree()) << c.expression;
    try {
      p.Evaluate();
      ADD_FAILURE() << c.expression << " gave no error";
    } catch (const EngineError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.expression;
    }
    EXPECT_EQ(p.ErgebnisString(), "2");
  }
  // A fault does not linger into the next evaluation.
  p.SetExpression("1+1");
  ASSERT_TRUE(p.CreateTree());
  EXPECT_EQ(p.Evaluate(), 2);
}

// Errors under both ways of finding faults: a fault raised early must win over what its value
// does later (an invalid operation, a log of minus infinity, a flag read by mod or "^").
TEST_P(BothSeparators, EvaluationErrorsCarryTheirMessagesAndKeepTheOldResult) {
  for (const FaultChecks checks : {FaultChecks::EachOperation, FaultChecks::AtEnd}) {
    SCOPED_TRACE(checks == FaultChecks::AtEnd ? "at the end" : "after each operation");
    TQelParser p = AppEngine(GetParam());
    p.SetFaultChecking(checks);
    ExpectEvaluationErrors(p);
  }
}

TEST(Evaluation, NegativeBaseOfASquareRootAtX) {
  TQelParser p = AppEngine(',');
  p.SetExpression("x^0.5");
  ASSERT_TRUE(p.CreateTree());
  p.SetX("-4");
  EXPECT_THROW(p.Evaluate(), EngineError);
}

TEST(Evaluation, ThePlainPowerRuleGivesTheLibraryResult) {
  SetRegionalDecimalSeparator('.');
  TQelParser p(std::make_shared<QelTreeRoot>(), PowerRule::Plain);
  p.SetExpression("(0-8)^(1/3)");
  ASSERT_TRUE(p.CreateTree());
  EXPECT_TRUE(std::isnan(p.Evaluate()));
  EXPECT_EQ(p.ErgebnisString(), "NAN");
  p.SetExpression("x^2");
  p.SetX("1e4000");
  ASSERT_TRUE(p.CreateTree());
  try {
    p.Evaluate();
    FAIL();
  } catch (const EngineError& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
}

TEST(Evaluation, HugeTrigonometricArgumentsGiveNotANumberWithoutError) {
  TQelParser p = AppEngine('.');
  p.SetX("1e4000");
  for (const char* expression : {"sin(2^53)", "cos(0-2^60)", "tan(x)"}) {
    p.SetExpression(expression);
    ASSERT_TRUE(p.CreateTree());
    EXPECT_TRUE(std::isnan(p.Evaluate())) << expression;
  }
}

bool SameBits(long double a, long double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, 10) == 0;
}

// Readings evaluated together give each reading's own outcome, whatever the others in the block
// raise: faults, errors, texts that name a value or do not read as a number.
TEST(Evaluation, ReadingsEvaluatedTogetherGiveTheirOwnOutcomes) {
  const std::vector<const char*> numbers = {"0",  "0.5", "-2", "1e3000", "3,5",
                                            "-0", "7",   "-1", "1e-4940"};
  std::vector<const char*> anyTexts = numbers;
  anyTexts.insert(anyTexts.end(), {"a", "PI", "junk", "1e5000"});
  TQelParser p = AppEngine('.');
  p.SetA("3");
  for (const char* expression : {"x", "1/x", "ln(x)*2^x", "x^0.5+x*x", "(x*x) mod 3", "x*x*x",
                                 "sin(x)/(x-0.5)", "tan(x)^x", "a*x-pi", "lg(x)+ln(0-x)"}) {
    for (const std::vector<const char*>* texts : {&numbers, &std::as_const(anyTexts)}) {
      p.SetExpression(expression);
      ASSERT_TRUE(p.CreateTree()) << expression;
      std::vector<VariableReading> xs;
      for (size_t i = 0; i < 150; ++i) xs.push_back(p.ReadVariable((*texts)[i % texts->size()]));
      std::vector<long double> values(xs.size());
      const std::unique_ptr<bool[]> failed(new bool[xs.size()]);
      p.EvaluateAt(xs.data(), xs.size(), values.data(), failed.get());
      EXPECT_EQ(p.X(), xs.back().Text);
      for (size_t i = 0; i < xs.size(); ++i) {
        p.SetX(xs[i]);
        SCOPED_TRACE(std::string(expression) + " at " + xs[i].Text);
        try {
          const long double value = p.EvaluateValue();
          EXPECT_FALSE(failed[i]);
          EXPECT_TRUE(failed[i] || SameBits(value, values[i])) << values[i] << " for " << value;
        } catch (const EngineError&) {
          EXPECT_TRUE(failed[i]);
        }
      }
    }
  }
}

TEST(TreeRoot, ApplicationEnginesShareOneRootAndOthersKeepTheirOwn) {
  TQelParser first = AppEngine('.');
  TQelParser second = AppEngine('.');
  TQelParser own(std::make_shared<QelTreeRoot>(), PowerRule::CheckNegativeBase);
  own.SetExpression("5");
  ASSERT_TRUE(own.CreateTree());
  first.SetExpression("1");
  ASSERT_TRUE(first.CreateTree());
  second.SetExpression("2");
  ASSERT_TRUE(second.CreateTree());
  EXPECT_EQ(first.Evaluate(), 2);
  EXPECT_EQ(own.Evaluate(), 5);
}

TEST(Evaluation, LeavesAreReadAgainWhenTheSeparatorOrTheVariableChanges) {
  SetRegionalDecimalSeparator(',');
  TQelParser p;
  p.SetExpression("2,5*x+x");
  ASSERT_TRUE(p.CreateTree());
  p.SetX("1,5");
  EXPECT_EQ(p.Evaluate(), 5.25L);
  p.SetX("2");
  EXPECT_EQ(p.Evaluate(), 7);
  SetRegionalDecimalSeparator('.');
  p.SetX("1,5");
  EXPECT_EQ(p.Evaluate(), 2 * 1 + 1);  // "," now ends both numbers
  p.SetConvertAllColonsAndDots(true);
  EXPECT_EQ(p.Evaluate(), 5.25L);
  p.SetOverwriteDecimalSymbol(";");
  p.SetConvertAllColonsAndDots(false);
  p.SetX("1;5");
  EXPECT_EQ(p.Evaluate(), 2 * 1.5L + 1.5L);
}

TEST(Bounds, LongAndDeepExpressionsAreRejectedOrBuiltWithoutExhaustingTheStack) {
  TQelParser p = AppEngine('.');
  std::string chain = "x";
  while (chain.size() + 2 <= TQelParser::kMaxExpressionLength) chain += "+x";
  p.SetExpression(chain);
  p.SetX("1");
  ASSERT_TRUE(p.CreateTree());
  EXPECT_EQ(p.Evaluate(), static_cast<long double>((chain.size() + 1) / 2));
  p.SetExpression(chain + "+x");
  EXPECT_FALSE(p.CreateTree());

  const std::string deep = std::string(256, '(') + "x" + std::string(256, ')');
  p.SetExpression(deep);
  EXPECT_FALSE(p.CreateTree());  // more than one enclosing pair
  p.SetExpression("(" + deep + ")");
  EXPECT_FALSE(p.CreateTree());
  std::string nested = "x";
  for (int i = 0; i < 255; ++i) nested = "(x+" + nested + ")";
  p.SetExpression(nested);
  EXPECT_TRUE(p.CreateTree());
  EXPECT_EQ(p.Evaluate(), 256);
  p.SetExpression("(x+" + nested + ")");
  EXPECT_TRUE(p.CreateTree());
  p.SetExpression("((x+" + nested + "))");
  EXPECT_FALSE(p.CreateTree());
}

TEST(Bounds, EveryByteAndBrokenBracketsFailQuietly) {
  TQelParser p = AppEngine(',');
  for (int byte = 1; byte < 256; ++byte) {
    const std::string text = "x" + std::string(1, static_cast<char>(byte)) + "1";
    p.SetExpression(text);
    if (p.CreateTree()) {
      EXPECT_NO_THROW(p.Evaluate()) << byte;
    }
  }
  for (const char* text : {")(", "(((", ")))", "x+(", "2*(-)", "#s", "m", "s#", "x^", "((x)+1"}) {
    p.SetExpression(text);
    EXPECT_FALSE(p.CreateTree()) << text;
    EXPECT_NO_THROW(p.Evaluate()) << text;  // a failed tree still evaluates without crashing
  }
}

struct ToStrCase {
  int precision;
  long double value;
  const char* text;
};

TEST_P(BothSeparators, LongDoubleToStrRoundsLikeFixedDecimals) {
  TQelParser p = AppEngine(GetParam());
  const ToStrCase cases[] = {
      {8, 2.5L, "2#5"},
      {8, 0.05L, "0#05"},
      {8, 100, "100"},
      {8, -3, "-3"},
      {8, 1.0L / 3, "0#33333333"},
      {8, 2.0L / 3, "0#66666667"},
      {8, 0, "0"},
      {8, 1e20L, "100000000000000000000"},
      {8, -1e-9L, "-0"},
      {0, 2.5L, "2"},
      {0, 3.5L, "4"},
      {2, 0.125L, "0#12"},
      {-5, 2.5L, "2"},
      {8, -0.0L, "-0"},
      {8, INFINITY, "INF"},
      {8, -INFINITY, "-INF"},
      {8, NAN, "NAN"},
      {8, 1e4000L, "INF"},
      {8, -1e4000L, "-INF"},
      {16, 0.1L, "0#1"},
      {8, 1e23, "99999999999999991610000"},
      {20, 1.0L / 3, "0#3333333333333333148"},
      {8, 0.000000005L, "0#00000001"},

      {1000000, 0.1L, "0#1000000000000000056"},
  };
  for (const auto& c : cases) {
    p.SetPrecision(c.precision);
    std::string expected = c.text;
    for (char& ch : expected) {
      if (ch == '#') ch = GetParam();
    }
    EXPECT_EQ(p.LongDoubleToStr(c.value), expected) << c.precision;
  }
}

TEST(LongDoubleToStr, UsesTheOverwrittenSeparator) {
  SetRegionalDecimalSeparator(',');
  TQelParser p;
  p.SetOverwriteDecimalSymbol(".");
  EXPECT_EQ(p.LongDoubleToStr(2.5L), "2.5");
  EXPECT_EQ(p.EntferneNullenUndPunkte(".500"), "0.5");
  EXPECT_EQ(p.EntferneNullenUndPunkte("100"), "100");
}

struct ReadCase {
  char separator;
  bool convertAll;
  const char* text;
  long double value;
};

TEST(StrToLongDouble, ReadsLenientlyWithNameSubstitution) {
  const ReadCase cases[] = {
      {',', true, "2,5", 2.5L},
      {'.', false, "2,5", 2},
      {'.', true, "2,5", 2.5L},
      {',', false, "2.5", 2.5L},
      {',', true, "PI", 3.1415927L},
      {',', true, "e", 2.7182818L},
      {',', true, "", 0},
      {',', true, "1e3", 1000},
      {',', true, "12abc", 12},
      {',', true, "abc", 0},
      {',', true, "inf", 0},
      {',', true, "0x1p3", 0},
      {',', true, "  -7", -7},
      {',', true, "1e", 1},
      {',', true, "1e-5000", 0},
      {',', true, ".5", 0.5L},
      {',', true, "5.", 5},
      {',', true, "-", 0},
      {',', true, "x", 0},
      {',', true, "1e+2x", 100},
      {',', true, "0.1000000000000000000000000001", 0.1L},
      {',', true, "123456789012345678901234567890", 123456789012345678901234567890.0L},
      {',', true, "1e-30", 1e-30L},
  };
  for (const auto& c : cases) {
    SetRegionalDecimalSeparator(c.separator);
    TQelParser p;
    p.SetConvertAllColonsAndDots(c.convertAll);
    EXPECT_EQ(p.StrToLongDouble(c.text), c.value) << c.text;
  }
}

TEST(StrToLongDouble, TheVariablesAreReadFromTheirTexts) {
  SetRegionalDecimalSeparator(',');
  TQelParser p;
  p.SetX("a");
  p.SetA("2,5");
  p.SetB("pi");
  EXPECT_EQ(p.StrToLongDouble("X"), 2.5L);
  EXPECT_EQ(p.StrToLongDouble("b"), 3.1415927L);
  EXPECT_TRUE(std::signbit(p.StrToLongDouble("-0")));
}

TEST(StrToLongDouble, OverflowNamesTheConversionText) {
  SetRegionalDecimalSeparator(',');
  TQelParser p;
  p.SetConvertAllColonsAndDots(true);
  p.SetX("1,5e99999");
  try {
    p.StrToLongDouble("x");
    FAIL();
  } catch (const EngineError& e) {
    EXPECT_STREQ(e.what(), "1.5e99999 kann nicht in eine Zahl umgewandelt werden! (STD)");
  }
  EXPECT_EQ(std::fetestexcept(FE_OVERFLOW), 0);
}

}  // namespace
