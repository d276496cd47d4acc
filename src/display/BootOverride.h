#pragma once

// The boot-time EDID override of a display's connector, the way Debian boots:
// the EDID as a firmware file, the kernel's drm.edid_firmware setting in a
// GRUB snippet, and an initramfs-tools hook that puts the firmware file into
// the initramfs (so that the display driver finds it when it starts early):
//
//   /lib/firmware/edid/velmar-<connector>.bin
//   /etc/initramfs-tools/hooks/velmar-edid-override    then update-initramfs -u
//   /etc/default/grub.d/velmar-edid-override.cfg       then update-grub
//
// One snippet and one hook serve every connector with a boot-time override:
// the kernel takes a single drm.edid_firmware setting listing them all.
// Removing the last override removes them, and the firmware folder and GRUB's
// snippet folder when they are left empty, so that the system is as it was.
//
// The programs show the plan to the user before anything is written (and
// print it alone for a dry run); the privileged helper makes the same plan
// again from the system as it finds it and carries it out. VELMAR_SYSTEM_ROOT moves the whole system
// (the files and the two programs) to a fake root folder for tests; run as
// root it is used only when nobody but root can change it.

#include <optional>
#include <string>
#include <vector>

namespace velmar::boot {

// One step of a plan.
struct Step {
  enum class Kind { MakeFolder, WriteFile, RemoveFile, Run, RemoveFolderIfEmpty };
  Kind kind = Kind::WriteFile;
  std::string path;  // the folder, the file, or the program run
  std::vector<std::string> arguments;
  std::string contents;  // of a file written
  bool executable = false;
  std::string description;  // what a file is, for the user
};

struct Plan {
  std::string connector;  // "card0-HDMI-A-1"
  std::vector<Step> steps;
};

// The root of the system's files: "/" or VELMAR_SYSTEM_ROOT; nothing, with
// the reason in `why`, when a moved root is refused.
std::optional<std::string> SystemRoot(std::string& why);

// The firmware file of a connector's boot-time override under `root`.
std::string FirmwarePath(const std::string& root, const std::string& connector);
// The kernel command line setting for the connectors (sysfs entry names).
std::string KernelSetting(const std::vector<std::string>& connectors);

// Plans installing `edid` as the boot-time override of `connector` (a sysfs
// entry name), or removing it. Nothing, with the reason in `why`, when it
// cannot be done here: no GRUB or initramfs-tools, a drm.edid_firmware setting
// that is not ours, or the removal of an override that is not installed.
std::optional<Plan> PlanInstall(const std::string& root, const std::string& connector, const std::string& edid,
                                std::string& why);
std::optional<Plan> PlanRemove(const std::string& root, const std::string& connector, std::string& why);

// The plan as the user reads it, one step a line.
std::string Describe(const Plan& plan);

// Carries the plan out in order. When a step fails, the files changed so far
// are put back as they were (the folders made are removed again) and `why`
// says what failed. The programs' own output goes where ours goes.
bool Execute(const Plan& plan, std::string& why);

// Whether the boot-time override of a connector is in effect: the override's
// firmware file against the EDID the display reports now (`current`), and
// the running kernel's command line. A text for the user in `report`.
enum class Effect { NotInstalled, InEffect, NotInEffect };
Effect CheckEffect(const std::string& root, const std::string& connector, const std::string& current,
                   std::string& report);

}  // namespace velmar::boot
