#pragma once

#include <cstdint>

namespace velmar {

// One of the HDMI 1.4 extended resolution formats (all progressive) that an
// HDMI vendor specific data block lists by HDMI VIC.
struct HdmiVicFormat {
  uint8_t vic = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t refreshHz = 0;
  uint16_t hBlank = 0;
  uint16_t vBlank = 0;
  uint16_t hFrontPorch = 0;
  uint16_t vFrontPorch = 0;
  uint16_t hSync = 0;
  uint16_t vSync = 0;
  uint32_t clockKHz = 0;
  uint32_t clock1001KHz = 0;  // the 1000/1001 variant; equal to clockKHz when there is none

  bool HasFractionalRate() const { return clock1001KHz != clockKHz; }
};

class HdmiVicTable {
 public:
  static constexpr unsigned kFirstVic = 1;
  static constexpr unsigned kLastVic = 4;

  // The row of `vic`, or null outside 1-4.
  static const HdmiVicFormat* Find(unsigned vic);
};

}  // namespace velmar
