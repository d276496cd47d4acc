#pragma once

#include <cstdint>

namespace velmar {

// The decoded form of an 18-byte detailed timing descriptor, shared by the
// base block and the CEA-861 extension.
struct DetailedTiming {
  uint32_t pixelClock = 0;  // units of 10 kHz
  uint32_t hActive = 0;
  uint32_t vActive = 0;
  uint32_t hBlank = 0;
  uint32_t vBlank = 0;
  uint32_t hSyncOffset = 0;
  uint32_t hSyncWidth = 0;
  uint32_t vSyncOffset = 0;
  uint32_t vSyncWidth = 0;
  uint32_t hBorder = 0;
  uint32_t vBorder = 0;
  uint32_t hImageMm = 0;
  uint32_t vImageMm = 0;
  bool interlaced = false;
  bool syncFlagBit2 = false;  // byte 17 bit 2
  bool syncFlagBit1 = false;  // byte 17 bit 1
  uint32_t stereo = 0;        // 0-6
  uint32_t syncType = 0;      // 0-3
  bool bordersOutsideBlanking = false;
};

}  // namespace velmar
