#include "storage/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "util/Format.h"

namespace velmar {

namespace {

WriteFunction& WriteOverride() {
  static WriteFunction function;
  return function;
}

long WriteSome(int fd, const void* data, size_t size) {
  if (WriteOverride()) return WriteOverride()(fd, data, size);
  return static_cast<long>(::write(fd, data, size));
}

std::string ErrorText(int error) { return std::strerror(error); }

// Follows symbolic links to the file that is finally written.
std::string ResolveTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = ::readlink(current.c_str(), buffer.data(), PATH_MAX);
    if (length <= 0) return current;
    std::string target(buffer.data(), static_cast<size_t>(length));
    if (target[0] != '/') {
      const size_t slash = current.rfind('/');
      if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
    }
    current = target;
  }
  return current;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

ReadStatus ReadFilePrefix(const std::string& path, size_t limit, std::string& contents) {
  contents.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadStatus::CannotOpen;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return ReadStatus::CannotOpen;
  }
  std::vector<char> buffer(64 * 1024);
  ReadStatus status = ReadStatus::Ok;
  while (contents.size() < limit) {
    const size_t want = std::min(buffer.size(), limit - contents.size());
    const ssize_t got = ::read(fd, buffer.data(), want);
    if (got < 0) {
      if (errno == EINTR) continue;
      status = ReadStatus::ReadError;
      break;
    }
    if (got == 0) break;
    contents.append(buffer.data(), static_cast<size_t>(got));
  }
  ::close(fd);
  if (status != ReadStatus::Ok) contents.clear();
  return status;
}

WriteStatus WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error) {
  if (path.empty()) return WriteStatus::CannotCreate;
  const std::string target = ResolveTarget(path);

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
    return WriteStatus::CannotCreate;
  }

  const std::string folder = FolderOf(target);
  std::string name = target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
  std::string temporary = (folder == "/" ? "" : folder) + "/." + name + ".XXXXXX";
  std::vector<char> pattern(temporary.begin(), temporary.end());
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return WriteStatus::CannotCreate;
  temporary.assign(pattern.data());

  auto fail = [&](int code) {
    ::close(fd);
    ::unlink(temporary.c_str());
    if (error != nullptr) *error = ErrorText(code);
    return WriteStatus::WriteFailed;
  };

  size_t written = 0;
  while (written < contents.size()) {
    const long result = WriteSome(fd, contents.data() + written, contents.size() - written);
    if (result < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (result == 0) return fail(ENOSPC);
    written += static_cast<size_t>(result);
  }

  mode_t mode;
  if (exists) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int code = errno;
    ::unlink(temporary.c_str());
    if (error != nullptr) *error = ErrorText(code);
    return WriteStatus::WriteFailed;
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int code = errno;
    ::unlink(temporary.c_str());
    if (error != nullptr) *error = ErrorText(code);
    return WriteStatus::WriteFailed;
  }
  return WriteStatus::Ok;
}

ScopedWriteOverride::ScopedWriteOverride(WriteFunction function) : previous_(WriteOverride()) {
  WriteOverride() = std::move(function);
}

ScopedWriteOverride::~ScopedWriteOverride() { WriteOverride() = std::move(previous_); }

std::string WriteFailureMessage(const std::string& path, const std::string& error) {
  return Format("Failed to write [%s]: %s. The file was left unchanged", path.c_str(), error.c_str());
}

}  // namespace velmar
