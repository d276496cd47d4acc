// velmar-edid-helper: the one part of Velmar EDID Utility that runs as root,
// started through polkit (pkexec) when a user who is not root overrides a
// display's EDID. It takes exactly one request and nothing else:
//
//   velmar-edid-helper override CONNECTOR       the EDID (at most 512 bytes) on standard input
//   velmar-edid-helper reset CONNECTOR          removes the connector's override
//   velmar-edid-helper install-boot CONNECTOR   the EDID on standard input: the boot-time override
//   velmar-edid-helper remove-boot CONNECTOR    removes the boot-time override
//
// CONNECTOR is a sysfs connector name such as card0-HDMI-A-1. The helper checks
// that the connector exists and is connected and that the EDID's length, block
// count and checksums agree, writes only that connector's edid_override in
// debugfs (a regular file right in the connector's folder, never through a
// link), asks the kernel to probe the connector again, and runs nothing else.
// The boot-time override writes the files of BootOverride.h and runs
// update-initramfs and update-grub, and nothing else.
//
// Exit status: 0 done, 1 refused or failed, 2 a wrong request; every message
// goes to standard error.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "display/BootOverride.h"
#include "display/pexa-drm/DrmConnector.h"

namespace {

constexpr size_t kMaxEdidLength = 512;
constexpr size_t kBlockLength = 128;
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongRequest = 2;

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "velmar-edid-helper: %s\n", message.c_str());
  return status;
}

// Why an EDID cannot be an override, or empty: 128 to 512 bytes, as many
// 128-byte blocks as the first block's extension count announces, each summing
// to 0 modulo 256.
std::string EdidProblem(const std::string& edid) {
  if (edid.size() > kMaxEdidLength) return "the EDID is longer than 512 bytes";
  if (edid.size() < kBlockLength || edid.size() % kBlockLength != 0) {
    return "the EDID's " + std::to_string(edid.size()) + " bytes are not a whole number of 128-byte blocks";
  }
  const size_t blocks = edid.size() / kBlockLength;
  const unsigned extensions = static_cast<unsigned char>(edid[126]);
  if (1 + extensions != blocks) {
    return "the EDID's extension count (" + std::to_string(extensions) + ") does not match its length (" +
           std::to_string(edid.size()) + " bytes)";
  }
  for (size_t block = 0; block < blocks; ++block) {
    unsigned sum = 0;
    for (size_t i = 0; i < kBlockLength; ++i) sum += static_cast<unsigned char>(edid[block * kBlockLength + i]);
    if (sum % 256 != 0) return "the checksum of the EDID's block " + std::to_string(block) + " is wrong";
  }
  return std::string();
}

// At most `limit` bytes of standard input, plus one to tell a longer input.
bool ReadInput(size_t limit, std::string& input) {
  char buffer[1024];
  while (input.size() <= limit) {
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    input.append(buffer, static_cast<size_t>(got));
  }
  return true;
}

// The connector of a request, which must exist and be connected.
std::optional<velmar::drm::ConnectorPlace> ConnectedConnector(const std::string& name, std::string& why) {
  std::optional<velmar::drm::ConnectorPlace> connector = velmar::drm::FindConnector(name, why);
  if (connector && !velmar::drm::IsConnected(*connector)) {
    why = name + " is not connected";
    return std::nullopt;
  }
  return connector;
}

int Override(const std::string& name) {
  std::string why;
  const std::optional<velmar::drm::ConnectorPlace> connector = ConnectedConnector(name, why);
  if (!connector) return Fail(kFailed, why);
  std::string edid;
  if (!ReadInput(kMaxEdidLength, edid)) return Fail(kFailed, "cannot read the EDID from standard input");
  why = EdidProblem(edid);
  if (!why.empty()) return Fail(kFailed, why);
  if (!velmar::drm::WriteOverrideFile(*connector, edid.data(), edid.size(), why)) return Fail(kFailed, why);
  velmar::drm::Reprobe(*connector);
  return kDone;
}

int Reset(const std::string& name) {
  std::string why;
  const std::optional<velmar::drm::ConnectorPlace> connector = velmar::drm::FindConnector(name, why);
  if (!connector) return Fail(kFailed, why);
  if (!velmar::drm::WriteOverrideFile(*connector, "reset", 5, why)) return Fail(kFailed, why);
  velmar::drm::Reprobe(*connector);
  return kDone;
}

int InstallBoot(const std::string& name) {
  std::string why;
  if (!velmar::drm::FindConnector(name, why)) return Fail(kFailed, why);
  std::string edid;
  if (!ReadInput(kMaxEdidLength, edid)) return Fail(kFailed, "cannot read the EDID from standard input");
  why = EdidProblem(edid);
  if (!why.empty()) return Fail(kFailed, why);
  const std::optional<std::string> root = velmar::boot::SystemRoot(why);
  if (!root) return Fail(kFailed, why);
  const std::optional<velmar::boot::Plan> plan = velmar::boot::PlanInstall(*root, name, edid, why);
  if (!plan || !velmar::boot::Execute(*plan, why)) return Fail(kFailed, why);
  return kDone;
}

int RemoveBoot(const std::string& name) {
  std::string why;
  if (!velmar::drm::FindConnector(name, why)) return Fail(kFailed, why);
  const std::optional<std::string> root = velmar::boot::SystemRoot(why);
  if (!root) return Fail(kFailed, why);
  const std::optional<velmar::boot::Plan> plan = velmar::boot::PlanRemove(*root, name, why);
  if (!plan || !velmar::boot::Execute(*plan, why)) return Fail(kFailed, why);
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + (argc > 0 ? argc : 1));
  const std::string usage =
      "usage: velmar-edid-helper override|install-boot CONNECTOR < EDID, or velmar-edid-helper reset|remove-boot "
      "CONNECTOR";
  if (arguments.size() != 2) return Fail(kWrongRequest, usage);
  const std::string& command = arguments[0];
  const std::string& connector = arguments[1];
  if (!velmar::drm::IsConnectorEntryName(connector)) {
    return Fail(kWrongRequest, "'" + connector + "' is not a connector's name (such as card0-HDMI-A-1)");
  }
  if (command == "override") return Override(connector);
  if (command == "reset") return Reset(connector);
  if (command == "install-boot") return InstallBoot(connector);
  if (command == "remove-boot") return RemoveBoot(connector);
  return Fail(kWrongRequest, usage);
}
