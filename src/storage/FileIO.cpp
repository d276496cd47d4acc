#include "storage/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <vector>

#include "util/Format.h"

namespace velmar {

namespace {

constexpr char kNotRegular[] = "Not a regular file";

WriteFunction& WriteOverride() {
  static WriteFunction function;
  return function;
}

long WriteSome(int fd, const void* data, size_t size) {
  if (WriteOverride()) return WriteOverride()(fd, data, size);
  return static_cast<long>(::write(fd, data, size));
}

std::string ErrorText(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now; false (with errno) when closing reported an error.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// A temporary file beside the target: ".velmar-" and six random letters, so
// that it fits wherever the target's own name fits. `mode` is given to the
// kernel, which applies the process's umask.
std::string TemporaryName() {
  static std::mt19937 random(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = ".velmar-";
  for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name;
}

int CreateTemporary(const std::string& folder, mode_t mode, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = (folder == "/" ? std::string() : folder) + "/" + TemporaryName();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The file a symbolic link leads to, found by letting the kernel open it for
// writing as it would for this user. `created` tells whether opening created
// it (the link pointed at nothing).
bool FollowLinkForWriting(const std::string& path, std::string& target, bool& created, std::string& reason) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    reason = S_ISDIR(info.st_mode) ? ErrorText(EISDIR) : kNotRegular;
    return false;
  }
  constexpr int kFlags = O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  int fd = ::open(path.c_str(), kFlags);
  created = false;
  if (fd < 0 && errno == ENOENT) {
    // The link points at nothing yet: the kernel creates its target, if it lets us.
    fd = ::open(path.c_str(), kFlags | O_CREAT, 0666);
    created = fd >= 0;
  }
  Descriptor file(fd);
  if (file.Get() < 0) {
    reason = ErrorText(errno);
    return false;
  }
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    reason = kNotRegular;
    return false;
  }
  std::vector<char> buffer(PATH_MAX + 1);
  const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
  const ssize_t length = ::readlink(self.c_str(), buffer.data(), PATH_MAX);
  if (length <= 0 || buffer[0] != '/') {
    reason = ErrorText(length < 0 ? errno : ENOENT);
    return false;
  }
  target.assign(buffer.data(), static_cast<size_t>(length));
  return true;
}

// Whether a file named `name` could be created in `folder` at all.
bool NameFits(const std::string& folder, const std::string& name, std::string& reason) {
  if (folder.size() + 1 + name.size() >= PATH_MAX) {
    reason = ErrorText(ENAMETOOLONG);
    return false;
  }
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  if (name.empty() || (limit > 0 && name.size() > static_cast<size_t>(limit))) {
    reason = ErrorText(name.empty() ? EISDIR : ENAMETOOLONG);
    return false;
  }
  return true;
}

}  // namespace

FileRead ReadRegularFile(const std::string& path, size_t limit) {
  FileRead read;
  // Opening never waits: a FIFO without a writer would otherwise hang here.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.Get() < 0) {
    read.reason = ErrorText(errno);
    return read;
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) {
    read.reason = ErrorText(errno);
    return read;
  }
  if (!S_ISREG(info.st_mode)) {
    read.reason = S_ISDIR(info.st_mode) ? ErrorText(EISDIR) : kNotRegular;
    return read;
  }
  const uint64_t stated = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
  // On the stack and left uninitialised: a batch reads many small files.
  std::array<char, 16 * 1024> buffer;
  while (read.contents.size() < limit) {
    const size_t want = std::min(buffer.size(), limit - read.contents.size());
    const ssize_t got = ::read(file.Get(), buffer.data(), want);
    if (got < 0) {
      if (errno == EINTR) continue;
      read.reason = ErrorText(errno);
      read.contents.clear();
      return read;
    }
    if (got == 0) break;
    read.contents.append(buffer.data(), static_cast<size_t>(got));
    // A short read that reaches the size the file had when opened is its end:
    // a batch of small files then costs one read each. The kernel's attribute
    // files state no size (or one they need not fill) and are read until a
    // read gives nothing.
    if (static_cast<size_t>(got) < want && stated > 0 && read.contents.size() >= stated) break;
  }
  read.size = std::max<uint64_t>(read.contents.size(), stated);
  read.ok = true;
  return read;
}

WriteStatus WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error) {
  std::string reason;
  auto cannotCreate = [&](const std::string& why) {
    if (error != nullptr) *error = why;
    return WriteStatus::CannotCreate;
  };
  if (path.empty()) return cannotCreate(ErrorText(ENOENT));

  // A link is replaced by nothing: its target is written, as far as the kernel
  // follows the link for this user.
  std::string target = path;
  bool createdTarget = false;
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (!FollowLinkForWriting(path, target, createdTarget, reason)) return cannotCreate(reason);
  }
  auto removeCreated = [&] {
    if (createdTarget) ::unlink(target.c_str());
  };

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (!S_ISREG(existing.st_mode)) return cannotCreate(S_ISDIR(existing.st_mode) ? ErrorText(EISDIR) : kNotRegular);
    // The kernel says whether this user may write the file (and why not).
    Descriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (probe.Get() < 0) return cannotCreate(ErrorText(errno));
  } else if (errno != ENOENT) {
    return cannotCreate(ErrorText(errno));
  }

  const std::string folder = FolderOf(target);
  if (!NameFits(folder, NameOf(target), reason)) return cannotCreate(reason);
  std::string temporary;
  // An existing file's copy is private until it takes the file's own permissions.
  Descriptor file(CreateTemporary(folder, exists ? 0600 : 0666, temporary));
  if (file.Get() < 0) {
    reason = ErrorText(errno);
    removeCreated();
    return cannotCreate(reason);
  }

  auto fail = [&](int code) {
    file.Close();
    ::unlink(temporary.c_str());
    removeCreated();
    if (error != nullptr) *error = ErrorText(code);
    return WriteStatus::WriteFailed;
  };

  size_t written = 0;
  while (written < contents.size()) {
    const long result = WriteSome(file.Get(), contents.data() + written, contents.size() - written);
    if (result < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (result == 0) return fail(ENOSPC);
    written += static_cast<size_t>(result);
  }

  if (exists) {
    // Best effort for the owner: only root or a member of the group may give it away.
    if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
      if (::fchown(file.Get(), existing.st_uid, existing.st_gid) != 0) {
        (void)::fchown(file.Get(), static_cast<uid_t>(-1), existing.st_gid);
      }
    }
    if (::fchmod(file.Get(), existing.st_mode & 07777) != 0) return fail(errno);
  }
  if (::fsync(file.Get()) != 0) return fail(errno);
  if (!file.Close()) return fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int code = errno;
    ::unlink(temporary.c_str());
    removeCreated();
    if (error != nullptr) *error = ErrorText(code);
    return WriteStatus::WriteFailed;
  }
  return WriteStatus::Ok;
}

WriteStatus WriteFileAtomicallyAt(int folder, const std::string& name, const std::string& contents, mode_t newMode,
                                  std::string* error) {
  auto cannotCreate = [&](int code) {
    if (error != nullptr) *error = code == 0 ? std::string(kNotRegular) : ErrorText(code);
    return WriteStatus::CannotCreate;
  };
  if (folder < 0 || name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    return cannotCreate(EINVAL);
  }
  struct stat existing {};
  const bool exists = ::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
  if (exists && !S_ISREG(existing.st_mode)) return cannotCreate(0);

  // A name nobody else can predict, made with O_EXCL so nothing already there is ever opened.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName();
    fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return cannotCreate(errno);

  auto fail = [&](int code, bool open) {
    if (open) ::close(fd);
    ::unlinkat(folder, temporary.c_str(), 0);
    if (error != nullptr) *error = ErrorText(code);
    return WriteStatus::WriteFailed;
  };
  size_t written = 0;
  while (written < contents.size()) {
    const long result = WriteSome(fd, contents.data() + written, contents.size() - written);
    if (result < 0) {
      if (errno == EINTR) continue;
      return fail(errno, true);
    }
    if (result == 0) return fail(ENOSPC, true);
    written += static_cast<size_t>(result);
  }
  if (::fchmod(fd, exists ? existing.st_mode & 07777 : newMode) != 0) return fail(errno, true);
  if (::fsync(fd) != 0) return fail(errno, true);
  if (::close(fd) != 0) return fail(errno, false);
  if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) return fail(errno, false);
  return WriteStatus::Ok;
}

ScopedWriteOverride::ScopedWriteOverride(WriteFunction function) : previous_(WriteOverride()) {
  WriteOverride() = std::move(function);
}

ScopedWriteOverride::~ScopedWriteOverride() { WriteOverride() = std::move(previous_); }

std::string ReadOpenFailureMessage(const std::string& path, const std::string& reason) {
  std::string message = Format("Failed to open [%s] for reading", path.c_str());
  if (!reason.empty()) message += ": " + reason;
  return message;
}

std::string WriteOpenFailureMessage(const std::string& path, const std::string& reason) {
  std::string message = Format("Failed to open [%s] for writing", path.c_str());
  if (!reason.empty()) message += ": " + reason;
  return message;
}

std::string WriteFailureMessage(const std::string& path, const std::string& error) {
  return Format("Failed to write [%s]: %s. The file was left unchanged", path.c_str(), error.c_str());
}

}  // namespace velmar
