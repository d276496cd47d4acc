#include "blocks/DiExtBlock.h"

#include <cmath>
#include <cstring>

#include "common/Callbacks.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kChecksumByte = 127;
constexpr uint8_t kDataFormatCodes[] = {0x15, 0x19, 0x24, 0x48, 0x49};
constexpr unsigned kDataFormatCount = sizeof kDataFormatCodes;

bool Bit(uint8_t byte, unsigned bit) { return ((byte >> bit) & 1u) != 0; }

unsigned Field(uint8_t byte, unsigned low, unsigned width) { return (byte >> low) & ((1u << width) - 1); }

// Replaces `width` bits of `byte` from bit `low` with the low bits of `value`.
void PutField(uint8_t& byte, unsigned low, unsigned width, unsigned value) {
  const unsigned mask = ((1u << width) - 1) << low;
  byte = static_cast<uint8_t>((byte & ~mask) | ((value << low) & mask));
}

void PutBit(uint8_t& byte, unsigned bit, bool value) { PutField(byte, bit, 1, value ? 1u : 0u); }

unsigned Word(const uint8_t* p) { return p[0] | (p[1] << 8); }

void PutWord(uint8_t* p, unsigned value) {
  p[0] = static_cast<uint8_t>(value & 0xFF);
  p[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Rounds half away from zero and keeps the low 16 bits, as two bytes hold it.
unsigned RoundToWord(double value) {
  if (!std::isfinite(value)) return 0;
  double r = std::fmod(std::round(value), 65536.0);
  if (r < 0) r += 65536.0;
  return static_cast<unsigned>(r) & 0xFFFFu;
}

// A pitch divided by ten, rounded half away from zero, cut to one byte.
uint8_t PitchByte(unsigned pitch) {
  return static_cast<uint8_t>(pitch / 10 + (pitch % 10 >= 5 ? 1 : 0));
}

// Splits a version or revision number into its integer part and its
// hundredths, both truncated toward zero and then cut to a byte. Most numbers
// with two decimals are held in binary just below their value (1.15 is
// 1.1499999...), so the hundredths are counted with a small allowance;
// otherwise a typed 1.15 would be stored as 1.14.
void SplitHundredths(double value, uint8_t& integer, uint8_t& hundredths) {
  integer = 0;
  hundredths = 0;
  if (!std::isfinite(value)) return;
  const double sign = value < 0 ? -1.0 : 1.0;
  double whole = std::trunc(std::fabs(value));
  double parts = std::trunc((std::fabs(value) - whole) * 100.0 + 1e-6);
  if (parts >= 100.0) {
    parts -= 100.0;
    whole += 1.0;
  }
  // Only the low bits reach the bytes; fmod keeps them exactly for any size.
  const auto low = static_cast<long long>(std::fmod(whole, 256.0) * sign);
  integer = static_cast<uint8_t>(low & 0xFF);
  hundredths = static_cast<uint8_t>(static_cast<long long>(parts * sign) & 0xFF);
}

// The real number of a version or revision held as integer and hundredths.
double ReleaseNumber(unsigned integer, unsigned hundredths) { return integer + hundredths / 100.0; }

// The bytes of a version or revision: the record's integer and hundredths as
// they are while its real number still equals them, else the real number split.
void ReleaseBytes(double number, unsigned integer, unsigned hundredths, uint8_t& integerByte,
                  uint8_t& hundredthsByte) {
  if (number == ReleaseNumber(integer, hundredths)) {
    integerByte = static_cast<uint8_t>(integer);
    hundredthsByte = static_cast<uint8_t>(hundredths);
    return;
  }
  SplitHundredths(number, integerByte, hundredthsByte);
}

const char* const kInterfaceNames[12] = {
    "Digital Interface Specification",
    "Type Definition/Version Number (Integer)",
    "Version Number (Decimal)/Letter Designation/Year Code",
    "Revision Number (Integer)/Month Code",
    "Revision Number (Decimal)/Day Code",
    "Data Format Description",
    "Color Depth Format",
    "Minimum Pixel Clock Per Link",
    "Maximum Pixel Clock Per Link. Low Order Bits",
    "Maximum Pixel Clock Per Link. High Order Bits",
    "Crossover Frequency. Low Order Bits",
    "Crossover Frequency. High Order Bits",
};

const char* const kDeviceNames[6] = {
    "Sub-Pixel Layout",       "Sub-Pixel Configuration", "Sub-Pixel Shape",
    "Horizontal Pixel Pitch", "Vertical Pixel Pitch",    "Major Display Device Characteristics",
};

// Bytes 20-38; bytes 39-54 are named by their place in the packetized video information.
const char* const kCapsNames[19] = {
    "Miscellaneous Display Capabilities",
    "Frame Rate Conversion",
    "Vertical Frequency Conversion. Low Order Bits",
    "Vertical Frequency Conversion. High Order Bits",
    "Horizontal Frequency Conversion. Low Order Bits",
    "Horizontal Frequency Conversion. High Order Bits",
    "Display/Scan Orientation",
    "Default Color/Luminance Decoding",
    "Preferred Color/Luminance Decoding",
    "Color/Luminance Decoding Caps. Low Order Bits",
    "Color/Luminance Decoding Caps. High Order Bits",
    "Dithering",
    "Monitor Color Depth for Blue (Sub-Channel 0)",
    "Monitor Color Depth for Green (Sub-Channel 1)",
    "Monitor Color Depth for Red (Sub-Channel 2)",
    "Monitor Color Depth for Cb/Pb (Sub-Channel 0)",
    "Monitor Color Depth for Y (Sub-Channel 1)",
    "Monitor Color Depth for Cr/Pr (Sub-Channel 2)",
    "Aspect Ratio Conversion Modes",
};

constexpr unsigned kPacketizedPositions = 16;

}  // namespace

DiExtBlock::DiExtBlock(unsigned blockOffset, uint8_t* data, unsigned available,
                       CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
}

bool DiExtBlock::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && data[0] == kTag;
}

bool DiExtBlock::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  data[0] = kTag;
  data[1] = 1;
  data[kBlockSize - 1] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool DiExtBlock::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                CallbackFillContentTgt* report) {
  if (image == nullptr || available < kBlockSize) {
    report->AppendFormatted("DI Ext Block....: %u - unsufficient size. Required %u bytes\r\n", available,
                          kBlockSize);
    return false;
  }
  if (image[position] != kTag) {
    report->AppendFormatted("DI Ext Block....: Byte[%u] = 0x%02X does not match DI extension tag (0x%02X)\r\n",
                          position, image[position], kTag);
    return false;
  }
  return true;
}

int DiExtBlock::DataFormatCode(unsigned index) {
  return index < kDataFormatCount ? kDataFormatCodes[index] : -1;
}

uint8_t DiExtBlock::GetChecksum() const { return bytes != nullptr ? bytes[kChecksumByte] : 0; }

unsigned DiExtBlock::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

// ---------------------------------------------------------------------------
// Getters

void DiExtBlock::GetGeneralInfo(DiGeneralInfo& info) const {
  if (bytes == nullptr) return;
  info.version = bytes[1];
  info.interfaceStandard = bytes[2];
  info.releaseKind = Field(bytes[3], 6, 2);
  info.checksum = bytes[kChecksumByte];
  switch (info.releaseKind) {
    case 1:
      info.versionInteger = Field(bytes[3], 0, 6);
      info.versionHundredths = bytes[4];
      info.revisionInteger = bytes[5];
      info.revisionHundredths = bytes[6];
      info.versionNumber = ReleaseNumber(info.versionInteger, info.versionHundredths);
      info.revisionNumber = ReleaseNumber(info.revisionInteger, info.revisionHundredths);
      break;
    case 2:
      info.letter = bytes[4];
      break;
    case 3:
      info.day = bytes[6];
      info.month = bytes[5];
      info.year = bytes[4] + 1990u;
      break;
    default:
      break;
  }
}

void DiExtBlock::GetFormatAndClock(DiFormatAndClock& format) const {
  if (bytes == nullptr) return;
  const uint8_t description = bytes[7];
  format.dataEnableUsed = Bit(description, 7);
  format.dataEnableHigh = Bit(description, 6);
  format.shiftClockEdge = Field(description, 4, 2);
  format.hdcp = Bit(description, 3);
  format.doubleClocking = Bit(description, 2);
  format.packetizedVideo = Bit(description, 1);
  for (unsigned i = 0; i < kDataFormatCount; ++i) {
    if (bytes[8] == kDataFormatCodes[i]) format.dataFormatIndex = i;
  }
  format.dataFormatCode = bytes[8];
  format.minClock = bytes[9];
  format.maxClock = Word(bytes + 10);
  format.crossover = Word(bytes + 12);
}

void DiExtBlock::GetDisplayDevice(DiDisplayDevice& device) const {
  if (bytes == nullptr) return;
  device.layout = bytes[14];
  device.configuration = bytes[15];
  device.shape = bytes[16];
  device.horizontalPitch = bytes[17] * 10u;
  device.verticalPitch = bytes[18] * 10u;
  const uint8_t major = bytes[19];
  device.fixedPixelFormat = Bit(major, 7);
  device.viewDirection = Field(major, 5, 2);
  device.transparentBackground = Bit(major, 4);
  device.physicalImplementation = Field(major, 2, 2);
  device.ddcCi = Bit(major, 1);
}

void DiExtBlock::GetDisplayCaps(DiDisplayCaps& caps) const {
  if (bytes == nullptr) return;
  const uint8_t misc = bytes[20];
  caps.legacyTimings = Bit(misc, 7);
  caps.stereoVideo = Field(misc, 4, 3);
  caps.scalerOnBoard = Bit(misc, 3);
  caps.imageCentering = Bit(misc, 2);
  caps.conditionalUpdate = Bit(misc, 1);
  caps.interlacedScan = Bit(misc, 0);
  caps.framelock = Bit(bytes[21], 7);
  caps.frequencyConversion = Field(bytes[21], 5, 2);
  caps.verticalConversion = Word(bytes + 22) / 100.0;
  caps.horizontalConversion = Word(bytes + 24) / 100.0;
  const uint8_t orientation = bytes[26];
  caps.orientationType = Field(orientation, 6, 2);
  caps.portrait = Bit(orientation, 5);
  caps.zeroPixelLocation = Field(orientation, 3, 2);
  caps.scanDirection = Field(orientation, 1, 2);
  caps.projector = Bit(orientation, 0);
  caps.fullMode = Bit(bytes[38], 7);
  caps.zoomMode = Bit(bytes[38], 6);
  caps.squeezeMode = Bit(bytes[38], 5);
  caps.variableMode = Bit(bytes[38], 4);
}

void DiExtBlock::GetColorProperties(DiColorProperties& color) const {
  if (bytes == nullptr) return;
  color.defaultDecoding = bytes[27];
  color.preferredDecoding = bytes[28];
  for (unsigned i = 0; i < kDiDecodingCount; ++i) {
    color.decodings[i] = i < 8 ? Bit(bytes[29], 7 - i) : Bit(bytes[30], 15 - i);
  }
  color.dithering = Bit(bytes[31], 7);
  for (unsigned i = 0; i < kDiColorDepthCount; ++i) color.colorDepths[i] = bytes[32 + i];
}

void DiExtBlock::GetGamma(DiGamma& gamma) const {
  if (bytes == nullptr) return;
  gamma.curveType = Field(bytes[81], 6, 2);
  gamma.pointCount = Field(bytes[81], 0, 6);
  for (unsigned i = 0; i < kDiGammaPointCount; ++i) gamma.points[i] = bytes[82 + i];
}

// ---------------------------------------------------------------------------
// Setters: each is one write, so the listener hears of it at most once.

void DiExtBlock::SetGeneralInfo(const DiGeneralInfo& info) {
  if (bytes == nullptr) return;
  Write write(*this);
  const bool wasDigital = bytes[2] != 0;
  std::memset(bytes + 3, 0, 4);
  bytes[2] = static_cast<uint8_t>(info.interfaceStandard);
  PutField(bytes[3], 6, 2, info.releaseKind);
  switch (info.releaseKind & 3u) {
    case 1: {
      uint8_t integer = 0;
      uint8_t hundredths = 0;
      ReleaseBytes(info.versionNumber, info.versionInteger, info.versionHundredths, integer, hundredths);
      PutField(bytes[3], 0, 6, integer);
      bytes[4] = hundredths;
      ReleaseBytes(info.revisionNumber, info.revisionInteger, info.revisionHundredths, integer, hundredths);
      bytes[5] = integer;
      bytes[6] = hundredths;
      break;
    }
    case 2:
      bytes[4] = info.letter;
      break;
    case 3:
      bytes[6] = static_cast<uint8_t>(info.day);
      bytes[5] = static_cast<uint8_t>(info.month);
      bytes[4] = static_cast<uint8_t>(info.year - 1990u);
      break;
    default:
      break;
  }
  // An analog display has no digital data format or link clocks. Only a
  // switch to analog clears them: an edit of an analog block's release
  // information must not rewrite a format section it never showed.
  if (wasDigital && bytes[2] == 0) WriteFormatAndClock(DiFormatAndClock());
}

void DiExtBlock::SetFormatAndClock(const DiFormatAndClock& format) {
  if (bytes == nullptr) return;
  Write write(*this);
  WriteFormatAndClock(format);
}

void DiExtBlock::WriteFormatAndClock(const DiFormatAndClock& format) {
  uint8_t& description = bytes[7];
  PutBit(description, 7, format.dataEnableUsed);
  PutBit(description, 6, format.dataEnableHigh);
  PutField(description, 4, 2, format.shiftClockEdge);
  PutBit(description, 3, format.hdcp);
  PutBit(description, 2, format.doubleClocking);
  PutBit(description, 1, format.packetizedVideo);
  const int code = DataFormatCode(format.dataFormatIndex);
  if (code >= 0) bytes[8] = static_cast<uint8_t>(code);
  bytes[9] = static_cast<uint8_t>(format.minClock);
  PutWord(bytes + 10, format.maxClock);
  PutWord(bytes + 12, format.crossover);
}

void DiExtBlock::SetDisplayDevice(const DiDisplayDevice& device) {
  if (bytes == nullptr) return;
  Write write(*this);
  bytes[14] = static_cast<uint8_t>(device.layout);
  bytes[15] = static_cast<uint8_t>(device.configuration);
  bytes[16] = static_cast<uint8_t>(device.shape);
  bytes[17] = PitchByte(device.horizontalPitch);
  bytes[18] = PitchByte(device.verticalPitch);
  uint8_t& major = bytes[19];
  PutBit(major, 7, device.fixedPixelFormat);
  PutField(major, 5, 2, device.viewDirection);
  PutBit(major, 4, device.transparentBackground);
  PutField(major, 2, 2, device.physicalImplementation);
  PutBit(major, 1, device.ddcCi);
}

void DiExtBlock::SetDisplayCaps(const DiDisplayCaps& caps) {
  if (bytes == nullptr) return;
  Write write(*this);
  uint8_t& misc = bytes[20];
  PutBit(misc, 7, caps.legacyTimings);
  PutField(misc, 4, 3, caps.stereoVideo);
  PutBit(misc, 3, caps.scalerOnBoard);
  PutBit(misc, 2, caps.imageCentering);
  PutBit(misc, 1, caps.conditionalUpdate);
  PutBit(misc, 0, caps.interlacedScan);
  PutBit(bytes[21], 7, caps.framelock);
  PutField(bytes[21], 5, 2, caps.frequencyConversion);
  PutWord(bytes + 22, RoundToWord(caps.verticalConversion * 100.0));
  PutWord(bytes + 24, RoundToWord(caps.horizontalConversion * 100.0));
  uint8_t& orientation = bytes[26];
  PutField(orientation, 6, 2, caps.orientationType);
  PutBit(orientation, 5, caps.portrait);
  PutField(orientation, 3, 2, caps.zeroPixelLocation);
  PutField(orientation, 1, 2, caps.scanDirection);
  PutBit(orientation, 0, caps.projector);
  PutBit(bytes[38], 7, caps.fullMode);
  PutBit(bytes[38], 6, caps.zoomMode);
  PutBit(bytes[38], 5, caps.squeezeMode);
  PutBit(bytes[38], 4, caps.variableMode);
}

void DiExtBlock::SetColorProperties(const DiColorProperties& color) {
  if (bytes == nullptr) return;
  Write write(*this);
  bytes[27] = static_cast<uint8_t>(color.defaultDecoding);
  bytes[28] = static_cast<uint8_t>(color.preferredDecoding);
  for (unsigned i = 0; i < kDiDecodingCount; ++i) {
    if (i < 8) {
      PutBit(bytes[29], 7 - i, color.decodings[i]);
    } else {
      PutBit(bytes[30], 15 - i, color.decodings[i]);
    }
  }
  PutBit(bytes[31], 7, color.dithering);
  for (unsigned i = 0; i < kDiColorDepthCount; ++i) bytes[32 + i] = static_cast<uint8_t>(color.colorDepths[i]);
}

void DiExtBlock::SetGamma(const DiGamma& gamma) {
  if (bytes == nullptr) return;
  Write write(*this);
  bytes[81] = 0;
  PutField(bytes[81], 6, 2, gamma.curveType);
  PutField(bytes[81], 0, 6, gamma.pointCount);
  for (unsigned i = 0; i < kDiGammaPointCount; ++i) bytes[82 + i] = static_cast<uint8_t>(gamma.points[i]);
}

void DiExtBlock::UpdateChecksum() {
  if (bytes == nullptr) return;
  Write write(*this);
}

// ---------------------------------------------------------------------------
// Byte map

void DiExtBlock::DescribeByte(unsigned index, std::string& name, std::string& group,
                              std::string& blockLabel) const {
  if (bytes == nullptr || index < offset || index - offset >= kBlockSize) return;
  const unsigned b = index - offset;
  static const FormatTable kLabels("DI-v%u", 256);
  kLabels.Assign(blockLabel, bytes[1]);
  if (b == 0) {
    name = "Extension Tag";
  } else if (b == 1) {
    name = "Version Number";
  } else if (b <= 13) {
    DescribeInterfaceByte(b - 2, name, group);
  } else if (b <= 19) {
    DescribeDeviceByte(b - 14, name, group);
  } else if (b <= 54) {
    DescribeCapsByte(b - 20, name, group);
  } else if (b <= 71) {
    name = "Reserved (Unused)";
    AssignFormat(group, "Byte[%u] of Unused Section", b - 55);
  } else if (b <= 80) {
    name = "Reserved (Unused)";
    AssignFormat(group, "Byte[%u] of Audio Support Section", b - 72);
  } else if (b <= 126) {
    DescribeGammaByte(b - 81, name, group);
  } else {
    name = "Checksum";
  }
}

void DiExtBlock::DescribeInterfaceByte(unsigned position, std::string& name, std::string& group) const {
  if (bytes == nullptr || position >= 12) return;
  name = kInterfaceNames[position];
  group = "(Digital Interface Section)";
}

void DiExtBlock::DescribeDeviceByte(unsigned position, std::string& name, std::string& group) const {
  if (bytes == nullptr || position >= 6) return;
  name = kDeviceNames[position];
  group = "(Display Device Section)";
}

void DiExtBlock::DescribeCapsByte(unsigned position, std::string& name, std::string& group) const {
  constexpr unsigned kNamed = sizeof kCapsNames / sizeof kCapsNames[0];
  if (bytes == nullptr || position >= kNamed + kPacketizedPositions) return;
  name = position < kNamed ? std::string(kCapsNames[position])
                           : Format("Byte[%u] of Packetized Digital Video Information", position - kNamed);
  group = "(Display Capabilities Section)";
}

void DiExtBlock::DescribeGammaByte(unsigned position, std::string& name, std::string& group) const {
  if (bytes == nullptr || position > kDiGammaPointCount) return;
  group = "(Gamma Section)";
  if (position == 0) {
    name = "Gamma Control";
    return;
  }
  const unsigned point = position - 1;
  const unsigned type = Field(bytes[81], 6, 2);
  const unsigned count = Field(bytes[81], 0, 6);
  if (type == 1) {
    AssignFormat(name, point < count ? "White Data Point[%u]" : "Unused/Empty White Data Point[%u]", point);
  } else if (type == 2) {
    const unsigned inCurve = point % kDiGammaPointsPerColor;
    const char* color = point < kDiGammaPointsPerColor       ? "Blue"
                        : point < 2 * kDiGammaPointsPerColor ? "Green"
                                                             : "Red";
    AssignFormat(name, "%s%s Data Point[%u]", inCurve < count ? "" : "Unused/Empty ", color, inCurve);
  } else {
    AssignFormat(name, "Unused/Empty Data Point[%u]", point);
  }
}

}  // namespace velmar
