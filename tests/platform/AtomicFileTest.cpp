#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

// What the path names before the save, and what must hold afterwards. A FIFO gets a reader first,
// so the write neither blocks nor fails; a pipe holds the few bytes written.
struct TargetCase {
  const char* name;
  std::function<bool(const fs::path& dir)> make;  // false: not possible here
  bool written;
  std::function<void(const fs::path& dir)> check;
};

bool MakeFifo(const fs::path& path) {
  return ::mkfifo(path.c_str(), 0600) == 0;
}

std::string DrainFifo(int fd) {
  char buffer[64];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

TEST_F(AtomicFile, TargetsThatAreNoRegularFileAreNeverReplaced) {
  const std::vector<TargetCase> cases = {
      {"character device",
       [](const fs::path& d) {
         return ::mknod((d / "t").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
       },
       true, [](const fs::path& d) { EXPECT_TRUE(fs::is_character_file(d / "t")); }},
      {"FIFO without a reader", [](const fs::path& d) { return MakeFifo(d / "t"); }, false,
       [](const fs::path& d) { EXPECT_TRUE(fs::is_fifo(d / "t")); }},
      {"link to a FIFO without a reader",
       [](const fs::path& d) {
         fs::create_symlink(d / "fifo", d / "t");
         return MakeFifo(d / "fifo");
       },
       false, [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "t")); }},
      {"dangling link",
       [](const fs::path& d) {
         fs::create_symlink(d / "nowhere", d / "t");
         return true;
       },
       false,
       [](const fs::path& d) {
         EXPECT_TRUE(fs::is_symlink(d / "t"));
         EXPECT_FALSE(fs::exists(d / "nowhere"));
       }},
      {"link loop",
       [](const fs::path& d) {
         fs::create_symlink(d / "u", d / "t");
         fs::create_symlink(d / "t", d / "u");
         return true;
       },
       false, [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "t")); }},
  };
  for (const TargetCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    if (!c.make(dir_)) continue;
    const size_t entries = EntriesInDir();
    EXPECT_EQ(!c.written, [&] {
      try {
        WriteFileAtomically((dir_ / "t").string(), "bytes");
      } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + (dir_ / "t").string());
        return true;
      }
      return false;
    }());
    c.check(dir_);
    EXPECT_EQ(EntriesInDir(), entries);
  }
}

TEST_F(AtomicFile, FifoWithAReaderIsWrittenDirectly) {
  for (const bool throughLink : {false, true}) {
    const fs::path fifo = dir_ / (throughLink ? "fifo2" : "fifo1");
    ASSERT_TRUE(MakeFifo(fifo));
    const fs::path path = throughLink ? dir_ / "link" : fifo;
    if (throughLink) fs::create_symlink(fifo, path);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    AtomicFileWriter writer(path.string());
    writer.Write("one ");
    writer.Write("two");
    writer.Commit();
    EXPECT_EQ(DrainFifo(reader), "one two");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(fs::is_symlink(path), throughLink);
  }
}

TEST_F(AtomicFile, StreamedChunksAppearOnlyAtCommit) {
  const fs::path file = dir_ / "a.bmp";
  WriteFileAtomically(file, "old");
  {
    AtomicFileWriter abandoned(file.string());
    abandoned.Write("never");
  }
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(EntriesInDir(), 1u);
  AtomicFileWriter writer(file.string());
  writer.Write("new ");
  writer.Write(std::string(100000, 'x'));
  EXPECT_EQ(ReadBytes(file), "old");
  writer.Commit();
  EXPECT_EQ(ReadBytes(file), "new " + std::string(100000, 'x'));
  EXPECT_EQ(EntriesInDir(), 1u);
}

// Root saving another user's file must leave it theirs.
TEST_F(AtomicFile, ReplacedFileKeepsItsOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  const fs::path file = dir_ / "theirs.qgp";
  WriteFileAtomically(file, "old");
  ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  ::chmod(file.c_str(), 0604);
  WriteFileAtomically(file, "new");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
}

TEST_F(AtomicFile, StaleTemporaryFilesOfOwnInterruptedSavesAreRemoved) {
  struct Entry {
    const char* name;
    bool old;
    bool folder;
    bool removed;
  };
  const Entry entries[] = {
      {".qel-save-Ab3xY9", true, false, true},   {".qel-save-Ab3xY8", false, false, false},
      {".qel-save-Ab3xY", true, false, false},   {".qel-save-Ab3xY90", true, false, false},
      {"a.qel-save-Ab3xY9", true, false, false}, {".qel-save-Ab3-Y9", true, false, false},
      {".qel-save-Folder", true, true, false},
  };
  const timespec twoDaysAgo[2] = {{std::time(nullptr) - 2 * 86400, 0},
                                  {std::time(nullptr) - 2 * 86400, 0}};
  for (const Entry& e : entries) {
    const fs::path path = dir_ / e.name;
    if (e.folder) {
      fs::create_directory(path);
    } else {
      std::ofstream(path) << "x";
    }
    if (e.old) ::utimensat(AT_FDCWD, path.c_str(), twoDaysAgo, 0);
  }
  // Another user's file is never touched; only root can make one here.
  const fs::path theirs = dir_ / ".qel-save-Other1";
  std::ofstream(theirs) << "x";
  ::utimensat(AT_FDCWD, theirs.c_str(), twoDaysAgo, 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
  }
  // The cleanup runs after a successful save once the application has asked for it.
  EnableStaleTemporaryFileCleanup();
  WriteFileAtomically(dir_ / "saved.qgp", "new");
  for (const Entry& e : entries) EXPECT_NE(fs::exists(dir_ / e.name), e.removed) << e.name;
  EXPECT_EQ(fs::exists(theirs), root);
}

}  // namespace
