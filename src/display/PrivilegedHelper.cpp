#include "display/PrivilegedHelper.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "util/TrustedPath.h"

extern char** environ;

namespace velmar {

namespace {

constexpr char kHelperName[] = "velmar-edid-helper";
// pkexec's own exit statuses: the user dismissed the dialog, or no authorization.
constexpr int kPolkitDismissed = 126;
constexpr int kPolkitRefused = 127;

std::string ProgramFolder() {
  std::vector<char> program(4096);
  const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size() - 1);
  if (length <= 0 || program[0] != '/') return std::string();
  const std::string path(program.data(), static_cast<size_t>(length));
  return path.substr(0, path.rfind('/'));
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Writes all of `data`; false when the reader went away.
bool WriteAll(int fd, const std::string& data) {
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t result = ::write(fd, data.data() + written, data.size() - written);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) return false;
    written += static_cast<size_t>(result);
  }
  return true;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

std::string TrimmedLines(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

PrivilegedHelper::PrivilegedHelper() : helperPath(DefaultPath()) {}

std::string PrivilegedHelper::DefaultPath() {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return std::string();
  const std::string beside = folder + "/" + kHelperName;
  if (IsExecutableFile(beside)) return beside;
#ifdef VELMAR_HELPER_FROM_PROGRAM
  return folder + "/" VELMAR_HELPER_FROM_PROGRAM "/" + kHelperName;
#else
  return beside;
#endif
}

bool PrivilegedHelper::ThroughPolkit() const {
  return launch == Launch::Polkit || (launch == Launch::Automatic && !RunsPrivileged());
}

bool PrivilegedHelper::Run(const std::vector<std::string>& arguments, const std::string& input,
                           std::string& why) const {
  if (!IsExecutableFile(helperPath)) {
    why = "The EDID helper " + helperPath +
          " is missing: install the program (see its README), or run this command as root";
    return false;
  }
  const bool polkit = ThroughPolkit();
  // Root runs the helper itself, so it must be a file nobody else can change.
  if (!polkit && RunsPrivileged()) {
    const std::string reason = UntrustedPathReason(helperPath);
    if (!reason.empty()) {
      why = "Not running the EDID helper " + helperPath + " as root: " + reason;
      return false;
    }
  }
  std::vector<std::string> argv;
  if (polkit) argv.emplace_back("pkexec");
  argv.push_back(helperPath);
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);

  int toHelper[2] = {-1, -1};
  int fromHelper[2] = {-1, -1};
  if (::pipe2(toHelper, O_CLOEXEC) != 0 || ::pipe2(fromHelper, O_CLOEXEC) != 0) {
    why = std::string("Cannot start the EDID helper: ") + std::strerror(errno);
    for (int fd : {toHelper[0], toHelper[1], fromHelper[0], fromHelper[1]}) {
      if (fd >= 0) ::close(fd);
    }
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toHelper[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromHelper[1], STDERR_FILENO);
  pid_t pid = 0;
  // pkexec is found where the user's commands are found.
  const int spawned = polkit ? ::posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ)
                             : ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(toHelper[0]);
  ::close(fromHelper[1]);
  if (spawned != 0) {
    ::close(toHelper[1]);
    ::close(fromHelper[0]);
    why = polkit && spawned == ENOENT
              ? "Overriding a display's EDID needs root, and pkexec (polkit) is not installed: install it "
                "(apt install pkexec), or run this command as root"
              : "Cannot start the EDID helper " + helperPath + ": " + std::strerror(spawned);
    return false;
  }
  // The helper may stop reading early (a refused request): no SIGPIPE for that.
  struct sigaction ignore {};
  struct sigaction previous {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, &previous);
  WriteAll(toHelper[1], input);
  ::close(toHelper[1]);
  ::sigaction(SIGPIPE, &previous, nullptr);
  const std::string messages = TrimmedLines(ReadAll(fromHelper[0]));
  ::close(fromHelper[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (polkit && code == kPolkitDismissed) {
    why = "The administrator's authorization was not given: nothing was written";
  } else if (polkit && code == kPolkitRefused) {
    why = "pkexec could not obtain the administrator's authorization: nothing was written" +
          (messages.empty() ? std::string() : " (" + messages + ")");
  } else {
    why = messages.empty() ? "The EDID helper failed" : messages;
  }
  return false;
}

}  // namespace velmar
