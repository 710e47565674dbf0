#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "project/ProjectFile.h"

namespace fs = std::filesystem;

namespace {

struct Invocation {
  std::vector<std::string> Functions;
  std::vector<std::string> Args;
  int Status;
  std::string Out;  // standard output, or its beginning where messages were printed
  std::string Err;  // a part of standard error
};

const char* const kHeader = "Funktion\tArt\tx\ty\n";

// qelcli analyse on a project over [-2, 2] with the functions given, as the program runs it.
TEST(AnalyseCommand, WritesThePointsAsTheIssueSays) {
  const std::vector<Invocation> runs = {
      {{"x^2-1"},
       {},
       0,
       std::string(kHeader) + "1\tNullstelle\t-1\t0\n1\ty-Achsenabschnitt\t0\t-1\n"
                              "1\tTiefpunkt\t0\t-1\n1\tNullstelle\t1\t0\n",
       ""},
      {{"x^2-2"},
       {"--decimals", "3", "--separator", ","},
       0,
       std::string(kHeader) + "1\tNullstelle\t-1,414\t0\n1\ty-Achsenabschnitt\t0\t-2\n"
                              "1\tTiefpunkt\t0\t-2\n1\tNullstelle\t1,414\t0\n",
       ""},
      {{"x", "1/x"},
       {},
       0,
       std::string(kHeader) + "1\ty-Achsenabschnitt\t0\t0\n1\tNullstelle\t0\t0\n"
                              "1/2\tSchnittpunkt\t-1\t-1\n1/2\tSchnittpunkt\t1\t1\n"
                              "2\tPolstelle\t0\t\n",
       ""},
      {{"x", "1/x"}, {"--function", "2"}, 0, std::string(kHeader) + "2\tPolstelle\t0\t\n", ""},
      {{"x+", "x-3"}, {}, 3, kHeader, "x+"},
      {{"x"}, {"--function", "2"}, 1, "", "qelcli: the project has no function 2"},
      {{"x"}, {"--decimals", "19"}, 1, "", "--decimals takes 0 to 18"},
      {{"sin(100*x)"}, {}, 3, "", "Funktion 1: "},
  };
  const fs::path path = fs::temp_directory_path() / ("analyse-" + std::to_string(::getpid()));
  for (const Invocation& run : runs) {
    ProjectDocument project;
    project.Settings.XFrom = "-2";
    project.Settings.XTo = "2";
    for (size_t i = 0; i < run.Functions.size(); ++i) {
      project.Functions.push_back({std::to_string(i + 1), run.Functions[i]});
    }
    std::ofstream(path, std::ios::binary) << ProjectFileText(project);
    std::vector<std::string> args = {path.string(), "--separator", "."};
    args.insert(args.end(), run.Args.begin(), run.Args.end());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = qelcli::RunAnalyse(args);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, run.Status) << run.Functions[0];
    EXPECT_EQ(run.Status == 3 ? out.substr(0, run.Out.size()) : out, run.Out) << run.Functions[0];
    EXPECT_NE(err.find(run.Err), std::string::npos) << err;
  }
  fs::remove(path);
}

TEST(AnalyseCommand, RefusesOtherSeparators) {
  EXPECT_THROW(qelcli::RunAnalyse({"p.qgp", "--separator", ";"}), qelcli::UsageError);
}

}  // namespace
