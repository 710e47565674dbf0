#include "engine/ExpressionCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "platform/RegionalSettings.h"

namespace {

TQelParser Settings(char separator, bool convertAll) {
  SetRegionalDecimalSeparator(separator);
  TQelParser engine(std::make_shared<QelTreeRoot>(), PowerRule::CheckNegativeBase);
  engine.SetConvertAllColonsAndDots(convertAll);
  return engine;
}

bool Builds(const std::string& text, const TQelParser& settings) {
  TQelParser engine = settings.Sibling();
  engine.SetExpression(text);
  return engine.CreateTree();
}

TEST(ExpressionCheck, ExplainsTheRefusedExpressionsWhereAndWhy) {
  struct Case {
    const char* Text;
    char Separator;
    const char* Message;
  };
  const Case cases[] = {
      {"x^3-3x", '.', "Zeichen 6: zwischen 3 und x fehlt ein Operator, z. B. 3*x"},
      {"3 x", ',', "Zeichen 3: zwischen 3 und x fehlt ein Operator, z. B. 3*x"},
      {"2sin(x)", '.', "Zeichen 2: zwischen 2 und sin(x) fehlt ein Operator, z. B. 2*sin(x)"},
      {"(x-1)(x+1)", '.',
       "Zeichen 6: zwischen (x-1) und (x+1) fehlt ein Operator, z. B. (x-1)*(x+1)"},
      {"pix", '.', "Zeichen 3: zwischen pi und x fehlt ein Operator, z. B. pi*x"},
      {"sqrt(x)", '.', "Zeichen 1: sqrt ist unbekannt; x^0.5 berechnet die Wurzel"},
      {"2*Sim(x)", '.', "Zeichen 3: Sim ist unbekannt; gemeint ist wohl sin"},
      {"x^-1", '.', "Zeichen 3: x^-1: schreiben Sie x^(-1)"},
      {"2*-x", ',', "Zeichen 3: 2*-x: schreiben Sie 2*(-x)"},
      {"sin-x", '.', "Zeichen 4: sin-x: schreiben Sie sin(-x)"},
      {"+x", '.', "Zeichen 1: +x: schreiben Sie x"},
      {".5", '.', "Zeichen 1: schreiben Sie 0.5 statt .5"},
      {"x+0,50", '.', "Zeichen 3: schreiben Sie 0,5 statt 0,50"},
      {"0.50", ',', "Zeichen 1: schreiben Sie 0.5 statt 0.50"},
      {"1e-3", '.', "Zeichen 1: schreiben Sie 1/1000 statt 1e-3"},
      {"2.5E-9*x", '.', "Zeichen 1: schreiben Sie 2.5/10^9 statt 2.5E-9"},
      {"1e3", '.', "Zeichen 1: schreiben Sie 1000 statt 1e3"},
      {"1.2.3", '.', "Zeichen 1: 1.2.3 ist keine Zahl"},
      {"((x))", '.', "Zeichen 1: doppelte Klammern; ein Klammerpaar gen\xFCgt"},
      {"sin((x+1))", '.', "Zeichen 4: doppelte Klammern; ein Klammerpaar gen\xFCgt"},
      {"2*(x+1", '.', "Zeichen 3: diese Klammer wird nicht geschlossen"},
      {"x+1)", '.',
       "Zeichen 4: zu dieser Klammer fehlt die \xF6"
       "ffnende"},
      {"sin()", '.', "Zeichen 4: leere Klammern ()"},
      {"x^", '.', "Zeichen 2: nach ^ fehlt ein Wert"},
      {"*x", '.', "Zeichen 1: vor * fehlt ein Wert"},
      {"x*/2", '.', "Zeichen 3: zwischen * und / fehlt ein Wert"},
      {"x!", '.', "Zeichen 2: das Zeichen ! ist nicht erlaubt"},
      {"", '.', "Zeichen 1: die Funktion ist leer"},
      {"x^3-3*x", '.', ""},
      {"-x^(-1)+2,5*sin x", ',', ""},
      {"(x)", '.', ""},
  };
  for (const Case& c : cases) {
    const TQelParser settings = Settings(c.Separator, true);
    const ExpressionVerdict verdict = CheckExpression(c.Text, settings);
    EXPECT_EQ(VerdictText(verdict), c.Message) << c.Text;
    EXPECT_EQ(verdict.Builds, Builds(c.Text, settings)) << c.Text;
  }
}

TEST(ExpressionCheck, LeavesTheSharedTreeAlone) {
  TQelParser shared;
  shared.SetExpression("x+1");
  ASSERT_TRUE(shared.CreateTree());
  EXPECT_FALSE(CheckExpression("3x", shared).Builds);
  EXPECT_EQ(shared.Root().Text, "+");
}

TEST(ExpressionCheck, ReportsTheEngineBounds) {
  const TQelParser settings = Settings('.', true);
  EXPECT_EQ(CheckExpression(std::string(257, '(') + "x", settings).Position, 257u);
  EXPECT_EQ(CheckExpression("x" + std::string(10000, ' '), settings).Position, 10001u);
}

// The string literals of a C++ source, escapes kept as written.
std::vector<std::string> StringLiterals(const std::string& source) {
  std::vector<std::string> literals;
  for (size_t at = source.find('"'); at != std::string::npos; at = source.find('"', at + 1)) {
    size_t end = at + 1;
    while (end < source.size() && source[end] != '"' && source[end] != '\n')
      end += source[end] == '\\' ? 2 : 1;
    if (end >= source.size() || source[end] != '"') continue;
    literals.push_back(source.substr(at + 1, end - at - 1));
    at = end;
  }
  return literals;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every line of the fuzz corpora and example projects, the fuzz inputs after their option bytes,
// and every string in the test sources.
std::vector<std::string> Corpus() {
  namespace fs = std::filesystem;
  const fs::path root = QEL_SOURCE_DIR;
  std::vector<std::string> texts;
  for (const char* folder : {"fuzz/corpus", "resources/examples", "bench", "tests"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      if (!entry.is_regular_file()) continue;
      const std::string all = ReadAll(entry.path());
      if (entry.path().extension() == ".cpp") {
        for (std::string& literal : StringLiterals(all)) texts.push_back(std::move(literal));
        continue;
      }
      if (all.size() > 2) texts.push_back(all.substr(2));
      std::istringstream lines(all);
      for (std::string line; std::getline(lines, line);) texts.push_back(line);
    }
  }
  return texts;
}

// Texts made of pieces that the engine reads or refuses in many ways.
std::vector<std::string> Generated(size_t count) {
  const char* const pieces[] = {
      "x", "2", "0.5", ".5",   "sin", "(", ")",   "-", "+",  "*", "^", "/", "e", "pi",   "mod", " ",
      "a", ",", "3",   "1e-3", "ln",  "(", "abs", "0", "10", ")", "q", "#", "E", "1E15", "c"};
  std::mt19937 random(27);
  std::vector<std::string> texts;
  for (size_t i = 0; i < count; ++i) {
    std::string text;
    for (size_t n = random() % 9; n > 0; --n) text += pieces[random() % std::size(pieces)];
    texts.push_back(text);
  }
  return texts;
}

// The verdict is CreateTree's for every input; a refused text always has a reason of its own
// analysis, not the general one, and a position inside the text or just after it.
TEST(ExpressionCheck, AgreesWithCreateTreeOverTheCorpora) {
  std::vector<std::string> texts = Corpus();
  ASSERT_GT(texts.size(), 1000u);
  const std::vector<std::string> generated = Generated(20000);
  texts.insert(texts.end(), generated.begin(), generated.end());
  size_t refused = 0, unexplained = 0, doubted = 0;
  for (const char separator : {'.', ','}) {
    for (const bool convertAll : {true, false}) {
      const TQelParser settings = Settings(separator, convertAll);
      for (const std::string& text : texts) {
        const ExpressionVerdict verdict = CheckExpression(text, settings);
        const bool builds = Builds(text, settings);
        ASSERT_EQ(verdict.Builds, builds) << text;
        const bool explained = !ExplainExpression(text, settings).Builds;
        refused += !builds;
        doubted += builds && explained;
        if (builds) continue;
        EXPECT_TRUE(explained) << "unexplained: " << text;
        unexplained += !explained;
        EXPECT_TRUE(verdict.Position >= 1 && verdict.Position <= text.size() + 1) << text;
      }
    }
  }
  std::cout << refused << " refused, " << unexplained << " without a reason, " << doubted
            << " built although the analysis doubts them\n";
}

}  // namespace
