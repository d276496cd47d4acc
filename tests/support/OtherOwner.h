#pragma once

// Trees owned by another user, as an unprivileged user would build them for a
// process running as root. Giving files away needs root: the tests that do it
// run only as root.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace velmar::testing {

// The user and group "nobody".
inline constexpr uid_t kOtherUser = 65534;
inline constexpr gid_t kOtherGroup = 65534;

inline bool RunningAsRoot() { return ::geteuid() == 0; }

// Gives `path` and everything below it (links themselves, not what they name)
// to kOtherUser. True when every part changed owner.
inline bool GiveToOtherUser(const std::string& path) {
  bool ok = ::lchown(path.c_str(), kOtherUser, kOtherGroup) == 0;
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
      ok = ::lchown(entry.path().c_str(), kOtherUser, kOtherGroup) == 0 && ok;
    }
  }
  return ok && !error;
}

}  // namespace velmar::testing

// Tests that give files away to another user need root.
#define VELMAR_SKIP_UNLESS_ROOT()                                                 \
  if (!::velmar::testing::RunningAsRoot()) GTEST_SKIP() << "needs root to give files to another user"
