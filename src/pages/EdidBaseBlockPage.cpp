#include "pages/EdidBaseBlockPage.h"

#include <string>
#include <vector>

#include "common/UserInterface.h"
#include "blocks/DetailedTiming.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "blocks/MonitorInfo.h"
#include "dialogs/EDIDBasicParamsDlg.h"
#include "dialogs/EDIDColorCharsDlg.h"
#include "dialogs/EDIDColorMgmtDlg.h"
#include "dialogs/EDIDColorPointDlg.h"
#include "dialogs/EDIDCvt3ByteTimingsDlg.h"
#include "dialogs/EDIDDetTimingsDlg.h"
#include "dialogs/EDIDEstTimingsDlg.h"
#include "dialogs/EDIDGenericInfoDlg.h"
#include "dialogs/EDIDRangeLimitsDlg.h"
#include "dialogs/EDIDStdTimingsDlg.h"
#include "dialogs/EDIDStringDlg.h"
#include "util/Format.h"

namespace velmar {

EdidBaseBlockPage::EdidBaseBlockPage(bool is14, unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage(is14 ? "EDID1.4 BaseBlock" : "EDID1.3 BaseBlock", index, pageOwner, pageUi), is14Page(is14) {}

bool EdidBaseBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (data != nullptr) {
    if (is14Page) {
      block = std::make_unique<Edid14Block>(offset, data, available, owner);
    } else {
      block = std::make_unique<Edid13Block>(offset, data, available, owner);
    }
  }
  return FinishAttach(data);
}

Edid13Block* EdidBaseBlockPage::Model() const { return static_cast<Edid13Block*>(block.get()); }

unsigned EdidBaseBlockPage::GetExtensionCount() const { return block != nullptr ? block->GetExtensionCount() : 0; }

void EdidBaseBlockPage::SetExtensionCount(unsigned count) {
  if (Edid13Block* model = Model()) model->SetExtensionCount(count);
}

unsigned EdidBaseBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

void EdidBaseBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                     std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

void EdidBaseBlockPage::CollectModes(CallbackFillContentTgt* sink) const {
  if (block != nullptr) block->CollectModes(sink);
}

void EdidBaseBlockPage::GetMonitorInfo(MonitorInfo& info) const {
  if (const Edid13Block* model = Model()) model->GetMonitorInfo(info);
}

void EdidBaseBlockPage::GetLargestMode(unsigned& width, unsigned& height) const {
  if (const Edid13Block* model = Model()) model->GetLargestMode(width, height);
}

// ---------------------------------------------------------------------------
// Summary text

namespace {

const char* Supported(bool on) { return on ? "Supported" : "Not Supported"; }

void AppendGeneralInfo(CallbackFillContentTgt* target, const Edid13Block& model) {
  VendorProductInfo vendor;
  model.GetVendorProduct(vendor);
  const unsigned version = model.GetVersion();
  target->Append("  [General Info]\r\n");
  target->AppendFormatted("  Version.............: %u.%u\r\n", version / 256, version % 256);
  std::string letters;
  for (uint32_t code : {vendor.letter1, vendor.letter2, vendor.letter3}) {
    if (code == 0) break;
    letters += static_cast<char>(code + 64);
  }
  target->Append("  Manufacturer Name...: " + letters + "\r\n");
  target->AppendFormatted("  Product Code........: 0x%X\r\n", vendor.productCode);
  target->AppendFormatted("  Serial Number.......: 0x%X\r\n", vendor.serialNumber);
  target->AppendFormatted("  Date of Manufacture.: %u, week %u\r\n", static_cast<unsigned>(vendor.year), vendor.week);
  target->AppendFormatted("  Number of extensions: %u\r\n", model.GetExtensionCount());
  target->AppendFormatted("  Checksum............: 0x%02X\r\n", model.GetChecksum());
}

void AppendBasicParams(CallbackFillContentTgt* target, const Edid13Block& model, bool is14) {
  BasicParams p;
  model.GetBasicParams(p);
  target->Append("\r\n  [Basic Display Parameters]\r\n");
  if (p.digital) {
    target->Append("  Interface.......................: Digital\r\n");
    if (is14) {
      static const char* const kDepths[7] = {
          "  Color Depth.....................: Undefined\r\n",
          "  Color Depth.....................: 6 Bits per Color\r\n",
          "  Color Depth.....................: 8 Bits per Color\r\n",
          "  Color Depth.....................: 10 Bits per Color\r\n",
          "  Color Depth.....................: 12 Bits per Color\r\n",
          "  Color Depth.....................: 14 Bits per Color\r\n",
          "  Color Depth.....................: 16 Bits per Color\r\n"};
      if (p.colorDepth < 7) target->Append(kDepths[p.colorDepth]);
      static const char* const kInterfaces[6] = {
          "  Interface Type..................: Undefined\r\n",
          "  Interface Type..................: DVI\r\n",
          "  Interface Type..................: HDMI-a\r\n",
          "  Interface Type..................: HDMI-b\r\n",
          "  Interface Type..................: MDDI\r\n",
          "  Interface Type..................: DisplayPort\r\n"};
      if (p.digitalInterface < 6) target->Append(kInterfaces[p.digitalInterface]);
    }
  } else {
    target->Append("  Interface.......................: Analog\r\n");
  }

  static const char* const kTypes[8] = {
      "  Display Color Type..............: Monochrome / Grayscale display\r\n",
      "  Display Color Type..............: RGB color display\r\n",
      "  Display Color Type..............: Non-RGB color display\r\n",
      "  Display Color Type..............: Undefined\r\n",
      "  Supported Color Encoding(s).....: RGB 4:4:4\r\n",
      "  Supported Color Encoding(s).....: RGB 4:4:4 & YCrCb 4:4:4\r\n",
      "  Supported Color Encoding(s).....: RGB 4:4:4 & YCrCb 4:2:2\r\n",
      "  Supported Color Encoding(s).....: RGB 4:4:4 & YCrCb 4:4:4 & YCrCb 4:2:2\r\n"};
  if (p.displayType < 8) target->Append(kTypes[p.displayType]);

  static const char* const kSizes[10] = {
      nullptr,
      "  Screen Type.....................: Projector\r\n",
      "  Aspect Ratio....................: Landscape 16x9\r\n",
      "  Aspect Ratio....................: Landscape 16x10\r\n",
      "  Aspect Ratio....................: Landscape 4x3\r\n",
      "  Aspect Ratio....................: Landscape 5x4\r\n",
      "  Aspect Ratio....................: Portrait 9x16\r\n",
      "  Aspect Ratio....................: Portrait 10x16\r\n",
      "  Aspect Ratio....................: Portrait 3x4\r\n",
      "  Aspect Ratio....................: Portrait 4x5\r\n"};
  if (p.sizeMode == BasicParams::kSizeInCm) {
    target->AppendFormatted("  Screen size (cm)................: %ux%u\r\n", p.hSizeCm, p.vSizeCm);
  } else if (p.sizeMode < 10) {
    target->Append(kSizes[p.sizeMode]);
  }

  if (p.gammaDefined) {
    target->AppendFormatted("  Gamma...........................: %.2f\r\n", p.gamma);
  } else {
    target->Append("  Gamma...........................: Undefined\r\n");
  }
  target->AppendFormatted("  Standby.........................: %s\r\n", Supported(p.standby));
  target->AppendFormatted("  Suspend.........................: %s\r\n", Supported(p.suspend));
  target->AppendFormatted("  Active Off/Very Low Power.......: %s\r\n", Supported(p.activeOff));
  target->Append(p.srgbDefault ? "  Default color space.............: sRGB\r\n"
                               : "  Default color space.............: non-sRGB\r\n");

  if (!p.digital) {
    static const char* const kLevels[4] = {
        "  Signal Level Standard...........: 0.700 : 0.300 : 1.000 V p-p\r\n",
        "  Signal Level Standard...........: 0.714 : 0.286 : 1.000 V p-p\r\n",
        "  Signal Level Standard...........: 1.000 : 0.400 : 1.400 V p-p\r\n",
        "  Signal Level Standard...........: 0.700 : 0.000 : 0.700 V p-p\r\n"};
    target->Append(kLevels[p.signalLevel & 0x03]);
    target->Append(p.blankToBlack ? "  Video Setup.....................: Blank-to-Black setup or pedestal\r\n"
                                  : "  Video Setup.....................: Blank Level = Black Level\r\n");
    target->AppendFormatted("  Separate Sync H & V Signals.....: %s\r\n", Supported(p.separateSync));
    target->AppendFormatted("  Composite Sync on Horizontal....: %s\r\n", Supported(p.compositeSyncOnH));
    target->AppendFormatted("  Composite Sync on Green Video...: %s\r\n", Supported(p.syncOnGreen));
    target->AppendFormatted("  Serration on the Vertical Sync..: %s\r\n", Supported(p.serrationOnVSync));
  }

  if (is14) {
    target->Append(p.preferredTimingNative
                       ? "  x Preferred Timing Mode includes the native pixel format and preferred refresh rate of "
                         "the display device\r\n"
                       : "  x Preferred Timing Mode does not include the native pixel format and preferred refresh "
                         "rate of the display device\r\n");
    target->Append(p.continuousFrequency ? "  x Display is continuous frequency\r\n"
                                         : "  x Display is non-continuous frequency\r\n");
  } else {
    target->Append(p.preferredTimingNative
                       ? "  x Preferred timing mode is indicated in the first detailed timing block\r\n"
                       : "  x Preferred timing mode not indicated in the first detailed timing block\r\n");
    target->Append(p.defaultGtf
                       ? "  x Display supports timings based on the GTF standard using default GTF parameter "
                         "values\r\n"
                       : "  x No default GTF support\r\n");
  }
}

void AppendColors(CallbackFillContentTgt* target, const Edid13Block& model) {
  ColorCharacteristics c;
  model.GetColorCharacteristics(c);
  const auto value = [&](unsigned index) { return c.codes[index] / 1024.0; };
  using C = ColorCharacteristics;
  target->Append("\r\n  [Display Color Characteristics]\r\n");
  target->AppendFormatted("  Red Chromaticity..: X=%.3f, Y=%.3f\r\n", value(C::kRedX), value(C::kRedY));
  target->AppendFormatted("  Green Chromaticity: X=%.3f, Y=%.3f\r\n", value(C::kGreenX), value(C::kGreenY));
  target->AppendFormatted("  Blue Chromaticity.: X=%.3f, Y=%.3f\r\n", value(C::kBlueX), value(C::kBlueY));
  target->AppendFormatted("  White Point.......: X=%.3f, Y=%.3f\r\n", value(C::kWhiteX), value(C::kWhiteY));
}

void AppendEstablishedList(CallbackFillContentTgt* target, const Edid13Block& model, unsigned set) {
  const unsigned count = set == 0 ? kEstablishedTimingCount : kEstablishedTimingIIICount;
  bool any = false;
  static const std::vector<std::string> kLine = FormatHoles(Format("  %s\r\n", kTextHole));
  for (unsigned i = 0; i < count; ++i) {
    if (!model.IsEstablishedTimingSet(set, i)) continue;
    const std::string label = model.GetEstablishedTimingLabel(set, i);
    if (label.empty()) continue;
    target->Append(kLine[0] + label + kLine[1]);
    any = true;
  }
  target->Append(any ? "  NOTE: I = Interlaced, RB = Reduced Blanking\r\n"
                     : "  No Established Timings in this section\r\n");
}

void AppendStandardList(CallbackFillContentTgt* target, const Edid13Block& model, unsigned slot) {
  const unsigned count = slot == 0 ? kEdidStandardTimingCount : kDescriptorStandardTimingCount;
  bool any = false;
  for (unsigned i = 0; i < count; ++i) {
    StandardTiming t;
    if (!model.GetStandardTiming(slot, i, t) || !t.used) continue;
    unsigned height = 0;
    const char* aspect = "";
    switch (t.aspect) {
      case kAspect16x9:
        height = t.width * 9 / 16;
        aspect = "LandScape  16x9";
        break;
      case kAspect16x10:
        if (model.Revision() < 3) {
          height = t.width;
          aspect = "Square     1x1";
        } else {
          height = t.width * 10 / 16;
          aspect = "LandScape 16x10";
        }
        break;
      case kAspect4x3:
        height = t.width * 3 / 4;
        aspect = "LandScape  4x3";
        break;
      default:
        height = t.width * 4 / 5;
        aspect = "LandScape  5x4";
        break;
    }
    target->AppendFormatted("  %4u x %-4u at %uHz,%s %s\r\n", t.width, height, t.refresh, t.refresh <= 99 ? " " : "",
                          aspect);
    any = true;
  }
  if (!any) target->Append("  No Standard Timings in this section\r\n");
}

void AppendDescriptorText(CallbackFillContentTgt* target, const Edid13Block& model, unsigned slot) {
  DescriptorText text;
  model.GetDescriptorString(slot, text);
  std::string line;
  for (uint8_t byte : text.bytes) {
    if (byte == 0x0A) break;
    line += static_cast<char>(byte);
  }
  if (line.empty()) {
    target->Append("  0-length String\r\n");
    return;
  }
  line = line.substr(0, line.find('\0'));
  target->Append("  \"" + Latin1ToUtf8(line) + "\"\r\n");
}

void AppendColorPoint(CallbackFillContentTgt* target, const Edid13Block& model, unsigned slot) {
  ColorPoint p;
  model.GetColorPoint(slot, p);
  const struct {
    uint32_t index, x, y;
    bool gammaDefined;
    double gamma;
    const char* which;
  } sets[2] = {{p.whiteIndex1, p.whiteX1, p.whiteY1, p.gamma1Defined, p.gamma1, "first"},
               {p.whiteIndex2, p.whiteX2, p.whiteY2, p.gamma2Defined, p.gamma2, "second"}};
  for (const auto& set : sets) {
    if (set.index != 0) {
      target->AppendFormatted("  White Point[%u]: X=%.3f, Y=%.3f\r\n", set.index, set.x / 1024.0, set.y / 1024.0);
    } else {
      target->AppendFormatted("  White Point not defined in %s entry\r\n", set.which);
    }
    if (set.gammaDefined) {
      target->AppendFormatted("  Gamma..........: %s\r\n", BlockPage::FormatDecimal(0, true, set.gamma, 3).c_str());
    } else {
      target->AppendFormatted("  Gamma not defined in %s entry\r\n", set.which);
    }
  }
}

void AppendCvtRangeLimits(CallbackFillContentTgt* target, const RangeLimits& r) {
  if (r.cvtMaxLineLength == 0) {
    target->Append("  CVT Maximum Line Length...: No limit defined\r\n");
  } else {
    target->AppendFormatted("  CVT Maximum Line Length...: %u pixels\r\n", r.cvtMaxLineLength);
  }
  target->AppendFormatted("  CVT Preferred Refresh Rate: %uHz\r\n", r.cvtPreferredRate);
  switch (r.cvtPreferredAspect) {
    case kAspect16x9: target->Append("  CVT Preferred Aspect Ratio: 16x9\r\n"); break;
    case kAspect16x10: target->Append("  CVT Preferred Aspect Ratio: 16x10\r\n"); break;
    case kAspect4x3: target->Append("  CVT Preferred Aspect Ratio:  4x3\r\n"); break;
    case kAspect5x4: target->Append("  CVT Preferred Aspect Ratio:  5x4\r\n"); break;
    case kAspect15x9: target->Append("  CVT Preferred Aspect Ratio: 15x9\r\n"); break;
    default: break;
  }
  std::string aspects = "  CVT Supported Aspect Ratio:";
  if (r.cvtAspect4x3) aspects += "  4x3 ";
  if (r.cvtAspect16x9) aspects += " 16x9 ";
  if (r.cvtAspect16x10) aspects += " 16x10";
  if (r.cvtAspect5x4) aspects += "  5x4 ";
  if (r.cvtAspect15x9) aspects += " 15x9 ";
  target->Append(aspects + "\r\n");
  const auto not_ = [](bool on) { return on ? "" : "Not "; };
  target->AppendFormatted("  CVT Standard Blanking.....: %sSupported\r\n", not_(r.cvtStandardBlanking));
  target->AppendFormatted("  CVT Reduced Blanking......: %sSupported\r\n", not_(r.cvtReducedBlanking));
  target->AppendFormatted("  CVT Horizontal Shrink.....: %sSupported\r\n", not_(r.cvtHShrink));
  target->AppendFormatted("  CVT Horizontal Stretch....: %sSupported\r\n", not_(r.cvtHStretch));
  target->AppendFormatted("  CVT Vertical Shrink.......: %sSupported\r\n", not_(r.cvtVShrink));
  target->AppendFormatted("  CVT Vertical Stretch......: %sSupported\r\n", not_(r.cvtVStretch));
}

void AppendRangeLimits(CallbackFillContentTgt* target, const Edid13Block& model, unsigned slot) {
  RangeLimits r;
  model.GetRangeLimits(slot, r);
  unsigned minH = r.minHRate;
  unsigned maxH = r.maxHRate;
  unsigned minV = r.minVRate;
  unsigned maxV = r.maxVRate;
  if (r.offsetsAvailable) {
    if (r.hOffsetMode == 1 || r.hOffsetMode == 2) maxH += 255;
    if (r.hOffsetMode == 2) minH += 254;
    if (r.vOffsetMode == 1 || r.vOffsetMode == 2) maxV += 255;
    if (r.vOffsetMode == 2) minV += 254;
  }
  target->AppendFormatted("  Horizontal Rate Range.....: %uKHz - %uKHz\r\n", minH, maxH);
  target->AppendFormatted("  Vertical Rate Range.......: %uHz - %uHz\r\n", minV, maxV);
  double clock = r.maxPixelClockMHz;
  if (r.timingSupport == RangeLimits::kSupportCvt) clock -= r.cvtClockPrecisionKHz / 1000.0;
  target->AppendFormatted("  Maximum Pixel Clock.......: %sMHz\r\n", BlockPage::FormatDecimal(0, true, clock, 3).c_str());
  switch (r.timingSupport) {
    case RangeLimits::kSupportNone:
      target->Append(r.extendedSupport ? "  Video Timing Support......: Range Limits Only\r\n"
                                       : "  Video Timing Support......: No secondary timing formula supported\r\n");
      break;
    case RangeLimits::kSupportDefaultGtf:
      target->Append("  Video Timing Support......: Default GTF supported\r\n");
      break;
    case RangeLimits::kSupportSecondaryGtf:
      target->Append("  Video Timing Support......: Secondary GTF curve supported\r\n");
      target->AppendFormatted("  GTF Start break frequency.: %uKHz\r\n", r.gtfStartFreqKHz);
      target->AppendFormatted("  GTF C Parameter...........: %u\r\n", r.gtfC);
      target->AppendFormatted("  GTF M Parameter...........: %u\r\n", r.gtfM);
      target->AppendFormatted("  GTF K Parameter...........: %u\r\n", r.gtfK);
      target->AppendFormatted("  GTF J Parameter...........: %u\r\n", r.gtfJ);
      break;
    case RangeLimits::kSupportCvt:
      target->Append("  Video Timing Support......: CVT supported\r\n");
      AppendCvtRangeLimits(target, r);
      break;
    default:
      break;
  }
}

void AppendColorManagement(CallbackFillContentTgt* target, const Edid14Block& model, unsigned slot) {
  ColorManagement m;
  model.GetColorManagement(slot, m);
  const auto value = [](double v) { return BlockPage::FormatDecimal(0, false, v, 3); };
  target->AppendFormatted("  Polynomial a2 Coefficient Red..: %s\r\n", value(m.redA2).c_str());
  target->AppendFormatted("  Polynomial a3 Coefficient Red..: %s\r\n", value(m.redA3).c_str());
  target->AppendFormatted("  Polynomial a2 Coefficient Green: %s\r\n", value(m.greenA2).c_str());
  target->AppendFormatted("  Polynomial a3 Coefficient Green: %s\r\n", value(m.greenA3).c_str());
  target->AppendFormatted("  Polynomial a2 Coefficient Blue.: %s\r\n", value(m.blueA2).c_str());
  target->AppendFormatted("  Polynomial a3 Coefficient Blue.: %s\r\n", value(m.blueA3).c_str());
}

void AppendCvtCodes(CallbackFillContentTgt* target, const Edid14Block& model, unsigned slot) {
  bool any = false;
  for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) {
    CvtCode c;
    if (!model.GetCvtCode(slot, i, c) || !c.used) continue;
    const char* aspect = c.aspect == kAspect16x9    ? "Landscape 16x9 "
                         : c.aspect == kAspect16x10 ? "Landscape 16x10"
                                                    : "Landscape  4x3 ";
    const unsigned width = c.Width();
    const auto preferred = [&](uint32_t rate) { return c.preferredRate == rate ? " (preferred VRate)" : ""; };
    if (c.rate50) {
      target->AppendFormatted("  %4u x %-4u at 50Hz,     %s%s\r\n", width, c.lines, aspect, preferred(0));
    }
    if (c.rate60) {
      target->AppendFormatted("  %4u x %-4u at 60Hz,     %s%s\r\n", width, c.lines, aspect, preferred(1));
    }
    if (c.rate75) {
      target->AppendFormatted("  %4u x %-4u at 75Hz,     %s%s\r\n", width, c.lines, aspect, preferred(2));
    }
    if (c.rate85) {
      target->AppendFormatted("  %4u x %-4u at 85Hz,     %s%s\r\n", width, c.lines, aspect, preferred(3));
    }
    if (c.rate60Rb) {
      target->AppendFormatted("  %4u x %-4u at 60Hz(RB), %s%s\r\n", width, c.lines, aspect,
                            c.preferredRate == 1 && !c.rate60 ? " (preferred VRate)" : "");
    }
    any = any || c.rate50 || c.rate60 || c.rate75 || c.rate85 || c.rate60Rb;
  }
  target->Append(any ? "  NOTE: RB = Reduced Blanking\r\n" : "  No CVT 3Byte Timings in this section\r\n");
}

}  // namespace

void EdidBaseBlockPage::AppendSummary(CallbackFillContentTgt* target) {
  const Edid13Block* model = Model();
  if (model == nullptr || target == nullptr) return;
  const Edid14Block* model14 = is14Page ? static_cast<const Edid14Block*>(model) : nullptr;

  target->Append("\r\n\r\n[EDID BASE BLOCK]\r\n");
  AppendGeneralInfo(target, *model);
  AppendBasicParams(target, *model, is14Page);
  AppendColors(target, *model);
  target->Append("\r\n  [Established Timings I & II]\r\n");
  AppendEstablishedList(target, *model, 0);
  target->Append("\r\n  [Standard Timings]\r\n");
  AppendStandardList(target, *model, 0);

  // The kinds are read afresh rather than taken from the buttons last shown,
  // so that a change made since (in the raw data editor, or by a page that
  // was never shown, as on the command line) is described as it now is.
  for (unsigned slot = 0; slot < kEdidDescriptorCount; ++slot) {
    const unsigned kind = model->GetDescriptorKind(slot);
    target->AppendFormatted("\r\n  [Descriptor %u: %s]\r\n", slot, Edid13Block::DescriptorKindName(kind));
    switch (kind) {
      case kDescriptorDetailedTiming: {
        DetailedTiming timing;
        model->GetDetailedTiming(slot + 1, timing);
        AppendDetailedTiming(target, timing);
        break;
      }
      case kDescriptorRangeLimits:
        AppendRangeLimits(target, *model, slot + 1);
        break;
      case kDescriptorColorPoint:
        AppendColorPoint(target, *model, slot + 1);
        break;
      case kDescriptorStandardTimings:
        AppendStandardList(target, *model, slot + 1);
        break;
      case kDescriptorColorManagement:
        if (model14 != nullptr) AppendColorManagement(target, *model14, slot + 1);
        break;
      case kDescriptorCvtCodes:
        if (model14 != nullptr) AppendCvtCodes(target, *model14, slot + 1);
        break;
      case kDescriptorEstablishedTimingsIII:
        AppendEstablishedList(target, *model, slot + 1);
        break;
      default:
        AppendDescriptorText(target, *model, slot + 1);
        break;
    }
  }
}

// ---------------------------------------------------------------------------
// The grid and the descriptor buttons

namespace {

constexpr const char* kSectionNames[EdidBaseBlockPage::kFirstSlotRow] = {
    "General Info", "Basic Display Parameters", "Color Characteristics", "Established Timings", "Standard Timings"};
// Where the four descriptor slots start in the block.
constexpr unsigned kFirstSlotByte = 54;
constexpr unsigned kSlotLength = 18;
constexpr uint8_t kDummyTag = 0x10;

// An empty slot is a dummy descriptor and nothing else (tag 0x10, every other
// byte zero), or 18 zero bytes. Manufacturer descriptors (tags 0x00-0x0F) and
// tags the block's version does not know also read as kind 0, but hold data.
bool SlotIsEmpty(const uint8_t* slot) {
  bool allZero = true;
  bool dummy = true;
  for (unsigned i = 0; i < kSlotLength; ++i) {
    allZero = allZero && slot[i] == 0;
    dummy = dummy && slot[i] == (i == 3 ? kDummyTag : 0);
  }
  return allZero || dummy;
}

}  // namespace

void EdidBaseBlockPage::Refresh() {
  BlockPage::Refresh();
  slotKinds.fill(0);
  slotFilled.fill(false);
  const Edid13Block* model = Model();
  for (int row = 0; row < kGridRows; ++row) {
    const bool isSlot = row >= kFirstSlotRow;
    // The sections have no add or remove button, and the right column is not used.
    if (GridControlState* action = MutableControl(kLeftActionId + row)) action->visible = isSlot;
    for (int base : {kRightItemId, kRightActionId, kRightFrameId}) {
      if (GridControlState* control = MutableControl(base + row)) control->visible = false;
    }
    if (model == nullptr) continue;
    GridControlState* item = MutableControl(kLeftItemId + row);
    if (!isSlot) {
      item->text = kSectionNames[row];
      item->enabled = true;
      continue;
    }
    const unsigned slot = static_cast<unsigned>(row - kFirstSlotRow);
    const unsigned kind = model->GetDescriptorKind(slot);
    const uint8_t* bytes = model->Bytes() + kFirstSlotByte + slot * kSlotLength;
    slotKinds[slot] = kind;
    slotFilled[slot] = kind != 0 || !SlotIsEmpty(bytes);
    GridControlState* action = MutableControl(kLeftActionId + row);
    action->enabled = true;
    action->text = slotFilled[slot] ? "Remove" : "Add Descriptor";
    if (slotFilled[slot]) {
      item->text = Edid13Block::DescriptorKindName(kind);
      // Kind 0 has no editor.
      item->enabled = kind != 0;
    }
  }
  NotifyView();
}

namespace {

// The forms of the section buttons, by grid row.
constexpr const char* kSectionForms[EdidBaseBlockPage::kFirstSlotRow] = {"general", "basic", "color", "established",
                                                                         "standard"};

}  // namespace

void EdidBaseBlockPage::OnLeftItem(int id) {
  const int row = id - kLeftItemId;
  if (row < 0 || row >= kGridRows) return;
  if (row < kFirstSlotRow) {
    OpenForm(kSectionForms[row]);
  } else {
    OpenForm(Format("slot%d", row - kFirstSlotRow + 1));
  }
}

namespace {

// True when a descriptor of `kind` has an editor: every kind but the dummy.
bool KindHasForm(unsigned kind) { return kind != kDescriptorDummy && kind < kDescriptorKindCount; }

// The slot (1-4) a form name "slot1"-"slot4" stands for, or 0.
unsigned SlotOfForm(std::string_view name) {
  if (name.size() != 5 || name.substr(0, 4) != "slot" || name[4] < '1' || name[4] > '4') return 0;
  return static_cast<unsigned>(name[4] - '0');
}

}  // namespace

std::vector<std::string> EdidBaseBlockPage::FormNames() const {
  const Edid13Block* model = Model();
  if (model == nullptr) return {};
  std::vector<std::string> names(std::begin(kSectionForms), std::end(kSectionForms));
  for (unsigned slot = 0; slot < kSlots; ++slot) {
    if (KindHasForm(model->GetDescriptorKind(slot))) names.push_back(Format("slot%u", slot + 1));
  }
  return names;
}

std::unique_ptr<EditorForm> EdidBaseBlockPage::CreateForm(std::string_view name) {
  Edid13Block* model = Model();
  if (model == nullptr) return nullptr;
  const std::string address = FormPrefix() + "." + std::string(name);
  if (name == "general") return std::make_unique<EDIDGenericInfoDlg>(address, *model);
  if (name == "basic") return std::make_unique<EDIDBasicParamsDlg>(address, *model, is14Page);
  if (name == "color") return std::make_unique<EDIDColorCharsDlg>(address, *model);
  if (name == "established") return std::make_unique<EDIDEstTimingsDlg>(address, *model, 0);
  if (name == "standard") return std::make_unique<EDIDStdTimingsDlg>(address, *model, 0);
  // A slot's editor follows the kind its bytes hold now.
  const unsigned slot = SlotOfForm(name);
  if (slot == 0) return nullptr;
  const unsigned kind = model->GetDescriptorKind(slot - 1);
  // Kinds 8-10 exist only in a 1.4 block, whose model is an Edid14Block.
  Edid14Block* model14 = is14Page ? static_cast<Edid14Block*>(model) : nullptr;
  switch (kind) {
    case kDescriptorDetailedTiming:
      return std::make_unique<EDIDDetTimingsDlg>(address, *model, slot);
    case kDescriptorSerialNumber:
    case kDescriptorAsciiString:
    case kDescriptorProductName:
      return std::make_unique<EDIDStringDlg>(address, Edid13Block::DescriptorKindName(kind), *model, slot);
    case kDescriptorRangeLimits:
      return std::make_unique<EDIDRangeLimitsDlg>(address, *model, slot, is14Page);
    case kDescriptorColorPoint:
      return std::make_unique<EDIDColorPointDlg>(address, *model, slot);
    case kDescriptorStandardTimings:
      return std::make_unique<EDIDStdTimingsDlg>(address, *model, slot);
    case kDescriptorColorManagement:
      if (model14 != nullptr) return std::make_unique<EDIDColorMgmtDlg>(address, *model14, slot);
      return nullptr;
    case kDescriptorCvtCodes:
      if (model14 != nullptr) return std::make_unique<EDIDCvt3ByteTimingsDlg>(address, *model14, slot);
      return nullptr;
    case kDescriptorEstablishedTimingsIII:
      return std::make_unique<EDIDEstTimingsDlg>(address, *model, slot);
    default:
      return nullptr;
  }
}

int EdidBaseBlockPage::ActionButton(std::string_view item, bool add) const {
  const unsigned slot = ItemNumber(item, "slot");
  if (slot < 1 || slot > kSlots) return 0;
  return ShownAction(kLeftActionId + kFirstSlotRow + static_cast<int>(slot) - 1, add);
}

void EdidBaseBlockPage::OnLeftAction(int id) {
  Edid13Block* model = Model();
  const int row = id - kLeftActionId;
  if (model == nullptr || ui == nullptr || row < kFirstSlotRow || row >= kGridRows) return;
  const unsigned slot = static_cast<unsigned>(row - kFirstSlotRow);
  if (slotFilled[slot]) {
    const char* name = Edid13Block::DescriptorKindName(slotKinds[slot]);
    if (!ui->AskOkCancel(Format("Removing Descriptor \"%s\"\r\nAre you sure?", name))) return;
    model->ClearDescriptor(slot);
  } else {
    const unsigned choice = ui->SelectItem(this, kContentSelectDescriptor);
    if (choice >= addChoices.size() || addChoices[choice] == 0) return;
    model->CreateDescriptor(addChoices[choice], slot);
  }
  Refresh();
}

void EdidBaseBlockPage::FillContent(CallbackFillContentTgt* target, unsigned kind) {
  const Edid13Block* model = Model();
  if (target == nullptr || model == nullptr || kind != kContentSelectDescriptor) return;
  addChoices.fill(0);
  target->SetTitle("Select Descriptor To Add");
  size_t next = 0;
  for (unsigned descriptorKind = 1; descriptorKind <= 10 && next < addChoices.size(); ++descriptorKind) {
    if (!model->CanAddDescriptor(descriptorKind)) continue;
    target->Append(Edid13Block::DescriptorKindName(descriptorKind));
    addChoices[next++] = descriptorKind;
  }
}

}  // namespace velmar
