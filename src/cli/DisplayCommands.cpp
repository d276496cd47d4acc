// displays, read-display, override-display and the boot-time override: the
// machine's displays through the display library, as the desktop program's
// "Display" menu reaches them.
#include <array>
#include <functional>

#include "app/EdidImage.h"
#include "cli/Cli.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/ImageFiles.h"
#include "display/BootOverride.h"
#include "display/DisplayAccess.h"
#include "util/Format.h"

namespace velmar::cli {

namespace {

constexpr char kNoConnectedDisplays[] = "No connected displays detected";

std::optional<size_t> ParseIndex(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  return value;
}

// Prints the lines the log gained since `from` as messages: the reason of a failure.
void ShowLogSince(CommandContext& context, const DisplayAccess& displays, size_t from) {
  const std::string added = displays.InitLog().substr(std::min(from, displays.InitLog().size()));
  size_t start = 0;
  while (start < added.size()) {
    size_t end = added.find("\r\n", start);
    if (end == std::string::npos) end = added.size();
    if (end > start) context.Ui().ShowMessage(added.substr(start, end - start));
    start = end + 2;
  }
}

// Enumerates the displays and finds the N-th connected one (the N-th item of
// the desktop program's "Select Display" list). Returns the exit status of a
// failure, or nothing when `record` was found.
std::optional<int> FindConnected(CommandContext& context, DisplayAccess& displays, size_t& record) {
  const std::optional<size_t> wanted = ParseIndex(context.Operands()[0]);
  if (!wanted) {
    context.Error(
        Format("invalid display number '%s': give the number that 'displays' lists", context.Operands()[0].c_str()));
    return kExitUsage;
  }
  displays.InitAdapters();
  const std::vector<size_t> connected = displays.ConnectedRecords();
  if (connected.empty()) {
    context.Ui().ShowMessage(kNoConnectedDisplays);
    // Without the library the log holds nothing but why it could not be loaded.
    if (!displays.IsLibraryLoaded()) ShowLogSince(context, displays, 0);
    return kExitFailure;
  }
  if (*wanted >= connected.size()) {
    context.Error(Format("there is no connected display %zu: %zu %s connected (see 'velmar-edid displays')", *wanted,
                         connected.size(), connected.size() == 1 ? "display is" : "displays are"));
    return kExitFailure;
  }
  record = connected[*wanted];
  return std::nullopt;
}

// Loads the file to send to a display: a valid EDID whose extensions are all
// in the image; otherwise false, with the message shown.
bool LoadImageToSend(CommandContext& context) {
  if (!context.LoadImage(context.Operands()[1])) return false;
  const EdidImage& image = context.Image();
  if (image.BlockCount() == 0) {
    context.Ui().ShowMessage("No Valid EDID present");
    return false;
  }
  if (image.MissingExtensionCount() > 0) {
    context.Ui().ShowMessage(image.IncompleteImageMessage());
    return false;
  }
  return true;
}

// Runs one change of the display library; when it fails, shows `failure` and
// the log lines the attempt added.
int RunDisplayChange(CommandContext& context, DisplayAccess& displays, const char* failure,
                     const std::function<bool()>& change) {
  const size_t logged = displays.InitLog().size();
  if (change()) return kExitOk;
  context.Ui().ShowMessage(failure);
  ShowLogSince(context, displays, logged);
  return kExitFailure;
}

int RunDisplays(CommandContext& context) {
  DisplayAccess displays;
  const bool initialized = displays.InitAdapters();
  context.Out().Text(displays.InitLog());
  if (!displays.Table().empty()) context.Out().Line("");
  size_t number = 0;
  for (size_t record = 0; record < displays.Table().size(); ++record) {
    const std::string position = displays.Table()[record].connected ? Format("%zu", number++) : "-";
    context.Out().Line(position + "\t" + displays.DisplayListText(record, "") + "\t" +
                       displays.RegistryPath(record).value_or(""));
  }
  return initialized ? kExitOk : kExitFailure;
}

int RunReadDisplay(CommandContext& context) {
  const std::string& out = context.Operands()[1];
  std::string extension;
  const FileFormat* format = FindOutputFormat(out, &extension);
  if (format == nullptr) {
    context.Error(Format("%s: cannot write a file with the extension '%s'", out.c_str(), extension.c_str()));
    return kExitUsage;
  }
  EncodeOptions options;
  if (const int status = EncodeOptionsFor(context, *format, options); status != kExitOk) return status;
  DisplayAccess displays;
  size_t record = 0;
  if (const std::optional<int> failed = FindConnected(context, displays, record)) return *failed;
  const size_t logged = displays.InitLog().size();
  LoadResult result;
  const int total = displays.ReadDisplayEdid(record, result.bytes);
  if (total <= 0) {
    result = LoadResult::Failed(LoadStatus::NoData);
  } else {
    result.length = static_cast<size_t>(total);
  }
  const DisplayRecord& display = displays.Table()[record];
  SourceDetails details;
  details.displayName = display.name;
  details.displayIndex = static_cast<unsigned>(display.displayIndex);
  details.adapterPosition = static_cast<unsigned>(display.adapterIndex);
  if (!context.TakeImage(result, SourceKind::ConnectedDisplay, details)) {
    if (result.status != LoadStatus::Ok) ShowLogSince(context, displays, logged);
    return kExitFailure;
  }
  return WriteImageFile(context, out, *format, options);
}

int RunOverrideDisplay(CommandContext& context) {
  DisplayAccess displays;
  size_t record = 0;
  if (const std::optional<int> failed = FindConnected(context, displays, record)) return *failed;
  if (!LoadImageToSend(context)) return kExitFailure;
  EdidImage& image = context.Image();
  return RunDisplayChange(context, displays, "Failed to override EDID to driver. Check Initialization log", [&] {
    return displays.OverrideDisplayEdid(image.GetUsedSize(), record, image.rawData.data());
  });
}

int RunRemoveOverride(CommandContext& context) {
  DisplayAccess displays;
  size_t record = 0;
  if (const std::optional<int> failed = FindConnected(context, displays, record)) return *failed;
  return RunDisplayChange(context, displays, "Failed to remove the EDID override. Check Initialization log",
                          [&] { return displays.RemoveDisplayOverride(record); });
}

constexpr char kDryRunOption[] = "--dry-run";

// The connector of display `record` and the root of the system's files;
// nothing, with the reason printed, when either is not to be had.
bool BootPlace(CommandContext& context, DisplayAccess& displays, size_t record, std::string& connector,
               std::string& root) {
  std::string why;
  const std::optional<std::string> name = displays.ConnectorName(record);
  const std::optional<std::string> systemRoot = boot::SystemRoot(why);
  if (!name) why = "the display library does not name display " + context.Operands()[0] + "'s connector";
  if (!name || !systemRoot) {
    context.Error(why);
    return false;
  }
  connector = *name;
  root = *systemRoot;
  return true;
}

// Prints the plan; true when it is to be carried out (no --dry-run).
bool ShowPlan(CommandContext& context, const boot::Plan& plan, const std::string& what) {
  const bool dryRun = context.Option(kDryRunOption).has_value();
  context.Out().Line(what + " of " + plan.connector + (dryRun ? " would do this:" : ":"));
  context.Out().Text(boot::Describe(plan));
  if (dryRun) context.Out().Line("Nothing was written (--dry-run).");
  return !dryRun;
}

int RunInstallBootOverride(CommandContext& context) {
  DisplayAccess displays;
  size_t record = 0;
  if (const std::optional<int> failed = FindConnected(context, displays, record)) return *failed;
  if (!LoadImageToSend(context)) return kExitFailure;
  EdidImage& image = context.Image();
  std::string connector;
  std::string root;
  if (!BootPlace(context, displays, record, connector, root)) return kExitFailure;
  const std::string edid(reinterpret_cast<const char*>(image.rawData.data()), image.GetUsedSize());
  std::string why;
  const std::optional<boot::Plan> plan = boot::PlanInstall(root, connector, edid, why);
  if (!plan) {
    context.Error(why);
    return kExitFailure;
  }
  if (!ShowPlan(context, *plan, "Installing the boot-time EDID override")) return kExitOk;
  if (const int status =
          RunDisplayChange(context, displays, "Failed to install the boot-time EDID override. Check Initialization log",
                           [&] { return displays.InstallBootOverride(record, edid); });
      status != kExitOk)
    return status;
  context.Out().Line("Done. After the next boot, 'velmar-edid check-boot-override " + context.Operands()[0] +
                     "' tells whether the display reports it.");
  return kExitOk;
}

int RunRemoveBootOverride(CommandContext& context) {
  DisplayAccess displays;
  size_t record = 0;
  if (const std::optional<int> failed = FindConnected(context, displays, record)) return *failed;
  std::string connector;
  std::string root;
  if (!BootPlace(context, displays, record, connector, root)) return kExitFailure;
  std::string why;
  const std::optional<boot::Plan> plan = boot::PlanRemove(root, connector, why);
  if (!plan) {
    context.Error(why);
    return kExitFailure;
  }
  if (!ShowPlan(context, *plan, "Removing the boot-time EDID override")) return kExitOk;
  if (const int status =
          RunDisplayChange(context, displays, "Failed to remove the boot-time EDID override. Check Initialization log",
                           [&] { return displays.RemoveBootOverride(record); });
      status != kExitOk)
    return status;
  context.Out().Line("Done. The display shows the monitor's own EDID again from the next boot.");
  return kExitOk;
}

int RunCheckBootOverride(CommandContext& context) {
  DisplayAccess displays;
  size_t record = 0;
  if (const std::optional<int> failed = FindConnected(context, displays, record)) return *failed;
  std::string connector;
  std::string root;
  if (!BootPlace(context, displays, record, connector, root)) return kExitFailure;
  std::array<uint8_t, kMaxEdidSize> bytes{};
  const int total = displays.ReadDisplayEdid(record, bytes);
  const std::string current(reinterpret_cast<const char*>(bytes.data()), total > 0 ? static_cast<size_t>(total) : 0);
  std::string report;
  const boot::Effect effect = boot::CheckEffect(root, connector, current, report);
  context.Out().Line(report);
  return effect == boot::Effect::InEffect ? kExitOk : kExitFailure;
}

const char kLibraryHelp[] =
    "\nThe display library is loaded as the desktop program loads it: libtovuxy.so\n"
    "beside the program or in its installation's library folder, else libtovuxy.so\n"
    "(then libtovuxx.so) from the system's library folders. Our libtovuxy.so lists\n"
    "the kernel's DRM cards and their connectors (sysfs) and writes overrides to\n"
    "debugfs, which needs root: run by another user, the command asks for the\n"
    "administrator's password through polkit (pkexec) and lets the small helper\n"
    "velmar-edid-helper write the override, and nothing else.\n"
    "For tests, VELMAR_PEXA_LIBRARY names another library\n"
    "(used alone: if it cannot be loaded, nothing is), and VELMAR_SYSFS_ROOT and\n"
    "VELMAR_DEBUGFS_ROOT move the two trees; run as root, each is used only when it\n"
    "and every folder above it belong to root and nobody else may write to them.\n";

[[maybe_unused]] const bool kDisplaysRegistered = RegisterSubcommand({
    60,
    "displays",
    "",
    "print the adapters' initialization log and the displays",
    "The text of the desktop program's \"Show Graphics Adapters init log\", then,\n"
    "after an empty line, one line per display in the order of the display table:\n"
    "the display's number for read-display and override-display (\"-\" for a\n"
    "display that is not connected), its text as the selection lists show it, and\n"
    "the registry path of its adapter (empty when there is none), separated by tabs.\n"
    "The exit status is 1 when the adapters could not be listed.\n",
    [] { return std::string(kLibraryHelp); },
    0,
    0,
    RunDisplays,
});

[[maybe_unused]] const bool kReadDisplayRegistered = RegisterSubcommand({
    61,
    "read-display",
    "N OUT",
    "read connected display N's EDID into OUT",
    "N counts the connected displays from 0, as 'displays' numbers them. The EDID\n"
    "is read as \"Read EDID from display\" reads it and written as convert writes\n"
    "OUT. A display that gives no EDID prints \"Failed to read EDID from driver.\n"
    "Check Initialization log\" and the log's reason, and exits with 1; so does an\n"
    "EDID with no recognised block. OUT is then left as it was.\n",
    [] { return std::string(kLibraryHelp); },
    2,
    2,
    RunReadDisplay,
});

[[maybe_unused]] const bool kOverrideDisplayRegistered = RegisterSubcommand({
    62,
    "override-display",
    "N FILE",
    "send FILE's image to display N as its EDID override",
    "N counts the connected displays from 0, as 'displays' numbers them. FILE is\n"
    "read as the other commands read files; its used bytes (at most 512) are sent\n"
    "as \"Override display EDID\" sends them. A refusal prints \"Failed to override\n"
    "EDID to driver. Check Initialization log\" and the log's reason, and exits\n"
    "with 1. An image whose base block announces more extensions than it holds is\n"
    "not sent. The override lasts until the next reboot or remove-override.\n",
    [] { return std::string(kLibraryHelp); },
    2,
    2,
    RunOverrideDisplay,
});

[[maybe_unused]] const bool kRemoveOverrideRegistered = RegisterSubcommand({
    63,
    "remove-override",
    "N",
    "remove connected display N's EDID override",
    "N counts the connected displays from 0, as 'displays' numbers them. The\n"
    "display's override is removed (the kernel's \"reset\"), so that it shows the\n"
    "monitor's own EDID again; as override-display, through the helper. A refusal\n"
    "prints \"Failed to remove the EDID override. Check Initialization log\" and\n"
    "the reason, and exits with 1.\n",
    [] { return std::string(kLibraryHelp); },
    1,
    1,
    RunRemoveOverride,
});

[[maybe_unused]] const bool kDryRunRegistered =
    RegisterOption({kDryRunOption, "", "print what a boot-time override would write and run, and do nothing",
                    {"install-boot-override", "remove-boot-override"}});

const char kBootHelp[] =
    "\nThe boot-time override is the way Debian boots: the EDID as the firmware file\n"
    "/lib/firmware/edid/velmar-CONNECTOR.bin, the kernel's drm.edid_firmware setting\n"
    "in /etc/default/grub.d/velmar-edid-override.cfg (then update-grub), and the\n"
    "initramfs-tools hook /etc/initramfs-tools/hooks/velmar-edid-override that puts\n"
    "the firmware file into the initramfs (then update-initramfs -u). The plan is\n"
    "printed before anything is written; the helper velmar-edid-helper carries it\n"
    "out (through polkit when not root). A failed step puts back what was changed.\n"
    "For tests, VELMAR_SYSTEM_ROOT moves these files and the two programs to a fake\n"
    "root folder; run as root, it is used only when it and every folder above it\n"
    "belong to root and nobody else may write to them.\n";

[[maybe_unused]] const bool kInstallBootOverrideRegistered = RegisterSubcommand({
    64,
    "install-boot-override",
    "N FILE",
    "make FILE's image display N's EDID from the next boot on",
    "N counts the connected displays from 0, as 'displays' numbers them. FILE is\n"
    "read as override-display reads it. The plan (the files written, the programs\n"
    "run) is printed first; with --dry-run nothing else is done. Installing for a\n"
    "second connector adds it to the same setting; installing again replaces the\n"
    "EDID. A refusal or failure says why and exits with 1, leaving the files as\n"
    "they were. Undo it with remove-boot-override.\n",
    [] { return std::string(kBootHelp); },
    2,
    2,
    RunInstallBootOverride,
});

[[maybe_unused]] const bool kRemoveBootOverrideRegistered = RegisterSubcommand({
    65,
    "remove-boot-override",
    "N",
    "remove connected display N's boot-time EDID override",
    "Removes what install-boot-override wrote for display N's connector and runs\n"
    "update-initramfs -u and update-grub again, so that the system's files are as\n"
    "they were before; the hook and the GRUB setting stay while another connector\n"
    "keeps its override. The plan is printed first; with --dry-run nothing else is\n"
    "done.\n",
    [] { return std::string(kBootHelp); },
    1,
    1,
    RunRemoveBootOverride,
});

[[maybe_unused]] const bool kCheckBootOverrideRegistered = RegisterSubcommand({
    66,
    "check-boot-override",
    "N",
    "tell whether display N shows its boot-time EDID override",
    "Compares the EDID connected display N reports now with its boot-time\n"
    "override's firmware file and says whether the override is in effect, and if\n"
    "not, whether the running kernel was started with it. Exits with 0 when it is\n"
    "in effect, else 1.\n",
    [] { return std::string(kBootHelp); },
    1,
    1,
    RunCheckBootOverride,
});

}  // namespace

}  // namespace velmar::cli
