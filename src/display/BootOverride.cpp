#include "display/BootOverride.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "util/TrustedPath.h"

extern char** environ;

namespace velmar::boot {

namespace {

constexpr char kRootVariable[] = "VELMAR_SYSTEM_ROOT";
constexpr char kSetting[] = "drm.edid_firmware=";
constexpr char kFirmwareFolder[] = "/lib/firmware/edid";
constexpr char kHookFolder[] = "/etc/initramfs-tools/hooks";
constexpr char kHookName[] = "velmar-edid-override";
constexpr char kGrubFolder[] = "/etc/default/grub.d";
constexpr char kGrubFile[] = "/etc/default/grub";
constexpr char kSnippetName[] = "velmar-edid-override.cfg";
constexpr char kUpdateInitramfs[] = "/usr/sbin/update-initramfs";
constexpr char kUpdateGrub[] = "/usr/sbin/update-grub";

std::string ErrorText(int error) {
  return std::strerror(error);
}

// "card0-HDMI-A-1" -> "HDMI-A-1", as the kernel's command line names it.
std::string ShortName(const std::string& connector) {
  const size_t dash = connector.find('-');
  return dash == std::string::npos ? connector : connector.substr(dash + 1);
}

std::string FirmwareName(const std::string& shortName) {
  return "velmar-" + shortName + ".bin";
}

// Reads a whole (small) file; none when it is not there or not readable.
std::optional<std::string> ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::string contents;
  char buffer[4096];
  while (contents.size() < 1024 * 1024) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    contents.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return contents;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsExecutable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IXUSR) != 0;
}

// The value of the drm.edid_firmware setting in a text, or nothing.
std::optional<std::string> SettingIn(const std::string& text) {
  const size_t at = text.find(kSetting);
  if (at == std::string::npos) return std::nullopt;
  const size_t start = at + std::strlen(kSetting);
  const size_t end = text.find_first_of("\" \t\r\n", start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The connectors (short names) our snippet lists, in order.
std::vector<std::string> OurConnectors(const std::string& root) {
  std::vector<std::string> connectors;
  const std::optional<std::string> snippet = ReadFile(root + kGrubFolder + "/" + kSnippetName);
  const std::optional<std::string> setting = snippet ? SettingIn(*snippet) : std::nullopt;
  if (!setting) return connectors;
  size_t start = 0;
  while (start < setting->size()) {
    size_t end = setting->find(',', start);
    if (end == std::string::npos) end = setting->size();
    const std::string entry = setting->substr(start, end - start);
    const size_t colon = entry.find(':');
    if (colon != std::string::npos && colon > 0) connectors.push_back(entry.substr(0, colon));
    start = end + 1;
  }
  return connectors;
}

// A drm.edid_firmware setting of the GRUB configuration that is not ours: the
// kernel takes one such setting, so ours would silently replace it (or it ours).
std::string ForeignSetting(const std::string& root) {
  std::vector<std::string> files = {root + kGrubFile};
  if (DIR* folder = ::opendir((root + kGrubFolder).c_str())) {
    while (const dirent* entry = ::readdir(folder)) {
      const std::string name = entry->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".cfg") == 0 && name != kSnippetName) {
        files.push_back(root + kGrubFolder + "/" + name);
      }
    }
    ::closedir(folder);
  }
  std::sort(files.begin() + 1, files.end());
  for (const std::string& file : files) {
    const std::optional<std::string> text = ReadFile(file);
    if (text && SettingIn(*text)) {
      return file + " already sets " + std::string(kSetting) +
             "...: the kernel takes only one such setting, so remove it there first";
    }
  }
  return std::string();
}

std::string Missing(const std::string& root) {
  for (const char* program : {kUpdateInitramfs, kUpdateGrub}) {
    if (!IsExecutable(root + program)) {
      return root + program +
             " is not there: the boot-time override needs GRUB (grub2-common) and initramfs-tools, as Debian "
             "installs them";
    }
  }
  return std::string();
}

std::string HookText(const std::vector<std::string>& connectors) {
  std::string text =
      "#!/bin/sh\n"
      "# Written by Velmar EDID Utility for its boot-time EDID overrides and removed\n"
      "# with the last of them (velmar-edid remove-boot-override). Puts their EDID\n"
      "# files into the initramfs, so that the display driver finds them early.\n"
      "PREREQ=\"\"\n"
      "prereqs() { echo \"$PREREQ\"; }\n"
      "case \"$1\" in\n"
      "prereqs) prereqs; exit 0 ;;\n"
      "esac\n"
      ". /usr/share/initramfs-tools/hook-functions\n";
  for (const std::string& connector : connectors) {
    text += "copy_file firmware " + std::string(kFirmwareFolder) + "/" + FirmwareName(connector) + "\n";
  }
  return text;
}

std::string SnippetText(const std::vector<std::string>& connectors) {
  return "# Written by Velmar EDID Utility for its boot-time EDID overrides and removed\n"
         "# with the last of them (velmar-edid remove-boot-override).\n"
         "GRUB_CMDLINE_LINUX_DEFAULT=\"$GRUB_CMDLINE_LINUX_DEFAULT " +
         KernelSetting(connectors) + "\"\n";
}

Step FolderStep(Step::Kind kind, const std::string& path) {
  Step step;
  step.kind = kind;
  step.path = path;
  return step;
}

Step WriteStep(const std::string& path, std::string contents, bool executable, std::string description) {
  Step step;
  step.kind = Step::Kind::WriteFile;
  step.path = path;
  step.contents = std::move(contents);
  step.executable = executable;
  step.description = std::move(description);
  return step;
}

Step RemoveStep(const std::string& path, std::string description) {
  Step step;
  step.kind = Step::Kind::RemoveFile;
  step.path = path;
  step.description = std::move(description);
  return step;
}

Step RunStep(const std::string& program, std::vector<std::string> arguments) {
  Step step;
  step.kind = Step::Kind::Run;
  step.path = program;
  step.arguments = std::move(arguments);
  return step;
}

// Makes every missing folder of `folder`, from the top down.
void AddFolders(Plan& plan, const std::string& root, const std::string& folder) {
  std::vector<std::string> missing;
  for (std::string path = root + folder; path.size() > root.size() && !IsFolder(path);
       path = path.substr(0, path.rfind('/'))) {
    missing.push_back(path);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) plan.steps.push_back(FolderStep(Step::Kind::MakeFolder, *it));
}

// The hook, the snippet and both programs for the connectors that keep (or
// get) an override; none left removes the hook and the snippet.
void AddConfiguration(Plan& plan, const std::string& root, const std::vector<std::string>& connectors) {
  const std::string hook = root + kHookFolder + "/" + kHookName;
  const std::string snippet = root + kGrubFolder + "/" + kSnippetName;
  if (connectors.empty()) {
    if (Exists(hook)) plan.steps.push_back(RemoveStep(hook, "the initramfs hook"));
  } else {
    AddFolders(plan, root, kHookFolder);
    plan.steps.push_back(WriteStep(hook, HookText(connectors), true, "the initramfs hook that copies the EDID files"));
  }
  plan.steps.push_back(RunStep(root + kUpdateInitramfs, {"-u"}));
  if (connectors.empty()) {
    if (Exists(snippet)) plan.steps.push_back(RemoveStep(snippet, "the GRUB setting"));
    // Made for the snippet when GRUB had none of its own there.
    plan.steps.push_back(FolderStep(Step::Kind::RemoveFolderIfEmpty, root + kGrubFolder));
  } else {
    AddFolders(plan, root, kGrubFolder);
    plan.steps.push_back(WriteStep(snippet, SnippetText(connectors), false,
                                   "the GRUB setting: " + KernelSetting(connectors) + " on the kernel's command line"));
  }
  plan.steps.push_back(RunStep(root + kUpdateGrub, {}));
}

std::string TemporaryName() {
  static std::mt19937 random(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = ".velmar-";
  for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name;
}

// Replaces `path` with `contents` through a temporary file in its folder,
// never following a link at its place.
bool WriteFileAtomically(const std::string& path, const std::string& contents, mode_t mode, std::string& why) {
  const size_t slash = path.rfind('/');
  const std::string folderPath = path.substr(0, slash);
  const std::string name = path.substr(slash + 1);
  const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    why = "Cannot open " + folderPath + ": " + ErrorText(errno);
    return false;
  }
  struct stat existing {};
  if (::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(existing.st_mode)) {
    ::close(folder);
    why = path + " is not a regular file: not written";
    return false;
  }
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName();
    fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  bool ok = fd >= 0;
  int error = errno;
  size_t written = 0;
  while (ok && written < contents.size()) {
    const ssize_t result = ::write(fd, contents.data() + written, contents.size() - written);
    if (result < 0 && errno == EINTR) continue;
    ok = result > 0;
    error = result == 0 ? ENOSPC : errno;
    if (ok) written += static_cast<size_t>(result);
  }
  if (ok && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) {
    ok = false;
    error = errno;
  }
  if (fd >= 0 && ::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok && fd >= 0) ::unlinkat(folder, temporary.c_str(), 0);
  ::close(folder);
  if (!ok) why = "Cannot write " + path + ": " + ErrorText(error);
  return ok;
}

// Runs a program with its standard input from /dev/null; its exit status, or
// -1 with the reason in `why`.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments, std::string& why) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    why = "Cannot run " + program + ": " + ErrorText(spawned);
    return -1;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  why = program + " was stopped by signal " + std::to_string(WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  return -1;
}

// What a step changed, to put back when a later step fails.
struct Undo {
  const Step* step = nullptr;
  bool existed = false;
  std::string previous;
  mode_t mode = 0644;
};

// Puts the files back from the last change to the first, then runs the
// programs that had run again, so that what they made (the initramfs, GRUB's
// configuration) follows the files as they are again.
void PutBack(const std::vector<Undo>& done) {
  for (auto it = done.rbegin(); it != done.rend(); ++it) {
    std::string ignored;
    switch (it->step->kind) {
      case Step::Kind::MakeFolder: ::rmdir(it->step->path.c_str()); break;
      case Step::Kind::WriteFile:
      case Step::Kind::RemoveFile:
        if (it->existed) {
          WriteFileAtomically(it->step->path, it->previous, it->mode, ignored);
        } else {
          ::unlink(it->step->path.c_str());
        }
        break;
      case Step::Kind::RemoveFolderIfEmpty:
        if (it->existed) ::mkdir(it->step->path.c_str(), it->mode);
        break;
      case Step::Kind::Run: break;
    }
  }
  for (const Undo& undo : done) {
    std::string ignored;
    if (undo.step->kind == Step::Kind::Run) RunProgram(undo.step->path, undo.step->arguments, ignored);
  }
}

// As root, what a step writes into or runs must be root's alone all the way
// up: a moved system root may hold what someone else put there.
std::string TrustProblem(const Step& step) {
  if (!RunsPrivileged()) return std::string();
  const std::string target = step.kind == Step::Kind::Run ? step.path : step.path.substr(0, step.path.rfind('/'));
  return UntrustedPathReason(target, step.kind != Step::Kind::Run);
}

}  // namespace

std::optional<std::string> SystemRoot(std::string& why) {
  const char* value = std::getenv(kRootVariable);
  if (value == nullptr || value[0] == '\0') return std::string();
  if (RunsPrivileged()) {
    const std::string reason = UntrustedPathReason(value);
    if (!reason.empty()) {
      why = std::string("Not using ") + kRootVariable + "=" + value + " as root: " + reason;
      return std::nullopt;
    }
  }
  std::string root = value;
  while (!root.empty() && root.back() == '/') root.pop_back();
  return root;
}

std::string FirmwarePath(const std::string& root, const std::string& connector) {
  return root + kFirmwareFolder + "/" + FirmwareName(ShortName(connector));
}

std::string KernelSetting(const std::vector<std::string>& connectors) {
  std::string setting = kSetting;
  for (size_t i = 0; i < connectors.size(); ++i) {
    setting += (i == 0 ? "" : ",") + connectors[i] + ":edid/" + FirmwareName(connectors[i]);
  }
  return setting;
}

std::optional<Plan> PlanInstall(const std::string& root, const std::string& connector, const std::string& edid,
                                std::string& why) {
  why = Missing(root);
  if (why.empty()) why = ForeignSetting(root);
  if (!why.empty()) return std::nullopt;
  Plan plan;
  plan.connector = connector;
  const std::string shortName = ShortName(connector);
  std::vector<std::string> connectors = OurConnectors(root);
  if (std::find(connectors.begin(), connectors.end(), shortName) == connectors.end()) connectors.push_back(shortName);
  AddFolders(plan, root, kFirmwareFolder);
  plan.steps.push_back(WriteStep(FirmwarePath(root, connector), edid, false,
                                 "the EDID, " + std::to_string(edid.size()) + " bytes"));
  AddConfiguration(plan, root, connectors);
  return plan;
}

std::optional<Plan> PlanRemove(const std::string& root, const std::string& connector, std::string& why) {
  why = Missing(root);
  if (!why.empty()) return std::nullopt;
  const std::string shortName = ShortName(connector);
  std::vector<std::string> connectors = OurConnectors(root);
  const auto listed = std::find(connectors.begin(), connectors.end(), shortName);
  const std::string firmware = FirmwarePath(root, connector);
  if (listed == connectors.end() && !Exists(firmware)) {
    why = "No boot-time EDID override of " + shortName + " is installed";
    return std::nullopt;
  }
  if (listed != connectors.end()) connectors.erase(listed);
  Plan plan;
  plan.connector = connector;
  if (Exists(firmware)) plan.steps.push_back(RemoveStep(firmware, "the EDID"));
  AddConfiguration(plan, root, connectors);
  plan.steps.push_back(FolderStep(Step::Kind::RemoveFolderIfEmpty, root + kFirmwareFolder));
  return plan;
}

std::string Describe(const Plan& plan) {
  std::string text;
  for (const Step& step : plan.steps) {
    switch (step.kind) {
      case Step::Kind::MakeFolder: text += "make folder " + step.path + "\n"; break;
      case Step::Kind::WriteFile: text += "write " + step.path + " (" + step.description + ")\n"; break;
      case Step::Kind::RemoveFile: text += "remove " + step.path + " (" + step.description + ")\n"; break;
      case Step::Kind::Run: {
        text += "run " + step.path;
        for (const std::string& argument : step.arguments) text += " " + argument;
        text += "\n";
        break;
      }
      case Step::Kind::RemoveFolderIfEmpty: text += "remove folder " + step.path + " if it is left empty\n"; break;
    }
  }
  return text;
}

bool Execute(const Plan& plan, std::string& why) {
  std::vector<Undo> done;
  const auto fail = [&](const std::string& reason) {
    why = reason;
    PutBack(done);
    if (!done.empty()) why += "; the files changed before were put back as they were";
    return false;
  };
  for (const Step& step : plan.steps) {
    Undo undo;
    undo.step = &step;
    if (const std::string problem = TrustProblem(step); !problem.empty()) {
      return fail("Not changing anything as root: " + problem);
    }
    struct stat info {};
    switch (step.kind) {
      case Step::Kind::MakeFolder:
        if (::mkdir(step.path.c_str(), 0755) != 0) {
          return fail("Cannot make the folder " + step.path + ": " + ErrorText(errno));
        }
        break;
      case Step::Kind::WriteFile:
      case Step::Kind::RemoveFile: {
        if (::lstat(step.path.c_str(), &info) == 0) {
          if (!S_ISREG(info.st_mode)) return fail(step.path + " is not a regular file: not changed");
          const std::optional<std::string> previous = ReadFile(step.path);
          if (!previous) return fail("Cannot read " + step.path + ": " + ErrorText(errno));
          undo.existed = true;
          undo.previous = *previous;
          undo.mode = info.st_mode & 07777;
        }
        std::string reason;
        if (step.kind == Step::Kind::WriteFile) {
          if (!WriteFileAtomically(step.path, step.contents, step.executable ? 0755 : 0644, reason)) {
            return fail(reason);
          }
        } else if (undo.existed && ::unlink(step.path.c_str()) != 0) {
          return fail("Cannot remove " + step.path + ": " + ErrorText(errno));
        }
        break;
      }
      case Step::Kind::Run: {
        std::string reason;
        const int status = RunProgram(step.path, step.arguments, reason);
        if (status != 0) return fail(status < 0 ? reason : step.path + " failed (exit status " + std::to_string(status) + ")");
        break;
      }
      case Step::Kind::RemoveFolderIfEmpty:
        // Only an empty folder goes; anything else in it stays, and so does the folder.
        if (::lstat(step.path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
          undo.mode = info.st_mode & 07777;
          undo.existed = ::rmdir(step.path.c_str()) == 0;
        }
        break;
    }
    done.push_back(std::move(undo));
  }
  return true;
}

Effect CheckEffect(const std::string& root, const std::string& connector, const std::string& current,
                   std::string& report) {
  const std::string firmware = FirmwarePath(root, connector);
  const std::optional<std::string> installed = ReadFile(firmware);
  if (!installed) {
    report = "No boot-time EDID override of " + connector + " is installed (" + firmware + ")";
    return Effect::NotInstalled;
  }
  if (!installed->empty() && current == *installed) {
    report = "The boot-time EDID override of " + connector + " is in effect: the display reports " + firmware;
    return Effect::InEffect;
  }
  const std::string setting = ShortName(connector) + ":edid/" + FirmwareName(ShortName(connector));
  const std::optional<std::string> commandLine = ReadFile(root + "/proc/cmdline");
  const bool booted = commandLine && SettingIn(*commandLine) && SettingIn(*commandLine)->find(setting) != std::string::npos;
  report = "The boot-time EDID override of " + connector + " is installed but not in effect: the display reports " +
           "another EDID than " + firmware +
           (booted ? " although the kernel was started with it (does the driver read drm.edid_firmware?)"
                   : "; the running kernel was started without " + std::string(kSetting) + setting +
                         ", so reboot for it to take effect");
  return Effect::NotInEffect;
}

}  // namespace velmar::boot
