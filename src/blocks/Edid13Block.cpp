#include "blocks/Edid13Block.h"

#include <cstring>

#include "app/Callbacks.h"
#include "util/Format.h"

namespace velmar {

namespace {

bool HasEdidHeader(const uint8_t* data) {
  return std::memcmp(data, kEdidHeader, kEdidHeaderLength) == 0;
}

}  // namespace

Edid13Block::Edid13Block(unsigned blockOffset, uint8_t* data, unsigned available,
                         CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
}

bool Edid13Block::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && HasEdidHeader(data) &&
         data[kEdidVersionByte] == 1 && data[kEdidRevisionByte] <= 3;
}

bool Edid13Block::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  std::memcpy(data, kEdidHeader, kEdidHeaderLength);
  data[kEdidVersionByte] = 1;
  data[kEdidRevisionByte] = 3;
  std::memset(data + 38, 0x01, 16);  // eight unused standard timings
  for (unsigned slot = 0; slot < 4; ++slot) data[54 + 18 * slot + 3] = 0x10;  // dummy descriptors
  data[kEdidChecksumByte] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool Edid13Block::CheckBaseCandidate(const uint8_t* image, unsigned position, unsigned available,
                                     CallbackFillContentTgt* report, const char* prefix, bool is14) {
  // The caller passes the whole image; a base block needs 128 readable bytes.
  if (image == nullptr || available < kBlockSize) return false;
  const uint8_t* data = image + position;
  for (unsigned i = 0; i < kEdidHeaderLength; ++i) {
    if (data[i] != kEdidHeader[i]) {
      report->Append(Format(
          "%sByte[%u] = 0x%02X does not match EDID header pattern (0x00 0xFF 0xFF 0xFF 0xFF 0xFF 0xFF 0x00)\r\n",
          prefix, i, data[i]));
      return false;
    }
  }
  if (data[kEdidVersionByte] != 1) {
    report->Append(Format(
        "%sByte[%u] = 0x%02X defines invalid version (%u.XX). Supported version pattern is 1.XX\r\n",
        prefix, kEdidVersionByte, data[kEdidVersionByte], data[kEdidVersionByte]));
    return false;
  }
  const uint8_t revision = data[kEdidRevisionByte];
  if (is14 && revision != 4) {
    report->Append(Format("%sByte[%u] = 0x%02X defines invalid sub-version. Should be 4\r\n", prefix,
                          kEdidRevisionByte, revision));
    return false;
  }
  if (!is14 && revision > 3) {
    report->Append(Format("%sByte[%u] = 0x%02X defines invalid sub-version. Should be 3 or lower\r\n",
                          prefix, kEdidRevisionByte, revision));
    return false;
  }
  return true;
}

bool Edid13Block::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report) {
  return CheckBaseCandidate(image, position, available, report, "  EDID1.3.........: ", false);
}

unsigned Edid13Block::GetExtensionCount() const {
  return bytes != nullptr ? bytes[kEdidExtensionCountByte] : 0;
}

bool Edid13Block::IsBaseBlock() const { return bytes != nullptr; }

uint8_t Edid13Block::GetChecksum() const { return bytes != nullptr ? bytes[kEdidChecksumByte] : 0; }

unsigned Edid13Block::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

unsigned Edid13Block::GetVersion() const {
  return bytes != nullptr ? bytes[kEdidVersionByte] * 256u + bytes[kEdidRevisionByte] : 0;
}

void Edid13Block::SetExtensionCount(unsigned count) {
  if (bytes == nullptr) return;
  Write write(*this);
  bytes[kEdidExtensionCountByte] = static_cast<uint8_t>(count);
}

}  // namespace velmar
