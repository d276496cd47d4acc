#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "blocks/DataBlock.h"
#include "common/ModeEntry.h"

namespace velmar {

class CallbackFillContentTgt;
struct MonitorInfo;

// Byte positions of the EDID base block.
inline constexpr unsigned kEdidHeaderLength = 8;
inline constexpr unsigned kEdidVersionByte = 18;
inline constexpr unsigned kEdidRevisionByte = 19;
inline constexpr unsigned kEdidExtensionCountByte = 126;
inline constexpr unsigned kEdidChecksumByte = 127;
inline constexpr uint8_t kEdidHeader[kEdidHeaderLength] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
inline constexpr unsigned kEdidDescriptorStart = 54;
inline constexpr unsigned kEdidDescriptorCount = 4;
inline constexpr unsigned kEdidDescriptorLength = 18;
inline constexpr unsigned kEdidStandardTimingCount = 8;
inline constexpr unsigned kDescriptorStandardTimingCount = 6;
inline constexpr unsigned kEstablishedTimingCount = 17;  // established timings I/II and the manufacturer's bit

// Display descriptor tags.
inline constexpr uint8_t kTagDummy = 0x10;
inline constexpr uint8_t kTagEstablishedTimingsIII = 0xF7;
inline constexpr uint8_t kTagCvtCodes = 0xF8;
inline constexpr uint8_t kTagColorManagement = 0xF9;
inline constexpr uint8_t kTagStandardTimings = 0xFA;
inline constexpr uint8_t kTagColorPoint = 0xFB;
inline constexpr uint8_t kTagProductName = 0xFC;
inline constexpr uint8_t kTagRangeLimits = 0xFD;
inline constexpr uint8_t kTagAsciiString = 0xFE;
inline constexpr uint8_t kTagSerialNumber = 0xFF;

// What a descriptor slot holds; the numbers are shared with the page's kind list.
enum DescriptorKind : unsigned {
  kDescriptorDummy = 0,
  kDescriptorDetailedTiming = 1,
  kDescriptorSerialNumber = 2,
  kDescriptorAsciiString = 3,
  kDescriptorRangeLimits = 4,
  kDescriptorProductName = 5,
  kDescriptorColorPoint = 6,
  kDescriptorStandardTimings = 7,
  kDescriptorColorManagement = 8,
  kDescriptorCvtCodes = 9,
  kDescriptorEstablishedTimingsIII = 10,
};
inline constexpr unsigned kDescriptorKindCount = 11;

// Picture aspect of standard timings, CVT codes and range limits.
enum AspectCode : uint32_t {
  kAspect16x9 = 2,
  kAspect16x10 = 3,
  kAspect4x3 = 4,
  kAspect5x4 = 5,
  kAspect15x9 = 10,
};

struct VendorProductInfo {
  uint32_t letter1 = 0;  // 5-bit codes, 1 = A ... 26 = Z
  uint32_t letter2 = 0;
  uint32_t letter3 = 0;
  uint32_t productCode = 0;
  uint32_t serialNumber = 0;
  uint32_t week = 0;
  int32_t year = 0;  // full year
};

struct BasicParams {
  bool gammaDefined = false;
  bool digital = false;
  uint32_t displayType = 0;  // 0-3: colour type; 4-7 (EDID 1.4, digital): colour encodings
  uint32_t sizeMode = 0;     // 0 size in cm, 1 undefined/projector; EDID 1.4: 2-9 aspect ratios
  uint32_t hSizeCm = 0;
  uint32_t vSizeCm = 0;
  double gamma = 0;
  uint32_t signalLevel = 0;  // analog only, 0-3
  bool blankToBlack = false;
  bool separateSync = false;
  bool compositeSyncOnH = false;
  bool syncOnGreen = false;
  bool serrationOnVSync = false;
  uint32_t colorDepth = 0;        // EDID 1.4, digital
  uint32_t digitalInterface = 0;  // EDID 1.4, digital
  bool standby = false;
  bool suspend = false;
  bool activeOff = false;
  bool srgbDefault = false;
  bool preferredTimingNative = false;
  bool defaultGtf = false;           // EDID 1.0-1.3
  bool continuousFrequency = false;  // EDID 1.4

  // sizeMode values of EDID 1.4.
  static constexpr uint32_t kSizeInCm = 0;
  static constexpr uint32_t kSizeUndefined = 1;
  static constexpr uint32_t kLandscape16x9 = 2;
  static constexpr uint32_t kLandscape16x10 = 3;
  static constexpr uint32_t kLandscape4x3 = 4;
  static constexpr uint32_t kLandscape5x4 = 5;
  static constexpr uint32_t kPortrait9x16 = 6;
  static constexpr uint32_t kPortrait10x16 = 7;
  static constexpr uint32_t kPortrait3x4 = 8;
  static constexpr uint32_t kPortrait4x5 = 9;
};

// Chromaticity codes, value = chromaticity x 1024.
struct ColorCharacteristics {
  enum Index : unsigned { kRedX, kRedY, kGreenX, kGreenY, kBlueX, kBlueY, kWhiteX, kWhiteY };
  std::array<uint32_t, 8> codes{};
};

struct StandardTiming {
  bool used = false;
  uint32_t width = 0;
  uint32_t refresh = 0;
  uint32_t aspect = 0;  // AspectCode
};

// Bytes 5-17 of a display descriptor.
struct DescriptorText {
  std::array<uint8_t, 13> bytes{};
};

struct ColorPoint {
  uint32_t whiteIndex1 = 0;
  uint32_t whiteX1 = 0;
  uint32_t whiteY1 = 0;
  bool gamma1Defined = false;
  double gamma1 = 0;
  uint32_t whiteIndex2 = 0;
  uint32_t whiteX2 = 0;
  uint32_t whiteY2 = 0;
  bool gamma2Defined = false;
  double gamma2 = 0;
};

struct RangeLimits {
  bool offsetsAvailable = false;  // EDID 1.4
  bool extendedSupport = false;   // EDID 1.4
  uint32_t hOffsetMode = 0;       // 0 none, 1 max + 255, 2 max + 255 and min + 254
  uint32_t vOffsetMode = 0;
  uint32_t minVRate = 0;  // Hz, as stored
  uint32_t maxVRate = 0;
  uint32_t minHRate = 0;  // kHz, as stored
  uint32_t maxHRate = 0;
  uint32_t maxPixelClockMHz = 0;
  // EDID 1.3: 0 none/default GTF, 2 secondary GTF.
  // EDID 1.4: 0 range limits only, 1 default GTF, 2 secondary GTF, 3 CVT.
  uint32_t timingSupport = 0;
  uint32_t gtfStartFreqKHz = 0;
  uint32_t gtfC = 0;
  uint32_t gtfM = 0;
  uint32_t gtfK = 0;
  uint32_t gtfJ = 0;
  uint32_t cvtVersion = 0;
  uint32_t cvtMaxLineLength = 0;  // 10-bit value as stored
  uint32_t cvtClockPrecisionKHz = 0;
  uint32_t cvtPreferredAspect = 0;  // AspectCode
  bool cvtStandardBlanking = false;
  bool cvtReducedBlanking = false;
  bool cvtAspect4x3 = false;
  bool cvtAspect16x9 = false;
  bool cvtAspect16x10 = false;
  bool cvtAspect5x4 = false;
  bool cvtAspect15x9 = false;
  bool cvtHShrink = false;
  bool cvtHStretch = false;
  bool cvtVShrink = false;
  bool cvtVStretch = false;
  uint32_t cvtPreferredRate = 0;  // Hz

  static constexpr uint32_t kSupportNone = 0;
  static constexpr uint32_t kSupportDefaultGtf = 1;
  static constexpr uint32_t kSupportSecondaryGtf = 2;
  static constexpr uint32_t kSupportCvt = 3;
};

// One row of an established timings table.
struct EstablishedTiming {
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t refresh = 0;
  bool interlaced = false;
  bool reducedBlanking = false;
};

// The model of an EDID base block of version 1.0 to 1.3.
//
// Descriptor slots are numbered 0-3 by CreateDescriptor, ClearDescriptor and
// GetDescriptorKind and 1-4 by every other operation; slot 0 of the standard
// timing operations is the block's own list of eight.
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

  // The name of a descriptor kind as the page lists it; empty outside 0-10.
  static const char* DescriptorKindName(unsigned kind);
  // The label of an established timing row: "%4u x %-4u at %uHz" and "(I)" or "(RB)".
  static std::string EstablishedTimingLabel(const EstablishedTiming& row);
  // Row `index` (0-16) of established timings I/II, or null.
  static const EstablishedTiming* EstablishedTimingRow(unsigned index);
  // The height of a standard timing by the aspect bits (7-6) of its second
  // byte; bits 00 mean 1:1 below revision 3.
  static unsigned StandardTimingHeight(unsigned width, uint8_t aspectBits, unsigned revision);

  // DataBlock
  unsigned GetExtensionCount() const override;
  bool IsBaseBlock() const override;
  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  unsigned GetVersion() const override;
  void CollectModes(CallbackFillContentTgt* sink) const override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) const override;
  unsigned Validate(CallbackFillContentTgt* report) const override;
  // Index 1-4: the descriptor slot at byte 54, 72, 90 or 108.
  void GetDetailedTiming(unsigned index, DetailedTiming& timing) const override;
  void SetDetailedTiming(unsigned index, const DetailedTiming& timing) override;

  // Descriptors (slots 0-3).
  virtual void CreateDescriptor(unsigned kind, unsigned slot);
  virtual void ClearDescriptor(unsigned slot);
  virtual unsigned GetDescriptorKind(unsigned slot) const;
  virtual bool CanAddDescriptor(unsigned kind) const;

  virtual void GetMonitorInfo(MonitorInfo& info) const;
  // Widens (width, height) to the block's largest mode.
  virtual void GetLargestMode(unsigned& width, unsigned& height) const;

  // Getters leave their output untouched and return false when the model is
  // empty or an index is out of range.
  virtual bool GetVendorProduct(VendorProductInfo& info) const;
  virtual bool GetBasicParams(BasicParams& params) const;
  virtual bool GetColorCharacteristics(ColorCharacteristics& colors) const;
  // Set 0 is established timings I/II (index 0-16); empty text for none.
  virtual std::string GetEstablishedTimingLabel(unsigned set, unsigned index) const;
  virtual bool IsEstablishedTimingSet(unsigned set, unsigned index) const;
  virtual bool GetStandardTiming(unsigned slot, unsigned index, StandardTiming& timing) const;
  virtual bool GetDescriptorString(unsigned slot, DescriptorText& text) const;
  virtual bool GetColorPoint(unsigned slot, ColorPoint& point) const;
  virtual bool GetRangeLimits(unsigned slot, RangeLimits& limits) const;

  virtual void SetExtensionCount(unsigned count);
  virtual void SetVendorProduct(const VendorProductInfo& info);
  virtual void SetBasicParams(const BasicParams& params);
  virtual void SetColorCharacteristics(const ColorCharacteristics& colors);
  virtual void SetEstablishedTiming(unsigned set, unsigned index, bool on);
  virtual void SetStandardTiming(unsigned slot, unsigned index, const StandardTiming& timing);
  virtual void SetDescriptorString(unsigned slot, const DescriptorText& text);
  // A white point whose index was 0 and stays 0 keeps its bytes.
  virtual void SetColorPoint(unsigned slot, const ColorPoint& point);
  // Bytes 10-17 are rewritten only for a timing support with parameters
  // (secondary GTF, CVT) or when the support differs from the stored one.
  virtual void SetRangeLimits(unsigned slot, const RangeLimits& limits);

  // Widens (width, height) by one standard timing code; 01 01 is skipped.
  virtual void UpdateLargestStandardTiming(const uint8_t* code, unsigned& width, unsigned& height) const;
  virtual void CollectEstablishedModes(CallbackFillContentTgt* sink) const;
  virtual void AddEstablishedMode(CallbackFillContentTgt* sink, const EstablishedTiming& row,
                                  ModeBlockKind source) const;
  virtual void CollectStandardModes(CallbackFillContentTgt* sink) const;
  virtual void AddStandardMode(CallbackFillContentTgt* sink, const uint8_t* code, ModeBlockKind source) const;
  virtual void CollectDetailedModes(CallbackFillContentTgt* sink) const;

  // Byte map of the sections; `position` is inside the section (inside the
  // descriptor for the descriptor operations, `slot` 0-3).
  virtual void DescribeVendorProductByte(unsigned position, std::string& name, std::string& group) const;
  virtual void DescribeBasicParamsByte(unsigned position, std::string& name, std::string& group) const;
  virtual void DescribeColorByte(unsigned position, std::string& name, std::string& group) const;
  virtual void DescribeDescriptorByte(unsigned position, unsigned slot, std::string& name, std::string& group) const;
  virtual void DescribeRangeLimitsByte(unsigned position, unsigned slot, uint8_t support, std::string& name,
                                       std::string& group) const;
  virtual void DescribeColorPointByte(unsigned position, unsigned slot, std::string& name, std::string& group) const;

  uint8_t Revision() const { return bytes != nullptr ? bytes[kEdidRevisionByte] : 0; }

 protected:
  // For derived models that apply their own acceptance rule.
  Edid13Block(unsigned blockOffset, CallbackContext* blockListener)
      : DataBlock(blockOffset, blockListener) {}
  // Shared by the 1.3 and 1.4 candidate checks: `prefix` starts every line.
  static bool CheckBaseCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report, const char* prefix, bool is14);

  // The highest descriptor kind the block knows (7 for 1.0-1.3, 10 for 1.4).
  virtual unsigned LastDescriptorKind() const { return kDescriptorStandardTimings; }
  // The bytes of a new descriptor of `kind` in the zeroed slot `s`.
  virtual void InitDescriptor(unsigned kind, uint8_t* s);
  // Writes the basic parameters; the caller brackets the write.
  virtual void EncodeBasicParams(const BasicParams& params);
  // The bytes of descriptor slot 0-3, or null.
  uint8_t* SlotBytes(unsigned slot) const;
  // True when slot 0-3 holds a display descriptor (bytes 0-2 zero) with `tag`.
  bool SlotHasTag(unsigned slot, uint8_t tag) const;
  // True when any slot holds a display descriptor with `tag`.
  bool AnySlotHasTag(uint8_t tag) const;
  static ModeBlockKind SlotSource(unsigned slot) {
    return static_cast<ModeBlockKind>(static_cast<uint32_t>(ModeBlockKind::EdidDescriptor0) + slot);
  }
  static void WidenTo(unsigned candidateWidth, unsigned candidateHeight, unsigned& width, unsigned& height);
  // Common part of the 1.3 and 1.4 range limits codecs.
  static void DecodeRangeLimitsBase(const uint8_t* slot, RangeLimits& limits);
  static void EncodeRangeLimitsBase(const RangeLimits& limits, uint8_t* slot);
  static void EncodeRangeLimitsGtf(const RangeLimits& limits, uint8_t* slot);
  static void FillUnusedRangeLimits(uint8_t* slot, uint8_t support);
};

}  // namespace velmar
