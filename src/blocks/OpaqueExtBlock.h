#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "blocks/DataBlock.h"

namespace velmar {

// The model of a 128-byte extension block that no other model decodes: a
// Block Map (tag 0xF0), a VESA Video Timing Block (tag 0x10), a
// manufacturer's block (0xFF) or any other tag. It keeps the block's bytes as
// they are: byte 0 is the tag, bytes 1-126 the data, byte 127 the checksum.
// A Block Map is read as the list of block tags it announces.
class OpaqueExtBlock : public DataBlock {
 public:
  static constexpr uint8_t kVtbTag = 0x10;
  static constexpr uint8_t kBlockMapTag = 0xF0;
  static constexpr uint8_t kManufacturerTag = 0xFF;
  // The data bytes of a block: 1 to 126.
  static constexpr unsigned kDataStart = 1;
  static constexpr unsigned kDataEnd = kBlockSize - 1;

  // Accepts at least 128 bytes whose tag (byte 0) is not 0x00: a zero tag
  // starts an EDID base block or a run of zeros, never an extension block.
  OpaqueExtBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static bool Accepts(const uint8_t* data, unsigned available);
  // The page caption of a block with `tag`: "Block Map", "VTB Extension",
  // "Extension (tag 0x45)".
  static std::string CaptionOf(uint8_t tag);
  // What a Block Map entry names: the caption of the block kind with `tag`.
  static std::string TagName(uint8_t tag);

  // DataBlock
  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) const override;
  // The range line, then either "Block is valid" or the wrong checksum (one finding).
  unsigned Validate(CallbackFillContentTgt* report) const override;

  // Byte 0; 0 without bytes.
  uint8_t GetTag() const;
  bool IsBlockMap() const { return GetTag() == kBlockMapTag; }
  // The checksum the block's bytes 0-126 call for.
  uint8_t ExpectedChecksum() const;
  // Writes the right checksum; tells the listener when it changed.
  void UpdateChecksum();

  // One entry of a Block Map: the number of the block it describes (the
  // base block is block 0) and the tag it announces for it.
  struct MapEntry {
    unsigned block = 0;
    uint8_t tag = 0;
  };
  struct BlockMap {
    std::array<MapEntry, kDataEnd - kDataStart> entries{};
    unsigned count = 0;
  };
  // The blocks a Block Map announces, in order: every non-zero byte of 1-126,
  // byte i naming block b + i for the map in block b (block 1's map names
  // blocks 2-127, a second map in block 128 the blocks after it). Empty for
  // a block of another tag.
  BlockMap GetBlockMap() const;
  // The block's number in the image: its offset over 128.
  unsigned BlockNumber() const { return offset / kBlockSize; }
};

}  // namespace velmar
