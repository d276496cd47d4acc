#pragma once

// The kernel's DRM connectors in sysfs and debugfs, as our display library and
// the privileged EDID helper reach them.
//
// VELMAR_SYSFS_ROOT (default /sys) and VELMAR_DEBUGFS_ROOT (default
// /sys/kernel/debug) move both trees, so that they can be exercised on a fake
// tree laid out like the real one. Run as root, a moved tree is used only when
// nobody but root can change it (its environment may come from an unprivileged
// user: su without "-", sudo -E).

#include <cstddef>
#include <optional>
#include <string>

namespace velmar::drm {

// The sysfs and debugfs trees: the default, or the folder the variable names;
// nothing, with the reason in `why`, when a moved tree is refused.
std::optional<std::string> SysfsRoot(std::string& why);
std::optional<std::string> DebugfsRoot(std::string& why);

// A name the kernel could give a connector ("HDMI-A-1", "eDP-1"): one that
// stays inside its folder and can be written on the kernel's command line.
bool IsPlainConnectorName(const std::string& name);
// A connector's sysfs entry name: "card<N>-<connector name>" with N of at most
// three digits ("card0-HDMI-A-1").
bool IsConnectorEntryName(const std::string& entry);
// A folder entry's name that stays inside the folder.
bool IsPlainName(const std::string& name);

// Where one connector's files are.
struct ConnectorPlace {
  int cardNumber = 0;      // N of cardN
  std::string deviceName;  // the card's device ("0000:01:00.0"), which newer kernels name debugfs folders after
  std::string entry;       // "card0-HDMI-A-1", its sysfs folder's name
  std::string shortName;   // "HDMI-A-1", as debugfs and the kernel's command line name it
  std::string folder;      // its sysfs folder
};

// The connector of a sysfs entry name ("card0-HDMI-A-1") in the sysfs tree;
// nothing, with the reason in `why`, for a name the kernel could not have
// given or a connector that is not there.
std::optional<ConnectorPlace> FindConnector(const std::string& entry, std::string& why);
// The name of the device a card folder's "device" link leads to, or empty.
std::string CardDeviceName(const std::string& cardFolder);

// Whether the connector's status reads "connected".
bool IsConnected(const ConnectorPlace& connector);
// The connector's EDID as the kernel reports it (at most `limit` bytes); empty
// when it has none or it cannot be read.
std::string ReadEdid(const ConnectorPlace& connector, size_t limit);

// Writes `size` bytes (an EDID, or "reset") to the connector's edid_override
// in debugfs in one write: only to a regular file right in the connector's own
// folder, never through a link, emptied first. False with the reason in `why`.
bool WriteOverrideFile(const ConnectorPlace& connector, const void* data, size_t size, std::string& why);
// Asks the kernel to probe the connector again so that an override takes
// effect now; kernels and permissions that do not offer it just see it at the
// next probe.
void Reprobe(const ConnectorPlace& connector);

}  // namespace velmar::drm
