#include "blocks/DiExtBlock.h"

#include <cstring>

#include "app/Callbacks.h"
#include "util/Format.h"

namespace velmar {

DiExtBlock::DiExtBlock(unsigned blockOffset, uint8_t* data, unsigned available,
                       CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
}

bool DiExtBlock::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && data[0] == kTag;
}

bool DiExtBlock::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  data[0] = kTag;
  data[1] = 1;
  data[kBlockSize - 1] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool DiExtBlock::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                CallbackFillContentTgt* report) {
  if (image == nullptr || available < kBlockSize) {
    report->Append(Format("DI Ext Block....: %u - unsufficient size. Required %u bytes\r\n", available,
                          kBlockSize));
    return false;
  }
  if (image[position] != kTag) {
    report->Append(Format("DI Ext Block....: Byte[%u] = 0x%02X does not match DI extension tag (0x%02X)\r\n",
                          position, image[position], kTag));
    return false;
  }
  return true;
}

uint8_t DiExtBlock::GetChecksum() const { return bytes != nullptr ? bytes[kBlockSize - 1] : 0; }

unsigned DiExtBlock::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

}  // namespace velmar
