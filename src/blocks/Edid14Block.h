#pragma once

#include "blocks/Edid13Block.h"

namespace velmar {

// One CVT 3-byte timing code.
struct CvtCode {
  bool used = false;
  uint32_t lines = 0;          // vertical addressable lines
  uint32_t aspect = 0;         // AspectCode 2, 3 or 4
  uint32_t preferredRate = 0;  // 0 = 50 Hz, 1 = 60 Hz, 2 = 75 Hz, 3 = 85 Hz
  bool rate50 = false;
  bool rate60 = false;
  bool rate75 = false;
  bool rate85 = false;
  bool rate60Rb = false;

  // The width of the code: lines x aspect, rounded down to a multiple of 8.
  unsigned Width() const;
};

// Colour management coefficients of a 0xF9 descriptor.
struct ColorManagement {
  uint32_t version = 0;
  double redA2 = 0;
  double redA3 = 0;
  double greenA2 = 0;
  double greenA3 = 0;
  double blueA2 = 0;
  double blueA3 = 0;
};

inline constexpr unsigned kEstablishedTimingIIICount = 44;
inline constexpr unsigned kCvtCodesPerDescriptor = 4;

// The model of an EDID 1.4 base block. Its detailed timings follow the 1.4
// border rule (blanking does not contain the borders).
class Edid14Block : public Edid13Block {
 public:
  // Accepts at least 128 bytes with the EDID header, version 1 and revision 4.
  Edid14Block(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a default 1.4 base block; false when no buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);
  // Row `index` (0-43) of established timings III, or null.
  static const EstablishedTiming* EstablishedTimingIIIRow(unsigned index);

  void CollectModes(CallbackFillContentTgt* sink) const override;
  bool CanAddDescriptor(unsigned kind) const override;
  void GetLargestMode(unsigned& width, unsigned& height) const override;
  bool GetBasicParams(BasicParams& params) const override;
  // Sets 1-4 are the Established Timings III descriptors of slots 1-4 (index 0-43).
  std::string GetEstablishedTimingLabel(unsigned set, unsigned index) const override;
  bool IsEstablishedTimingSet(unsigned set, unsigned index) const override;
  bool GetRangeLimits(unsigned slot, RangeLimits& limits) const override;
  void SetEstablishedTiming(unsigned set, unsigned index, bool on) override;
  void SetRangeLimits(unsigned slot, const RangeLimits& limits) override;
  void CollectEstablishedModes(CallbackFillContentTgt* sink) const override;
  void DescribeDescriptorByte(unsigned position, unsigned slot, std::string& name, std::string& group) const override;

  // CVT codes act only on a slot (1-4) holding a 0xF8 descriptor; code 0-3.
  virtual bool GetCvtCode(unsigned slot, unsigned code, CvtCode& cvt) const;
  virtual bool GetColorManagement(unsigned slot, ColorManagement& management) const;
  virtual void SetCvtCode(unsigned slot, unsigned code, const CvtCode& cvt);
  virtual void SetColorManagement(unsigned slot, const ColorManagement& management);
  virtual void CollectCvtModes(CallbackFillContentTgt* sink) const;
  static void DecodeCvtCode(const uint8_t* code, CvtCode& cvt);
  virtual void UpdateLargestCvtCode(const uint8_t* code, unsigned& width, unsigned& height) const;
  virtual void DescribeColorManagementByte(unsigned position, unsigned slot, std::string& name,
                                           std::string& group) const;
  virtual void DescribeCvtByte(unsigned position, unsigned slot, std::string& name, std::string& group) const;
  virtual void DescribeEstablishedTimingsIIIByte(unsigned position, unsigned slot, std::string& name,
                                                 std::string& group) const;

 protected:
  unsigned LastDescriptorKind() const override { return kDescriptorEstablishedTimingsIII; }
  void InitDescriptor(unsigned kind, uint8_t* s) override;
  void EncodeBasicParams(const BasicParams& params) override;
};

}  // namespace velmar
