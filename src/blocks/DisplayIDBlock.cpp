#include "blocks/DisplayIDBlock.h"

#include <cstring>

#include "common/Callbacks.h"
#include "util/Format.h"

namespace velmar {

DisplayIDBlock::DisplayIDBlock(unsigned blockOffset, uint8_t* data, unsigned availableBytes,
                               CallbackContext* blockListener, bool baseSection)
    : DataBlock(blockOffset, blockListener) {
  const bool accepted = baseSection ? AcceptsBaseSection(data, availableBytes)
                                    : AcceptsExtension(data, availableBytes);
  if (!accepted) return;
  bytes = data;
  available = availableBytes;
  isBaseSection = baseSection;
}

bool DisplayIDBlock::AcceptsBaseSection(const uint8_t* data, unsigned availableBytes) {
  return data != nullptr && availableBytes >= kBaseSectionMinimum && IsBaseVersion(data[0]) &&
         data[1] <= kMaxPayload && data[1] <= availableBytes;
}

bool DisplayIDBlock::AcceptsExtension(const uint8_t* data, unsigned availableBytes) {
  return data != nullptr && availableBytes >= kBlockSize && data[0] == kExtensionTag &&
         IsExtensionVersion(data[1]) && data[2] <= kMaxPayload && data[2] <= availableBytes;
}

bool DisplayIDBlock::InitDefaultBaseBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBaseSectionMinimum) return false;
  const uint8_t section[kBaseSectionMinimum] = {kVersion, 0x00, 0x00, 0x00, 0xEF};
  std::memcpy(data, section, sizeof section);
  return true;
}

bool DisplayIDBlock::InitDefaultExtensionBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  data[0] = kExtensionTag;
  data[1] = kVersion;
  data[5] = ComputeChecksum(data + 1, 4);
  data[kBlockSize - 1] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool DisplayIDBlock::CheckBaseCandidate(const uint8_t* image, unsigned position, unsigned availableBytes,
                                        CallbackFillContentTgt* report) {
  return CheckSection(image, position, availableBytes, report, kFirstBaseVersion);
}

bool DisplayIDBlock::CheckSection(const uint8_t* image, unsigned position, unsigned availableBytes,
                                  CallbackFillContentTgt* report, uint8_t firstVersion) {
  if (image == nullptr || availableBytes <= 4) {
    report->AppendFormatted("  DisplayID1.1....: %u - unsufficient size. Required at least %u bytes\r\n",
                          availableBytes, kBaseSectionMinimum);
    return false;
  }
  const uint8_t size = image[position + 1];
  if (size >= 252) {
    report->AppendFormatted("  DisplayID1.1....: Byte[%u] = %u specifies size large than maximum (%u bytes)\r\n",
                          position + 1, size, kMaxPayload);
    return false;
  }
  if (availableBytes < size) {
    report->AppendFormatted(
        "  DisplayID1.1....: Byte[%u] = %u specifies size large than available space (%u bytes)\r\n",
        position + 1, size, availableBytes);
    return false;
  }
  if (image[position] < firstVersion || image[position] > kLastVersion) {
    report->AppendFormatted("  DisplayID1.1....: Byte[%u] = 0x%02X defines invalid version. Should be 0x%02X\r\n",
                          position, image[position], kVersion);
    return false;
  }
  return true;
}

bool DisplayIDBlock::CheckExtensionCandidate(const uint8_t* image, unsigned position,
                                             unsigned availableBytes, CallbackFillContentTgt* report) {
  if (image == nullptr || availableBytes < kBlockSize) {
    report->AppendFormatted("  DisplayID1.1 Ext: %u - unsufficient size. Required %u bytes\r\n", availableBytes,
                          kBlockSize);
    return false;
  }
  if (image[position] != kExtensionTag) {
    report->AppendFormatted(
        "  DisplayID1.1 Ext: Byte[%u] = 0x%02X does not match DisplayID extension tag (0x%02X)\r\n", position,
        image[position], kExtensionTag);
    return false;
  }
  return CheckSection(image, position + 1, availableBytes - 1, report, kFirstExtensionVersion);
}

uint8_t* DisplayIDBlock::Section() const {
  if (bytes == nullptr) return nullptr;
  return isBaseSection ? bytes : bytes + 1;
}

unsigned DisplayIDBlock::GetSectionSize() const {
  const uint8_t* section = Section();
  return section != nullptr ? section[1] + 5u : 0;
}

unsigned DisplayIDBlock::GetExtensionCount() const {
  return bytes != nullptr && isBaseSection ? bytes[3] : 0;
}

bool DisplayIDBlock::IsBaseBlock() const { return bytes != nullptr && isBaseSection; }

bool DisplayIDBlock::SectionFits() const {
  if (bytes == nullptr) return false;
  const unsigned size = GetSectionSize();
  // A base section may announce more bytes than the model was given; an
  // extension's section must end before the block checksum.
  return isBaseSection ? size <= available : 1 + size <= kBlockSize - 1;
}

// An extension block answers with its block checksum (byte 127): that is the
// byte every EDID reader checks, the one the image's 128-byte rule keeps right,
// and it matches GetSize. The section checksum inside it is DisplayID payload.
uint8_t DisplayIDBlock::GetChecksum() const {
  if (bytes == nullptr) return 0;
  if (!isBaseSection) return bytes[kBlockSize - 1];
  return SectionFits() ? bytes[GetSectionSize() - 1] : 0;
}

unsigned DisplayIDBlock::GetSize() const {
  if (bytes == nullptr) return 0;
  return isBaseSection ? GetSectionSize() : kBlockSize;
}

unsigned DisplayIDBlock::GetVersion() const { return bytes != nullptr ? bytes[0] : 0; }

void DisplayIDBlock::SetExtensionCount(unsigned count) {
  if (bytes == nullptr || !isBaseSection || !SectionFits()) return;
  Write write(*this);
  bytes[3] = static_cast<uint8_t>(count);
}

void DisplayIDBlock::UpdateChecksum() {
  // A section that runs past the bytes the model was given is never touched.
  if (bytes == nullptr || (isBaseSection && !SectionFits())) return;
  Write write(*this);
}

void DisplayIDBlock::WriteChecksum() {
  uint8_t* section = Section();
  if (section == nullptr) return;
  if (SectionFits()) {
    const unsigned size = GetSectionSize();
    section[size - 1] = ComputeChecksum(section, size - 1);
  }
  // The extension block stays a valid EDID block around its section.
  if (!isBaseSection) bytes[kBlockSize - 1] = ComputeChecksum(bytes, kBlockSize - 1);
}

}  // namespace velmar
