#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/SettingsFile.h"

namespace {

namespace fs = std::filesystem;

TEST(SettingsFileTest, OnlyARegularFileOfSaneSizeIsRead) {
  const fs::path folder = fs::temp_directory_path() / ("settings" + std::to_string(::getpid()));
  fs::create_directories(folder / "ordner");
  std::ofstream(folder / "klein") << "[General]\n";
  std::ofstream(folder / "gross") << std::string(kMaxSettingsFileBytes + 1, 'x');
  ASSERT_EQ(::mkfifo((folder / "rohr").c_str(), 0600), 0);
  fs::create_symlink(folder / "rohr", folder / "verweis");
  const struct {
    fs::path Path;
    bool Safe;
  } cases[] = {
      {folder / "fehlt", true}, {folder / "klein", true},    {folder / "gross", false},
      {folder / "rohr", false}, {folder / "verweis", false}, {folder / "ordner", false},
      {"/dev/zero", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeSettingsFile(c.Path), c.Safe) << c.Path;
  fs::remove_all(folder);
}

TEST(SettingsFileTest, OnlyPathsThatCanNameAFileAreListed) {
  using namespace std::string_literals;
  const std::vector<std::string> stored = {
      "/a.qgp", "relativ.qgp", "/" + std::string(20 << 20, 'x'), "/b\0.txt"s, "", "/c.qgp", "/d"};
  EXPECT_EQ(UsableRecentPaths(stored, 8), (std::vector<std::string>{"/a.qgp", "/c.qgp", "/d"}));
  EXPECT_EQ(UsableRecentPaths(stored, 2), (std::vector<std::string>{"/a.qgp", "/c.qgp"}));
}

}  // namespace
