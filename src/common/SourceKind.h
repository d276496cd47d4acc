#pragma once

#include <string>

namespace velmar {

// Where the image came from.
enum class SourceKind : int {
  Custom = 0,
  RegistryValue = 1,
  ConnectedDisplay = 2,
  InfFile = 3,
  RegFile = 4,
  BinFile = 5,
  TxtFile = 6,
};

// What the source labels show beside the kind. Callers fill the fields their
// kind uses: `file` for the file kinds; `displayName`, `displayIndex` and
// `adapterPosition` for a connected display; `registryValueName`,
// `displayIndex` and `registryPath` for the emulated-EDID value.
struct SourceDetails {
  std::string file;
  std::string displayName;
  unsigned displayIndex = 0;
  unsigned adapterPosition = 0;
  std::string registryValueName;
  std::string registryPath;
};

}  // namespace velmar
