#pragma once

#include <cstdint>

#include "blocks/DataBlock.h"

namespace velmar {

// The model of DisplayID data: either a DisplayID base section standing first
// in the image, or an EDID extension block (tag 0x70) carrying one section.
class DisplayIDBlock : public DataBlock {
 public:
  // The version the candidate checks name; sections of versions 1.x and 2.x are accepted.
  static constexpr uint8_t kVersion = 0x11;
  // Version bytes accepted in an extension block; a section standing first in
  // the image starts at 0x11, since 0x10 there is the tag of another extension.
  static constexpr uint8_t kFirstExtensionVersion = 0x10;
  static constexpr uint8_t kFirstBaseVersion = 0x11;
  static constexpr uint8_t kLastVersion = 0x2F;
  static constexpr uint8_t kExtensionTag = 0x70;
  static constexpr unsigned kMaxPayload = 251;
  static constexpr unsigned kBaseSectionMinimum = 5;

  // `baseSection` selects which of the two forms the bytes must have.
  DisplayIDBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener,
                 bool baseSection);

  static bool IsBaseVersion(uint8_t version) { return version >= kFirstBaseVersion && version <= kLastVersion; }
  static bool IsExtensionVersion(uint8_t version) {
    return version >= kFirstExtensionVersion && version <= kLastVersion;
  }

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
  // Recomputes the section checksum (and an extension's block checksum after
  // it); tells the listener when a byte changed.
  virtual void UpdateChecksum();

 protected:
  void WriteChecksum() override;
  // The section's first byte: the block's first for a base section, the second for an extension.
  uint8_t* Section() const;
  // True when the whole section lies inside the bytes the model may touch.
  bool SectionFits() const;
  // The checks of one section at image[position], whose version byte must not be below `firstVersion`.
  static bool CheckSection(const uint8_t* image, unsigned position, unsigned available,
                           CallbackFillContentTgt* report, uint8_t firstVersion);

  unsigned available = 0;
  bool isBaseSection = false;
};

}  // namespace velmar
