#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "platform/CodePage.h"

namespace {

struct Result {
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string TempFile(const std::string& contents) {
  char name[] = "/tmp/qelcli-test-XXXXXX";
  const int fd = ::mkstemp(name);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::write(fd, contents.data(), contents.size()), static_cast<ssize_t>(contents.size()));
  ::close(fd);
  return name;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  ::unlink(path.c_str());
  return s.str();
}

Result RunCli(const std::vector<std::string>& args, const std::string& input = "",
              const std::string& locale = "C") {
  const std::string in = TempFile(input), out = TempFile(""), err = TempFile("");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
  std::vector<char*> argv{const_cast<char*>(QELCLI_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::string lcAll = "LC_ALL=" + locale;
  char* envp[] = {lcAll.data(), nullptr};
  pid_t pid = 0;
  Result result;
  if (posix_spawn(&pid, QELCLI_PATH, &actions, nullptr, argv.data(), envp) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  ::unlink(in.c_str());
  result.Out = Slurp(out);
  result.Err = Slurp(err);
  return result;
}

struct Case {
  std::vector<std::string> args;
  std::string input;
  int status;
  std::string out;
};

TEST(Qelcli, TreeAndEvalFollowTheirContract) {
  const Case cases[] = {
      {{"tree", "2 * sin(x) - 1/x/2"}, "", 0, "2*s#(x)-1/x/2\n(- (* 2 (# s x)) (/ 1 (* x 2)))\n"},
      {{"tree", "((x))"}, "", 1, "(x)\ninvalid\n"},
      {{"tree", ""}, "", 1, "\ninvalid\n"},
      {{"tree", "-x"}, "", 0, "-x\n(- 0 x)\n"},
      {{"tree", "--separator", ",", "2.5*x"}, "", 0, "2,5*x\n(* 2,5 x)\n"},
      {{"tree", "--separator", ",", "--no-convert-all", "2.5*x"}, "", 1, "2.5*x\ninvalid\n"},
      {{"eval", "--separator", ",", "--x", "1", "2*sin(x)-1/x/2"}, "", 0, "1,18294197\n"},
      {{"eval", "--separator", ".", "--precision", "2", "1/8"}, "", 0, "0.12\n"},
      {{"eval", "--exact", "1/4"}, "", 0, "0.25\n0x8p-5\n"},
      {{"eval", "--exact", "0^(0-1)"}, "", 0, "INF\ninf\n"},
      {{"eval", "--exact", "sin(2^60)"}, "", 0, "NAN\nnan\n"},
      {{"eval", "--separator", ".", "--overwrite-separator", ",", "--a", "2,5", "a"},
       "",
       0,
       "2,5\n"},
      {{"eval", "1/0"}, "", 2, "error: Division durch 0\n"},
      {{"eval", "2x"}, "", 1, "invalid\n"},
      {{"eval", "--", "--x"}, "", 1, "invalid\n"},
  };
  for (const Case& c : cases) {
    const Result r = RunCli(c.args, c.input);
    EXPECT_EQ(r.Status, c.status) << c.args.back();
    EXPECT_EQ(r.Out, c.out) << c.args.back();
    EXPECT_EQ(r.Err, "") << c.args.back();
  }
}

TEST(Qelcli, BatchModeAnswersEveryLineInOrder) {
  const Case cases[] = {
      {{"eval", "--stdin", "--separator", ",", "--x", "2"},
       "x+1\n1/0\n((x))\nx\t+1\n1/3",
       0,
       "ok\t3\t0xcp-2\nerror\tDivision durch 0\ninvalid\ninvalid\n"
       "ok\t0,33333333\t0xa.aaaaaaaaaaaaaabp-5\n"},
      {{"tree", "--stdin"}, "x\r\n(x+1)\n\n", 0, "x\r\tinvalid\nx+1\t(+ x 1)\n\tinvalid\n"},
      {{"tree", "--stdin"}, "", 0, ""},
      {{"eval", "--stdin"}, "ln(0)\n", 0, "error\tLog von X mit X <= 0\n"},
  };
  for (const Case& c : cases) {
    const Result r = RunCli(c.args, c.input);
    EXPECT_EQ(r.Status, c.status) << c.input;
    EXPECT_EQ(r.Out, c.out) << c.input;
  }
}

TEST(Qelcli, UsageErrorsExitWith64AndShowTheUsage) {
  const std::vector<std::string> cases[] = {
      {},
      {"draw"},
      {"tree"},
      {"tree", "x", "y"},
      {"tree", "--stdin", "x"},
      {"eval", "--bogus", "x"},
      {"eval", "--separator", ",,", "x"},
      {"eval", "--precision", "eight", "x"},
      {"eval", "x", "--x"},
      {"tree", "--exact", "x"},
  };
  for (const auto& args : cases) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.Status, 64) << testing::PrintToString(args);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err.rfind("qelcli: ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find("usage: qelcli tree"), std::string::npos);
  }
}

TEST(Qelcli, HelpListsEverySubcommand) {
  const Result r = RunCli({"--help"});
  EXPECT_EQ(r.Status, 0);
  for (const char* usage :
       {"qelcli tree [engine options]", "qelcli eval [engine options] [--exact]",
        "qelcli table [engine options] PROJECT [--function N] [--decimals D] [--layout "
        "tab|block] [--output FILE]",
        "qelcli render [engine options] PROJECT OUTPUT [--format bmp|jpeg|png|svg|pdf] [--quality "
        "Q]",
        "qelcli analyse [engine options] PROJECT [--function N] [--decimals D] [--separator "
        ".|,]"}) {
    EXPECT_NE(r.Out.find(usage), std::string::npos) << usage;
  }
  EXPECT_EQ(r.Err, "");
}

TEST(Qelcli, VersionNamesTheRelease) {
  const Result r = RunCli({"--version"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "qelcli (Qel Graphics 4.2)\n");
}

// The usage a mistake shows must be the one --help begins with, so the two cannot drift apart.
TEST(Qelcli, HelpBeginsWithTheUsageAMistakeShows) {
  const Result help = RunCli({"--help"});
  const Result mistake = RunCli({"draw"});
  const std::size_t usage = mistake.Err.find("usage: ");
  ASSERT_NE(usage, std::string::npos) << mistake.Err;
  EXPECT_EQ(help.Out.rfind(mistake.Err.substr(usage), 0), 0u) << help.Out;
}

TEST(Qelcli, TheDefaultSeparatorComesFromTheLocale) {
  EXPECT_EQ(RunCli({"eval", "1/4"}, "", "de_DE.UTF-8").Out, "0,25\n");
  EXPECT_EQ(RunCli({"eval", "1/4"}, "", "en_US.UTF-8").Out, "0.25\n");
}

TEST(Qelcli, MessagesAreConvertedToUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"Projekt ge\xe4ndert", "Projekt ge\xc3\xa4ndert"},
      {"\x80 \x81 \x9f \xff", "\xe2\x82\xac \xc2\x81 \xc5\xb8 \xc3\xbf"},
      {"plain\nline", "plain\nline"},
  };
  for (const auto& [single, utf8] : cases) EXPECT_EQ(Utf8FromWindows1252(single), utf8);
}

TEST(Qelcli, ArgumentsSplitIntoEngineOptionsOwnOptionsAndPositionals) {
  const qelcli::Arguments parsed =
      qelcli::ParseArguments({"P", "--function", "3", "--x", "2", "--layout", "block",
                              "--no-convert-all", "--layout", "tab", "OUT", "--precision", "-2"},
                             {"--function", "--layout"}, {});
  EXPECT_EQ(parsed.Positional, (std::vector<std::string>{"P", "OUT"}));
  EXPECT_EQ(parsed.Values.at("--function"), "3");
  EXPECT_EQ(parsed.Values.at("--layout"), "tab");
  EXPECT_EQ(parsed.Engine.X, "2");
  EXPECT_EQ(parsed.Engine.Precision, -2);
  EXPECT_FALSE(parsed.Engine.ConvertAll);
}

}  // namespace
