#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Conversions.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProjectLines.h"

namespace fs = std::filesystem;

namespace {

using qeltest::AppendBlock;
using qeltest::DefaultSettingsLines;
using qeltest::Join;
using qeltest::ReadBytes;
using qeltest::TempDir;
using qeltest::WriteBytes;

ProjectDocument Read(const std::string& bytes) {
  ProjectDocument doc;
  ReadProjectText(bytes, doc);
  return doc;
}

}  // namespace

TEST(ProjectFileWriter, NewProjectWithOneFreshEntryIsTheDocumentedFortyOneLines) {
  ProjectDocument doc;
  AddFunctionEntry(doc);
  std::vector<std::string> lines = DefaultSettingsLines("1");
  AppendBlock(lines, {"1", "", "0.1", "0"});
  ASSERT_EQ(lines.size(), 41u);
  EXPECT_EQ(ProjectFileText(doc), Join(lines));
}

TEST(ProjectFileWriter, ProjectWithoutFunctionsHasTwentySevenLinesAndReadsBackEmpty) {
  ProjectDocument doc;
  const std::string text = ProjectFileText(doc);
  EXPECT_EQ(text, Join(DefaultSettingsLines("0")));
  EXPECT_TRUE(Read(text).Functions.empty());
}

TEST(ProjectFileWriter, RoundTripKeepsEveryTextVerbatim) {
  ProjectDocument doc;
  doc.Settings = {-1,    0,  false, false, 255,     "0,5", false, "-3.5",
                  "abc", "", "1e3", "800", " 600 ", "0.0", true};
  doc.Functions = {{"1", "sin(x)*2^x", "0,01", "255"},
                   {"2", "", "", ""},
                   {"3", "\xE4\xF6\xFC\xDF \xB2", "0.1", "12abc"}};
  const ProjectDocument back = Read(ProjectFileText(doc));
  EXPECT_EQ(back.Settings, doc.Settings);
  EXPECT_EQ(back.Functions, doc.Functions);
  EXPECT_FALSE(back.Modified);
  EXPECT_EQ(ProjectFileText(back), ProjectFileText(doc));
}

TEST(ProjectFileReader, SettingsLinesAreReadByTheirOwnRules) {
  struct Case {
    std::size_t line;
    std::string text;
    void (*check)(const ProjectSettings&);
  };
  const std::vector<Case> cases = {
      {3, "255abc", [](const ProjectSettings& s) { EXPECT_EQ(s.BackgroundColor, 255); }},
      {3, "letters", [](const ProjectSettings& s) { EXPECT_EQ(s.BackgroundColor, 0); }},
      {4, "-1", [](const ProjectSettings& s) { EXPECT_EQ(s.AxisColor, -1); }},
      {7, "  +42 ", [](const ProjectSettings& s) { EXPECT_EQ(s.GridColor, 42); }},
      {5, "1 ", [](const ProjectSettings& s) { EXPECT_FALSE(s.ShowAxes); }},
      {5, "true", [](const ProjectSettings& s) { EXPECT_FALSE(s.ShowAxes); }},
      {6, "0", [](const ProjectSettings& s) { EXPECT_FALSE(s.ShowGrid); }},
      {9, "01", [](const ProjectSettings& s) { EXPECT_FALSE(s.Pointwise); }},
      {8, " 2,5 ", [](const ProjectSettings& s) { EXPECT_EQ(s.GridStep, " 2,5 "); }},
      {16, "0.0", [](const ProjectSettings& s) { EXPECT_TRUE(s.UseDeviation); }},
      {16, "", [](const ProjectSettings& s) { EXPECT_TRUE(s.UseDeviation); }},
      {16, "0", [](const ProjectSettings& s) { EXPECT_FALSE(s.UseDeviation); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("line " + std::to_string(c.line) + " '" + c.text + "'");
    std::vector<std::string> lines = DefaultSettingsLines("0");
    lines[c.line - 1] = c.text;
    c.check(Read(Join(lines)).Settings);
  }
}

TEST(ProjectFileReader, ColourLineIsNormalisedOnTheNextSaveButEntryColourIsNot) {
  std::vector<std::string> lines = DefaultSettingsLines("1");
  lines[2] = "255abc";
  AppendBlock(lines, {"1", "x", "0.1", "255abc"});
  const std::string again = ProjectFileText(Read(Join(lines)));
  lines[2] = "255";
  EXPECT_EQ(again, Join(lines));
}

TEST(ProjectFileReader, AnyLineEndingReadsTheSameDocument) {
  std::vector<std::string> lines = DefaultSettingsLines("2");
  lines[0] = "not a header at all";
  AppendBlock(lines, {"7", "x^2", "0.5", "255"});
  AppendBlock(lines, {"junk", "1/x", "", "0"});
  const ProjectDocument expected = Read(Join(lines));
  for (const std::string ending : {"\n", "\r", "\r\n"}) {
    SCOPED_TRACE(ending == "\n" ? "LF" : ending == "\r" ? "CR" : "CRLF");
    const ProjectDocument doc = Read(Join(lines, ending));
    EXPECT_EQ(doc.Functions, expected.Functions);
    EXPECT_EQ(doc.Settings, expected.Settings);
  }
  std::string noFinalEnding = Join(lines, "\n");
  noFinalEnding.pop_back();
  EXPECT_EQ(Read(noFinalEnding).Functions, expected.Functions);
  const std::vector<FunctionEntry> renumbered = {{"1", "x^2", "0.5", "255"}, {"2", "1/x", "", "0"}};
  EXPECT_EQ(expected.Functions, renumbered);
}

TEST(ProjectFileReader, CountLineDecidesTheNumberOfEntries) {
  struct Case {
    std::string count;
    std::size_t blocks;
    std::size_t entries;
  };
  const std::vector<Case> cases = {
      {"-3", 2, 0},         {"0", 2, 0},          {" 2 ", 2, 2},
      {"1", 3, 1},          {"5", 2, 5},          {"2147483647", 2, MaxEntriesWithoutBlocks},
      {"1200", 1100, 1100}, {"1050", 1200, 1050},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("count " + c.count + ", blocks " + std::to_string(c.blocks));
    std::vector<std::string> lines = DefaultSettingsLines(c.count);
    for (std::size_t k = 1; k <= c.blocks; ++k)
      AppendBlock(lines, {"1", "f" + std::to_string(k), "s", "c"});
    const ProjectDocument doc = Read(Join(lines));
    ASSERT_EQ(doc.Functions.size(), c.entries);
    for (std::size_t k = 1; k <= c.entries; ++k) {
      const FunctionEntry& e = doc.Functions[k - 1];
      const bool present = k <= c.blocks;
      EXPECT_EQ(e.Number, std::to_string(k));
      EXPECT_EQ(e.Expression, present ? "f" + std::to_string(k) : "");
      EXPECT_EQ(e.StepWidth, present ? "s" : "");
      EXPECT_EQ(e.Color, present ? "c" : "");
    }
  }
}

TEST(ProjectFileReader, BlockCutShortReadsItsMissingLinesAsEmpty) {
  std::vector<std::string> lines = DefaultSettingsLines("1");
  lines.insert(lines.end(), {"1", "x+1"});
  const std::vector<FunctionEntry> expected = {{"1", "x+1", "", ""}};
  EXPECT_EQ(Read(Join(lines)).Functions, expected);
}

TEST(ProjectFileReader, CountThatIsNotAnIntegerStopsWithSettingsReadSoFar) {
  struct Case {
    std::string name;
    std::vector<std::string> lines;
    std::string message;
  };
  std::vector<std::string> letters = DefaultSettingsLines("zwei");
  AppendBlock(letters, {"1", "x", "0.1", "0"});
  std::vector<std::string> cutShort = DefaultSettingsLines("1");
  cutShort.resize(14);
  cutShort[9] = "-4";
  std::vector<std::string> tooLarge = DefaultSettingsLines("2147483648");
  const std::vector<Case> cases = {
      {"letters", letters, "'zwei' is not a valid integer value"},
      {"cut before the count", cutShort, "'' is not a valid integer value"},
      {"beyond 32 bits", tooLarge, "'2147483648' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectDocument doc;
    doc.Functions = {{"1", "old", "1", "0"}};
    try {
      ReadProjectText(Join(c.lines), doc);
      ADD_FAILURE() << "no error";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_TRUE(doc.Functions.empty());
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(doc.Settings.XFrom, c.lines[9]);
  }
  ProjectDocument shortDoc;
  EXPECT_THROW(ReadProjectText(Join(cutShort), shortDoc), ConvertError);
  EXPECT_EQ(shortDoc.Settings.OutputHeight, "");
  EXPECT_EQ(shortDoc.Settings.Deviation, "");
  EXPECT_TRUE(shortDoc.Settings.UseDeviation);
}

TEST(ProjectFileReader, EmptyFileReadsAsEmptyLines) {
  ProjectDocument doc;
  EXPECT_THROW(ReadProjectText("", doc), ConvertError);
  EXPECT_EQ(doc.Settings.BackgroundColor, 0);
  EXPECT_FALSE(doc.Settings.ShowAxes);
  EXPECT_EQ(doc.Settings.XFrom, "");
}

TEST_F(TempDir, ReadProjectFileReadsFromDiskAndReportsWhatCannotBeOpened) {
  std::vector<std::string> lines = DefaultSettingsLines("1");
  AppendBlock(lines, {"1", "x", "0.1", "0"});
  WriteBytes(dir_ / "p.qgp", Join(lines));
  ProjectDocument doc;
  ReadProjectFile((dir_ / "p.qgp").string(), doc);
  ASSERT_EQ(doc.Functions.size(), 1u);
  EXPECT_FALSE(doc.Modified);

  for (const fs::path& bad : {dir_ / "missing.qgp", dir_}) {
    ProjectDocument untouched;
    untouched.Modified = true;
    untouched.Functions = {{"1", "keep", "1", "0"}};
    try {
      ReadProjectFile(bad.string(), untouched);
      ADD_FAILURE() << bad;
    } catch (const FileOpenError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + bad.string());
    }
    EXPECT_TRUE(untouched.Modified);
    EXPECT_EQ(untouched.Functions.size(), 1u);
  }
}

TEST_F(TempDir, SaveDataReplacesTheFileAndClearsModified) {
  const fs::path path = dir_ / "p.qgp";
  WriteBytes(path, std::string(5000, 'o'));
  ProjectDocument doc;
  doc.DateiName = path.string();
  doc.Modified = true;
  AddFunctionEntry(doc);
  SaveData(doc);
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(ReadBytes(path), ProjectFileText(doc));
}

TEST_F(TempDir, FailedSaveReportsThePathAndKeepsModified) {
  for (const fs::path& target : {dir_ / "gone" / "p.qgp", dir_}) {
    ProjectDocument doc;
    doc.DateiName = target.string();
    doc.Modified = true;
    try {
      SaveData(doc);
      ADD_FAILURE() << target;
    } catch (const FileCreateError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + target.string());
    }
    EXPECT_TRUE(doc.Modified);
  }
  EXPECT_TRUE(fs::is_empty(dir_));
}

// A full disk, simulated by a file-size limit in a child process: the old file survives unchanged.
TEST_F(TempDir, SaveThatRunsOutOfSpaceLeavesTheOldFileIntact) {
  const fs::path path = dir_ / "p.qgp";
  const std::string old = "the user's only copy\r\n";
  WriteBytes(path, old);
  EXPECT_TRUE(qeltest::SucceedsInChild([&] {
    qeltest::LimitFileSize(64);
    ProjectDocument doc;
    doc.DateiName = path.string();
    doc.Modified = true;
    AddFunctionEntry(doc);
    try {
      SaveData(doc);
    } catch (const FileCreateError&) {
      return doc.Modified;
    }
    return false;
  }));
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST(ProjectEntries, AddAndDeleteKeepTheRowsNumberedInListOrder) {
  ProjectDocument doc;
  doc.Functions = {{"1", "a", "1", "1"}, {"2", "b", "2", "2"}};
  AddFunctionEntry(doc);
  EXPECT_TRUE(doc.Modified);
  const FunctionEntry added{"3", "", "0.1", "0"};
  EXPECT_EQ(doc.Functions.back(), added);

  struct Case {
    std::size_t index;
    std::vector<std::string> expressions;
  };
  for (const Case& c : std::vector<Case>{{1, {"a", ""}}, {2, {"a", "b"}}, {0, {"b", ""}}}) {
    SCOPED_TRACE(c.index);
    ProjectDocument copy = doc;
    copy.Modified = false;
    DeleteFunctionEntry(copy, c.index);
    EXPECT_TRUE(copy.Modified);
    ASSERT_EQ(copy.Functions.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(copy.Functions[i].Number, std::to_string(i + 1));
      EXPECT_EQ(copy.Functions[i].Expression, c.expressions[i]);
    }
  }
  ProjectDocument copy = doc;
  copy.Modified = false;
  DeleteFunctionEntry(copy, 3);
  EXPECT_FALSE(copy.Modified);
  EXPECT_EQ(copy.Functions.size(), 3u);
}

// Each added switch owns one reserved line: on, it reads "Name=1" there and round-trips; off, the
// placeholder stays. Foreign text in a reserved line leaves the default.
TEST(ProjectFileReserved, EachSwitchOwnsOneLineAndRoundTrips) {
  struct Case {
    bool ProjectSettings::*setting;
    bool FunctionEntry::*function;
    std::size_t line;  // 1-based line of the file with one function
    const char* text;
  };
  const Case cases[] = {
      {&ProjectSettings::AxisNumbers, nullptr, 17, "Achsenzahlen=1"},
      {&ProjectSettings::Legend, nullptr, 18, "Legende=1"},
      {&ProjectSettings::SmoothCurves, nullptr, 19, "Glatt=1"},
      {&ProjectSettings::ExactCurves, nullptr, 20, "Exakt=1"},
      {nullptr, &FunctionEntry::DrawFirstDerivative, 32, "Ableitung1=1"},
      {nullptr, &FunctionEntry::DrawSecondDerivative, 33, "Ableitung2=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ProjectDocument doc;
    AddFunctionEntry(doc);
    const std::string plain = ProjectFileText(doc);
    if (c.setting) doc.Settings.*c.setting = true;
    if (c.function) doc.Functions[0].*c.function = true;
    std::vector<std::string> lines = DefaultSettingsLines("1");
    AppendBlock(lines, {"1", "", "0.1", "0"});
    lines[c.line - 1] = c.text;
    EXPECT_EQ(ProjectFileText(doc), Join(lines));
    const ProjectDocument back = Read(Join(lines));
    EXPECT_EQ(back.Settings, doc.Settings);
    EXPECT_EQ(back.Functions, doc.Functions);
    lines[c.line - 1] = std::string(c.text) + " ";
    EXPECT_EQ(ProjectFileText(Read(Join(lines))), plain);
  }
}
