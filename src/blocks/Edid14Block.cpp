#include "blocks/Edid14Block.h"

#include <cstring>

namespace velmar {

Edid14Block::Edid14Block(unsigned blockOffset, uint8_t* data, unsigned available,
                         CallbackContext* blockListener)
    : Edid13Block(blockOffset, blockListener) {
  bordersOutsideBlanking = true;
  if (Accepts(data, available)) bytes = data;
}

bool Edid14Block::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize &&
         std::memcmp(data, kEdidHeader, kEdidHeaderLength) == 0 && data[kEdidVersionByte] == 1 &&
         data[kEdidRevisionByte] == 4;
}

bool Edid14Block::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (!Edid13Block::InitDefaultBytes(data, room)) return false;
  data[kEdidRevisionByte] = 4;
  data[kEdidChecksumByte] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool Edid14Block::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report) {
  return CheckBaseCandidate(image, position, available, report, "  EDID1.4.........: ", true);
}

}  // namespace velmar
