#pragma once

#include <cstdint>

#include "blocks/DataBlock.h"

namespace velmar {

// The model of a VESA DI-EXT extension block (tag 0x40).
class DiExtBlock : public DataBlock {
 public:
  // Accepts at least 128 bytes whose byte 0 is 0x40.
  DiExtBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static constexpr uint8_t kTag = 0x40;

  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a new DI-EXT block; false for a null buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);

  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
};

}  // namespace velmar
