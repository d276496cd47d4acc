// Kept free of the rest of the program: the display library is built from it too.
#include "util/TrustedPath.h"

#include <sys/auxv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

namespace velmar {

namespace {

// The loader gives up on chains of links longer than this, and so do we.
constexpr int kMaxLinks = 40;

// The parts of a path, last part first (the order in which they are taken).
void PushParts(const std::string& path, std::vector<std::string>& pending) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  pending.insert(pending.end(), parts.rbegin(), parts.rend());
}

std::string Parent(const std::string& folder) {
  const size_t slash = folder.rfind('/');
  return slash == 0 || slash == std::string::npos ? std::string("/") : folder.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string OwnerReason(const std::string& path, const struct stat& info, const char* what) {
  return path + " is " + what + "owned by uid " + std::to_string(info.st_uid) + ", not by root";
}

// Why one object on the way is not safe, or empty.
std::string ObjectReason(const std::string& path, const struct stat& info) {
  if (info.st_uid != 0) return OwnerReason(path, info, "");
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && !(S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) != 0)) {
    return path + " is writable by " + ((info.st_mode & S_IWOTH) != 0 ? "others" : "its group");
  }
  return std::string();
}

}  // namespace

bool RunsPrivileged() {
  return ::geteuid() == 0 || ::getauxval(AT_SECURE) != 0;
}

std::string UntrustedPathReason(const std::string& path, bool missingIsFine) {
  if (path.empty() || path[0] != '/') return "'" + path + "' is not an absolute path";
  struct stat info {};
  if (::lstat("/", &info) != 0) return std::string("/ cannot be examined: ") + std::strerror(errno);
  if (std::string reason = ObjectReason("/", info); !reason.empty()) return reason;

  std::vector<std::string> pending;
  PushParts(path, pending);
  std::string current = "/";
  int links = 0;
  while (!pending.empty()) {
    const std::string part = pending.back();
    pending.pop_back();
    if (part == ".") continue;
    // The folder above was examined on the way down.
    if (part == "..") {
      current = Parent(current);
      continue;
    }
    const std::string next = Join(current, part);
    if (::lstat(next.c_str(), &info) != 0) {
      const int error = errno;
      if (error == ENOENT && missingIsFine) return std::string();
      return next + " cannot be examined: " + std::strerror(error);
    }
    if (S_ISLNK(info.st_mode)) {
      // Its folder was examined: only root can change where it leads.
      if (info.st_uid != 0) return OwnerReason(next, info, "a link ");
      if (++links > kMaxLinks) return next + " cannot be examined: " + std::strerror(ELOOP);
      std::vector<char> target(PATH_MAX + 1);
      const ssize_t length = ::readlink(next.c_str(), target.data(), target.size() - 1);
      if (length < 0) return next + " cannot be examined: " + std::strerror(errno);
      const std::string leadsTo(target.data(), static_cast<size_t>(length));
      if (!leadsTo.empty() && leadsTo[0] == '/') current.assign(1, '/');
      PushParts(leadsTo, pending);
      continue;
    }
    if (std::string reason = ObjectReason(next, info); !reason.empty()) return reason;
    if (!pending.empty() && !S_ISDIR(info.st_mode)) return next + " is not a folder";
    current = next;
  }
  return std::string();
}

}  // namespace velmar
