#include "valuetable/ValueTable.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/QelParser.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/RegionalSettings.h"

namespace fs = std::filesystem;

void PrintTo(const ValueTableRow& row, std::ostream* os) {
  *os << "{" << row.X << ", " << row.Fx << "}";
}

namespace {

const std::string kTooMany =
    "Es können nicht mehr als 2000 Werte angezeigt werden.\n\nErhöhen Sie die Schrittweite der "
    "Funktion oder verringern Sie die den X-Bereich.";

struct Built {
  ValueTableResult result;
  int polls = 0;
};

Built Build(const ValueTableInput& input, int precision = 8, char separator = '.') {
  SetRegionalDecimalSeparator(separator);
  TQelParser engine;
  engine.SetPrecision(precision);
  Built built;
  built.result = BuildValueTableRows(engine, input, [&built] { ++built.polls; });
  return built;
}

std::size_t CountLines(const std::string& text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++n;
  return n;
}

}  // namespace

TEST(ValueTableBuilder, RowsFollowTheRangeAndStep) {
  struct Case {
    std::string name;
    ValueTableInput input;
    ValueTable rows;
    char separator = '.';
    int precision = 8;
  };
  const std::vector<Case> cases = {
      {"five exact rows",
       {"-1", "1", "0.5", "x*2"},
       {{"-1", "-2"}, {"-0.5", "-1"}, {"0", "0"}, {"0.5", "1"}, {"1", "2"}}},
      {"division by zero is one Error row",
       {"-1", "1", "0.5", "1/x"},
       {{"-1", "-1"}, {"-0.5", "-2"}, {"0", "Error"}, {"0.5", "2"}, {"1", "1"}}},
      {"logarithm outside its domain",
       {"-1", "1", "1", "ln(x)"},
       {{"-1", "Error"}, {"0", "Error"}, {"1", "0"}}},
      {"comma separator",
       {"-0,5", "0,5", "0,5", "x"},
       {{"-0,5", "-0,5"}, {"0", "0"}, {"0,5", "0,5"}},
       ','},
      {"equal bounds give one row", {"3", "3", "0.1", "x^2"}, {{"3", "9"}}},
      {"step zero gives no rows", {"-1", "1", "0", "x"}, {}},
      {"step without a number gives no rows", {"-1", "1", "abc", "x"}, {}},
      {"reversed range gives no rows", {"1", "-1", "0.5", "x"}, {}},
      {"step out of range falls back to 1",
       {"-1", "1", "1e99999", "x"},
       {{"-1", "-1"}, {"0", "0"}, {"1", "1"}}},
      {"bounds out of range fall back to -10 and 10",
       {"-1e99999", "1e99999", "10", "x"},
       {{"-10", "-10"}, {"0", "0"}, {"10", "10"}}},
      {"rounded to the chosen decimals",
       {"0", "1", "1", "1/3+x"},
       {{"0", "0.33"}, {"1", "1.33"}},
       '.',
       2},
      {"f is evaluated at the rounded x",
       {"-10", "-9.75", "0.1", "x*2"},
       {{"-10", "-20"}, {"-10", "-20"}, {"-10", "-20"}},
       '.',
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Built built = Build(c.input, c.precision, c.separator);
    EXPECT_EQ(built.result.Rows, c.rows);
    EXPECT_EQ(built.result.Message, "");
    EXPECT_EQ(built.polls, 1 + static_cast<int>(c.rows.size()));
  }
  SetRegionalDecimalSeparator('.');
}

TEST(ValueTableBuilder, ExpressionThatDoesNotBuildGivesAnEmptyTableAndItsMessage) {
  const Built built = Build({"-1", "1", "0.5", "sin(x"});
  EXPECT_TRUE(built.result.Rows.empty());
  EXPECT_EQ(Utf8FromWindows1252(built.result.Message),
            "Fehler in Funktionsdefinition:\n\nsin(x\n\nDie Werte dieser Funktion können nicht "
            "erzeugt werden.");
  EXPECT_EQ(built.polls, 1);
}

TEST(ValueTableBuilder, ALongBrokenExpressionIsQuotedShortened) {
  const Built built = Build({"-1", "1", "0.5", "sin(x" + std::string(10000, '+')});
  EXPECT_EQ(Utf8FromWindows1252(built.result.Message),
            "Fehler in Funktionsdefinition:\n\nsin(x" + std::string(155, '+') +
                "…\n\nDie Werte dieser Funktion können nicht erzeugt werden.");
}

TEST(ValueTableBuilder, StopsAfterTwoThousandRowsWithItsMessage) {
  struct Case {
    std::string name;
    ValueTableInput input;
    std::string first;
    long double last;
  };
  const std::vector<Case> cases = {
      {"fine step", {"-10", "10", "0.001", "x"}, "-10", -8.001L},
      {"negative step never reaches the end", {"0", "1", "-1", "x"}, "0", -1999.0L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Built built = Build(c.input);
    ASSERT_EQ(built.result.Rows.size(), MaxValueTableRows);
    EXPECT_EQ(Utf8FromWindows1252(built.result.Message), kTooMany);
    EXPECT_EQ(built.result.Rows.front().X, c.first);
    EXPECT_NEAR(std::stold(built.result.Rows.back().X), c.last, 1e-6L);
    EXPECT_EQ(built.result.Rows.back().X, built.result.Rows.back().Fx);
    EXPECT_EQ(built.polls, 1 + static_cast<int>(MaxValueTableRows) + 1);
  }
}

TEST(ValueTableExport, LayoutsAreByteForByte) {
  const ValueTable two = {{"1", "2"}, {"1.5", "Error"}};
  struct Case {
    std::string name;
    ValueTable rows;
    ValueTableLayout layout;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"tab", two, ValueTableLayout::Tab, "x\tf(x)\r\n1\t2\r\n1.5\tError\r\n"},
      {"block", two, ValueTableLayout::Block,
       "x-Werte:\r\n1\r\n1.5\r\n\r\nf(x)-Werte:\r\n2\r\nError\r\n"},
      {"empty tab", {}, ValueTableLayout::Tab, "x\tf(x)\r\n"},
      {"empty block", {}, ValueTableLayout::Block, "x-Werte:\r\n\r\nf(x)-Werte:\r\n"},
      {"texts unchanged", {{"-0,5", "\xB2"}}, ValueTableLayout::Tab, "x\tf(x)\r\n-0,5\t\xB2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ValueTableExportText(c.rows, c.layout), c.text);
  }
  const ValueTable full(MaxValueTableRows, {"1", "2"});
  EXPECT_EQ(CountLines(ValueTableExportText(full, ValueTableLayout::Tab)), 2001u);
  EXPECT_EQ(CountLines(ValueTableExportText(full, ValueTableLayout::Block)), 4003u);
}

TEST(ValueTableExport, WritingReplacesTheFileOrReportsThePath) {
  const fs::path dir = fs::temp_directory_path() / ("qel-table-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path path = dir / "t.txt";
  std::ofstream(path, std::ios::binary) << std::string(10000, 'o');
  WriteValueTableExport(path.string(), {{"1", "2"}}, ValueTableLayout::Block);
  std::stringstream written;
  written << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str(), "x-Werte:\r\n1\r\n\r\nf(x)-Werte:\r\n2\r\n");

  const std::string missing = (dir / "gone" / "t.txt").string();
  try {
    WriteValueTableExport(missing, {}, ValueTableLayout::Tab);
    ADD_FAILURE() << "no error";
  } catch (const FileCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing);
  }
  fs::remove_all(dir);
}
