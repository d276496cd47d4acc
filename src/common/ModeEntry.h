#pragma once

#include <cstdint>

namespace velmar {

// How a block announced a mode (the "Source" column of the modes list).
enum class ModeSource : uint32_t {
  Undefined = 0,
  Detailed = 1,
  Established = 2,
  Standard = 3,
  CeaShortVideo = 4,
  CeaHdmiVic = 5,
  Cvt3Byte = 6,
};

// Which block (and for the base block which descriptor) announced a mode.
enum class ModeBlockKind : uint32_t {
  Undefined = 0,
  EdidBase = 1,
  EdidDescriptor0 = 2,
  EdidDescriptor1 = 3,
  EdidDescriptor2 = 4,
  EdidDescriptor3 = 5,
  DisplayIdBase = 6,
  CeaExtension = 7,
  DiExtension = 8,
  DisplayIdExtension = 9,
};

// Stereo 3D structure of a mode.
enum class Stereo3DFormat : uint32_t {
  None2D = 0,
  FrameAlternate = 1,
  Interleaved = 2,
  FramePacking = 3,
  SideBySide = 4,
  TopBottom = 5,
};

// Bits of ModeEntry::flags.
enum ModeFlag : uint32_t {
  kModeFlagNative = 1u << 0,
  kModeFlagReducedBlanking = 1u << 1,
  kModeFlagHSyncPositive = 1u << 2,
  kModeFlagVSyncPositive = 1u << 3,
  kModeFlag3DOnly = 1u << 4,
  kModeFlag3DRightEyeFirst = 1u << 5,
};

// Bits of ModeEntry::present: which fields carry meaning.
enum ModePresent : uint32_t {
  kPresentHActive = 1u << 0,
  kPresentVActive = 1u << 1,
  kPresentHTotal = 1u << 2,
  kPresentHBorderLeft = 1u << 3,
  kPresentHBorderRight = 1u << 4,
  kPresentHFrontPorch = 1u << 5,
  kPresentHSync = 1u << 6,
  kPresentVTotal = 1u << 7,
  kPresentVBorderTop = 1u << 8,
  kPresentVBorderBottom = 1u << 9,
  kPresentVFrontPorch = 1u << 10,
  kPresentVSync = 1u << 11,
  kPresentPixelClock = 1u << 12,
  kPresentRepetition = 1u << 13,
  kPresentRefresh = 1u << 14,  // refreshHz with interlaced and fractional
  kPresentSource = 1u << 15,
  kPresentBlockKind = 1u << 16,
  kPresentVic = 1u << 17,
  kPresentFormat3D = 1u << 18,
  kPresentNative = 1u << 19,
  kPresentReducedBlanking = 1u << 20,
  kPresentHPolarity = 1u << 21,
  kPresentVPolarity = 1u << 22,
  kPresent3DOnly = 1u << 23,
  kPresent3DPolarity = 1u << 24,
};

// One mode or timing announced by a block. A filler starts from a
// value-initialised entry, sets what it knows and the matching presence bits.
struct ModeEntry {
  uint32_t hActive = 0;
  uint32_t vActive = 0;  // of the frame: an interlaced timing counts both fields
  uint32_t hTotal = 0;
  uint32_t hBorderLeft = 0;
  uint32_t hBorderRight = 0;
  uint32_t hFrontPorch = 0;
  uint32_t hSync = 0;
  uint32_t vTotal = 0;
  uint32_t vBorderTop = 0;
  uint32_t vBorderBottom = 0;
  uint32_t vFrontPorch = 0;
  uint32_t vSync = 0;
  uint32_t pixelClockKHz = 0;
  uint32_t repetition = 0;
  uint32_t refreshHz = 0;
  uint8_t interlaced = 0;
  uint8_t fractional = 0;  // the real rate is refreshHz * 1000 / 1001
  ModeSource source = ModeSource::Undefined;
  ModeBlockKind blockKind = ModeBlockKind::Undefined;
  uint32_t vic = 0;
  Stereo3DFormat format3D = Stereo3DFormat::None2D;
  uint32_t flags = 0;
  uint32_t present = 0;
};

}  // namespace velmar
