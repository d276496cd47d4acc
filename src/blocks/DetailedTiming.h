#pragma once

#include <cstdint>
#include <string>

#include "common/ModeEntry.h"

namespace velmar {

class CallbackFillContentTgt;

// Length of a detailed timing descriptor in bytes.
inline constexpr unsigned kDetailedTimingLength = 18;

// The decoded form of an 18-byte detailed timing descriptor, shared by the
// base block and the CEA-861 extension.
struct DetailedTiming {
  uint32_t pixelClock = 0;  // units of 10 kHz
  uint32_t hActive = 0;
  uint32_t vActive = 0;
  uint32_t hBlank = 0;
  uint32_t vBlank = 0;
  uint32_t hSyncOffset = 0;
  uint32_t hSyncWidth = 0;
  uint32_t vSyncOffset = 0;
  uint32_t vSyncWidth = 0;
  uint32_t hBorder = 0;
  uint32_t vBorder = 0;
  uint32_t hImageMm = 0;
  uint32_t vImageMm = 0;
  bool interlaced = false;
  bool syncFlagBit2 = false;  // byte 17 bit 2
  bool syncFlagBit1 = false;  // byte 17 bit 1
  uint32_t stereo = 0;        // 0-6
  uint32_t syncType = 0;      // 0-3
  bool bordersOutsideBlanking = false;

  // Sync types (byte 17 bits 4-3).
  static constexpr uint32_t kSyncAnalogComposite = 0;
  static constexpr uint32_t kSyncBipolarAnalogComposite = 1;
  static constexpr uint32_t kSyncDigitalComposite = 2;
  static constexpr uint32_t kSyncDigitalSeparate = 3;

  // Decodes 18 bytes. `outsideBlanking` is the model's border rule (true for
  // EDID 1.4: the blanking does not contain the borders).
  static DetailedTiming Decode(const uint8_t* data, bool outsideBlanking);
  // Encodes the record into 18 bytes. Values wider than their fields are cut to
  // their field. The stereo bits of an old 2D descriptor are kept when the
  // record is 2D too, so that decode-then-encode never changes a byte.
  void Encode(uint8_t* data) const;

  // The pixel clock of the 18 bytes (0 means a display descriptor).
  static unsigned PixelClockOf(const uint8_t* data) { return data[0] + data[1] * 256u; }

  // The mode entry of the timing for the modes list, announced by `blockKind`.
  ModeEntry ToModeEntry(ModeBlockKind blockKind) const;

  // Appends the timing's summary lines (up to seven) to `target`.
  void AppendSummary(CallbackFillContentTgt* target) const;
  // The same lines as one text.
  std::string SummaryText() const;

  // Byte map: the name and group of byte `position` (0-17) of entry `entry`
  // (0-based). Positions outside 0-17 leave both texts untouched.
  static void DescribeByte(unsigned position, unsigned entry, std::string& name, std::string& group);

  // Names of the sync types and stereo modes as the editor lists them; empty
  // text for a value outside the list.
  static const char* SyncTypeName(uint32_t type);
  static const char* StereoChoiceName(uint32_t value);
};

}  // namespace velmar
