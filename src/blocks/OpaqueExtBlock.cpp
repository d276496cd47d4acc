#include "blocks/OpaqueExtBlock.h"

#include "common/Callbacks.h"
#include "util/Format.h"

namespace velmar {

OpaqueExtBlock::OpaqueExtBlock(unsigned blockOffset, uint8_t* data, unsigned available,
                               CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
}

bool OpaqueExtBlock::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && data[0] != 0;
}

std::string OpaqueExtBlock::CaptionOf(uint8_t tag) {
  switch (tag) {
    case kVtbTag: return "VTB Extension";
    case 0x20: return "EDID 2.0 Extension";
    case 0x50: return "LS Extension";
    case 0x60: return "DPVL Extension";
    case kBlockMapTag: return "Block Map";
    case kManufacturerTag: return "Manufacturer Extension";
    default: return Format("Extension (tag 0x%02X)", tag);
  }
}

std::string OpaqueExtBlock::TagName(uint8_t tag) {
  // The blocks the other models decode, by their page captions.
  switch (tag) {
    case 0x02: return "CEA ExtBlock";
    case 0x40: return "DI ExtBlock";
    case 0x70: return "DID ExtBlock";
    default: return CaptionOf(tag);
  }
}

uint8_t OpaqueExtBlock::GetChecksum() const { return bytes != nullptr ? bytes[kBlockSize - 1] : 0; }

unsigned OpaqueExtBlock::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

uint8_t OpaqueExtBlock::GetTag() const { return bytes != nullptr ? bytes[0] : 0; }

uint8_t OpaqueExtBlock::ExpectedChecksum() const {
  return bytes != nullptr ? ComputeChecksum(bytes, kBlockSize - 1) : 0;
}

void OpaqueExtBlock::UpdateChecksum() {
  if (bytes == nullptr) return;
  Write write(*this);
}

void OpaqueExtBlock::DescribeByte(unsigned index, std::string& name, std::string& group,
                                  std::string& blockLabel) const {
  if (bytes == nullptr || index < offset || index - offset >= kBlockSize) return;
  const unsigned r = index - offset;
  static const FormatTable kLabels("EXT-0x%02X", 256);
  static const FormatTable kGroups("Byte[%u] of Extension Block", kBlockSize);
  kLabels.Assign(blockLabel, bytes[0]);
  if (r == kBlockSize - 1) {
    name = "Checksum";
    return;
  }
  name = r == 0 ? "Extension tag" : "Data";
  kGroups.Assign(group, r);
  if (r >= kDataStart && IsBlockMap()) {
    AssignFormat(group, "(Block Map). Tag of Block[%u]", BlockNumber() + r);
  }
}

unsigned OpaqueExtBlock::Validate(CallbackFillContentTgt* report) const {
  if (bytes == nullptr || report == nullptr) return 0;
  report->AppendFormatted("\r\nValidating %s. Data Range: Byte[%u] --> Byte[%u]\r\n", CaptionOf(bytes[0]).c_str(),
                        offset, offset + kBlockSize - 1);
  if (GetChecksum() != ExpectedChecksum()) {
    report->AppendFormatted("  Checksum: Byte[%u] = 0x%02X while the block's bytes call for 0x%02X\r\n",
                          offset + kBlockSize - 1, GetChecksum(), ExpectedChecksum());
    return 1;
  }
  report->Append("  Block is valid\r\n");
  return 0;
}

OpaqueExtBlock::BlockMap OpaqueExtBlock::GetBlockMap() const {
  BlockMap map;
  if (!IsBlockMap()) return map;
  for (unsigned i = kDataStart; i < kDataEnd; ++i) {
    if (bytes[i] == 0) continue;
    map.entries[map.count++] = {BlockNumber() + i, bytes[i]};
  }
  return map;
}

}  // namespace velmar
