// Project files that no editor would write: every one opens without a crash, with bounded memory,
// and whatever was read survives a save and a re-read unchanged.
#include <sys/stat.h>

#include <random>

#include "platform/Conversions.h"
#include "project/ProjectFile.h"
#include "tests/hardening/HardeningSupport.h"

namespace hardening {
namespace {

struct Reading {
  ProjectDocument Document;
  std::string Error;  // empty when the count line was read
};

Reading Read(const std::string& bytes) {
  Reading r;
  try {
    ReadProjectText(bytes, r.Document);
  } catch (const ConvertError& e) {
    r.Error = e.what();
  }
  return r;
}

void ExpectSurvivesSaveAndReread(const ProjectDocument& document) {
  const Reading again = Read(ProjectFileText(document));
  EXPECT_EQ(again.Error, "");
  EXPECT_EQ(again.Document.Settings, document.Settings);
  EXPECT_EQ(again.Document.Functions, document.Functions);
}

std::string Garbage(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string WithLine(std::string text, size_t number, const std::string& replacement) {
  size_t start = 0;
  for (size_t n = 1; n < number; ++n) start = text.find("\r\n", start) + 2;
  const size_t end = text.find("\r\n", start);
  return text.replace(start, end - start, replacement);
}

TEST(HostileProjectFile, OpensWithoutCrashAndSurvivesSaveAndReread) {
  const std::string tenMegabytes(10 << 20, '7');
  const std::string valid = ProjectText({"sin(x)"}, "1");
  struct Case {
    const char* name;
    std::string bytes;
    size_t entries;
    bool countRead;
  };
  const std::vector<Case> cases = {
      {"zero bytes", "", 0, false},
      {"binary garbage", Garbage(4096, 1), 0, false},
      {"garbage with line ends", Garbage(1 << 16, 2), 0, false},
      {"10 MB colour line", WithLine(valid, 3, tenMegabytes), 1, true},
      {"10 MB expression", WithLine(valid, 29, "x+" + tenMegabytes), 1, true},
      {"10 MB count line", WithLine(valid, 27, tenMegabytes), 0, false},
      {"10 MB without line ends", std::string(10 << 20, 'x'), 0, false},
      {"count 2147483647", ProjectText({"x"}, "2147483647"), MaxEntriesWithoutBlocks, true},
      {"count -2147483648", ProjectText({"x"}, "-2147483648"), 0, true},
      {"NUL bytes in texts",
       WithLine(ProjectText({std::string("x\0+1", 4)}, "1"), 10, std::string("\0-10", 4)), 1, true},
      {"NUL after the count", WithLine(valid, 27, std::string("1\0", 2)), 0, false},
      // LF CR ends two lines: the 14th line (the width, 640) lands on the count line.
      {"LF CR line ends", ProjectText({"x"}, "1", "\n\r"), 640, true},
      {"Windows-1252 expression", ProjectText({"\xE4x\xB2+\xFF(\x80)\xA0"}, "1"), 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Reading r = Read(c.bytes);
    EXPECT_EQ(r.Error.empty(), c.countRead) << r.Error.substr(0, 80);
    EXPECT_EQ(r.Document.Functions.size(), c.entries);
    ExpectSurvivesSaveAndReread(r.Document);
  }
}

TEST(HostileProjectFile, TextsWithNulAndHighBytesAreKeptVerbatim) {
  const std::string expression("\xE4\0x\xFF", 4);
  const Reading r = Read(WithLine(ProjectText({expression}, "1"), 8, std::string("\0", 1)));
  ASSERT_EQ(r.Document.Functions.size(), 1u);
  EXPECT_EQ(r.Document.Functions[0].Expression, expression);
  EXPECT_EQ(r.Document.Settings.GridStep, std::string("\0", 1));
}

TEST(HostileProjectFile, MixedLineEndsReadAsTheProgramWroteThem) {
  const std::string canonical = ProjectText({"x^2", "1/x"}, "2");
  std::string mixed;
  const char* const endings[] = {"\r\n", "\r", "\n"};
  size_t line = 0;
  for (size_t at = 0; at < canonical.size();) {
    const size_t end = canonical.find("\r\n", at);
    mixed += canonical.substr(at, end - at) + endings[line++ % 3];
    at = end + 2;
  }
  const Reading expected = Read(canonical);
  const Reading r = Read(mixed);
  EXPECT_EQ(r.Document.Settings, expected.Document.Settings);
  EXPECT_EQ(r.Document.Functions, expected.Document.Functions);
}

TEST_F(TempDir, HostileFilesOpenFromDiskAsFromMemory) {
  const std::vector<std::string> files = {
      "", Garbage(1 << 20, 3), WithLine(ProjectText({"x"}, "1"), 29, std::string(10 << 20, '(')),
      ProjectText({"x"}, "2147483647")};
  for (const std::string& bytes : files) {
    const fs::path path = dir_ / "p.qgp";
    WriteBytes(path, bytes);
    ProjectDocument fromDisk;
    std::string error;
    try {
      ReadProjectFile(path.string(), fromDisk);
    } catch (const ConvertError& e) {
      error = e.what();
    }
    const Reading fromMemory = Read(bytes);
    EXPECT_EQ(error, fromMemory.Error);
    EXPECT_EQ(fromDisk.Settings, fromMemory.Document.Settings);
    EXPECT_EQ(fromDisk.Functions, fromMemory.Document.Functions);
  }
}

// Files far beyond any project are refused unread, at the documented size; up to it they are read.
TEST_F(TempDir, OversizedFilesAreRefusedWithTheirReason) {
  const fs::path path = dir_ / "huge.qgp";
  const std::pair<std::uintmax_t, bool> cases[] = {
      {MaxProjectFileSize, false}, {MaxProjectFileSize + 1, true}, {std::uintmax_t{1} << 40, true}};
  for (const auto& [size, refused] : cases) {
    SCOPED_TRACE(size);
    WriteBytes(path, ProjectText({"x"}, "eins"));
    fs::resize_file(path, size);
    ProjectDocument document;
    try {
      ReadProjectFile(path.string(), document);
      ADD_FAILURE() << "the count line was read";
    } catch (const FileOpenError& e) {
      EXPECT_TRUE(refused);
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + path.string());
      EXPECT_EQ(e.Reason(),
                "Die Datei ist gr\xF6\xDF"
                "er als 256 MB und kann kein Projekt sein.");
    } catch (const ConvertError&) {
      EXPECT_FALSE(refused);
    }
  }
}

// Lines arrive in pieces from the disk: a CR LF split between two pieces is still one line end.
TEST_F(TempDir, LineEndsAcrossReadPiecesCountOnce) {
  const std::string before = ProjectText({""}, "1");
  const size_t expressionAt = before.find("\r\n\r\n0.1") + 2;
  for (const size_t cr : {size_t{65535}, size_t{65536}, size_t{131071}}) {
    SCOPED_TRACE(cr);
    const std::string expression = "x+" + std::string(cr - expressionAt - 2, '1');
    const fs::path path = dir_ / "p.qgp";
    WriteBytes(path, ProjectText({expression}, "1"));
    ProjectDocument document;
    ReadProjectFile(path.string(), document);
    ASSERT_EQ(document.Functions.size(), 1u);
    EXPECT_EQ(document.Functions[0].Expression, expression);
    EXPECT_EQ(document.Functions[0].StepWidth, "0.1");
  }
}

// A device or a pipe is no project: reading one would block or never end.
TEST_F(TempDir, SpecialFilesAreRefusedAsUnreadable) {
  const fs::path fifo = dir_ / "pipe.qgp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo.string(), dir_.string()}) {
    ProjectDocument document;
    EXPECT_THROW(ReadProjectFile(path, document), FileOpenError) << path;
    EXPECT_TRUE(document.Functions.empty());
  }
}

}  // namespace
}  // namespace hardening
