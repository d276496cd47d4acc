#include "blocks/Edid14Block.h"

#include <array>
#include <cmath>
#include <cstring>

#include "common/Callbacks.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr EstablishedTiming kEstablishedTimingsIII[kEstablishedTimingIIICount] = {
    {640, 350, 85, false, false},   {640, 400, 85, false, false},   {720, 400, 85, false, false},
    {640, 480, 85, false, false},   {848, 480, 60, false, false},   {800, 600, 85, false, false},
    {1024, 768, 85, false, false},  {1152, 864, 75, false, false},  {1280, 768, 60, false, true},
    {1280, 768, 60, false, false},  {1280, 768, 75, false, false},  {1280, 768, 85, false, false},
    {1280, 960, 60, false, false},  {1280, 960, 85, false, false},  {1280, 1024, 60, false, false},
    {1280, 1024, 85, false, false}, {1360, 768, 60, false, false},  {1440, 900, 60, false, true},
    {1440, 900, 60, false, false},  {1440, 900, 75, false, false},  {1440, 900, 85, false, false},
    {1400, 1050, 60, false, true},  {1400, 1050, 60, false, false}, {1400, 1050, 75, false, false},
    {1400, 1050, 85, false, false}, {1680, 1050, 60, false, true},  {1680, 1050, 60, false, false},
    {1680, 1050, 75, false, false}, {1680, 1050, 85, false, false}, {1600, 1200, 60, false, false},
    {1600, 1200, 65, false, false}, {1600, 1200, 70, false, false}, {1600, 1200, 75, false, false},
    {1600, 1200, 85, false, false}, {1792, 1344, 60, false, false}, {1792, 1344, 75, false, false},
    {1856, 1392, 60, false, false}, {1856, 1392, 75, false, false}, {1920, 1200, 60, false, true},
    {1920, 1200, 60, false, false}, {1920, 1200, 75, false, false}, {1920, 1200, 85, false, false},
    {1920, 1440, 60, false, false}, {1920, 1440, 75, false, false},
};

// Aspect ratio bytes of EDID 1.4 (byte 21 landscape, byte 22 portrait).
constexpr uint8_t kAspectBytes[4] = {79, 61, 34, 26};

void SetBit(uint8_t& byte, unsigned bit, bool on) {
  if (on) {
    byte = static_cast<uint8_t>(byte | (1u << bit));
  } else {
    byte = static_cast<uint8_t>(byte & ~(1u << bit));
  }
}

// 10 -> 1 (maximum + 255), 11 -> 2 (and minimum + 254), else 0.
uint32_t DecodeOffsetMode(unsigned bits) {
  switch (bits & 0x03) {
    case 2: return 1;
    case 3: return 2;
    default: return 0;
  }
}

uint8_t EncodeOffsetMode(uint32_t mode) {
  switch (mode) {
    case 1: return 2;
    case 2: return 3;
    default: return 0;
  }
}

int16_t ReadSigned16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))); }

void WriteSigned16(uint8_t* p, double value) {
  double rounded = std::round(value * 100.0);
  if (!(rounded >= -32768)) rounded = -32768;  // also catches NaN
  if (rounded > 32767) rounded = 32767;
  const uint16_t raw = static_cast<uint16_t>(static_cast<int16_t>(rounded));
  p[0] = static_cast<uint8_t>(raw & 0xFF);
  p[1] = static_cast<uint8_t>(raw >> 8);
}

}  // namespace

unsigned CvtCode::Width() const {
  unsigned width = 0;
  switch (aspect) {
    case kAspect16x9: width = lines * 16 / 9; break;
    case kAspect16x10: width = lines * 16 / 10; break;
    case kAspect4x3: width = lines * 4 / 3; break;
    default: break;
  }
  return width / 8 * 8;
}

Edid14Block::Edid14Block(unsigned blockOffset, uint8_t* data, unsigned available,
                         CallbackContext* blockListener)
    : Edid13Block(blockOffset, blockListener) {
  bordersOutsideBlanking = true;
  if (Accepts(data, available)) bytes = data;
}

bool Edid14Block::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize &&
         std::memcmp(data, kEdidHeader, kEdidHeaderLength) == 0 && data[kEdidVersionByte] == 1 &&
         data[kEdidRevisionByte] == 4;
}

bool Edid14Block::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (!Edid13Block::InitDefaultBytes(data, room)) return false;
  data[kEdidRevisionByte] = 4;
  data[kEdidChecksumByte] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool Edid14Block::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report) {
  return CheckBaseCandidate(image, position, available, report, "  EDID1.4.........: ", true);
}

const EstablishedTiming* Edid14Block::EstablishedTimingIIIRow(unsigned index) {
  return index < kEstablishedTimingIIICount ? &kEstablishedTimingsIII[index] : nullptr;
}

// ---------------------------------------------------------------------------
// Basic parameters

bool Edid14Block::GetBasicParams(BasicParams& params) const {
  BasicParams p;
  if (!Edid13Block::GetBasicParams(p)) return false;
  const uint8_t h = bytes[21];
  const uint8_t v = bytes[22];
  // An aspect byte other than the four known ratios is kept as it is stored,
  // so that it is shown and written back unchanged.
  for (unsigned i = 0; i < 4; ++i) {
    if (h != 0 && v == 0 && h == kAspectBytes[i]) {
      p.sizeMode = BasicParams::kLandscape16x9 + i;
      p.hSizeCm = p.vSizeCm = 0;
    } else if (h == 0 && v != 0 && v == kAspectBytes[i]) {
      p.sizeMode = BasicParams::kPortrait9x16 + i;
      p.hSizeCm = p.vSizeCm = 0;
    }
  }
  p.defaultGtf = false;
  p.continuousFrequency = (bytes[24] & 0x01) != 0;
  if (p.digital) {
    p.displayType = ((bytes[24] >> 3) & 0x03) + 4;
    p.colorDepth = (bytes[20] >> 4) & 0x07;
    p.digitalInterface = bytes[20] & 0x0F;
  }
  params = p;
  return true;
}

void Edid14Block::EncodeBasicParams(const BasicParams& params) {
  Edid13Block::EncodeBasicParams(params);
  if (params.sizeMode >= BasicParams::kLandscape16x9 && params.sizeMode <= BasicParams::kLandscape5x4) {
    bytes[21] = kAspectBytes[params.sizeMode - BasicParams::kLandscape16x9];
    bytes[22] = 0;
  } else if (params.sizeMode >= BasicParams::kPortrait9x16 && params.sizeMode <= BasicParams::kPortrait4x5) {
    bytes[21] = 0;
    bytes[22] = kAspectBytes[params.sizeMode - BasicParams::kPortrait9x16];
  }
  SetBit(bytes[24], 0, params.continuousFrequency);
  if (params.digital && params.displayType > 3) {
    bytes[24] = static_cast<uint8_t>((bytes[24] & ~0x18) | (((params.displayType - 4) & 0x03) << 3));
    bytes[20] = static_cast<uint8_t>(0x80 | ((params.colorDepth & 0x07) << 4) | (params.digitalInterface & 0x0F));
  }
}

// ---------------------------------------------------------------------------
// Descriptors

bool Edid14Block::CanAddDescriptor(unsigned kind) const {
  if (bytes == nullptr) return false;
  switch (kind) {
    case kDescriptorColorManagement: return !AnySlotHasTag(kTagColorManagement);
    case kDescriptorCvtCodes: return !AnySlotHasTag(kTagCvtCodes);
    case kDescriptorEstablishedTimingsIII: return !AnySlotHasTag(kTagEstablishedTimingsIII);
    default: return Edid13Block::CanAddDescriptor(kind);
  }
}

void Edid14Block::InitDescriptor(unsigned kind, uint8_t* s) {
  Edid13Block::InitDescriptor(kind, s);
  // The version byte of the descriptors EDID 1.4 added.
  switch (kind) {
    case kDescriptorColorManagement: s[5] = 3; break;
    case kDescriptorCvtCodes: s[5] = 1; break;
    case kDescriptorEstablishedTimingsIII: s[5] = 0x0A; break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Established timings III

std::string Edid14Block::GetEstablishedTimingLabel(unsigned set, unsigned index) const {
  if (set == 0) return Edid13Block::GetEstablishedTimingLabel(set, index);
  if (set > kEdidDescriptorCount || index >= kEstablishedTimingIIICount) return std::string();
  // The labels never change: formatted once.
  static const std::array<std::string, kEstablishedTimingIIICount> kLabels = [] {
    std::array<std::string, kEstablishedTimingIIICount> labels;
    for (unsigned i = 0; i < kEstablishedTimingIIICount; ++i) {
      labels[i] = EstablishedTimingLabel(kEstablishedTimingsIII[i]);
    }
    return labels;
  }();
  return kLabels[index];
}

bool Edid14Block::IsEstablishedTimingSet(unsigned set, unsigned index) const {
  if (set == 0) return Edid13Block::IsEstablishedTimingSet(set, index);
  if (set > kEdidDescriptorCount || index >= kEstablishedTimingIIICount) return false;
  if (!SlotHasTag(set - 1, kTagEstablishedTimingsIII)) return false;
  return (SlotBytes(set - 1)[6 + index / 8] >> (7 - index % 8)) & 0x01;
}

void Edid14Block::SetEstablishedTiming(unsigned set, unsigned index, bool on) {
  if (set == 0) {
    Edid13Block::SetEstablishedTiming(set, index, on);
    return;
  }
  if (set > kEdidDescriptorCount || index >= kEstablishedTimingIIICount) return;
  if (!SlotHasTag(set - 1, kTagEstablishedTimingsIII) || IsEstablishedTimingSet(set, index) == on) return;
  Write write(*this);
  SetBit(SlotBytes(set - 1)[6 + index / 8], 7 - index % 8, on);
}

void Edid14Block::CollectEstablishedModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  Edid13Block::CollectEstablishedModes(sink);
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagEstablishedTimingsIII)) continue;
    for (unsigned i = 0; i < kEstablishedTimingIIICount; ++i) {
      if (IsEstablishedTimingSet(slot + 1, i)) AddEstablishedMode(sink, kEstablishedTimingsIII[i], SlotSource(slot));
    }
  }
}

// ---------------------------------------------------------------------------
// CVT codes

void Edid14Block::DecodeCvtCode(const uint8_t* code, CvtCode& cvt) {
  CvtCode c;
  const unsigned aspectBits = (code[1] >> 2) & 0x03;
  if ((code[0] == 0 && code[1] == 0 && code[2] == 0) || aspectBits == 3) {
    cvt = c;
    return;
  }
  c.used = true;
  c.lines = (((code[1] >> 4) & 0x0Fu) * 256u + code[0] + 1u) * 2u;
  static constexpr uint32_t kAspects[3] = {kAspect4x3, kAspect16x9, kAspect16x10};
  c.aspect = kAspects[aspectBits];
  c.preferredRate = (code[2] >> 5) & 0x03;
  c.rate50 = (code[2] & 0x10) != 0;
  c.rate60 = (code[2] & 0x08) != 0;
  c.rate75 = (code[2] & 0x04) != 0;
  c.rate85 = (code[2] & 0x02) != 0;
  c.rate60Rb = (code[2] & 0x01) != 0;
  cvt = c;
}

bool Edid14Block::GetCvtCode(unsigned slot, unsigned code, CvtCode& cvt) const {
  if (bytes == nullptr || slot < 1 || slot > kEdidDescriptorCount || code >= kCvtCodesPerDescriptor) return false;
  if (!SlotHasTag(slot - 1, kTagCvtCodes)) return false;
  DecodeCvtCode(SlotBytes(slot - 1) + 6 + 3 * code, cvt);
  return true;
}

void Edid14Block::SetCvtCode(unsigned slot, unsigned code, const CvtCode& cvt) {
  if (bytes == nullptr || slot < 1 || slot > kEdidDescriptorCount || code >= kCvtCodesPerDescriptor) return;
  if (!SlotHasTag(slot - 1, kTagCvtCodes)) return;
  Write write(*this);
  uint8_t* c = SlotBytes(slot - 1) + 6 + 3 * code;
  if (!cvt.used) {
    c[0] = c[1] = c[2] = 0;
    return;
  }
  const unsigned v = cvt.lines >= 2 ? cvt.lines / 2 - 1 : 0;
  unsigned aspectBits = (c[1] >> 2) & 0x03;
  switch (cvt.aspect) {
    case kAspect4x3: aspectBits = 0; break;
    case kAspect16x9: aspectBits = 1; break;
    case kAspect16x10: aspectBits = 2; break;
    default: break;  // keep the old bits
  }
  c[0] = static_cast<uint8_t>(v & 0xFF);
  c[1] = static_cast<uint8_t>((((v >> 8) & 0x0F) << 4) | (aspectBits << 2) | (c[1] & 0x03));
  uint8_t rates = static_cast<uint8_t>((c[2] & 0x80) | ((cvt.preferredRate & 0x03) << 5));
  if (cvt.rate50) rates |= 0x10;
  if (cvt.rate60) rates |= 0x08;
  if (cvt.rate75) rates |= 0x04;
  if (cvt.rate85) rates |= 0x02;
  if (cvt.rate60Rb) rates |= 0x01;
  c[2] = rates;
}

void Edid14Block::UpdateLargestCvtCode(const uint8_t* code, unsigned& width, unsigned& height) const {
  if (bytes == nullptr || code == nullptr) return;
  CvtCode cvt;
  DecodeCvtCode(code, cvt);
  if (cvt.used) WidenTo(cvt.Width(), cvt.lines, width, height);
}

void Edid14Block::CollectCvtModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagCvtCodes)) continue;
    for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) {
      CvtCode cvt;
      DecodeCvtCode(SlotBytes(slot) + 6 + 3 * i, cvt);
      if (!cvt.used) continue;
      const struct {
        bool supported;
        uint32_t rate;
        bool reduced;
      } rates[5] = {{cvt.rate50, 50, false}, {cvt.rate60, 60, false}, {cvt.rate60Rb, 60, true},
                    {cvt.rate75, 75, false}, {cvt.rate85, 85, false}};
      for (const auto& r : rates) {
        if (!r.supported) continue;
        ModeEntry mode;
        mode.hActive = cvt.Width();
        mode.vActive = cvt.lines;
        mode.refreshHz = r.rate;
        if (r.reduced) mode.flags |= kModeFlagReducedBlanking;
        mode.source = ModeSource::Cvt3Byte;
        mode.blockKind = SlotSource(slot);
        mode.present = kPresentHActive | kPresentVActive | kPresentRefresh | kPresentSource | kPresentBlockKind |
                       kPresentReducedBlanking;
        sink->AddMode(mode);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Colour management

bool Edid14Block::GetColorManagement(unsigned slot, ColorManagement& management) const {
  const uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return false;
  ColorManagement m;
  m.version = s[5];
  m.redA3 = ReadSigned16(s + 6) / 100.0;
  m.redA2 = ReadSigned16(s + 8) / 100.0;
  m.greenA3 = ReadSigned16(s + 10) / 100.0;
  m.greenA2 = ReadSigned16(s + 12) / 100.0;
  m.blueA3 = ReadSigned16(s + 14) / 100.0;
  m.blueA2 = ReadSigned16(s + 16) / 100.0;
  management = m;
  return true;
}

void Edid14Block::SetColorManagement(unsigned slot, const ColorManagement& management) {
  uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return;
  Write write(*this);
  WriteSigned16(s + 6, management.redA3);
  WriteSigned16(s + 8, management.redA2);
  WriteSigned16(s + 10, management.greenA3);
  WriteSigned16(s + 12, management.greenA2);
  WriteSigned16(s + 14, management.blueA3);
  WriteSigned16(s + 16, management.blueA2);
}

// ---------------------------------------------------------------------------
// Range limits

bool Edid14Block::GetRangeLimits(unsigned slot, RangeLimits& limits) const {
  const uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return false;
  RangeLimits r = limits;  // a reserved preferred aspect leaves the caller's value
  const uint32_t keptAspect = r.cvtPreferredAspect;
  r = RangeLimits();
  r.cvtPreferredAspect = keptAspect;
  DecodeRangeLimitsBase(s, r);
  r.offsetsAvailable = true;
  r.extendedSupport = true;
  r.hOffsetMode = DecodeOffsetMode(s[4] >> 2);
  r.vOffsetMode = DecodeOffsetMode(s[4]);
  switch (s[10]) {
    case 2:
      break;  // secondary GTF, decoded above
    case 4: {
      r.timingSupport = RangeLimits::kSupportCvt;
      r.cvtVersion = s[11];
      r.cvtMaxLineLength = (s[12] & 0x03u) * 256u + s[13];
      r.cvtClockPrecisionKHz = ((s[12] >> 2) & 0x3Fu) * 250u;
      r.cvtAspect4x3 = (s[14] & 0x80) != 0;
      r.cvtAspect16x9 = (s[14] & 0x40) != 0;
      r.cvtAspect16x10 = (s[14] & 0x20) != 0;
      r.cvtAspect5x4 = (s[14] & 0x10) != 0;
      r.cvtAspect15x9 = (s[14] & 0x08) != 0;
      static constexpr uint32_t kPreferred[5] = {kAspect4x3, kAspect16x9, kAspect16x10, kAspect5x4, kAspect15x9};
      const unsigned preferred = (s[15] >> 5) & 0x07;
      if (preferred < 5) r.cvtPreferredAspect = kPreferred[preferred];
      r.cvtReducedBlanking = (s[15] & 0x10) != 0;
      r.cvtStandardBlanking = (s[15] & 0x08) != 0;
      r.cvtHShrink = (s[16] & 0x80) != 0;
      r.cvtHStretch = (s[16] & 0x40) != 0;
      r.cvtVShrink = (s[16] & 0x20) != 0;
      r.cvtVStretch = (s[16] & 0x10) != 0;
      r.cvtPreferredRate = s[17];
      break;
    }
    case 1:
      r.timingSupport = RangeLimits::kSupportNone;
      break;
    default:
      r.timingSupport = RangeLimits::kSupportDefaultGtf;
      break;
  }
  limits = r;
  return true;
}

void Edid14Block::SetRangeLimits(unsigned slot, const RangeLimits& limits) {
  uint8_t* s = SlotBytes(slot - 1);
  if (slot < 1 || s == nullptr) return;
  RangeLimits stored;
  GetRangeLimits(slot, stored);
  Write write(*this);
  EncodeRangeLimitsBase(limits, s);
  s[4] = static_cast<uint8_t>((s[4] & 0xF0) | (EncodeOffsetMode(limits.hOffsetMode) << 2) |
                              EncodeOffsetMode(limits.vOffsetMode));
  switch (limits.timingSupport) {
    case RangeLimits::kSupportSecondaryGtf:
      EncodeRangeLimitsGtf(limits, s);
      break;
    case RangeLimits::kSupportCvt: {
      std::memset(s + 11, 0, 7);
      s[10] = 4;
      s[11] = 0x11;  // CVT 1.1
      const unsigned precision = static_cast<unsigned>(std::lround(limits.cvtClockPrecisionKHz / 250.0)) & 0x3F;
      s[12] = static_cast<uint8_t>((precision << 2) | ((limits.cvtMaxLineLength >> 8) & 0x03));
      s[13] = static_cast<uint8_t>(limits.cvtMaxLineLength & 0xFF);
      uint8_t aspects = 0;
      if (limits.cvtAspect4x3) aspects |= 0x80;
      if (limits.cvtAspect16x9) aspects |= 0x40;
      if (limits.cvtAspect16x10) aspects |= 0x20;
      if (limits.cvtAspect5x4) aspects |= 0x10;
      if (limits.cvtAspect15x9) aspects |= 0x08;
      s[14] = aspects;
      uint8_t preferred = 0;
      switch (limits.cvtPreferredAspect) {
        case kAspect16x9: preferred = 1; break;
        case kAspect16x10: preferred = 2; break;
        case kAspect5x4: preferred = 3; break;
        case kAspect15x9: preferred = 4; break;
        default: break;
      }
      s[15] = static_cast<uint8_t>(preferred << 5);
      if (limits.cvtReducedBlanking) s[15] |= 0x10;
      if (limits.cvtStandardBlanking) s[15] |= 0x08;
      uint8_t scaling = 0;
      if (limits.cvtHShrink) scaling |= 0x80;
      if (limits.cvtHStretch) scaling |= 0x40;
      if (limits.cvtVShrink) scaling |= 0x20;
      if (limits.cvtVStretch) scaling |= 0x10;
      s[16] = scaling;
      s[17] = static_cast<uint8_t>(limits.cvtPreferredRate & 0xFF);
      break;
    }
    case RangeLimits::kSupportNone:
      if (stored.timingSupport != limits.timingSupport) FillUnusedRangeLimits(s, 1);
      break;
    default:
      if (stored.timingSupport != limits.timingSupport) FillUnusedRangeLimits(s, 0);
      break;
  }
  // The same support without parameters leaves bytes 10-17 as they are (a
  // byte 10 the record does not tell apart, padding other than 0A 20).
}

// ---------------------------------------------------------------------------
// Largest mode and modes

void Edid14Block::GetLargestMode(unsigned& width, unsigned& height) const {
  if (bytes == nullptr) return;
  Edid13Block::GetLargestMode(width, height);
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagEstablishedTimingsIII)) continue;
    for (unsigned i = 0; i < kEstablishedTimingIIICount; ++i) {
      if (IsEstablishedTimingSet(slot + 1, i)) {
        WidenTo(kEstablishedTimingsIII[i].width, kEstablishedTimingsIII[i].height, width, height);
      }
    }
  }
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    if (!SlotHasTag(slot, kTagCvtCodes)) continue;
    for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) UpdateLargestCvtCode(SlotBytes(slot) + 6 + 3 * i, width, height);
  }
}

void Edid14Block::CollectModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  Edid13Block::CollectModes(sink);
  CollectCvtModes(sink);
}

// ---------------------------------------------------------------------------
// Byte map

void Edid14Block::DescribeDescriptorByte(unsigned b, unsigned slot, std::string& name, std::string& group) const {
  Edid13Block::DescribeDescriptorByte(b, slot, name, group);
  const uint8_t* s = SlotBytes(slot);
  if (s == nullptr || b >= kEdidDescriptorLength) return;
  switch (s[3]) {
    case kTagColorManagement: DescribeColorManagementByte(b, slot, name, group); break;
    case kTagCvtCodes: DescribeCvtByte(b, slot, name, group); break;
    case kTagEstablishedTimingsIII: DescribeEstablishedTimingsIIIByte(b, slot, name, group); break;
    default: break;
  }
}

void Edid14Block::DescribeColorManagementByte(unsigned b, unsigned slot, std::string& name, std::string& group) const {
  if (b >= kEdidDescriptorLength) return;
  static const char* const kNames[12] = {
      "Red a3. Low Order Bits",   "Red a3. High Order Bits",   "Red a2. Low Order Bits",
      "Red a2. High Order Bits",  "Green a3. Low Order Bits",  "Green a3. High Order Bits",
      "Green a2. Low Order Bits", "Green a2. High Order Bits", "Blue a3. Low Order Bits",
      "Blue a3. High Order Bits", "Blue a2. Low Order Bits",   "Blue a2. High Order Bits"};
  if (b == 5) name = "Version Number";
  if (b >= 6) name = kNames[b - 6];
  AssignFormat(group, "(Color Management Data Descriptor). Entry[%u]", slot);
}

void Edid14Block::DescribeCvtByte(unsigned b, unsigned slot, std::string& name, std::string& group) const {
  if (b >= kEdidDescriptorLength) return;
  static const char* const kNames[3] = {"Vertical Addressable. Low Order Bits",
                                        "Aspect Ratio/High Order Bits of Vertical Addressable",
                                        "Preferred Vertical Rate/Supported Vertical Rate and Blanking Style"};
  if (b >= 6) {
    name = kNames[(b - 6) % 3];
    AssignFormat(group, "(CVT 3 Byte Code Descriptor). Timing[%u]. Entry[%u]", (b - 6) / 3, slot);
    return;
  }
  if (b == 5) name = "Version Number";
  AssignFormat(group, "(CVT 3 Byte Code Descriptor). Entry[%u]", slot);
}

void Edid14Block::DescribeEstablishedTimingsIIIByte(unsigned b, unsigned slot, std::string& name,
                                                    std::string& group) const {
  if (b >= kEdidDescriptorLength) return;
  static const char* const kNames[6] = {
      "640 x 350 @ 85Hz  --  1152 x 864 @ 75Hz",     "1280 x 768 @ 60Hz (RB)  --  1280 x 1024 @ 85Hz",
      "1360 x 768 @ 60Hz  --  1400 x 1050 @ 75Hz",   "1400 x 1050 @ 85Hz  --  1600 x 1200 @ 70Hz",
      "1600 x 1200 @ 75Hz  --  1920 x 1200 @ 60Hz",  "1920 x 1200 @ 75Hz  --  1920 x 1440 @ 75Hz"};
  if (b >= 6) {
    name = b < 12 ? kNames[b - 6] : "Reserved Byte";
    AssignFormat(group, "(Established Timings III Descriptor). Timing Byte[%u]. Entry[%u]", b - 6, slot);
    return;
  }
  if (b == 5) name = "Version Number";
  AssignFormat(group, "(Established Timings III Descriptor). Entry[%u]", slot);
}

}  // namespace velmar
