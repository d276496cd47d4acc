#pragma once

#include <string>

namespace velmar {

class EdidImage;

// The registry import file that sets a display's emulated-EDID value to the
// image's used bytes: `registryPath` is the key under HKEY_LOCAL_MACHINE,
// `valueName` the value ("NEXOEmulatedEDID_D0"). With no entries the file ends
// right after "=hex:".
std::string RegFileContents(const EdidImage& image, const std::string& registryPath, const std::string& valueName);

// Loads the bytes of every emulated-EDID value line of the REG file at `path`,
// one list after the other (a registry editor export in UTF-16 included).
// A file that cannot be read shows "Failed to open [%s] for reading" and
// leaves the image unchanged; returns whether the file was read.
bool LoadRegFile(EdidImage& image, const std::string& path);

}  // namespace velmar
