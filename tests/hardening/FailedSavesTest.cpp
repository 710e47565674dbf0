// Every writer under failure: a folder that is gone, a path that is a folder, a read-only file or
// folder, and a disk that fills up part-way. Each time the error names the path, the previous file
// is intact byte for byte, and no temporary file is left behind.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "graph/BmpWriter.h"
#include "graph/JpegWriter.h"
#include "platform/AtomicFile.h"
#include "project/ProjectFile.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/support/ChildProcess.h"
#include "valuetable/ValueTable.h"

namespace hardening {
namespace {

using Writer = std::function<void(const std::string& path)>;

Bitmap Noise() {
  Bitmap bitmap(64, 64);
  uint32_t state = 12345;
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      state = state * 1103515245u + 12345u;
      bitmap.SetPixel(x, y, static_cast<int32_t>(state >> 8));
    }
  }
  return bitmap;
}

struct NamedWriter {
  const char* name;
  Writer write;
};

// Each writes far more than the 256 bytes the full-disk case allows.
std::vector<NamedWriter> Writers() {
  return {
      {"project",
       [](const std::string& path) {
         ProjectDocument document;
         document.DateiName = path;
         document.Functions.assign(3, {"1", "sin(x)", "0.1", "255"});
         document.Modified = true;
         try {
           SaveData(document);
         } catch (...) {
           EXPECT_TRUE(document.Modified);
           throw;
         }
       }},
      {"BMP", [](const std::string& path) { WriteBmpFile(path, Noise()); }},
      {"JPEG", [](const std::string& path) { WriteJpegFile(path, Noise(), 100); }},
      {"value table",
       [](const std::string& path) {
         WriteValueTableExport(path, ValueTable(100, {"-1,25", "Error"}), ValueTableLayout::Block);
       }},
  };
}

const std::string kPrevious = "the user's only copy\r\n";

size_t Entries(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

void ExpectCreateError(const Writer& write, const fs::path& path) {
  try {
    write(path.string());
    ADD_FAILURE() << "no error for " << path;
  } catch (const FileCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + path.string());
  }
}

TEST_F(TempDir, FolderThatIsGoneOrAPathThatIsAFolder) {
  for (const NamedWriter& w : Writers()) {
    SCOPED_TRACE(w.name);
    ExpectCreateError(w.write, dir_ / "gone" / "file");
    const fs::path folder = dir_ / "folder";
    fs::create_directory(folder);
    WriteBytes(folder / "inside", kPrevious);
    ExpectCreateError(w.write, folder);
    EXPECT_EQ(ReadBytes(folder / "inside"), kPrevious);
    EXPECT_EQ(Entries(folder), 1u);
    EXPECT_EQ(Entries(dir_), 1u);
  }
}

// Root ignores permission bits, so under root the body runs in a child that has become "nobody"
// (the folder handed over first); the child's failures are printed there and fail the test here.
template <typename Body>
void AsUnprivilegedUser(const fs::path& dir, Body body) {
  if (::geteuid() != 0) {
    body();
    return;
  }
  constexpr uid_t kNobody = 65534;
  ASSERT_EQ(::chown(dir.c_str(), kNobody, kNobody), 0);
  EXPECT_TRUE(qeltest::SucceedsInChild([&] {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return false;
    body();
    return true;
  }));
}

// A read-only file is refused; a writable file in a read-only folder, where no temporary file can
// be made, is still saved (in place).
TEST_F(TempDir, ReadOnlyFileAndFolder) {
  AsUnprivilegedUser(dir_, [this] {
    for (const NamedWriter& w : Writers()) {
      SCOPED_TRACE(w.name);
      const fs::path file = dir_ / "file";
      WriteBytes(file, kPrevious);
      fs::permissions(file, fs::perms::owner_read);
      ExpectCreateError(w.write, file);
      EXPECT_EQ(ReadBytes(file), kPrevious);
      fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
      fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
      w.write(file.string());
      fs::permissions(dir_, fs::perms::owner_all);
      const std::string saved = ReadBytes(file);
      fs::remove(file);
      w.write(file.string());
      EXPECT_EQ(saved, ReadBytes(file));
      EXPECT_EQ(Entries(dir_), 1u);
    }
  });
}

// A file-size limit in a child process makes the disk "fill up" after 256 bytes. The writer must
// report it; the parent then finds the previous file as it was and nothing else in the folder.
TEST_F(TempDir, DiskThatFillsUpPartWay) {
  for (const NamedWriter& w : Writers()) {
    SCOPED_TRACE(w.name);
    const fs::path file = dir_ / "file";
    WriteBytes(file, kPrevious);
    EXPECT_TRUE(qeltest::SucceedsInChild([&] {
      qeltest::LimitFileSize(256);
      try {
        w.write(file.string());
      } catch (const FileCreateError&) {
        return true;
      }
      return false;
    })) << "the failure was not reported";
    EXPECT_EQ(ReadBytes(file), kPrevious);
    EXPECT_EQ(Entries(dir_), 1u);
  }
}

// A picture is written as it is encoded: with room for little more than the bitmap, both formats
// still save. (The sanitizers reserve address space of their own, so the limit means nothing
// there.)
TEST_F(TempDir, PicturesSaveWithoutASecondCopyInMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "address space limits do not apply under the address sanitizer";
#endif
  const std::vector<std::pair<const char*, std::function<void(const Bitmap&, const std::string&)>>>
      writers = {{"BMP", [](const Bitmap& b, const std::string& p) { WriteBmpFile(p, b); }},
                 {"JPEG", [](const Bitmap& b, const std::string& p) { WriteJpegFile(p, b, 90); }}};
  for (const auto& [name, write] : writers) {
    SCOPED_TRACE(name);
    const fs::path file = dir_ / "big";
    EXPECT_TRUE(qeltest::SucceedsInChild([&] {
      Bitmap bitmap(4096, 4096);  // 48 MB
      bitmap.SetPixel(1, 1, 0xFF);
      long pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      const rlim_t room = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (24 << 20);
      const rlimit limit{room, room};
      if (::setrlimit(RLIMIT_AS, &limit) != 0) return false;
      write(bitmap, file.string());
      return true;
    }));
    EXPECT_GT(fs::file_size(file), 0u);
  }
}

// A successful save leaves nothing of a longer previous file.
TEST_F(TempDir, SaveReplacesALargerFileCompletely) {
  for (const NamedWriter& w : Writers()) {
    SCOPED_TRACE(w.name);
    const fs::path file = dir_ / "file";
    WriteBytes(file, std::string(1 << 20, 'o'));
    w.write(file.string());
    const std::string written = ReadBytes(file);
    EXPECT_LT(written.size(), size_t{1} << 20);
    EXPECT_EQ(written.find(std::string(64, 'o')), std::string::npos);
    EXPECT_EQ(Entries(dir_), 1u);
  }
}

}  // namespace
}  // namespace hardening
