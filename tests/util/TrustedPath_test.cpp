#include "util/TrustedPath.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/OtherOwner.h"
#include "support/TestData.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::GiveToOtherUser;

class TrustedPathTest : public ::testing::Test {
 protected:
  void SetUp() override { dir = testing::MakeTempDir(); }
  void TearDown() override { testing::RemoveTree(dir); }
  std::string dir;
};

TEST_F(TrustedPathTest, OnlyAbsolutePathsOfRootsOwnFoldersAreTrusted) {
  for (const std::string relative : {"", "libtovuxy.so", "./sys", "build/libtovuxy.so"}) {
    EXPECT_EQ(UntrustedPathReason(relative), "'" + relative + "' is not an absolute path");
  }
  EXPECT_EQ(UntrustedPathReason("/nonexistent-velmar/lib.so"),
            "/nonexistent-velmar cannot be examined: No such file or directory");
  EXPECT_EQ(UntrustedPathReason("/nonexistent-velmar/lib.so", true), "");
  if (::geteuid() != 0) {
    // A folder of our own, unless we are root, is not root's.
    EXPECT_EQ(UntrustedPathReason(dir), dir + " is owned by uid " + std::to_string(::geteuid()) + ", not by root");
  }
}

// The cases a root process meets with an unprivileged user's environment.
TEST_F(TrustedPathTest, ForeignOrWritableFoldersAndLinksAreNamed) {
  VELMAR_SKIP_UNLESS_ROOT();
  ASSERT_TRUE(RunsPrivileged());
  fs::create_directories(dir + "/root/tree");
  fs::create_directories(dir + "/user/tree");
  fs::create_directories(dir + "/sticky/tree");
  testing::WriteTextFile(dir + "/root/lib.so", "");
  testing::WriteTextFile(dir + "/root/shared.so", "");
  ::chmod((dir + "/root/shared.so").c_str(), 0664);
  fs::create_directories(dir + "/open/tree");
  ::chmod((dir + "/open").c_str(), 0777);
  ::chmod((dir + "/sticky").c_str(), 01777);
  fs::create_directory_symlink(dir + "/root/tree", dir + "/root/link");
  fs::create_directory_symlink(dir + "/user/tree", dir + "/root/to-user");
  fs::create_directory_symlink("../root/tree", dir + "/user-link");
  ASSERT_TRUE(GiveToOtherUser(dir + "/user"));
  ASSERT_TRUE(GiveToOtherUser(dir + "/user-link"));
  const std::string other = std::to_string(testing::kOtherUser);

  const struct {
    std::string path, reason;
  } cases[] = {
      {dir, ""},
      {dir + "/root/tree", ""},
      {dir + "/root/lib.so", ""},
      {dir + "/root/link/../lib.so", ""},
      {dir + "/./root//tree/", ""},
      // Only root may write to /tmp's entries' names: its sticky bit is fine, and so is one of ours.
      {dir + "/sticky/tree", ""},
      {dir + "/user/tree", dir + "/user is owned by uid " + other + ", not by root"},
      {dir + "/root/to-user", dir + "/user is owned by uid " + other + ", not by root"},
      {dir + "/user-link", dir + "/user-link is a link owned by uid " + other + ", not by root"},
      {dir + "/root/shared.so", dir + "/root/shared.so is writable by its group"},
      {dir + "/open/tree", dir + "/open is writable by others"},
      {dir + "/root/lib.so/x", dir + "/root/lib.so is not a folder"},
  };
  for (const auto& c : cases) EXPECT_EQ(UntrustedPathReason(c.path), c.reason) << c.path;

  // A folder root is about to make is fine where everything above it is.
  EXPECT_EQ(UntrustedPathReason(dir + "/root/new/folder", true), "");
  EXPECT_EQ(UntrustedPathReason(dir + "/user/new", true), dir + "/user is owned by uid " + other + ", not by root");
}

}  // namespace
}  // namespace velmar
