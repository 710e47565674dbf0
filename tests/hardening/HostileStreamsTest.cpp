// qelcli at the edges of its streams: standard output that fails or is a pipe, save targets that
// are links or pipes, a file-size limit with the signal's default action, terminals that must not
// be steered by file contents, and batch input that never ends.
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "cli/Cli.h"
#include "platform/AtomicFile.h"
#include "project/ProjectFile.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/support/ChildProcess.h"

namespace hardening {
namespace {

struct CliRun {
  int Status = -1;  // the exit status, or -signal
  std::string Out;
  std::string Err;
};

struct Spawn {
  Spawn(std::vector<std::string> args, std::string input = "", std::string stdoutPath = "")
      : Args(std::move(args)), Input(std::move(input)), StdoutPath(std::move(stdoutPath)) {}

  std::vector<std::string> Args;
  std::string Input;
  std::string StdoutPath;  // empty: a pipe read by the test
  int StderrFd = -1;       // -1: a file read by the test
  rlim_t FileSizeLimit = RLIM_INFINITY;
};

std::string ReadToEnd(int fd) {
  std::string bytes;
  char buffer[65536];
  ssize_t n = 0;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(n));
  return bytes;
}

[[noreturn]] void ExecQelcli(const Spawn& s, int in, int out, int err) {
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  const rlimit limit{s.FileSizeLimit, s.FileSizeLimit};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, SIG_DFL);
  std::vector<char*> argv{const_cast<char*>(QELCLI_PATH)};
  for (const std::string& arg : s.Args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  char locale[] = "LC_ALL=C";
  char* envp[] = {locale, nullptr};
  ::execve(QELCLI_PATH, argv.data(), envp);
  ::_exit(127);
}

CliRun RunQelcli(const fs::path& dir, const Spawn& s) {
  const fs::path inPath = dir / "stdin", errPath = dir / "stderr";
  WriteBytes(inPath, s.Input);
  const int in = ::open(inPath.c_str(), O_RDONLY);
  const int err =
      s.StderrFd >= 0 ? s.StderrFd : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int pipeFds[2] = {-1, -1};
  if (s.StdoutPath.empty()) {
    EXPECT_EQ(::pipe(pipeFds), 0);
  }
  const int out = s.StdoutPath.empty() ? pipeFds[1] : ::open(s.StdoutPath.c_str(), O_WRONLY);
  const pid_t child = ::fork();
  if (child == 0) ExecQelcli(s, in, out, err);
  ::close(in);
  ::close(out);
  if (s.StderrFd < 0) ::close(err);
  CliRun run;
  if (s.StdoutPath.empty()) {
    run.Out = ReadToEnd(pipeFds[0]);
    ::close(pipeFds[0]);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  if (s.StderrFd < 0) run.Err = ReadBytes(errPath);
  fs::remove(inPath);
  fs::remove(errPath);
  return run;
}

class HostileStreams : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    project_ = (dir_ / "p.qgp").string();
    WriteBytes(project_, ProjectText({"x*2"}, "1"));
  }
  CliRun Qelcli(Spawn s) { return RunQelcli(dir_, s); }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  std::string project_;
};

TEST_F(HostileStreams, StandardOutputThatCannotBeWrittenFails) {
  const std::vector<std::vector<std::string>> commands = {
      {"table", project_}, {"eval", "1+1"}, {"tree", "x"}, {"--help"}, {"eval", "--stdin"}};
  for (const auto& args : commands) {
    SCOPED_TRACE(args.front());
    const CliRun r = Qelcli({args, "1+1\n", "/dev/full"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "qelcli: cannot write to standard output: No space left on device\n");
  }
}

// The picture and the table reach the pipe behind /dev/stdout, and the links stay links. The test
// goes through a link of its own, so that a fault cannot replace the system's /dev/stdout.
TEST_F(HostileStreams, OutputToStandardOutputThroughItsLink) {
  const fs::path link = dir_ / "stdout";
  fs::create_symlink("/dev/stdout", link);
  const CliRun picture = Qelcli({{"render", project_, link.string(), "--format", "bmp"}});
  EXPECT_EQ(picture.Status, 0) << picture.Err;
  EXPECT_EQ(picture.Out.size(), 54u + 640u * 480u * 3u);
  const CliRun table = Qelcli({{"table", project_, "--output", link.string()}});
  EXPECT_EQ(table.Status, 0) << table.Err;
  EXPECT_EQ(table.Out.rfind("x\tf(x)\r\n-10\t-20\r\n", 0), 0u);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink("/dev/stdout"));
}

// With the signal's default action a file-size limit would kill the program and leave its temporary
// file behind; instead the save fails with its message and the old file stays.
TEST_F(HostileStreams, FileSizeLimitFailsTheSaveCleanly) {
  const fs::path picture = dir_ / "old.bmp", table = dir_ / "old.txt";
  WriteBytes(picture, "old picture");
  WriteBytes(table, "old table");
  const std::pair<std::vector<std::string>, fs::path> cases[] = {
      {{"render", project_, picture.string()}, picture},
      {{"render", project_, picture.string(), "--format", "jpeg", "--quality", "100"}, picture},
      {{"table", project_, "--decimals", "20", "--output", table.string()}, table},
  };
  for (const auto& [args, file] : cases) {
    SCOPED_TRACE(args.back());
    const std::string before = ReadBytes(file);
    Spawn s{args};
    s.FileSizeLimit = 2048;
    const size_t entries = Entries();
    const CliRun r = Qelcli(s);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Cannot create file " + file.string() + "\n");
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(Entries(), entries);
  }
}

TEST_F(HostileStreams, OutputWrittenWithMessagesExitsWith3) {
  const fs::path picture = dir_ / "out.bmp", table = dir_ / "out.txt";
  WriteBytes(table, "old table");
  const std::string broken = (dir_ / "broken.qgp").string();
  WriteBytes(broken, ProjectText({"sin(x"}, "1"));
  const std::string badCount = (dir_ / "count.qgp").string();
  WriteBytes(badCount, ProjectText({"x"}, "eins"));
  const std::vector<std::string> commands[] = {
      {"table", broken, "--output", table.string()},
      {"render", badCount, picture.string()},
      {"render", broken, picture.string()},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args[1]);
    const CliRun r = Qelcli({args});
    EXPECT_EQ(r.Status, 3);
    EXPECT_NE(r.Err, "");
  }
  EXPECT_EQ(ReadBytes(table), "x\tf(x)\r\n");
  EXPECT_EQ(ReadBytes(picture).size(), 54u + 640u * 480u * 3u);
}

// A terminal of its own for standard error, raw so that line feeds arrive unchanged.
class Terminal {
 public:
  Terminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    slave_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slave_ >= 0 && ::tcgetattr(slave_, &raw) == 0) {
      ::cfmakeraw(&raw);
      ::tcsetattr(slave_, TCSANOW, &raw);
    }
  }
  ~Terminal() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }
  int Slave() const { return slave_; }
  std::string Drain() const {
    std::string bytes;
    char buffer[4096];
    pollfd p{master_, POLLIN, 0};
    while (::poll(&p, 1, 200) > 0) {
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
};

TEST_F(HostileStreams, ControlCharactersReachATerminalOnlyEscaped) {
  const std::string expression =
      "\x1b]0;owned\x07\x1b[2J\x9d"
      "sin(x";
  const std::string broken = (dir_ / "escape.qgp").string();
  WriteBytes(broken, ProjectText({expression}, "1"));
  const Spawn table{{"table", broken}};
  const std::string raw = Qelcli(table).Err;
  EXPECT_NE(raw.find("\x1b]0;owned\x07\x1b[2J\xc2\x9dsin(x\n"), std::string::npos) << raw;

  Terminal terminal;
  if (terminal.Slave() < 0) GTEST_SKIP() << "no pseudo-terminal";
  Spawn onTerminal = table;
  onTerminal.StderrFd = terminal.Slave();
  EXPECT_EQ(Qelcli(onTerminal).Status, 3);
  const std::string shown = terminal.Drain();
  EXPECT_NE(shown.find("\\x1b]0;owned\\x07\\x1b[2J\\x9dsin(x\n\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\x1b'), std::string::npos);
}

TEST(TerminalSafeText, EscapesEveryControlButLineFeedAndTab) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\tb\nc", "a\tb\nc"},
      {std::string("\0\r\x1b\x7f", 4), "\\x00\\x0d\\x1b\\x7f"},
      {"\x80\x81\x8d\x8f\x90\x9b\x9d\xa0\xff", "\x80\\x81\\x8d\\x8f\\x90\x9b\\x9d\xa0\xff"},
  };
  for (const auto& [text, safe] : cases) EXPECT_EQ(qelcli::TerminalSafe(text), safe);
}

// Batch mode answers each line as soon as it has arrived, and an endless line costs no memory.
TEST_F(HostileStreams, BatchModeIsAFilter) {
  int in[2], out[2];
  ASSERT_EQ(::pipe(in), 0);
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(in[1]);
    ::close(out[0]);
    ExecQelcli({{"eval", "--stdin"}}, in[0], out[1], 2);
  }
  ::close(in[0]);
  ::close(out[1]);
  ASSERT_EQ(::write(in[1], "1+1\n", 4), 4);
  pollfd ready{out[0], POLLIN, 0};
  ASSERT_EQ(::poll(&ready, 1, 30000), 1) << "no answer before the input ended";
  char first[64] = {};
  EXPECT_EQ(std::string(first, static_cast<size_t>(::read(out[0], first, sizeof first))),
            "ok\t2\t0x8p-2\n");
  const std::string endless(1 << 16, '1');
  for (int i = 0; i < 64; ++i) ASSERT_EQ(::write(in[1], endless.data(), endless.size()), 1 << 16);
  ASSERT_EQ(::write(in[1], "\n2\n", 3), 3);
  ::close(in[1]);
  EXPECT_EQ(ReadToEnd(out[0]), "invalid\nok\t2\t0x8p-2\n");
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(HostileStreams, OverlongBatchLinesAreInvalid) {
  const std::string atBound = "1" + std::string(9998, ' ') + "1";
  const std::string input = atBound + "\n" + atBound + " \nx";
  const CliRun r = Qelcli({{"tree", "--stdin"}, input});
  EXPECT_EQ(r.Out.substr(0, 200), "11\t11\n\tinvalid\nx\tx\n");
}

// An ending signal removes the temporary file of the save in progress before it ends the program.
TEST_F(HostileStreams, EndingSignalsRemoveTheTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    const pid_t child = ::fork();
    if (child == 0) {
      qelcli::InstallSignalHandlers();
      AtomicFileWriter writer((dir_ / "out.bmp").string());
      writer.Write("part of a picture");
      ::raise(signal);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
    EXPECT_EQ(Entries(), 1u);  // the project alone
  }
}

}  // namespace
}  // namespace hardening
