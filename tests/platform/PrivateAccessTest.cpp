#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/PrivateAccess.h"

namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

struct TempFolder {
  TempFolder() {
    char name[] = "/tmp/privateXXXXXX";
    Path = ::mkdtemp(name);
  }
  ~TempFolder() { fs::remove_all(Path); }
  // A folder of the given mode below this one; owned by nobody when foreign (root only).
  std::string Make(const std::string& name, mode_t mode, bool foreign = false) const {
    const std::string path = Path + "/" + name;
    fs::create_directories(path);
    ::chmod(path.c_str(), mode);
    if (foreign) {
      EXPECT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    }
    return path;
  }
  std::string Path;
};

bool Root() {
  return ::geteuid() == 0;
}

TEST(PrivateAccessTest, OnlyAFolderOfTheUsersOwnThatNoOneElseMayEnterIsPrivate) {
  TempFolder base;
  fs::create_directory_symlink(base.Make("echt", 0700), base.Path + "/verweis");
  ::close(::creat((base.Path + "/datei").c_str(), 0600));
  const struct {
    std::string Path;
    bool Private;
  } cases[] = {
      {base.Make("eigen", 0700), true},
      {base.Make("lesbar", 0755), false},
      {base.Make("gruppe", 0710), false},
      {base.Path + "/verweis", false},
      {base.Path + "/datei", false},
      {base.Path + "/fehlt", false},
      {base.Make("fremd", 0700, Root()), !Root()},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPrivateFolder(c.Path), c.Private) << c.Path;
}

TEST(PrivateAccessTest, TheLockGoesToAPrivateRuntimeFolderOrTheUsersCacheAndNowhereElse) {
  TempFolder base;
  const std::string runtime = base.Make("run", 0700), open = base.Make("offen", 0755);
  const std::string foreignRuntime = base.Make("fremd-run", 0755, Root());
  fs::create_directory_symlink(runtime, base.Path + "/run-verweis");
  const std::string longRuntime = base.Make(std::string(100, 'l'), 0700);
  const std::string cache = base.Make("cache", 0700), home = base.Make("home", 0700);
  const std::string shared = base.Make("geteilt", 0777), foreign = base.Make("fremd", 0700);
  base.Make("fremd/qelgraphics", 0700, Root());
  const struct {
    std::string Runtime, CacheHome, Home;
    std::string Expected;  // empty: no safe folder
  } cases[] = {
      {runtime, cache, home, runtime},
      {base.Path + "/run-verweis", "", "", runtime},
      {open, cache, home, open},
      {Root() ? foreignRuntime : base.Path + "/fehlt", cache, home, cache + "/qelgraphics"},
      {longRuntime, cache, "", cache + "/qelgraphics"},
      {"", "", home, home + "/.cache/qelgraphics"},
      {"relativ", "relativ", "", ""},
      {"", shared, "", ""},
      {"", Root() ? foreign : shared, "", ""},
  };
  for (const auto& c : cases) {
    const RuntimeEnvironment environment{c.Runtime.c_str(), c.CacheHome.c_str(), c.Home.c_str()};
    EXPECT_EQ(PrivateRuntimeFolder(environment, 32).value_or(""), c.Expected) << c.Runtime;
    EXPECT_TRUE(c.Expected.empty() || IsPrivateFolder(c.Expected));
  }
}

// Both ends of a connection between this user and another see that the other is not this user.
TEST(PrivateAccessTest, TheOtherEndOfASocketIsThisUserOrNot) {
  int pair[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  EXPECT_TRUE(PeerIsThisUser(pair[0]));
  EXPECT_FALSE(PeerIsThisUser(-1));
  ::close(pair[0]);
  ::close(pair[1]);
  if (!Root()) GTEST_SKIP() << "another user's process needs root";
  TempFolder base;
  ::chmod(base.Path.c_str(), 0711);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = base.Path + "/socket";
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::chmod(path.c_str(), 0777);
  ASSERT_EQ(::listen(server, 1), 0);
  const pid_t other = ::fork();
  if (other == 0) {
    const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool connected =
        ::setuid(kNobody) == 0 &&
        ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::_exit(connected && !PeerIsThisUser(client) ? 0 : 1);
  }
  const int accepted = ::accept(server, nullptr, nullptr);
  EXPECT_FALSE(PeerIsThisUser(accepted));
  int status = 0;
  ::waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ::close(accepted);
  ::close(server);
}

}  // namespace
