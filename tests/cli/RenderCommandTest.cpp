#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "cli/Cli.h"
#include "cli/RenderSwitches.h"
#include "engine/QelParser.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

ProjectDocument Sample(const std::string& gridStep) {
  ProjectDocument project;
  project.Settings.OutputWidth = "300";
  project.Settings.OutputHeight = "200";
  project.Settings.Pointwise = false;
  project.Settings.GridStep = gridStep;
  project.Functions.push_back({"1", "sin(x)*3", "0.01", "255"});
  project.Functions.push_back({"2", "sin(", "1", "0"});
  return project;
}

// The picture the graph window's renderer makes of the project at its full output size.
std::string DirectBmp(const ProjectDocument& project) {
  SetRegionalDecimalSeparator('.');
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  Bitmap bitmap(300, 200);
  const bool cancelled = false;
  GraphRenderer(project, parser, bitmap, cancelled, {}, {});
  return EncodeBmp(bitmap);
}

class RenderCommand : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qel_render_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "p.qgp", std::ios::binary) << ProjectFileText(Sample("1"));
    std::ofstream(dir_ / "zero.qgp", std::ios::binary) << ProjectFileText(Sample("0"));
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Run(std::vector<std::string> args) {
    for (std::string& a : args) {
      if (a.find('.') != std::string::npos) a = dir_ / a;  // files live in the test's folder
    }
    args.insert(args.begin(), {"--separator", "."});
    return qelcli::RunRender(args);
  }

  fs::path dir_;
};

TEST_F(RenderCommand, WritesTheRenderersPictureInTheChosenFormat) {
  struct Case {
    std::vector<std::string> args;
    std::string file;
    std::string start;  // empty: the renderer's BMP, byte for byte
  };
  const Case cases[] = {
      {{"p.qgp", "out.bmp"}, "out.bmp", ""},
      {{"p.qgp", "out.JPEG"}, "out.JPEG", "\xFF\xD8"},
      {{"p.qgp", "out.Jpg", "--quality", "2"}, "out.Jpg", "\xFF\xD8"},
      {{"p.qgp", "out.jpg", "--format", "bmp"}, "out.jpg", ""},
      {{"p.qgp", "out.bmp", "--format", "jpeg"}, "out.bmp", "\xFF\xD8"},
      {{"p.qgp", "out.PNG"}, "out.PNG", "\x89PNG"},
      {{"p.qgp", "out.Svg"}, "out.Svg", "<?xml"},
      {{"p.qgp", "out.pdf"}, "out.pdf", "%PDF"},
      {{"p.qgp", "out.jpg", "--format", "png"}, "out.jpg", "\x89PNG"},
      {{"p.qgp", "out.png", "--format", "svg"}, "out.png", "<?xml"},
      {{"p.qgp", "out.svg", "--format", "pdf"}, "out.svg", "%PDF"},
  };
  const std::string expected = DirectBmp(Sample("1"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(Run(c.args), qelcli::kExitWithMessages);  // the second function does not build
    const std::string written = ReadAll(dir_ / c.file);
    if (c.start.empty()) {
      EXPECT_EQ(written, expected);
    } else {
      EXPECT_EQ(written.substr(0, c.start.size()), c.start);
    }
    fs::remove(dir_ / c.file);
  }
}

// The drawing library and what it pulls in are loaded only for the vector formats.
TEST_F(RenderCommand, OnlyVectorFormatsLoadTheDrawingLibrary) {
  const std::pair<const char*, bool> cases[] = {
      {"out.bmp", false}, {"out.jpg", false}, {"out.png", false},
      {"out.svg", true},  {"out.pdf", true},
  };
  for (const auto& [file, loads] : cases) {
    const std::string command = "LD_DEBUG=files '" QELCLI_PATH "' render '" +
                                (dir_ / "p.qgp").string() + "' '" + (dir_ / file).string() +
                                "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string trace;
    for (char buffer[4096]; fgets(buffer, sizeof buffer, pipe) != nullptr;) trace += buffer;
    pclose(pipe);
    EXPECT_TRUE(fs::exists(dir_ / file)) << file;
    EXPECT_EQ(trace.find("file=libcairo") != std::string::npos, loads) << file;
  }
}

TEST_F(RenderCommand, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"p.qgp"},
      {"p.qgp", "out.bmp", "extra.bmp"},
      {"p.qgp", "out.gif"},
      {"p.qgp", "out.bmp", "--format", "gif"},
      {"p.qgp", "out.png", "--quality", "90"},  // JPEG only
      {"p.qgp", "out.bmp", "--format", "svg", "--quality", "60"},
      {"p.qgp", "out.jpg", "--quality", "1"},
      {"p.qgp", "out.jpg", "--quality", "101"},
      {"p.qgp", "out.jpg", "--quality", "high"},
      {"p.qgp", "out.bmp", "--smooth", "--legend", "--no-smooth"},
      {"p.qgp", "out.bmp", "--legends"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.back());
    EXPECT_THROW(Run(args), qelcli::UsageError);
  }
}

using Switches = std::array<bool, 4>;  // axis numbers, legend, smooth, exact

// The project's picture switches hold unless an option names them; the picture follows the result.
TEST_F(RenderCommand, OptionsOverrideTheProjectsPictureSwitches) {
  const struct {
    Switches InFile;
    std::vector<std::string> Options;
    Switches Drawn;
  } cases[] = {{{1, 0, 1, 0}, {}, {1, 0, 1, 0}},
               {{}, {"--axis-numbers", "--exact-curves"}, {1, 0, 0, 1}},
               {{1, 1, 1, 1}, {"--no-legend", "--no-smooth"}, {1, 0, 0, 1}},
               {{0, 1, 0, 0},
                {"--legend", "--smooth", "--no-axis-numbers", "--no-exact-curves"},
                {0, 1, 1, 0}}};
  for (const auto& c : cases) {
    ProjectDocument project = Sample("1");
    ProjectSettings& s = project.Settings;
    std::tie(s.AxisNumbers, s.Legend, s.SmoothCurves, s.ExactCurves) = std::tuple_cat(c.InFile);
    std::ofstream(dir_ / "s.qgp", std::ios::binary) << ProjectFileText(project);
    qelcli::RenderSwitches({c.Options.begin(), c.Options.end()}).ApplyTo(s);
    EXPECT_EQ((Switches{s.AxisNumbers, s.Legend, s.SmoothCurves, s.ExactCurves}), c.Drawn);
    std::vector<std::string> args = {"s.qgp", "out.bmp"};
    args.insert(args.end(), c.Options.begin(), c.Options.end());
    ASSERT_EQ(Run(args), qelcli::kExitWithMessages);
    EXPECT_EQ(ReadAll(dir_ / "out.bmp"), DirectBmp(project)) << c.Options.size();
  }
}

TEST_F(RenderCommand, FailuresWriteNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {"missing.qgp", "out.bmp"},
      {"zero.qgp", "out.bmp"},  // a grid step of 0 ends the rendering
      {"zero.qgp", "out.svg"},
      {"p.qgp", "no_such_folder/out.bmp"},
      {"p.qgp", "no_such_folder/out.pdf"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    EXPECT_EQ(Run(args), qelcli::kExitFailure);
    EXPECT_FALSE(fs::exists(dir_ / "out.bmp"));
    EXPECT_FALSE(fs::exists(dir_ / "out.svg"));
  }
}

}  // namespace
