#pragma once

#include <string>

namespace velmar {

class EdidImage;

// Loads the first 512 bytes of the raw binary file at `path` into the image.
// A file that cannot be read shows "Failed to open [%s] for reading" and
// leaves the image unchanged; returns whether the file was read.
bool LoadBinFile(EdidImage& image, const std::string& path);

// The raw binary form of the image: its used bytes, exactly.
std::string BinFileContents(const EdidImage& image);

}  // namespace velmar
