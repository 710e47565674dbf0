#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qel-atomic-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

  size_t EntriesInDir() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(AtomicFile, ReplacesContentsAndKeepsThePermissions) {
  const fs::path file = dir_ / "a.txt";
  WriteFileAtomically(file, "first");
  ::chmod(file.c_str(), 0640);
  WriteFileAtomically(file, "second");
  EXPECT_EQ(ReadBytes(file), "second");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFile, FollowsALinkInsteadOfReplacingIt) {
  const fs::path target = dir_ / "target.qgp";
  const fs::path link = dir_ / "link.qgp";
  WriteFileAtomically(target, "old");
  fs::create_symlink(target, link);
  WriteFileAtomically(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(target), "new");
}

TEST_F(AtomicFile, FailuresNameThePathAndLeaveNothingBehind) {
  const fs::path kept = dir_ / "kept";
  fs::create_directory(kept);
  for (const fs::path& path : {dir_ / "gone" / "a.txt", kept, fs::path()}) {
    try {
      WriteFileAtomically(path, "bytes");
      ADD_FAILURE() << "no error for " << path;
    } catch (const FileCreateError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + path.string());
    }
  }
  EXPECT_TRUE(fs::is_directory(kept));
  EXPECT_EQ(EntriesInDir(), 1u);
}

}  // namespace
