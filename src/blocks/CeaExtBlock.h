#pragma once

#include <cstdint>

#include "blocks/DataBlock.h"

namespace velmar {

// The model of a CEA-861 extension block (tag 0x02).
class CeaExtBlock : public DataBlock {
 public:
  // Accepts at least 128 bytes whose byte 0 is 0x02.
  CeaExtBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static constexpr uint8_t kTag = 0x02;

  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a new empty CEA block (revision 3); false when no buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  // For bytes no model accepted: true when a CEA block could stand at
  // image[position] with `available` bytes; otherwise appends why and returns false.
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);

  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  unsigned GetVersion() const override;
};

}  // namespace velmar
