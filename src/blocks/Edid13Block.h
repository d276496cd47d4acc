#pragma once

#include <cstdint>

#include "blocks/DataBlock.h"

namespace velmar {

class CallbackFillContentTgt;

// Byte positions of the EDID base block.
inline constexpr unsigned kEdidHeaderLength = 8;
inline constexpr unsigned kEdidVersionByte = 18;
inline constexpr unsigned kEdidRevisionByte = 19;
inline constexpr unsigned kEdidExtensionCountByte = 126;
inline constexpr unsigned kEdidChecksumByte = 127;
inline constexpr uint8_t kEdidHeader[kEdidHeaderLength] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

// The model of an EDID base block of version 1.0 to 1.3.
class Edid13Block : public DataBlock {
 public:
  // Accepts at least 128 bytes with the EDID header, version 1 and revision 0-3.
  Edid13Block(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  // True when the bytes hold the header, byte 18 = 1 and byte 19 <= 3.
  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a default 1.3 base block; false when no buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  // For bytes no model accepted: true when a 1.3 base block could stand at
  // image[position]; otherwise appends one line saying why and returns false.
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);

  unsigned GetExtensionCount() const override;
  bool IsBaseBlock() const override;
  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  unsigned GetVersion() const override;

  virtual void SetExtensionCount(unsigned count);

 protected:
  // For derived models that apply their own acceptance rule.
  Edid13Block(unsigned blockOffset, CallbackContext* blockListener)
      : DataBlock(blockOffset, blockListener) {}
  // Shared by the 1.3 and 1.4 candidate checks: `prefix` starts every line.
  static bool CheckBaseCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report, const char* prefix, bool is14);
};

}  // namespace velmar
