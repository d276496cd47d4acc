#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "blocks/MonitorInfo.h"
#include "util/Clock.h"

namespace velmar {

// What a file is written for, beyond the image itself: the INF file's driver
// date and the REG file's registry key and value name.
struct EncodeOptions {
  LocalTime date;
  // The key under HKEY_LOCAL_MACHINE ("SYSTEM\...") and the value name ("NEXOEmulatedEDID_D0").
  std::string registryPath;
  std::string valueName;
};

// One block of the image as the INF file lists it.
struct ImageFileBlock {
  std::string title;  // the page caption, "EDID1.3 BaseBlock"
  unsigned start = 0;
  unsigned end = 0;  // exclusive
};

// Everything an encoder reads of an image, gathered by the image's owner so
// that the encoders need no block pages.
struct ImageFileData {
  // The used bytes: from offset 0 up to the end of the last block.
  std::vector<uint8_t> bytes;
  std::vector<ImageFileBlock> blocks;
  // The first block's monitor information (all zero when it is no EDID base block).
  MonitorInfo monitor;
  // The largest mode any block announces (0 x 0 for none).
  unsigned largestWidth = 0;
  unsigned largestHeight = 0;
  EncodeOptions options;
};

}  // namespace velmar
