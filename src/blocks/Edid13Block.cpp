#include "blocks/Edid13Block.h"

#include <array>
#include <cmath>
#include <cstring>

#include "common/Callbacks.h"
#include "blocks/DetailedTiming.h"
#include "blocks/MonitorInfo.h"
#include "util/Format.h"

namespace velmar {

namespace {

bool HasEdidHeader(const uint8_t* data) {
  return std::memcmp(data, kEdidHeader, kEdidHeaderLength) == 0;
}

constexpr EstablishedTiming kEstablishedTimings[kEstablishedTimingCount] = {
    {720, 400, 70, false, false},   {720, 400, 88, false, false},  {640, 480, 60, false, false},
    {640, 480, 67, false, false},   {640, 480, 72, false, false},  {640, 480, 75, false, false},
    {800, 600, 56, false, false},   {800, 600, 60, false, false},  {800, 600, 72, false, false},
    {800, 600, 75, false, false},   {832, 624, 75, false, false},  {1024, 768, 87, true, false},
    {1024, 768, 60, false, false},  {1024, 768, 70, false, false}, {1024, 768, 75, false, false},
    {1280, 1024, 75, false, false}, {1152, 872, 75, false, false},
};

const char* const kDescriptorKindNames[kDescriptorKindCount] = {
    "Dummy",
    "Detailed Timing",
    "Display Product Serial Number",
    "ASCII Data String",
    "Display Range Limits",
    "Display Product Name",
    "Color Point Data",
    "Standard Timing Identifications",
    "Display Color Management",
    "CVT 3 Byte Timing Codes",
    "Established Timings III",
};

// The byte of a gamma value: (gamma x 100) - 100, rounded half away from zero.
// A defined gamma never becomes 0xFF, the "not defined" mark.
uint8_t EncodeGamma(bool defined, double gamma) {
  if (!defined) return 0xFF;
  const double code = std::round(gamma * 100.0) - 100.0;
  if (!(code >= 0)) return 0;
  return code > 254 ? 254 : static_cast<uint8_t>(code);
}

bool DecodeGamma(uint8_t value, double& gamma) {
  if (value == 0xFF) return false;
  gamma = (value + 100) / 100.0;
  return true;
}

uint8_t RoundToByte(double value) {
  const double rounded = std::round(value);
  if (!(rounded >= 0)) return 0;
  return rounded > 255 ? 255 : static_cast<uint8_t>(rounded);
}

void SetBit(uint8_t& byte, unsigned bit, bool on) {
  if (on) {
    byte = static_cast<uint8_t>(byte | (1u << bit));
  } else {
    byte = static_cast<uint8_t>(byte & ~(1u << bit));
  }
}

}  // namespace

Edid13Block::Edid13Block(unsigned blockOffset, uint8_t* data, unsigned available,
                         CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
}

bool Edid13Block::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && HasEdidHeader(data) &&
         data[kEdidVersionByte] == 1 && data[kEdidRevisionByte] <= 3;
}

bool Edid13Block::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  std::memcpy(data, kEdidHeader, kEdidHeaderLength);
  data[kEdidVersionByte] = 1;
  data[kEdidRevisionByte] = 3;
  std::memset(data + 38, 0x01, 16);  // eight unused standard timings
  for (unsigned slot = 0; slot < 4; ++slot) data[54 + 18 * slot + 3] = 0x10;  // dummy descriptors
  data[kEdidChecksumByte] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool Edid13Block::CheckBaseCandidate(const uint8_t* image, unsigned position, unsigned available,
                                     CallbackFillContentTgt* report, const char* prefix, bool is14) {
  // The caller passes the whole image; a base block needs 128 readable bytes.
  if (image == nullptr || available < kBlockSize) return false;
  const uint8_t* data = image + position;
  for (unsigned i = 0; i < kEdidHeaderLength; ++i) {
    if (data[i] != kEdidHeader[i]) {
      report->AppendFormatted(
          "%sByte[%u] = 0x%02X does not match EDID header pattern (0x00 0xFF 0xFF 0xFF 0xFF 0xFF 0xFF 0x00)\r\n",
          prefix, i, data[i]);
      return false;
    }
  }
  if (data[kEdidVersionByte] != 1) {
    report->AppendFormatted(
        "%sByte[%u] = 0x%02X defines invalid version (%u.XX). Supported version pattern is 1.XX\r\n",
        prefix, kEdidVersionByte, data[kEdidVersionByte], data[kEdidVersionByte]);
    return false;
  }
  const uint8_t revision = data[kEdidRevisionByte];
  if (is14 && revision != 4) {
    report->AppendFormatted("%sByte[%u] = 0x%02X defines invalid sub-version. Should be 4\r\n", prefix,
                          kEdidRevisionByte, revision);
    return false;
  }
  if (!is14 && revision > 3) {
    report->AppendFormatted("%sByte[%u] = 0x%02X defines invalid sub-version. Should be 3 or lower\r\n",
                          prefix, kEdidRevisionByte, revision);
    return false;
  }
  return true;
}

bool Edid13Block::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report) {
  return CheckBaseCandidate(image, position, available, report, "  EDID1.3.........: ", false);
}

const char* Edid13Block::DescriptorKindName(unsigned kind) {
  return kind < kDescriptorKindCount ? kDescriptorKindNames[kind] : "";
}

std::string Edid13Block::EstablishedTimingLabel(const EstablishedTiming& row) {
  return Format("%4u x %-4u at %uHz%s", static_cast<unsigned>(row.width), static_cast<unsigned>(row.height),
                static_cast<unsigned>(row.refresh),
                row.interlaced ? "(I)" : (row.reducedBlanking ? "(RB)" : ""));
}

const EstablishedTiming* Edid13Block::EstablishedTimingRow(unsigned index) {
  return index < kEstablishedTimingCount ? &kEstablishedTimings[index] : nullptr;
}

unsigned Edid13Block::StandardTimingHeight(unsigned width, uint8_t aspectBits, unsigned revision) {
  switch (aspectBits & 0x03) {
    case 0:
      return revision < 3 ? width : width * 10 / 16;
    case 1:
      return width * 3 / 4;
    case 2:
      return width * 4 / 5;
    default:
      return width * 9 / 16;
  }
}

// ---------------------------------------------------------------------------
// DataBlock

unsigned Edid13Block::GetExtensionCount() const {
  return bytes != nullptr ? bytes[kEdidExtensionCountByte] : 0;
}

bool Edid13Block::IsBaseBlock() const { return bytes != nullptr; }

uint8_t Edid13Block::GetChecksum() const { return bytes != nullptr ? bytes[kEdidChecksumByte] : 0; }

unsigned Edid13Block::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

unsigned Edid13Block::GetVersion() const {
  return bytes != nullptr ? bytes[kEdidVersionByte] * 256u + bytes[kEdidRevisionByte] : 0;
}

void Edid13Block::GetDetailedTiming(unsigned index, DetailedTiming& timing) const {
  if (bytes == nullptr || index < 1 || index > kEdidDescriptorCount) return;
  timing = DetailedTiming::Decode(SlotBytes(index - 1), bordersOutsideBlanking);
}

void Edid13Block::SetDetailedTiming(unsigned index, const DetailedTiming& timing) {
  if (bytes == nullptr || index < 1 || index > kEdidDescriptorCount) return;
  Write write(*this);
  timing.Encode(SlotBytes(index - 1));
}

uint8_t* Edid13Block::SlotBytes(unsigned slot) const {
  if (bytes == nullptr || slot >= kEdidDescriptorCount) return nullptr;
  return bytes + kEdidDescriptorStart + kEdidDescriptorLength * slot;
}

bool Edid13Block::SlotHasTag(unsigned slot, uint8_t tag) const {
  const uint8_t* s = SlotBytes(slot);
  return s != nullptr && s[0] == 0 && s[1] == 0 && s[2] == 0 && s[3] == tag;
}

bool Edid13Block::AnySlotHasTag(uint8_t tag) const {
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (SlotHasTag(slot, tag)) return true;
  }
  return false;
}

void Edid13Block::SetExtensionCount(unsigned count) {
  if (bytes == nullptr) return;
  Write write(*this);
  bytes[kEdidExtensionCountByte] = static_cast<uint8_t>(count);
}

// ---------------------------------------------------------------------------
// Descriptors

unsigned Edid13Block::GetDescriptorKind(unsigned slot) const {
  const uint8_t* s = SlotBytes(slot);
  if (s == nullptr) return kDescriptorDummy;
  if (s[0] != 0 || s[1] != 0 || s[2] != 0) return kDescriptorDetailedTiming;
  unsigned kind = kDescriptorDummy;
  switch (s[3]) {
    case kTagSerialNumber: kind = kDescriptorSerialNumber; break;
    case kTagAsciiString: kind = kDescriptorAsciiString; break;
    case kTagRangeLimits: kind = kDescriptorRangeLimits; break;
    case kTagProductName: kind = kDescriptorProductName; break;
    case kTagColorPoint: kind = kDescriptorColorPoint; break;
    case kTagStandardTimings: kind = kDescriptorStandardTimings; break;
    case kTagColorManagement: kind = kDescriptorColorManagement; break;
    case kTagCvtCodes: kind = kDescriptorCvtCodes; break;
    case kTagEstablishedTimingsIII: kind = kDescriptorEstablishedTimingsIII; break;
    default: break;
  }
  // The EDID 1.4 tags are nothing but unknown tags to an older block.
  return kind <= LastDescriptorKind() ? kind : kDescriptorDummy;
}

bool Edid13Block::CanAddDescriptor(unsigned kind) const {
  if (bytes == nullptr) return false;
  switch (kind) {
    case kDescriptorDetailedTiming:
    case kDescriptorAsciiString:
    case kDescriptorStandardTimings:
      return true;
    case kDescriptorSerialNumber: return !AnySlotHasTag(kTagSerialNumber);
    case kDescriptorRangeLimits: return !AnySlotHasTag(kTagRangeLimits);
    case kDescriptorProductName: return !AnySlotHasTag(kTagProductName);
    case kDescriptorColorPoint: return !AnySlotHasTag(kTagColorPoint);
    default: return false;
  }
}

void Edid13Block::CreateDescriptor(unsigned kind, unsigned slot) {
  uint8_t* s = SlotBytes(slot);
  if (s == nullptr || kind < kDescriptorDetailedTiming || kind > LastDescriptorKind()) return;
  Write write(*this);
  std::memset(s, 0, kEdidDescriptorLength);
  InitDescriptor(kind, s);
}

void Edid13Block::InitDescriptor(unsigned kind, uint8_t* s) {
  static constexpr uint8_t kTags[kDescriptorKindCount] = {
      0, 0, kTagSerialNumber, kTagAsciiString, kTagRangeLimits, kTagProductName, kTagColorPoint,
      kTagStandardTimings, kTagColorManagement, kTagCvtCodes, kTagEstablishedTimingsIII};
  if (kind >= kDescriptorKindCount) return;
  if (kind == kDescriptorDetailedTiming) {
    s[0] = 5400 & 0xFF;  // 54.00 MHz
    s[1] = 5400 >> 8;
    return;
  }
  s[3] = kTags[kind];
  switch (kind) {
    case kDescriptorSerialNumber:
    case kDescriptorAsciiString:
    case kDescriptorProductName:
      s[5] = 0x0A;
      std::memset(s + 6, 0x20, 12);
      break;
    case kDescriptorRangeLimits: {
      // 1-255 Hz, 1-255 kHz, 10 MHz, default GTF.
      static constexpr uint8_t kDefault[13] = {0x01, 0xFF, 0x01, 0xFF, 0x01, 0x00, 0x0A,
                                               0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
      std::memcpy(s + 5, kDefault, sizeof kDefault);
      break;
    }
    case kDescriptorColorPoint:
      s[9] = 0xFF;
      s[14] = 0xFF;
      s[15] = 0x0A;
      s[16] = 0x20;
      s[17] = 0x20;
      break;
    case kDescriptorStandardTimings:
      std::memset(s + 5, 0x01, 12);
      s[17] = 0x0A;
      break;
    default:
      break;
  }
}

void Edid13Block::ClearDescriptor(unsigned slot) {
  uint8_t* s = SlotBytes(slot);
  if (s == nullptr) return;
  Write write(*this);
  std::memset(s, 0, kEdidDescriptorLength);
  s[3] = kTagDummy;
}

bool Edid13Block::GetDescriptorString(unsigned slot, DescriptorText& text) const {
  const uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return false;
  std::memcpy(text.bytes.data(), s + 5, text.bytes.size());
  return true;
}

void Edid13Block::SetDescriptorString(unsigned slot, const DescriptorText& text) {
  uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return;
  Write write(*this);
  std::memcpy(s + 5, text.bytes.data(), text.bytes.size());
}

// ---------------------------------------------------------------------------
// Vendor, basic parameters, colours

bool Edid13Block::GetVendorProduct(VendorProductInfo& info) const {
  if (bytes == nullptr) return false;
  info.letter1 = (bytes[8] >> 2) & 0x1F;
  info.letter2 = (bytes[8] & 0x03) * 8u + ((bytes[9] >> 5) & 0x07);
  info.letter3 = bytes[9] & 0x1F;
  info.productCode = bytes[10] + bytes[11] * 256u;
  info.serialNumber = bytes[12] | (bytes[13] << 8) | (bytes[14] << 16) | (static_cast<uint32_t>(bytes[15]) << 24);
  info.week = bytes[16];
  info.year = bytes[17] + 1990;
  return true;
}

void Edid13Block::SetVendorProduct(const VendorProductInfo& info) {
  if (bytes == nullptr) return;
  Write write(*this);
  // Bit 7 of byte 8 is reserved: it stays as read while the letters stay.
  VendorProductInfo stored;
  GetVendorProduct(stored);
  const bool sameLetters =
      stored.letter1 == info.letter1 && stored.letter2 == info.letter2 && stored.letter3 == info.letter3;
  const uint8_t reserved = sameLetters ? static_cast<uint8_t>(bytes[8] & 0x80) : 0;
  bytes[8] = static_cast<uint8_t>(reserved | ((info.letter1 & 0x1F) << 2) | ((info.letter2 >> 3) & 0x03));
  bytes[9] = static_cast<uint8_t>(((info.letter2 & 0x07) << 5) | (info.letter3 & 0x1F));
  bytes[10] = static_cast<uint8_t>(info.productCode & 0xFF);
  bytes[11] = static_cast<uint8_t>((info.productCode >> 8) & 0xFF);
  for (unsigned i = 0; i < 4; ++i) bytes[12 + i] = static_cast<uint8_t>((info.serialNumber >> (8 * i)) & 0xFF);
  bytes[16] = static_cast<uint8_t>(info.week & 0xFF);
  // Modulo 256 in unsigned arithmetic: any year, however far off, wraps without overflowing.
  bytes[17] = static_cast<uint8_t>((static_cast<uint32_t>(info.year) - 1990u) & 0xFF);
}

bool Edid13Block::GetBasicParams(BasicParams& params) const {
  if (bytes == nullptr) return false;
  BasicParams p;
  const uint8_t input = bytes[20];
  const uint8_t features = bytes[24];
  p.digital = (input & 0x80) != 0;
  p.gammaDefined = DecodeGamma(bytes[23], p.gamma);
  p.hSizeCm = bytes[21];
  p.vSizeCm = bytes[22];
  p.sizeMode = bytes[21] == 0 && bytes[22] == 0 ? BasicParams::kSizeUndefined : BasicParams::kSizeInCm;
  p.displayType = (features >> 3) & 0x03;
  p.standby = (features & 0x80) != 0;
  p.suspend = (features & 0x40) != 0;
  p.activeOff = (features & 0x20) != 0;
  p.srgbDefault = (features & 0x04) != 0;
  p.preferredTimingNative = (features & 0x02) != 0;
  p.defaultGtf = (features & 0x01) != 0;
  if (!p.digital) {
    p.signalLevel = (input >> 5) & 0x03;
    p.blankToBlack = (input & 0x10) != 0;
    p.separateSync = (input & 0x08) != 0;
    p.compositeSyncOnH = (input & 0x04) != 0;
    p.syncOnGreen = (input & 0x02) != 0;
    p.serrationOnVSync = (input & 0x01) != 0;
  }
  params = p;
  return true;
}

void Edid13Block::SetBasicParams(const BasicParams& params) {
  if (bytes == nullptr) return;
  Write write(*this);
  EncodeBasicParams(params);
}

void Edid13Block::EncodeBasicParams(const BasicParams& params) {
  const bool wasDigital = (bytes[20] & 0x80) != 0;
  SetBit(bytes[20], 7, params.digital);
  bytes[23] = EncodeGamma(params.gammaDefined, params.gamma);
  if (params.sizeMode == BasicParams::kSizeUndefined) {
    bytes[21] = 0;
    bytes[22] = 0;
  } else {
    bytes[21] = static_cast<uint8_t>(params.hSizeCm & 0xFF);
    bytes[22] = static_cast<uint8_t>(params.vSizeCm & 0xFF);
  }
  uint8_t features = bytes[24];
  if (params.displayType < 4) features = static_cast<uint8_t>((features & ~0x18) | (params.displayType << 3));
  features &= 0x18;
  SetBit(features, 7, params.standby);
  SetBit(features, 6, params.suspend);
  SetBit(features, 5, params.activeOff);
  SetBit(features, 2, params.srgbDefault);
  SetBit(features, 1, params.preferredTimingNative);
  SetBit(features, 0, params.defaultGtf);
  bytes[24] = features;
  if (!params.digital) {
    uint8_t input = static_cast<uint8_t>(bytes[20] & 0x80);
    input |= static_cast<uint8_t>((params.signalLevel & 0x03) << 5);
    if (params.blankToBlack) input |= 0x10;
    if (params.separateSync) input |= 0x08;
    if (params.compositeSyncOnH) input |= 0x04;
    if (params.syncOnGreen) input |= 0x02;
    if (params.serrationOnVSync) input |= 0x01;
    bytes[20] = input;
  } else if (!wasDigital) {
    // The analog sync bits mean nothing to a digital input.
    bytes[20] &= static_cast<uint8_t>(~0x1F);
  }
  // A digital input that stays digital keeps its other bits (such as the
  // DFP 1.x compatibility bit), which the record does not carry.
}

bool Edid13Block::GetColorCharacteristics(ColorCharacteristics& colors) const {
  if (bytes == nullptr) return false;
  for (unsigned i = 0; i < 8; ++i) {
    const uint8_t lowByte = bytes[25 + i / 4];
    const unsigned shift = 6 - 2 * (i % 4);
    colors.codes[i] = bytes[27 + i] * 4u + ((lowByte >> shift) & 0x03);
  }
  return true;
}

void Edid13Block::SetColorCharacteristics(const ColorCharacteristics& colors) {
  if (bytes == nullptr) return;
  Write write(*this);
  uint8_t low[2] = {0, 0};
  for (unsigned i = 0; i < 8; ++i) {
    low[i / 4] = static_cast<uint8_t>(low[i / 4] | ((colors.codes[i] & 0x03) << (6 - 2 * (i % 4))));
    bytes[27 + i] = static_cast<uint8_t>((colors.codes[i] >> 2) & 0xFF);
  }
  bytes[25] = low[0];
  bytes[26] = low[1];
}

// ---------------------------------------------------------------------------
// Established and standard timings

std::string Edid13Block::GetEstablishedTimingLabel(unsigned set, unsigned index) const {
  if (set != 0 || index >= kEstablishedTimingCount) return std::string();
  // The labels never change: formatted once.
  static const std::array<std::string, kEstablishedTimingCount> kLabels = [] {
    std::array<std::string, kEstablishedTimingCount> labels;
    for (unsigned i = 0; i < kEstablishedTimingCount; ++i) labels[i] = EstablishedTimingLabel(kEstablishedTimings[i]);
    return labels;
  }();
  return kLabels[index];
}

bool Edid13Block::IsEstablishedTimingSet(unsigned set, unsigned index) const {
  if (bytes == nullptr || set != 0 || index >= kEstablishedTimingCount) return false;
  return (bytes[35 + index / 8] >> (7 - index % 8)) & 0x01;
}

void Edid13Block::SetEstablishedTiming(unsigned set, unsigned index, bool on) {
  if (bytes == nullptr || set != 0 || index >= kEstablishedTimingCount) return;
  if (IsEstablishedTimingSet(set, index) == on) return;
  Write write(*this);
  SetBit(bytes[35 + index / 8], 7 - index % 8, on);
}

bool Edid13Block::GetStandardTiming(unsigned slot, unsigned index, StandardTiming& timing) const {
  const uint8_t* code = nullptr;
  if (bytes == nullptr) return false;
  if (slot == 0 && index < kEdidStandardTimingCount) {
    code = bytes + 38 + 2 * index;
  } else if (slot >= 1 && slot <= kEdidDescriptorCount && index < kDescriptorStandardTimingCount &&
             SlotHasTag(slot - 1, kTagStandardTimings)) {
    code = SlotBytes(slot - 1) + 5 + 2 * index;
  }
  if (code == nullptr) return false;
  StandardTiming t;
  t.used = !(code[0] == 0x01 && code[1] == 0x01);
  t.width = (code[0] + 31u) * 8u;
  t.refresh = (code[1] & 0x3Fu) + 60u;
  static constexpr uint32_t kAspects[4] = {kAspect16x10, kAspect4x3, kAspect5x4, kAspect16x9};
  t.aspect = kAspects[code[1] >> 6];
  timing = t;
  return true;
}

void Edid13Block::SetStandardTiming(unsigned slot, unsigned index, const StandardTiming& timing) {
  uint8_t* code = nullptr;
  if (bytes == nullptr) return;
  if (slot == 0 && index < kEdidStandardTimingCount) {
    code = bytes + 38 + 2 * index;
  } else if (slot >= 1 && slot <= kEdidDescriptorCount && index < kDescriptorStandardTimingCount &&
             SlotHasTag(slot - 1, kTagStandardTimings)) {
    code = SlotBytes(slot - 1) + 5 + 2 * index;
  }
  if (code == nullptr) return;
  Write write(*this);
  if (!timing.used) {
    code[0] = 0x01;
    code[1] = 0x01;
    return;
  }
  code[0] = static_cast<uint8_t>((timing.width / 8 - 31) & 0xFF);
  uint8_t aspectBits = static_cast<uint8_t>(code[1] >> 6);
  switch (timing.aspect) {
    case kAspect16x10: aspectBits = 0; break;
    case kAspect4x3: aspectBits = 1; break;
    case kAspect5x4: aspectBits = 2; break;
    case kAspect16x9: aspectBits = 3; break;
    default: break;  // keep the old bits
  }
  code[1] = static_cast<uint8_t>((aspectBits << 6) | ((timing.refresh - 60) & 0x3F));
}

// ---------------------------------------------------------------------------
// Colour point and range limits

bool Edid13Block::GetColorPoint(unsigned slot, ColorPoint& point) const {
  const uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return false;
  ColorPoint p;
  p.whiteIndex1 = s[5];
  if (p.whiteIndex1 != 0) {
    p.whiteX1 = s[7] * 4u + ((s[6] >> 2) & 0x03);
    p.whiteY1 = s[8] * 4u + (s[6] & 0x03);
  }
  p.gamma1Defined = DecodeGamma(s[9], p.gamma1);
  p.whiteIndex2 = s[10];
  if (p.whiteIndex2 != 0) {
    p.whiteX2 = s[12] * 4u + ((s[11] >> 2) & 0x03);
    p.whiteY2 = s[13] * 4u + (s[11] & 0x03);
  }
  p.gamma2Defined = DecodeGamma(s[14], p.gamma2);
  point = p;
  return true;
}

void Edid13Block::SetColorPoint(unsigned slot, const ColorPoint& point) {
  uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return;
  Write write(*this);
  const auto encodeSet = [](uint8_t* set, uint32_t index, uint32_t x, uint32_t y) {
    if (index == 0) {
      // A point that was not used and stays so keeps whatever its bytes hold.
      if (set[0] != 0) std::memset(set, 0, 4);
      return;
    }
    set[0] = static_cast<uint8_t>(index & 0xFF);
    set[1] = static_cast<uint8_t>((set[1] & 0xF0) | ((x & 0x03) << 2) | (y & 0x03));
    set[2] = static_cast<uint8_t>((x >> 2) & 0xFF);
    set[3] = static_cast<uint8_t>((y >> 2) & 0xFF);
  };
  encodeSet(s + 5, point.whiteIndex1, point.whiteX1, point.whiteY1);
  s[9] = EncodeGamma(point.gamma1Defined, point.gamma1);
  encodeSet(s + 10, point.whiteIndex2, point.whiteX2, point.whiteY2);
  s[14] = EncodeGamma(point.gamma2Defined, point.gamma2);
}

void Edid13Block::DecodeRangeLimitsBase(const uint8_t* s, RangeLimits& limits) {
  limits.minVRate = s[5];
  limits.maxVRate = s[6];
  limits.minHRate = s[7];
  limits.maxHRate = s[8];
  limits.maxPixelClockMHz = s[9] * 10u;
  if (s[10] == 2) {
    limits.timingSupport = RangeLimits::kSupportSecondaryGtf;
    limits.gtfStartFreqKHz = s[12] * 2u;
    limits.gtfC = s[13] / 2u;
    limits.gtfM = s[14] + s[15] * 256u;
    limits.gtfK = s[16];
    limits.gtfJ = s[17] / 2u;
  }
}

void Edid13Block::EncodeRangeLimitsBase(const RangeLimits& limits, uint8_t* s) {
  s[5] = static_cast<uint8_t>(limits.minVRate & 0xFF);
  s[6] = static_cast<uint8_t>(limits.maxVRate & 0xFF);
  s[7] = static_cast<uint8_t>(limits.minHRate & 0xFF);
  s[8] = static_cast<uint8_t>(limits.maxHRate & 0xFF);
  s[9] = RoundToByte(limits.maxPixelClockMHz / 10.0);
}

void Edid13Block::EncodeRangeLimitsGtf(const RangeLimits& limits, uint8_t* s) {
  s[10] = 2;
  s[11] = 0;
  s[12] = static_cast<uint8_t>((limits.gtfStartFreqKHz / 2) & 0xFF);
  s[13] = static_cast<uint8_t>((limits.gtfC * 2) & 0xFF);
  s[14] = static_cast<uint8_t>(limits.gtfM & 0xFF);
  s[15] = static_cast<uint8_t>((limits.gtfM >> 8) & 0xFF);
  s[16] = static_cast<uint8_t>(limits.gtfK & 0xFF);
  s[17] = static_cast<uint8_t>((limits.gtfJ * 2) & 0xFF);
}

void Edid13Block::FillUnusedRangeLimits(uint8_t* s, uint8_t support) {
  s[10] = support;
  s[11] = 0x0A;
  std::memset(s + 12, 0x20, 6);
}

bool Edid13Block::GetRangeLimits(unsigned slot, RangeLimits& limits) const {
  const uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return false;
  RangeLimits r;
  DecodeRangeLimitsBase(s, r);
  limits = r;
  return true;
}

void Edid13Block::SetRangeLimits(unsigned slot, const RangeLimits& limits) {
  uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return;
  RangeLimits stored;
  GetRangeLimits(slot, stored);
  Write write(*this);
  EncodeRangeLimitsBase(limits, s);
  if (limits.timingSupport == RangeLimits::kSupportSecondaryGtf) {
    EncodeRangeLimitsGtf(limits, s);
  } else if (stored.timingSupport != limits.timingSupport) {
    FillUnusedRangeLimits(s, 0);
  }
  // The same support without parameters leaves bytes 10-17 as they are: a
  // byte 10 the record does not tell apart, or padding other than 0A 20.
}

// ---------------------------------------------------------------------------
// Monitor info and largest mode

void Edid13Block::GetMonitorInfo(MonitorInfo& info) const {
  if (bytes == nullptr) return;
  VendorProductInfo vendor;
  GetVendorProduct(vendor);
  // Letters are written in order; a zero code leaves no gap and no early end.
  std::string letters;
  for (uint32_t code : {vendor.letter1, vendor.letter2, vendor.letter3}) {
    if (code != 0) letters += static_cast<char>(code + 64);
  }
  if (letters.empty()) letters = "XXX";
  info.manufacturer = letters;
  info.pnpId = letters + Format("%X", vendor.productCode);

  info.monitorName = "Default Monitor";
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagProductName)) continue;
    const uint8_t* s = SlotBytes(slot);
    std::string name;
    for (unsigned i = 5; i < kEdidDescriptorLength && s[i] != 0x0A && s[i] != 0x00; ++i) {
      name += static_cast<char>(s[i]);
    }
    info.monitorName = Latin1ToUtf8(name);
    break;
  }

  info.powerManagement = (bytes[24] & 0xE0) != 0;

  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagRangeLimits)) continue;
    const uint8_t* s = SlotBytes(slot);
    info.minVRate = s[5];
    info.maxVRate = s[6];
    info.minHRate = s[7];
    info.maxHRate = s[8];
    if (bytes[kEdidRevisionByte] > 3) {
      const uint8_t offsets = s[4];
      if (((offsets >> 2) & 0x03) == 2) info.maxHRate += 255;
      if (((offsets >> 2) & 0x03) == 3) {
        info.minHRate += 254;
        info.maxHRate += 255;
      }
      if ((offsets & 0x03) == 2) info.maxVRate += 255;
      if ((offsets & 0x03) == 3) {
        info.minVRate += 254;
        info.maxVRate += 255;
      }
    }
    break;
  }
}

void Edid13Block::WidenTo(unsigned candidateWidth, unsigned candidateHeight, unsigned& width, unsigned& height) {
  if (candidateWidth > width || (candidateWidth == width && candidateHeight > height)) {
    width = candidateWidth;
    height = candidateHeight;
  }
}

void Edid13Block::UpdateLargestStandardTiming(const uint8_t* code, unsigned& width, unsigned& height) const {
  if (bytes == nullptr || code == nullptr || (code[0] == 0x01 && code[1] == 0x01)) return;
  const unsigned w = (code[0] + 31u) * 8u;
  WidenTo(w, StandardTimingHeight(w, static_cast<uint8_t>(code[1] >> 6), bytes[kEdidRevisionByte]), width, height);
}

void Edid13Block::GetLargestMode(unsigned& width, unsigned& height) const {
  if (bytes == nullptr) return;
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    const uint8_t* s = SlotBytes(slot);
    if (DetailedTiming::PixelClockOf(s) == 0) continue;
    const DetailedTiming t = DetailedTiming::Decode(s, bordersOutsideBlanking);
    WidenTo(t.hActive, t.interlaced ? 2 * t.vActive : t.vActive, width, height);
  }
  for (unsigned i = 0; i < kEstablishedTimingCount; ++i) {
    if (IsEstablishedTimingSet(0, i)) WidenTo(kEstablishedTimings[i].width, kEstablishedTimings[i].height, width, height);
  }
  for (unsigned i = 0; i < kEdidStandardTimingCount; ++i) UpdateLargestStandardTiming(bytes + 38 + 2 * i, width, height);
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagStandardTimings)) continue;
    for (unsigned i = 0; i < kDescriptorStandardTimingCount; ++i) {
      UpdateLargestStandardTiming(SlotBytes(slot) + 5 + 2 * i, width, height);
    }
  }
}

// ---------------------------------------------------------------------------
// Modes

void Edid13Block::CollectModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  CollectEstablishedModes(sink);
  CollectStandardModes(sink);
  CollectDetailedModes(sink);
}

void Edid13Block::AddEstablishedMode(CallbackFillContentTgt* sink, const EstablishedTiming& row,
                                     ModeBlockKind source) const {
  ModeEntry mode;
  mode.hActive = row.width;
  mode.vActive = row.height;
  mode.refreshHz = row.refresh;
  mode.interlaced = row.interlaced ? 1 : 0;
  if (row.reducedBlanking) mode.flags |= kModeFlagReducedBlanking;
  mode.source = ModeSource::Established;
  mode.blockKind = source;
  mode.present = kPresentHActive | kPresentVActive | kPresentRefresh | kPresentSource | kPresentBlockKind |
                 kPresentReducedBlanking;
  sink->AddMode(mode);
}

void Edid13Block::CollectEstablishedModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  for (unsigned i = 0; i < kEstablishedTimingCount; ++i) {
    if (IsEstablishedTimingSet(0, i)) AddEstablishedMode(sink, kEstablishedTimings[i], ModeBlockKind::EdidBase);
  }
}

void Edid13Block::AddStandardMode(CallbackFillContentTgt* sink, const uint8_t* code, ModeBlockKind source) const {
  ModeEntry mode;
  mode.hActive = (code[0] + 31u) * 8u;
  mode.vActive = StandardTimingHeight(mode.hActive, static_cast<uint8_t>(code[1] >> 6), bytes[kEdidRevisionByte]);
  mode.refreshHz = (code[1] & 0x3Fu) + 60u;
  mode.source = ModeSource::Standard;
  mode.blockKind = source;
  mode.present = kPresentHActive | kPresentVActive | kPresentRefresh | kPresentSource | kPresentBlockKind;
  sink->AddMode(mode);
}

void Edid13Block::CollectStandardModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  const auto addCode = [&](const uint8_t* code, ModeBlockKind source) {
    if (!(code[0] == 0x01 && code[1] == 0x01)) AddStandardMode(sink, code, source);
  };
  for (unsigned i = 0; i < kEdidStandardTimingCount; ++i) addCode(bytes + 38 + 2 * i, ModeBlockKind::EdidBase);
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagStandardTimings)) continue;
    for (unsigned i = 0; i < kDescriptorStandardTimingCount; ++i) addCode(SlotBytes(slot) + 5 + 2 * i, SlotSource(slot));
  }
}

void Edid13Block::CollectDetailedModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    const uint8_t* s = SlotBytes(slot);
    if (DetailedTiming::PixelClockOf(s) == 0) continue;
    sink->AddMode(DetailedTiming::Decode(s, bordersOutsideBlanking).ToModeEntry(SlotSource(slot)));
  }
}

// ---------------------------------------------------------------------------
// Validation

unsigned Edid13Block::Validate(CallbackFillContentTgt* report) const {
  if (bytes == nullptr || report == nullptr) return 0;
  report->AppendFormatted("\r\nValidating EDID%u.%u Base Block. Data Range: Byte[%u] --> Byte[%u]\r\n",
                        bytes[kEdidVersionByte], bytes[kEdidRevisionByte], offset, offset + GetSize() - 1);
  // Header, version and revision faults keep a block from being accepted at
  // all and are reported by the candidate check; an accepted block has none.
  const unsigned findings = 0;
  report->Append("  Block is valid\r\n");
  return findings;
}

// ---------------------------------------------------------------------------
// Byte map

void Edid13Block::DescribeByte(unsigned index, std::string& name, std::string& group,
                               std::string& blockLabel) const {
  if (bytes == nullptr || index < offset || index >= offset + GetSize()) return;
  const unsigned p = index - offset;
  static const FormatTable kLabels("EDID-v%u.%u", 2, 8);
  kLabels.Assign(blockLabel, bytes[kEdidVersionByte], bytes[kEdidRevisionByte]);
  if (p < 8) {
    static const FormatTable kHeaderNames("%uth Byte of the Header", 8);
    kHeaderNames.Assign(name, p);
  } else if (p < 18) {
    DescribeVendorProductByte(p - 8, name, group);
  } else if (p < 20) {
    name = p == 18 ? "Version Number" : "Revision Number";
    group = "(EDID Structure Version)";
  } else if (p < 25) {
    DescribeBasicParamsByte(p - 20, name, group);
  } else if (p < 35) {
    DescribeColorByte(p - 25, name, group);
  } else if (p < 38) {
    static const char* const kNames[3] = {"Established Timings I", "Established Timings II",
                                          "Manufacturer's Reserved Timings"};
    name = kNames[p - 35];
    group = "(Established Timings)";
  } else if (p < 54) {
    name = p % 2 == 0 ? "Pixel Width" : "Aspect Ratio/Field Refresh Rate";
    static const FormatTable kGroups("(Standard Timings). Timing[%u]", 8);
    kGroups.Assign(group, (p - 38) / 2);
  } else if (p < 126) {
    const unsigned slot = (p - 54) / kEdidDescriptorLength;
    const unsigned b = p - 54 - kEdidDescriptorLength * slot;
    const uint8_t* s = SlotBytes(slot);
    if (s[0] != 0 || s[1] != 0 || s[2] != 0) {
      DetailedTiming::DescribeByte(b, slot, name, group);
    } else {
      DescribeDescriptorByte(b, slot, name, group);
    }
  } else if (p == 126) {
    name = "Number Of Extensions";
  } else {
    name = "Checksum";
  }
}

void Edid13Block::DescribeVendorProductByte(unsigned position, std::string& name, std::string& group) const {
  static const char* const kNames[10] = {
      "First Byte of Manufacturer Name", "Second Byte of Manufacturer Name", "First Byte of Product Code",
      "Second Byte of Product Code",     "First Byte of Serial Number",      "Second Byte of Serial Number",
      "Third Byte of Serial Number",     "4th Byte of Serial Number",        "Week of Manufacture",
      "Year of Manufacture"};
  if (position >= 10) return;
  name = kNames[position];
  group = "(Vendor/Product Identification)";
}

void Edid13Block::DescribeBasicParamsByte(unsigned position, std::string& name, std::string& group) const {
  static const char* const kNames[5] = {"Video Input Definition", "Horizontal Screen Size/Landscape Aspect Ratio",
                                        "Vertical Screen Size/Portrait Aspect Ratio", "Gamma", "Feature Support"};
  if (position >= 5) return;
  name = kNames[position];
  group = "(Basic Display Parameters)";
}

void Edid13Block::DescribeColorByte(unsigned position, std::string& name, std::string& group) const {
  static const char* const kNames[10] = {
      "Red/Green. Low Order Bits", "Blue/White. Low Order Bits", "Red-x. High Order Bits", "Red-y. High Order Bits",
      "Green-x. High Order Bits",  "Green-y. High Order Bits",   "Blue-x. High Order Bits", "Blue-y. High Order Bits",
      "White-x. High Order Bits",  "White-y. High Order Bits"};
  if (position >= 10) return;
  name = kNames[position];
  group = "(Color Characteristics)";
}

void Edid13Block::DescribeDescriptorByte(unsigned b, unsigned slot, std::string& name, std::string& group) const {
  const uint8_t* s = SlotBytes(slot);
  if (s == nullptr || b >= kEdidDescriptorLength) return;
  const uint8_t tag = s[3];
  static const FormatTable kDummyNames("%uth Byte Of Dummy (unused) Descriptor", 13);
  static const FormatTable kDummyGroups("(Dummy/Unused Descriptor). Entry[%u]", 4);
  static const FormatTable kTimingGroups("(Standard Timings Descriptor). Timing[%u]. Entry[%u]", 6, 4);
  static const FormatTable kGroups("(Standard Timings Descriptor). Entry[%u]", 4);
  static const FormatTable kNameNames("%uth Byte Of Display Product Name", 13);
  static const FormatTable kNameGroups("(Display Product Name Descriptor). Entry[%u]", 4);
  static const FormatTable kStringNames("%uth Byte Of  Alphanumeric Data String", 13);
  static const FormatTable kStringGroups("(Alphanumeric Data String Descriptor). Entry[%u]", 4);
  static const FormatTable kSerialNames("%uth Byte Of Display Product Serial Number", 13);
  static const FormatTable kSerialGroups("(Display Product Serial Number Descriptor). Entry[%u]", 4);
  if (b < 5) {
    static const char* const kNames[4] = {"First Byte of Display Descriptor Identification",
                                          "Second Byte of Display Descriptor Identification",
                                          "Reserved Byte of Display Descriptor", "Display Descriptor Tag"};
    if (b < 4) {
      name = kNames[b];
    } else {
      name = bytes[kEdidRevisionByte] > 3 && tag == kTagRangeLimits ? "Vertical/Horizontal Rate Offsets"
                                                                    : "Reserved Byte of Display Descriptor";
    }
  }
  switch (tag) {
    case kTagDummy:
      if (b >= 5) kDummyNames.Assign(name, b - 5);
      kDummyGroups.Assign(group, slot);
      break;
    case kTagStandardTimings:
      if (b >= 5 && b <= 16) {
        name = b % 2 == 1 ? "Pixel Width" : "Aspect Ratio/Field Refresh Rate";
        kTimingGroups.Assign(group, (b - 5) / 2, slot);
      } else {
        if (b == 17) name = "Line Feed";
        kGroups.Assign(group, slot);
      }
      break;
    case kTagColorPoint:
      DescribeColorPointByte(b, slot, name, group);
      break;
    case kTagProductName:
      if (b >= 5) kNameNames.Assign(name, b - 5);
      kNameGroups.Assign(group, slot);
      break;
    case kTagRangeLimits:
      DescribeRangeLimitsByte(b, slot, s[10], name, group);
      break;
    case kTagAsciiString:
      if (b >= 5) kStringNames.Assign(name, b - 5);
      kStringGroups.Assign(group, slot);
      break;
    case kTagSerialNumber:
      if (b >= 5) kSerialNames.Assign(name, b - 5);
      kSerialGroups.Assign(group, slot);
      break;
    default:
      break;
  }
}

void Edid13Block::DescribeRangeLimitsByte(unsigned b, unsigned slot, uint8_t support, std::string& name,
                                          std::string& group) const {
  if (b >= kEdidDescriptorLength) return;
  static const char* const kRates[6] = {"Minimum Vertical Rate",   "Maximum Vertical Rate",
                                        "Minimum Horizontal Rate", "Maximum Horizontal Rate",
                                        "Maximum Pixel Clock",     "Video Timing Support Flags"};
  static const char* const kGtf[7] = {"GTF. Reserved",
                                      "GTF. Start Frequency for Secondary Curve",
                                      "GTF. Parameter C",
                                      "GTF. Parameter M. Low Order Bits",
                                      "GTF. Parameter M. High Order Bits",
                                      "GTF. Parameter K",
                                      "GTF. Parameter J"};
  static const char* const kCvt[7] = {"CVT. Standard Version Number",
                                      "CVT. Pixel Clock Precision",
                                      "CVT. Maximum Active Pixels per Line",
                                      "CVT. Supported Aspect Ratios",
                                      "CVT. Preferred Aspect Ratio/Reduced Blanking Support",
                                      "CVT. Type of Display Scaling Supported",
                                      "CVT. Preferred Vertical Refresh Rate"};
  if (b >= 5 && b <= 10) {
    name = kRates[b - 5];
  } else if (b >= 11) {
    if (support == 2) {
      name = kGtf[b - 11];
    } else if (support == 4) {
      name = kCvt[b - 11];
    } else {
      AssignFormat(name, "%s - %uth Byte of Range Limits (Unused)", b == 11 ? "Line Feed" : "Space", b - 5);
    }
  }
  static const FormatTable kGroups("(Display Range Limits Descriptor). Entry[%u]", 4);
  kGroups.Assign(group, slot);
}

void Edid13Block::DescribeColorPointByte(unsigned b, unsigned slot, std::string& name, std::string& group) const {
  if (b >= kEdidDescriptorLength) return;
  static const char* const kSet[5] = {"White Point Index Number", "White-x/White-y. Low Order Bits",
                                      "White-x. High Order Bits", "White-y. High Order Bits", "Gamma"};
  if (b >= 5 && b <= 9) {
    name = kSet[b - 5];
    AssignFormat(group, "(Color Point Data Descriptor). First Set. Entry[%u]", slot);
    return;
  }
  if (b >= 10 && b <= 14) {
    name = kSet[b - 10];
    AssignFormat(group, "(Color Point Data Descriptor). Second Set. Entry[%u]", slot);
    return;
  }
  if (b == 15) name = "Line Feed";
  if (b == 16) AssignFormat(name, "Space - %uth Byte", 11u);
  if (b == 17) AssignFormat(name, "Space - %uth Byte", 12u);
  AssignFormat(group, "(Color Point Data Descriptor). Entry[%u]", slot);
}

}  // namespace velmar
