#pragma once

#include <cstdint>

#include "blocks/DataBlock.h"

namespace velmar {

// The model of DisplayID data: either a DisplayID base section standing first
// in the image, or an EDID extension block (tag 0x70) carrying one section.
class DisplayIDBlock : public DataBlock {
 public:
  static constexpr uint8_t kVersion = 0x11;
  static constexpr uint8_t kExtensionTag = 0x70;
  static constexpr unsigned kMaxPayload = 251;
  static constexpr unsigned kBaseSectionMinimum = 5;

  // `baseSection` selects which of the two forms the bytes must have.
  DisplayIDBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener,
                 bool baseSection);

  static bool AcceptsBaseSection(const uint8_t* data, unsigned available);
  static bool AcceptsExtension(const uint8_t* data, unsigned available);
  // 11 00 00 00 EF; false when fewer than 5 bytes of room.
  static bool InitDefaultBaseBytes(uint8_t* data, unsigned room);
  // 70 11 00 00 00 EF ... checksum; false when fewer than 128 bytes of room.
  static bool InitDefaultExtensionBytes(uint8_t* data, unsigned room);
  static bool CheckBaseCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report);
  static bool CheckExtensionCandidate(const uint8_t* image, unsigned position, unsigned available,
                                      CallbackFillContentTgt* report);

  unsigned GetExtensionCount() const override;
  bool IsBaseBlock() const override;
  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  unsigned GetVersion() const override;

  bool IsBaseSection() const { return isBaseSection; }
  // Byte 1 + 5 of the section.
  virtual unsigned GetSectionSize() const;
  // Base section only: byte 3 = count, then the section checksum.
  virtual void SetExtensionCount(unsigned count);
  // Recomputes the section checksum; tells the listener when it changed.
  virtual void UpdateChecksum();

 protected:
  void WriteChecksum() override;
  // The section's first byte: the block's first for a base section, the second for an extension.
  uint8_t* Section() const;

  unsigned available = 0;
  bool isBaseSection = false;
};

}  // namespace velmar
