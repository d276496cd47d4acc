#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "blocks/DataBlock.h"

namespace velmar {

// The decoded sections of a DI-EXT block. A default-constructed record is all
// zero, as a reader must hand it to a getter; a getter fills only what the
// bytes hold and leaves the rest as it was.

// Bytes 1-6 and 127. Only the fields of the stored release kind are filled:
// kind 1 the two numbers, kind 2 the letter, kind 3 the date.
struct DiGeneralInfo {
  unsigned version = 0;
  unsigned interfaceStandard = 0;
  unsigned releaseKind = 0;  // 0 none, 1 version and revision, 2 letter, 3 date code
  double versionNumber = 0;
  double revisionNumber = 0;
  // Kind 1 as its bytes: the integer parts and the hundredths. The getter
  // fills them beside the real numbers; the setter writes them as they are
  // while the real numbers still equal integer + hundredths / 100, so that
  // bytes no real number can carry (hundredths above 99) survive a record
  // read and written back. A caller that sets only the real numbers gets
  // them split into integer and hundredths.
  unsigned versionInteger = 0;
  unsigned versionHundredths = 0;
  unsigned revisionInteger = 0;
  unsigned revisionHundredths = 0;
  unsigned day = 0;
  unsigned month = 0;
  unsigned year = 0;
  uint8_t letter = 0;
  uint8_t checksum = 0;

  bool operator==(const DiGeneralInfo&) const = default;
};

// Bytes 7-13.
struct DiFormatAndClock {
  bool dataEnableUsed = false;
  bool dataEnableHigh = false;
  unsigned shiftClockEdge = 0;  // 0 not specified, 1 rising, 2 falling, 3 both
  bool hdcp = false;
  bool doubleClocking = false;
  bool packetizedVideo = false;
  unsigned dataFormatIndex = 0;  // 0-4 for the codes 0x15, 0x19, 0x24, 0x48, 0x49
  unsigned minClock = 0;         // MHz
  unsigned maxClock = 0;         // MHz
  unsigned crossover = 0;        // MHz; 0xFFFF for a single-link display
  // Byte 8 as stored, filled by the getter, so that a caller can tell a code
  // the index table does not know; the setter writes the index's code (an
  // index outside the table leaves byte 8 alone) and ignores this.
  unsigned dataFormatCode = 0;

  bool operator==(const DiFormatAndClock&) const = default;
};

// Bytes 14-19.
struct DiDisplayDevice {
  unsigned layout = 0;
  unsigned configuration = 0;
  unsigned shape = 0;
  unsigned horizontalPitch = 0;  // ten times the stored byte
  unsigned verticalPitch = 0;
  bool fixedPixelFormat = false;
  unsigned viewDirection = 0;
  bool transparentBackground = false;
  unsigned physicalImplementation = 0;
  bool ddcCi = false;

  bool operator==(const DiDisplayDevice&) const = default;
};

// Bytes 20-26 and 38.
struct DiDisplayCaps {
  // Byte 20.
  bool legacyTimings = false;
  unsigned stereoVideo = 0;
  bool scalerOnBoard = false;
  bool imageCentering = false;
  bool conditionalUpdate = false;
  bool interlacedScan = false;
  // Byte 21: bit 5 of the code announces vertical, bit 6 horizontal conversion.
  bool framelock = false;
  unsigned frequencyConversion = 0;
  double verticalConversion = 0;    // Hz
  double horizontalConversion = 0;  // kHz
  // Byte 26.
  unsigned orientationType = 0;
  bool portrait = false;
  unsigned zeroPixelLocation = 0;
  unsigned scanDirection = 0;
  bool projector = false;
  // Byte 38.
  bool fullMode = false;
  bool zoomMode = false;
  bool squeezeMode = false;
  bool variableMode = false;

  bool operator==(const DiDisplayCaps&) const = default;
};

inline constexpr unsigned kDiDecodingCount = 14;
inline constexpr unsigned kDiColorDepthCount = 6;

// Bytes 27-37.
struct DiColorProperties {
  unsigned defaultDecoding = 0;
  unsigned preferredDecoding = 0;
  std::array<bool, kDiDecodingCount> decodings{};  // byte 29 bits 7-0, then byte 30 bits 7-2
  bool dithering = false;
  // Blue, green, red, then Cb/Pb, Y, Cr/Pr.
  std::array<unsigned, kDiColorDepthCount> colorDepths{};

  bool operator==(const DiColorProperties&) const = default;
};

inline constexpr unsigned kDiGammaPointCount = 45;
inline constexpr unsigned kDiGammaPointsPerColor = 15;

// Bytes 81-126.
struct DiGamma {
  unsigned curveType = 0;  // 0 none, 1 single white curve, 2 blue, green and red curves, 3 not used
  unsigned pointCount = 0;
  std::array<unsigned, kDiGammaPointCount> points{};

  bool operator==(const DiGamma&) const = default;
};

// The model of a VESA DI-EXT extension block (tag 0x40): each section decodes
// into a record and encodes back from one. A setter moves only its section's
// bytes and bits and keeps the others.
class DiExtBlock : public DataBlock {
 public:
  // Accepts at least 128 bytes whose byte 0 is 0x40.
  DiExtBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static constexpr uint8_t kTag = 0x40;

  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a new DI-EXT block; false for a null buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);
  // The byte of a data format index (0-4), or -1 for any other index.
  static int DataFormatCode(unsigned index);

  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) const override;

  virtual void GetGeneralInfo(DiGeneralInfo& info) const;
  virtual void GetFormatAndClock(DiFormatAndClock& format) const;
  virtual void GetDisplayDevice(DiDisplayDevice& device) const;
  virtual void GetDisplayCaps(DiDisplayCaps& caps) const;
  virtual void GetColorProperties(DiColorProperties& color) const;
  virtual void GetGamma(DiGamma& gamma) const;
  // Switching the interface standard from a digital one to analog (0) also
  // resets the data format and clock section; an analog block keeps it.
  virtual void SetGeneralInfo(const DiGeneralInfo& info);
  virtual void SetFormatAndClock(const DiFormatAndClock& format);
  virtual void SetDisplayDevice(const DiDisplayDevice& device);
  virtual void SetDisplayCaps(const DiDisplayCaps& caps);
  virtual void SetColorProperties(const DiColorProperties& color);
  virtual void SetGamma(const DiGamma& gamma);
  // Recomputes byte 127; tells the listener when a byte changed.
  virtual void UpdateChecksum();
  // Names of the bytes of one section, by position inside it: 0-11 for bytes
  // 2-13, 0-5 for 14-19, 0-34 for 20-54, 0-45 for 81-126. Other positions,
  // and an empty model, leave both texts alone.
  virtual void DescribeInterfaceByte(unsigned position, std::string& name, std::string& group) const;
  virtual void DescribeDeviceByte(unsigned position, std::string& name, std::string& group) const;
  virtual void DescribeCapsByte(unsigned position, std::string& name, std::string& group) const;
  virtual void DescribeGammaByte(unsigned position, std::string& name, std::string& group) const;

 private:
  // Writes the section's bytes without the checksum step.
  void WriteFormatAndClock(const DiFormatAndClock& format);
};

}  // namespace velmar
