#pragma once

#include "blocks/Edid13Block.h"

namespace velmar {

// The model of an EDID 1.4 base block. Its detailed timings follow the 1.4
// border rule (blanking does not contain the borders).
class Edid14Block : public Edid13Block {
 public:
  // Accepts at least 128 bytes with the EDID header, version 1 and revision 4.
  Edid14Block(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a default 1.4 base block; false when no buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);
};

}  // namespace velmar
