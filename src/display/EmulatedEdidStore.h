#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "blocks/DataBlock.h"

namespace velmar {

// The emulated-EDID values of the displays, kept in files: the local machine's
// root is a folder, a key path ("SYSTEM\Velmar\...") a sub-folder of it and a
// binary value a regular file in that folder.
//
// A key path with an empty, "." or ".." component, a component holding "/",
// or a symbolic link anywhere below the root is refused, and every file is
// reached through its key folder's open descriptor: nothing outside the root is
// ever read, written or deleted.
class EmulatedEdidStore {
 public:
  // The root named by VELMAR_REGISTRY_ROOT, else
  // $XDG_STATE_HOME/velmar-edid-utility/registry (~/.local/state/... when unset).
  EmulatedEdidStore();

  static std::string DefaultRoot();
  // "NEXOEmulatedEDID_A0" / "NEXOEmulatedEDID_D0".
  static std::string ValueName(bool analog, unsigned displayIndex);

  void SetRoot(std::string folder) { root = std::move(folder); }
  const std::string& Root() const { return root; }

  // True when the value exists as a regular file.
  bool ValueExists(const std::string& keyPath, const std::string& valueName) const;
  // Reads a value of at most 512 bytes into `bytes` (zero-filled past it);
  // a larger value fails and leaves `bytes` untouched.
  bool ReadValue(const std::string& keyPath, const std::string& valueName, std::array<uint8_t, kMaxEdidSize>& bytes,
                 unsigned& size) const;
  // Creates the key's folders when needed and replaces the value atomically.
  bool WriteValue(const std::string& keyPath, const std::string& valueName, const uint8_t* data, unsigned length);
  // Fails for a value that does not exist.
  bool DeleteValue(const std::string& keyPath, const std::string& valueName);

  // Run as root, the root folder is used only when it and every folder above
  // it are root's alone (see UntrustedPathReason): why it was last refused, or empty.
  const std::string& Refusal() const { return refusal; }

 private:
  // An open descriptor of the key's folder, or -1. With `create` the root and
  // any missing folder of the path are made.
  int OpenKey(const std::string& keyPath, bool create) const;

  std::string root;
  mutable std::string refusal;
};

}  // namespace velmar
