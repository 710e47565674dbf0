#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "project/ProjectFile.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class TableCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qelcli-table-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Project(const ProjectDocument& document, const std::string& name = "p.qgp") {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << ProjectFileText(document);
    return path.string();
  }

  Outcome Table(std::vector<std::string> args) {
    args.insert(args.begin(), {QELCLI_PATH, "table"});
    const std::string out = (dir_ / "stdout").string(), err = (dir_ / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    char locale[] = "LC_ALL=C";
    char* envp[] = {locale, nullptr};
    Outcome run;
    pid_t pid = 0;
    if (posix_spawn(&pid, QELCLI_PATH, &actions, nullptr, argv.data(), envp) == 0) {
      int status = 0;
      ::waitpid(pid, &status, 0);
      run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.Out = Slurp(out);
    run.Err = Slurp(err);
    return run;
  }

  fs::path dir_;
};

ProjectDocument TwoFunctions() {
  ProjectDocument doc;
  doc.Settings.XFrom = "-1";
  doc.Settings.XTo = "1";
  doc.Functions = {{"1", "x*2", "0.5", "0"}, {"2", "1/x", "1", "0"}};
  return doc;
}

}  // namespace

TEST_F(TableCommand, WritesTheChosenFunctionsTable) {
  const std::string project = Project(TwoFunctions());
  struct Case {
    std::vector<std::string> options;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{}, "x\tf(x)\r\n-1\t-2\r\n-0.5\t-1\r\n0\t0\r\n0.5\t1\r\n1\t2\r\n"},
      {{"--function", "2", "--layout", "block"},
       "x-Werte:\r\n-1\r\n0\r\n1\r\n\r\nf(x)-Werte:\r\n-1\r\nError\r\n1\r\n"},
      {{"--function", "2", "--decimals", "3", "--layout", "tab"},
       "x\tf(x)\r\n-1\t-1\r\n0\tError\r\n1\t1\r\n"},
      {{"--function", "1", "--decimals", "0", "--precision", "5"},
       "x\tf(x)\r\n-1\t-2\r\n-0\t0\r\n0\t0\r\n0\t0\r\n1\t2\r\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {project};
    args.insert(args.end(), c.options.begin(), c.options.end());
    SCOPED_TRACE(::testing::PrintToString(c.options));
    const Outcome run = Table(args);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, c.out);
    EXPECT_EQ(run.Err, "");
  }
}

TEST_F(TableCommand, DecimalsAreUsedAsTypedWithoutClamping) {
  ProjectDocument doc = TwoFunctions();
  doc.Functions[1].Expression = "1/3";
  const std::string project = Project(doc);
  EXPECT_EQ(Table({project, "--function", "2", "--decimals", "-3"}).Out,
            Table({project, "--function", "2", "--decimals", "0"}).Out);
  const Outcome wide = Table({project, "--function", "2", "--decimals", "17"});
  EXPECT_EQ(wide.Status, 0);
  EXPECT_NE(wide.Out.find("\t0.33333333333333331"), std::string::npos) << wide.Out;
}

TEST_F(TableCommand, FailuresReportTheirMessageAndStatus) {
  const std::string project = Project(TwoFunctions());
  ProjectDocument badRange = TwoFunctions();
  badRange.Settings.XTo = "-1";
  ProjectDocument tooWide = TwoFunctions();
  tooWide.Settings.OutputWidth = "16385";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{project, "--decimals", "zwei"}, 1, "'zwei' is not a valid integer value\n"},
      {{project, "--function", "3"}, 1, "qelcli: the project has no function 3\n"},
      {{project, "--function", "0"}, 1, "qelcli: the project has no function 0\n"},
      {{(dir_ / "missing.qgp").string()},
       1,
       "Cannot open file " + (dir_ / "missing.qgp").string() + "\n"},
      {{Project(badRange, "range.qgp")}, 1, "Bitte überprüfen Sie den Bereich der X-Werte.\n"},
      {{Project(tooWide, "wide.qgp")},
       1,
       "Die Ausgabegröße kann nicht kleiner als 10 sein und darf die aktuelle Bildschirmauflösung "
       "nicht überschreiten.\n"},
      {{project, "--output", (dir_ / "gone" / "t.txt").string()},
       1,
       "Cannot create file " + (dir_ / "gone" / "t.txt").string() + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Outcome run = Table(c.args);
    EXPECT_EQ(run.Status, c.status);
    EXPECT_EQ(run.Err, c.err);
    EXPECT_EQ(run.Out, "");
  }
  EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

TEST_F(TableCommand, UsageErrorsExitWith64) {
  const std::string project = Project(TwoFunctions());
  const std::vector<std::vector<std::string>> cases = {
      {},
      {project, "extra"},
      {project, "--layout", "csv"},
      {project, "--function", "eins"},
      {project, "--function"},
      {project, "--rows", "3"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const Outcome run = Table(args);
    EXPECT_EQ(run.Status, 64);
    EXPECT_EQ(run.Err.rfind("qelcli: ", 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find("usage:"), std::string::npos);
    EXPECT_EQ(run.Out, "");
  }
}

TEST_F(TableCommand, BuilderMessagesAreReportedAndTheTableStillWritten) {
  ProjectDocument doc = TwoFunctions();
  doc.Settings.XFrom = "-10";
  doc.Settings.XTo = "10";
  doc.Functions = {{"1", "sin(x", "0.1", "0"}, {"2", "x", "0.001", "0"}};
  const std::string project = Project(doc);

  const Outcome rejected = Table({project});
  EXPECT_EQ(rejected.Status, 3);
  EXPECT_EQ(rejected.Out, "x\tf(x)\r\n");
  EXPECT_EQ(rejected.Err,
            "Fehler in Funktionsdefinition:\n\nsin(x\n\nDie Werte dieser Funktion können nicht "
            "erzeugt werden.\n");

  const std::string file = (dir_ / "t.txt").string();
  const Outcome limited =
      Table({project, "--function", "2", "--decimals", "3", "--layout", "block", "--output", file});
  EXPECT_EQ(limited.Status, 3);
  EXPECT_EQ(limited.Out, "");
  EXPECT_EQ(limited.Err,
            "Es können nicht mehr als 2000 Werte angezeigt werden.\n\nErhöhen Sie die "
            "Schrittweite der Funktion oder verringern Sie die den X-Bereich.\n");
  const std::string text = Slurp(file);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4003);
  EXPECT_EQ(text.rfind("x-Werte:\r\n-10\r\n-9.999\r\n", 0), 0u);
}

TEST_F(TableCommand, CountLineThatIsNotAnIntegerLeavesNoFunctions) {
  std::string text = ProjectFileText(TwoFunctions());
  const std::string count = "\r\n2\r\n1\r\n";
  text.replace(text.find(count), count.size(), "\r\nzwei\r\n1\r\n");
  const fs::path path = dir_ / "damaged.qgp";
  std::ofstream(path, std::ios::binary) << text;
  const Outcome run = Table({path.string()});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err,
            "'zwei' is not a valid integer value\nqelcli: the project has no function 1\n");
}

TEST_F(TableCommand, SeparatorOptionAppliesToTheSettingsCheckAndTheTexts) {
  ProjectDocument doc = TwoFunctions();
  doc.Settings.XFrom = "-0,5";
  doc.Settings.XTo = "0,5";
  doc.Functions[0].StepWidth = "0,5";
  const std::string project = Project(doc);
  const Outcome comma = Table({"--separator", ",", project});
  EXPECT_EQ(comma.Status, 0);
  EXPECT_EQ(comma.Out, "x\tf(x)\r\n-0,5\t-1\r\n0\t0\r\n0,5\t1\r\n");
  const Outcome point = Table({"--separator", ".", project});
  EXPECT_EQ(point.Status, 1);
  EXPECT_EQ(point.Err, "Bitte überprüfen Sie den Bereich der X-Werte.\n");
}
