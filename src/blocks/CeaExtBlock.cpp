#include "blocks/CeaExtBlock.h"

#include <cstring>

#include "app/Callbacks.h"
#include "util/Format.h"

namespace velmar {

CeaExtBlock::CeaExtBlock(unsigned blockOffset, uint8_t* data, unsigned available,
                         CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
}

bool CeaExtBlock::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && data[0] == kTag;
}

bool CeaExtBlock::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  data[0] = kTag;
  data[1] = 3;
  data[kBlockSize - 1] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool CeaExtBlock::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report) {
  if (image == nullptr || available < kBlockSize) {
    report->Append(Format("  CEA Ext Block...: %u - unsufficient size. Required %u bytes\r\n", available,
                          kBlockSize));
    return false;
  }
  if (image[position] != kTag) {
    report->Append(Format("  CEA Ext Block...: Byte[%u] = 0x%02X does not match CEA extension tag (0x%02X)\r\n",
                          position, image[position], kTag));
    return false;
  }
  return true;
}

uint8_t CeaExtBlock::GetChecksum() const { return bytes != nullptr ? bytes[kBlockSize - 1] : 0; }

unsigned CeaExtBlock::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

unsigned CeaExtBlock::GetVersion() const { return bytes != nullptr ? bytes[1] : 0; }

}  // namespace velmar
