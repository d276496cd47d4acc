#include "blocks/DetailedTiming.h"

#include <algorithm>

#include "common/Callbacks.h"
#include "blocks/VideoFormatTable.h"
#include "util/Format.h"

namespace velmar {

namespace {

// The timing as it runs: borders taken out of the blanking and the sync
// offsets under the EDID 1.3 rule, totals, the rate, and the vertical values
// of the frame for an interlaced timing. The arithmetic is signed and 64-bit:
// a border larger than its sync offset or than half its blanking gives a
// negative offset or blanking, and the totals and columns built from them
// still come out as the rule gives them (the border is added back).
struct Geometry {
  int64_t hActive = 0;
  int64_t hBorder = 0;
  int64_t hSyncOffset = 0;
  int64_t hSyncWidth = 0;
  int64_t hTotal = 0;
  int64_t vActive = 0;
  int64_t vBorder = 0;
  int64_t vSyncOffset = 0;
  int64_t vSyncWidth = 0;
  int64_t vTotal = 0;
  int64_t vFieldSyncOffset = 0;  // the vertical sync offset of one field
  int64_t clockKHz = 0;
  uint32_t rate = 0;  // whole Hz, the field rate of an interlaced timing
  const VideoFormat* format = nullptr;
  bool fractional = false;
};

uint32_t RateOf(int64_t clockKHz, int64_t hTotal, int64_t vTotal) {
  if (clockKHz <= 0 || hTotal <= 0 || vTotal <= 0) return 0;
  const uint64_t numerator = static_cast<uint64_t>(clockKHz) * 1000;
  uint64_t rate = 0;
  if (hTotal <= UINT32_MAX && vTotal <= UINT32_MAX) {
    const uint64_t product = static_cast<uint64_t>(hTotal) * static_cast<uint64_t>(vTotal);
    rate = (numerator + product / 2) / product;
  } else {
    // Only a record filled by hand reaches totals this large.
    const long double exact = static_cast<long double>(numerator) / hTotal / vTotal;
    rate = static_cast<uint64_t>(exact + 0.5L);
  }
  return rate > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(rate);
}

Geometry Measure(const DetailedTiming& t) {
  Geometry g;
  int64_t hBlank = t.hBlank;
  int64_t vBlank = t.vBlank;
  g.hSyncOffset = t.hSyncOffset;
  g.vSyncOffset = t.vSyncOffset;
  if (!t.bordersOutsideBlanking) {
    // EDID 1.3: the blanking and the sync offset contain the borders.
    hBlank -= 2 * static_cast<int64_t>(t.hBorder);
    vBlank -= 2 * static_cast<int64_t>(t.vBorder);
    g.hSyncOffset -= t.hBorder;
    g.vSyncOffset -= t.vBorder;
  }
  g.vFieldSyncOffset = g.vSyncOffset;
  g.hActive = t.hActive;
  g.hBorder = t.hBorder;
  g.hSyncWidth = t.hSyncWidth;
  g.hTotal = g.hActive + 2 * g.hBorder + hBlank;
  g.vActive = t.vActive;
  g.vBorder = t.vBorder;
  g.vSyncWidth = t.vSyncWidth;
  g.vTotal = g.vActive + 2 * g.vBorder + vBlank;
  g.clockKHz = static_cast<int64_t>(t.pixelClock) * 10;
  g.rate = RateOf(g.clockKHz, g.hTotal, g.vTotal);

  if (t.interlaced) {
    // Both fields make the frame; the rate stays the field rate.
    g.vActive *= 2;
    g.vBorder *= 2;
    g.vSyncWidth *= 2;
    g.vSyncOffset = 2 * g.vSyncOffset + 1;
    g.vTotal = 2 * g.vTotal + 1;
  }

  // The format is looked up by the frame height, so an interlaced timing finds
  // its interlaced row, and by the rate, so that a 50 Hz timing is not taken
  // for the 60 Hz format of the same size and clock.
  if (g.hActive <= UINT32_MAX && g.vActive <= UINT32_MAX && g.clockKHz <= UINT32_MAX) {
    g.format = VideoFormatTable::Match(static_cast<unsigned>(g.hActive), static_cast<unsigned>(g.vActive),
                                       t.interlaced, static_cast<unsigned>(g.clockKHz), g.rate);
  }
  g.fractional = g.format != nullptr && VideoFormatTable::IsFractional(*g.format, static_cast<unsigned>(g.clockKHz));
  return g;
}

// A figure as a cell or column shows it; every column of the summary is
// non-negative, and the porch cells are floored at 0 before they get here.
uint32_t U32(int64_t value) {
  if (value < 0) return 0;
  return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value);
}

const char* const kStereoLines[7] = {
    "  Stereo....: 2D Timing\r\n",
    "  Stereo....: Field sequential, right image when stereo sync signal = 1\r\n",
    "  Stereo....: 2-way interleaved, right image on even lines\r\n",
    "  Stereo....: Field sequential, left image when stereo sync signal = 1\r\n",
    "  Stereo....: 2-way interleaved, left image on even lines\r\n",
    "  Stereo....: 4-way interleaved\r\n",
    "  Stereo....: Side-by-Side interleaved\r\n",
};

const char* const kStereoChoices[7] = {
    "2D",
    "Field Sequential Right Polarity",
    "2-Way Interleave Right Polarity",
    "Field Sequential Left Polarity",
    "2-Way Interleave Left Polarity",
    "4-Way Interleave",
    "Side-by-Side",
};

const char* const kSyncTypeNames[4] = {
    "Analog Composite",
    "Bipolar Analog Composite",
    "Digital Composite",
    "Digital Separate",
};

const char* const kByteNames[kDetailedTimingLength] = {
    "Pixel Clock. Low Order Bits",
    "Pixel Clock. High Order Bits",
    "Horizontal Addressable. Low Order Bits",
    "Horizontal Blanking. Low Order Bits",
    "Horizontal Addressable/Blanking. High Order Bits",
    "Vertical Addressable. Low Order Bits",
    "Vertical Blanking. Low Order Bits",
    "Vertical Addressable/Blanking. High Order Bits",
    "Horizontal Sync Start. Low Order Bits",
    "Horizontal Sync Width. Low Order Bits",
    "Vertical Sync Start/Sync Width. Low Order Bits",
    "H/V Sync Start/Sync Width. High Order Bits",
    "Horizontal Image Size. Low Order Bits",
    "Vertical Image Size. Low Order Bits",
    "Horizontal/Vertical Image Size. High Order Bits",
    "Left/Right Horizontal Border",
    "Top/Bottom Vertical Border",
    "Flags (Interlace, Stereo, Polarity, etc.)",
};

}  // namespace

DetailedTiming DetailedTiming::Decode(const uint8_t* data, bool outsideBlanking) {
  DetailedTiming t;
  t.pixelClock = PixelClockOf(data);
  t.hActive = data[2] + ((data[4] >> 4) & 0x0Fu) * 256u;
  t.hBlank = data[3] + (data[4] & 0x0Fu) * 256u;
  t.vActive = data[5] + ((data[7] >> 4) & 0x0Fu) * 256u;
  t.vBlank = data[6] + (data[7] & 0x0Fu) * 256u;
  t.hSyncOffset = data[8] + ((data[11] >> 6) & 0x03u) * 256u;
  t.hSyncWidth = data[9] + ((data[11] >> 4) & 0x03u) * 256u;
  t.vSyncOffset = ((data[10] >> 4) & 0x0Fu) + ((data[11] >> 2) & 0x03u) * 16u;
  t.vSyncWidth = (data[10] & 0x0Fu) + (data[11] & 0x03u) * 16u;
  t.hImageMm = data[12] + ((data[14] >> 4) & 0x0Fu) * 256u;
  t.vImageMm = data[13] + (data[14] & 0x0Fu) * 256u;
  t.hBorder = data[15];
  t.vBorder = data[16];
  const uint8_t flags = data[17];
  t.interlaced = (flags & 0x80) != 0;
  const unsigned s = ((flags >> 5) & 0x03u) * 2 + (flags & 0x01u);
  t.stereo = s > 0 ? s - 1 : 0;
  t.syncType = (flags >> 3) & 0x03u;
  t.syncFlagBit2 = (flags & 0x04) != 0;
  t.syncFlagBit1 = (flags & 0x02) != 0;
  t.bordersOutsideBlanking = outsideBlanking;
  return t;
}

void DetailedTiming::Encode(uint8_t* data) const {
  const uint8_t oldFlags = data[17];
  data[0] = static_cast<uint8_t>(pixelClock & 0xFF);
  data[1] = static_cast<uint8_t>((pixelClock >> 8) & 0xFF);
  data[2] = static_cast<uint8_t>(hActive & 0xFF);
  data[3] = static_cast<uint8_t>(hBlank & 0xFF);
  data[4] = static_cast<uint8_t>(((hActive >> 8) & 0x0F) << 4 | ((hBlank >> 8) & 0x0F));
  data[5] = static_cast<uint8_t>(vActive & 0xFF);
  data[6] = static_cast<uint8_t>(vBlank & 0xFF);
  data[7] = static_cast<uint8_t>(((vActive >> 8) & 0x0F) << 4 | ((vBlank >> 8) & 0x0F));
  data[8] = static_cast<uint8_t>(hSyncOffset & 0xFF);
  data[9] = static_cast<uint8_t>(hSyncWidth & 0xFF);
  data[10] = static_cast<uint8_t>((vSyncOffset & 0x0F) << 4 | (vSyncWidth & 0x0F));
  data[11] = static_cast<uint8_t>(((hSyncOffset >> 8) & 0x03) << 6 | ((hSyncWidth >> 8) & 0x03) << 4 |
                                  ((vSyncOffset >> 4) & 0x03) << 2 | ((vSyncWidth >> 4) & 0x03));
  data[12] = static_cast<uint8_t>(hImageMm & 0xFF);
  data[13] = static_cast<uint8_t>(vImageMm & 0xFF);
  data[14] = static_cast<uint8_t>(((hImageMm >> 8) & 0x0F) << 4 | ((vImageMm >> 8) & 0x0F));
  data[15] = static_cast<uint8_t>(hBorder & 0xFF);
  data[16] = static_cast<uint8_t>(vBorder & 0xFF);

  uint8_t flags = 0;
  if (interlaced) flags |= 0x80;
  flags |= static_cast<uint8_t>((syncType & 0x03) << 3);
  if (syncFlagBit2) flags |= 0x04;
  if (syncFlagBit1) flags |= 0x02;
  const uint32_t value = stereo <= 6 ? stereo : 0;
  if (value != 0 || (oldFlags & 0x60) != 0) {
    flags |= static_cast<uint8_t>(((value + 1) / 2) << 5);
    flags |= static_cast<uint8_t>(1 - value % 2);
  } else {
    flags |= oldFlags & 0x61;  // a 2D timing keeps bit 0 as it was
  }
  data[17] = flags;
}

ModeEntry DetailedTiming::ToModeEntry(ModeBlockKind blockKind) const {
  const Geometry g = Measure(*this);
  ModeEntry mode;
  mode.hActive = U32(g.hActive);
  mode.vActive = U32(g.vActive);
  mode.hTotal = U32(g.hTotal);
  mode.vTotal = U32(g.vTotal);
  mode.hBorderLeft = mode.hBorderRight = U32(g.hBorder);
  mode.vBorderTop = mode.vBorderBottom = U32(g.vBorder);
  // A border larger than its sync offset leaves a negative porch, which a cell
  // cannot show: the porch is floored at 0 (for an interlaced timing, the
  // floored field offset makes the frame's 2 x offset + 1).
  mode.hFrontPorch = U32(std::max<int64_t>(0, g.hSyncOffset));
  mode.hSync = U32(g.hSyncWidth);
  const int64_t fieldPorch = std::max<int64_t>(0, g.vFieldSyncOffset);
  mode.vFrontPorch = U32(interlaced ? 2 * fieldPorch + 1 : fieldPorch);
  mode.vSync = U32(g.vSyncWidth);
  mode.pixelClockKHz = U32(g.clockKHz);
  mode.refreshHz = g.rate;
  mode.interlaced = interlaced ? 1 : 0;
  mode.source = ModeSource::Detailed;
  mode.blockKind = blockKind;
  mode.present = kPresentHActive | kPresentVActive | kPresentHTotal | kPresentHBorderLeft | kPresentHBorderRight |
                 kPresentHFrontPorch | kPresentHSync | kPresentVTotal | kPresentVBorderTop | kPresentVBorderBottom |
                 kPresentVFrontPorch | kPresentVSync | kPresentPixelClock | kPresentRefresh | kPresentSource |
                 kPresentBlockKind | kPresentFormat3D;

  if (syncType == kSyncDigitalComposite || syncType == kSyncDigitalSeparate) {
    mode.present |= kPresentHPolarity;
    if (syncFlagBit1) mode.flags |= kModeFlagHSyncPositive;
  }
  if (syncType == kSyncDigitalSeparate) {
    mode.present |= kPresentVPolarity;
    if (syncFlagBit2) mode.flags |= kModeFlagVSyncPositive;
  }

  switch (stereo) {
    case 1:  // field sequential, right image on stereo sync 1
    case 3:  // field sequential, left image
      mode.format3D = Stereo3DFormat::FrameAlternate;
      break;
    case 2:  // 2-way interleaved, right image on even lines
    case 4:  // 2-way interleaved, left image
    case 5:  // 4-way interleaved
      mode.format3D = Stereo3DFormat::Interleaved;
      break;
    case 6:
      mode.format3D = Stereo3DFormat::SideBySide;
      break;
    default:
      mode.format3D = Stereo3DFormat::None2D;
      break;
  }
  if (stereo >= 1 && stereo <= 4) {
    mode.present |= kPresent3DPolarity;
    if (stereo <= 2) mode.flags |= kModeFlag3DRightEyeFirst;
  }

  if (g.format != nullptr) {
    mode.vic = g.format->vic;
    mode.present |= kPresentVic;
    mode.fractional = g.fractional ? 1 : 0;
  }
  return mode;
}

std::string DetailedTiming::SummaryText() const {
  const Geometry g = Measure(*this);
  const int64_t h = g.hActive;
  const int64_t v = g.vActive;
  const char* scan = interlaced ? "i" : "p";
  const char* pad = v < 999 ? " " : "";
  const double clockMHz = pixelClock / 100.0;
  std::string text;
  if (g.format != nullptr && g.fractional) {
    AppendFormat(text, "  %4u x %u%s%s at %.2fHz, %.2fMHz, CEA[%u]\r\n", U32(h), U32(v), scan, pad,
                 g.rate * 1000.0 / 1001.0, clockMHz, static_cast<unsigned>(g.format->vic));
  } else if (g.format != nullptr) {
    AppendFormat(text, "  %4u x %u%s%s at %uHz, %.2fMHz, CEA[%u]\r\n", U32(h), U32(v), scan, pad, g.rate, clockMHz,
                 static_cast<unsigned>(g.format->vic));
  } else {
    AppendFormat(text, "  %4u x %u%s%s at %uHz, %.2fMHz\r\n", U32(h), U32(v), scan, pad, g.rate, clockMHz);
  }
  text += "              Border -> Addressable -> Border -> Sync Start -> Sync End -> Total\r\n";
  AppendFormat(text, "  Line......: %-6u -> %-11u -> %-6u -> %-10u -> %-8u -> %-5u\r\n", U32(g.hBorder),
               U32(g.hBorder + h), U32(h + 2 * g.hBorder), U32(h + 2 * g.hBorder + g.hSyncOffset),
               U32(h + 2 * g.hBorder + g.hSyncOffset + g.hSyncWidth), U32(g.hTotal));
  AppendFormat(text, "  Frame.....: %-6u -> %-11u -> %-6u -> %-10u -> %-8u -> %-5u\r\n", U32(g.vBorder),
               U32(g.vBorder + v), U32(v + 2 * g.vBorder), U32(v + 2 * g.vBorder + g.vSyncOffset),
               U32(v + 2 * g.vBorder + g.vSyncOffset + g.vSyncWidth), U32(g.vTotal));
  switch (syncType & 0x03) {
    case kSyncAnalogComposite:
      AppendFormat(text, "  Sync......: Analog Composite, %s Serrations, %s\r\n", syncFlagBit2 ? "With" : "Without",
                   syncFlagBit1 ? "On all 3 RGB lines" : "on Green line only");
      break;
    case kSyncBipolarAnalogComposite:
      AppendFormat(text, "  Sync......: Bipolar Analog Composite, %s Serrations, %s\r\n",
                   syncFlagBit2 ? "With" : "Without", syncFlagBit1 ? "On all 3 RGB lines" : "on Green line only");
      break;
    case kSyncDigitalComposite:
      AppendFormat(text, "  Sync......: Digital Composite, %s Serrations, %s\r\n", syncFlagBit2 ? "With" : "Without",
                   syncFlagBit1 ? "HSYNC+" : "HSYNC-");
      break;
    default:
      AppendFormat(text, "  Sync......: Digital Separate, %s, %s\r\n", syncFlagBit2 ? "VSYNC+" : "VSYNC-",
                   syncFlagBit1 ? "HSYNC+" : "HSYNC-");
      break;
  }
  if (stereo <= 6) text += kStereoLines[stereo];
  AppendFormat(text, "  Image Size: %umm x %umm\r\n", hImageMm, vImageMm);
  return text;
}

void DetailedTiming::AppendSummary(CallbackFillContentTgt* target) const {
  if (target == nullptr) return;
  const std::string text = SummaryText();
  // One Append per line, as every summary writer does.
  std::string line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    line.assign(text, start, end - start);
    target->Append(line);
    start = end;
  }
}

void DetailedTiming::DescribeByte(unsigned position, unsigned entry, std::string& name, std::string& group) {
  if (position >= kDetailedTimingLength) return;
  name = kByteNames[position];
  static const FormatTable kGroups("(Detailed Timing). %uth Byte of Entry[%u]", kDetailedTimingLength, 8);
  kGroups.Assign(group, position, entry);
}

const char* DetailedTiming::SyncTypeName(uint32_t type) { return type < 4 ? kSyncTypeNames[type] : ""; }

const char* DetailedTiming::StereoChoiceName(uint32_t value) { return value < 7 ? kStereoChoices[value] : ""; }

}  // namespace velmar
