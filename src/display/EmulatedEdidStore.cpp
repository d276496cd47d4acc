#include "display/EmulatedEdidStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "storage/FileIO.h"
#include "util/Format.h"
#include "util/TrustedPath.h"

namespace velmar {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : fd(descriptor) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd; }

 private:
  int fd;
};

// A name that stays inside its folder.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// The components of a key path, or none when any of them is not a plain name.
std::optional<std::vector<std::string>> SplitKeyPath(const std::string& keyPath) {
  std::vector<std::string> components;
  size_t start = 0;
  while (true) {
    const size_t end = keyPath.find('\\', start);
    std::string component = keyPath.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!IsPlainName(component)) return std::nullopt;
    components.push_back(std::move(component));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return components;
}

// Makes `path` and its missing parents as folders.
bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

EmulatedEdidStore::EmulatedEdidStore() : root(DefaultRoot()) {}

std::string EmulatedEdidStore::DefaultRoot() {
  const char* named = std::getenv("VELMAR_REGISTRY_ROOT");
  if (named != nullptr && named[0] != '\0') return named;
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/velmar-edid-utility/registry";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/velmar-edid-utility/registry";
  return std::string();
}

std::string EmulatedEdidStore::ValueName(bool analog, unsigned displayIndex) {
  return Format("NEXOEmulatedEDID_%s%u", analog ? "A" : "D", displayIndex);
}

int EmulatedEdidStore::OpenKey(const std::string& keyPath, bool create) const {
  const std::optional<std::vector<std::string>> components = SplitKeyPath(keyPath);
  refusal.clear();
  if (!components || root.empty()) return -1;
  // As root the root folder may come from another user's environment (su
  // without "-" keeps HOME): it is used only when nobody but root can change it.
  if (RunsPrivileged()) {
    const std::string reason = UntrustedPathReason(root, true);
    if (!reason.empty()) {
      refusal = Format("Not using the registry folder %s as root: %s", root.c_str(), reason.c_str());
      return -1;
    }
  }
  if (create && !MakeFolders(root)) return -1;
  int current = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (current < 0) return -1;
  for (const std::string& component : *components) {
    // O_NOFOLLOW: a symbolic link in the key path is refused, never followed.
    int next = ::openat(current, component.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT && create) {
      if (::mkdirat(current, component.c_str(), 0700) == 0 || errno == EEXIST) {
        next = ::openat(current, component.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      }
    }
    ::close(current);
    if (next < 0) return -1;
    current = next;
  }
  return current;
}

bool EmulatedEdidStore::ValueExists(const std::string& keyPath, const std::string& valueName) const {
  if (!IsPlainName(valueName)) return false;
  const Descriptor key(OpenKey(keyPath, false));
  if (key.Get() < 0) return false;
  struct stat info {};
  return ::fstatat(key.Get(), valueName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

bool EmulatedEdidStore::ReadValue(const std::string& keyPath, const std::string& valueName,
                                  std::array<uint8_t, kMaxEdidSize>& bytes, unsigned& size) const {
  if (!IsPlainName(valueName)) return false;
  const Descriptor key(OpenKey(keyPath, false));
  if (key.Get() < 0) return false;
  const Descriptor value(::openat(key.Get(), valueName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (value.Get() < 0) return false;
  struct stat info {};
  if (::fstat(value.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxEdidSize) return false;
  // One byte more than the limit tells a value that grew since the check.
  std::array<uint8_t, kMaxEdidSize + 1> buffer{};
  size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t result = ::read(value.Get(), buffer.data() + got, buffer.size() - got);
    if (result < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (result == 0) break;
    got += static_cast<size_t>(result);
  }
  if (got > kMaxEdidSize) return false;
  bytes.fill(0);
  std::memcpy(bytes.data(), buffer.data(), got);
  size = static_cast<unsigned>(got);
  return true;
}

bool EmulatedEdidStore::WriteValue(const std::string& keyPath, const std::string& valueName, const uint8_t* data,
                                   unsigned length) {
  if (!IsPlainName(valueName) || (data == nullptr && length > 0)) return false;
  const Descriptor key(OpenKey(keyPath, true));
  if (key.Get() < 0) return false;
  // Everything happens relative to the key's open folder: swapping a folder
  // of the path for a link meanwhile cannot move the write outside the root.
  const std::string contents(reinterpret_cast<const char*>(data), data != nullptr ? length : 0);
  return WriteFileAtomicallyAt(key.Get(), valueName, contents, 0600, nullptr) == WriteStatus::Ok;
}

bool EmulatedEdidStore::DeleteValue(const std::string& keyPath, const std::string& valueName) {
  if (!IsPlainName(valueName)) return false;
  const Descriptor key(OpenKey(keyPath, false));
  if (key.Get() < 0) return false;
  struct stat info {};
  if (::fstatat(key.Get(), valueName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) {
    return false;
  }
  return ::unlinkat(key.Get(), valueName.c_str(), 0) == 0;
}

}  // namespace velmar
