#include "display/pexa-drm/DrmConnector.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "util/TrustedPath.h"

namespace velmar::drm {

namespace {

constexpr const char* kSysfsVariable = "VELMAR_SYSFS_ROOT";
constexpr const char* kDebugfsVariable = "VELMAR_DEBUGFS_ROOT";

std::string ErrorText(int error) {
  return std::strerror(error);
}

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
  void Reset(int descriptor) {
    if (fd >= 0) ::close(fd);
    fd = descriptor;
  }

 private:
  int fd;
};

const char* MovedTree(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

std::optional<std::string> Root(const char* variable, const char* fallback, std::string& why) {
  const char* value = MovedTree(variable);
  if (value == nullptr) return std::string(fallback);
  if (RunsPrivileged()) {
    const std::string reason = UntrustedPathReason(value, true);
    if (!reason.empty()) {
      why = std::string("Not using ") + variable + "=" + value + " as root: " + reason;
      return std::nullopt;
    }
  }
  return std::string(value);
}

// As root, a folder of a moved tree that is about to be written into must be
// root's alone all the way up: its tree may hold what someone else put there.
bool MayWriteInto(const char* variable, const std::string& folder, std::string& why) {
  const char* value = MovedTree(variable);
  if (value == nullptr || !RunsPrivileged()) return true;
  const std::string reason = UntrustedPathReason(folder, true);
  if (reason.empty()) return true;
  why = std::string("Not using ") + variable + "=" + value + " as root: " + reason;
  return false;
}

// Opens the regular file `name` of the folder open at `folder` for writing,
// emptied first: never through a link, never anything but a file right in that
// folder. -1 with the reason in `why` on failure.
int OpenFileToWrite(int folder, const std::string& folderPath, const char* name, std::string& why) {
  const std::string path = folderPath + "/" + name;
  const int fd = ::openat(folder, name, O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    why = error == ELOOP ? path + " is a symbolic link: not written"
                         : "Cannot open " + path + ": " + ErrorText(error) +
                               (error == EACCES || error == EPERM ? " (EDID overrides need root)" : "");
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    why = path + " is not a regular file: not written";
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Opens a connector's folder (a plain name inside `parent`), never through a link.
int OpenConnectorFolder(int parent, const std::string& parentPath, const std::string& name, std::string& why) {
  const std::string path = parentPath + "/" + name;
  const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    why = error == ELOOP || error == ENOTDIR ? path + " is not a folder: not used"
                                             : "Cannot open " + path + ": " + ErrorText(error);
  }
  return fd;
}

// Opens the folder of the connector's debugfs files: dri/<minor>/<connector>,
// or dri/<device>/<connector> where the kernel names the folder after the
// device. -1 with the reason in `why` on failure; `path` receives its path.
int OpenDebugfsConnector(const ConnectorPlace& connector, std::string& path, std::string& why) {
  const std::optional<std::string> root = DebugfsRoot(why);
  if (!root) return -1;
  const std::string dri = *root + "/dri";
  const Descriptor driFolder(::open(dri.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (driFolder.Get() < 0) {
    const int error = errno;
    why = "debugfs is not available at " + dri + ": " + ErrorText(error) +
          (error == EACCES ? " (EDID overrides need root)" : " (mount it: mount -t debugfs none " + *root + ")");
    return -1;
  }
  std::string cardName = std::to_string(connector.cardNumber);
  Descriptor cardFolder(::openat(driFolder.Get(), cardName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (cardFolder.Get() < 0 && IsPlainName(connector.deviceName)) {
    cardName = connector.deviceName;
    cardFolder.Reset(::openat(driFolder.Get(), cardName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }
  if (cardFolder.Get() < 0) {
    why = "Cannot open " + dri + "/" + std::to_string(connector.cardNumber) + ": " + ErrorText(errno);
    return -1;
  }
  path = dri + "/" + cardName + "/" + connector.shortName;
  if (!MayWriteInto(kDebugfsVariable, path, why)) return -1;
  return OpenConnectorFolder(cardFolder.Get(), dri + "/" + cardName, connector.shortName, why);
}

// Reads at most `limit` bytes of a file; none when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path, size_t limit) {
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) return std::nullopt;
  std::string contents;
  char buffer[4096];
  while (contents.size() < limit) {
    const ssize_t got = ::read(fd.Get(), buffer, std::min(sizeof buffer, limit - contents.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;
    contents.append(buffer, static_cast<size_t>(got));
  }
  return contents;
}

// The digits of an entry name's card number.
size_t CardDigits(const std::string& entry) {
  size_t digits = 0;
  while (4 + digits < entry.size() && entry[4 + digits] >= '0' && entry[4 + digits] <= '9') ++digits;
  return digits;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::string> SysfsRoot(std::string& why) {
  return Root(kSysfsVariable, "/sys", why);
}

std::optional<std::string> DebugfsRoot(std::string& why) {
  return Root(kDebugfsVariable, "/sys/kernel/debug", why);
}

bool IsPlainConnectorName(const std::string& name) {
  if (name.empty() || name.size() > 64) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
  });
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::string CardDeviceName(const std::string& cardFolder) {
  char buffer[PATH_MAX];
  if (::realpath((cardFolder + "/device").c_str(), buffer) == nullptr) return std::string();
  const std::string device = buffer;
  return device.substr(device.rfind('/') + 1);
}

bool IsConnectorEntryName(const std::string& entry) {
  const size_t digits = CardDigits(entry);
  return entry.compare(0, 4, "card") == 0 && digits > 0 && digits <= 3 && 4 + digits < entry.size() &&
         entry[4 + digits] == '-' && IsPlainConnectorName(entry.substr(5 + digits));
}

std::optional<ConnectorPlace> FindConnector(const std::string& entry, std::string& why) {
  if (!IsConnectorEntryName(entry)) {
    why = "'" + entry + "' is not a connector's name (such as card0-HDMI-A-1)";
    return std::nullopt;
  }
  const size_t digits = CardDigits(entry);
  const std::optional<std::string> root = SysfsRoot(why);
  if (!root) return std::nullopt;
  ConnectorPlace connector;
  connector.cardNumber = std::atoi(entry.substr(4, digits).c_str());
  connector.entry = entry;
  connector.shortName = entry.substr(5 + digits);
  const std::string card = *root + "/class/drm/card" + std::to_string(connector.cardNumber);
  connector.folder = card + "/" + entry;
  struct stat info {};
  if (!IsFolder(card) || ::lstat(connector.folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    why = "There is no connector " + entry + " (" + connector.folder + ")";
    return std::nullopt;
  }
  connector.deviceName = CardDeviceName(card);
  return connector;
}

bool IsConnected(const ConnectorPlace& connector) {
  const std::optional<std::string> status = ReadFile(connector.folder + "/status", 64);
  return status && status->substr(0, status->find_first_of("\r\n")) == "connected";
}

std::string ReadEdid(const ConnectorPlace& connector, size_t limit) {
  return ReadFile(connector.folder + "/edid", limit).value_or(std::string());
}

bool WriteOverrideFile(const ConnectorPlace& connector, const void* data, size_t size, std::string& why) {
  std::string folderPath;
  const Descriptor folder(OpenDebugfsConnector(connector, folderPath, why));
  if (folder.Get() < 0) return false;
  // Emptied on opening, so a longer earlier override never leaves bytes behind.
  const Descriptor file(OpenFileToWrite(folder.Get(), folderPath, "edid_override", why));
  if (file.Get() < 0) return false;
  // The kernel takes the whole EDID in one write and checks it there.
  const ssize_t written = ::write(file.Get(), data, size);
  if (written != static_cast<ssize_t>(size)) {
    why = "The kernel refused the EDID override for " + connector.entry + ": " +
          (written < 0 ? ErrorText(errno) : std::string("short write"));
    return false;
  }
  return true;
}

void Reprobe(const ConnectorPlace& connector) {
  std::string why;
  if (!MayWriteInto(kSysfsVariable, connector.folder, why)) return;
  const std::string cardFolder = connector.folder.substr(0, connector.folder.rfind('/'));
  const Descriptor card(::open(cardFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (card.Get() < 0) return;
  const Descriptor folder(OpenConnectorFolder(card.Get(), cardFolder, connector.entry, why));
  if (folder.Get() < 0) return;
  const Descriptor status(OpenFileToWrite(folder.Get(), connector.folder, "status", why));
  if (status.Get() < 0) return;
  const ssize_t ignored = ::write(status.Get(), "detect", 6);
  (void)ignored;
}

}  // namespace velmar::drm
