#include "storage/FileIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/EdidImage.h"
#include "app/ImageFiles.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::ReadTextFile;
using testing::WriteTextFile;

class FileIOTest : public ::testing::Test {
 protected:
  void SetUp() override { dir = testing::MakeTempDir(); }
  void TearDown() override { testing::RemoveTree(dir); }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  bool IsLink(const std::string& name) const { return std::filesystem::is_symlink(Path(name)); }

  std::string dir;
};

TEST_F(FileIOTest, OnlyRegularFilesAreRead) {
  ASSERT_EQ(::mkfifo(Path("fifo.bin").c_str(), 0600), 0);
  // Nobody writes into the FIFO: reading it must not wait.
  const FileRead fifo = ReadRegularFile(Path("fifo.bin"), 512);
  EXPECT_FALSE(fifo.ok);
  EXPECT_EQ(fifo.reason, "Not a regular file");
  EXPECT_EQ(ReadRegularFile(dir, 512).reason, "Is a directory");
  EXPECT_EQ(ReadRegularFile(Path("none.bin"), 512).reason, "No such file or directory");

  // The kernel's attribute files say they are empty and are read to their end.
  const FileRead status = ReadRegularFile("/proc/self/status", 1 << 20);
  ASSERT_TRUE(status.ok);
  EXPECT_NE(status.contents.find("Name:"), std::string::npos);

  // The open dialog may pick a FIFO too: the message gives the reason, the image stays.
  testing::ScriptedUserInterface ui;
  EdidImage image(ui);
  EXPECT_FALSE(LoadImageFile(image, SourceKind::BinFile, Path("fifo.bin")));
  EXPECT_EQ(ui.messages,
            std::vector<std::string>{"Failed to open [" + Path("fifo.bin") + "] for reading: Not a regular file"});
}

TEST_F(FileIOTest, WritesThatCannotStartSayWhyAndChangeNothing) {
  ASSERT_EQ(::symlink("loop-b", Path("loop-a").c_str()), 0);
  ASSERT_EQ(::symlink("loop-a", Path("loop-b").c_str()), 0);
  std::filesystem::create_directory(Path("folder"));
  ASSERT_EQ(::symlink("folder", Path("to-folder").c_str()), 0);
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("fifo", Path("to-fifo").c_str()), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"loop-a", "Too many levels of symbolic links"},
      {"folder", "Is a directory"},
      {"to-folder", "Is a directory"},
      {"fifo", "Not a regular file"},
      {"to-fifo", "Not a regular file"},
      {"none/x.bin", "No such file or directory"},
      {std::string(256, 'n'), "File name too long"},
      {"folder/", "Is a directory"},
  };
  for (const auto& [name, reason] : cases) {
    std::string error;
    EXPECT_EQ(WriteFileAtomically(Path(name), "new", &error), WriteStatus::CannotCreate) << name;
    EXPECT_EQ(error, reason) << name;
  }
  EXPECT_TRUE(IsLink("loop-a"));
  EXPECT_TRUE(IsLink("loop-b"));
  EXPECT_TRUE(std::filesystem::is_empty(Path("folder")));
  // Nothing but what the test made: no temporary file stayed behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 6);
}

TEST_F(FileIOTest, LongNamesAndLinksToNothingAreWritten) {
  // The temporary name is short, so the longest name the folder allows works.
  const std::string longest(255, 'x');
  std::string error;
  ASSERT_EQ(WriteFileAtomically(Path(longest), "long", &error), WriteStatus::Ok) << error;
  EXPECT_EQ(ReadTextFile(Path(longest)), "long");

  // A link to a file that does not exist yet: the file is created, the link stays.
  ASSERT_EQ(::symlink("later.bin", Path("link.bin").c_str()), 0);
  ASSERT_EQ(WriteFileAtomically(Path("link.bin"), "through", &error), WriteStatus::Ok) << error;
  EXPECT_TRUE(IsLink("link.bin"));
  EXPECT_EQ(ReadTextFile(Path("later.bin")), "through");
}

TEST_F(FileIOTest, NewFilesFollowTheUmaskWhichStaysAsItWas) {
  const mode_t saved = ::umask(027);
  std::string error;
  const WriteStatus status = WriteFileAtomically(Path("new.bin"), "x", &error);
  const mode_t after = ::umask(saved);
  ASSERT_EQ(status, WriteStatus::Ok) << error;
  EXPECT_EQ(after, 027u);
  struct stat info {};
  ASSERT_EQ(::stat(Path("new.bin").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(FileIOTest, FailedWritesRemoveTheFileALinkCreated) {
  ASSERT_EQ(::symlink("later.bin", Path("link.bin").c_str()), 0);
  ScopedWriteOverride full([](int fd, const void* data, size_t size) -> long {
    (void)fd, (void)data, (void)size;
    errno = ENOSPC;
    return -1;
  });
  std::string error;
  EXPECT_EQ(WriteFileAtomically(Path("link.bin"), "x", &error), WriteStatus::WriteFailed);
  EXPECT_EQ(error, "No space left on device");
  EXPECT_FALSE(std::filesystem::exists(Path("later.bin")));
  EXPECT_TRUE(IsLink("link.bin"));
}

}  // namespace
}  // namespace velmar
