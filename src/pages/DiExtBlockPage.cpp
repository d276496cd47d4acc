#include "pages/DiExtBlockPage.h"

#include "blocks/DiExtBlock.h"
#include "dialogs/DIColorPropertiesDlg.h"
#include "dialogs/DIDisplayCapsDlg.h"
#include "dialogs/DIDisplayDeviceDlg.h"
#include "dialogs/DIFormatsAndClockDlg.h"
#include "dialogs/DIGammaDlg.h"
#include "dialogs/DIGenericInfoDlg.h"
#include "util/Format.h"

namespace velmar {

namespace {

const char* SupportedText(bool supported) { return supported ? "Supported" : "Not Supported"; }

const char* InterfaceText(unsigned standard) {
  static const char* const kTexts[11] = {
      "Analog Video Input\r\n",
      "Digital Video Input\r\n",
      "DVI - Single Link\r\n",
      "DVI - Dual Link - High Resolution\r\n",
      "DVI - Dual Link - High Color\r\n",
      "DVI - Consumer Electronics\r\n",
      "Plug & Display\r\n",
      "Digital Flat Panel (DFP)\r\n",
      "Open LDI - Single Link\r\n",
      "Open LDI - Dual Link\r\n",
      "Open LDI - Consumer Electronics\r\n",
  };
  return standard < 11 ? kTexts[standard] : "None\r\n";
}

// A text of `texts` by a code counted from 1; anything else is `other`.
template <size_t N>
const char* CodeText(const char* const (&texts)[N], unsigned code, const char* other) {
  return code >= 1 && code <= N ? texts[code - 1] : other;
}

constexpr char kNotSpecified[] = "Not Specified\r\n";

void AppendGeneralInfo(CallbackFillContentTgt* target, const DiGeneralInfo& info) {
  target->Append("  [General Info]\r\n");
  target->AppendFormatted("  Extension Tag......: 0x%02X\r\n", DiExtBlock::kTag);
  target->AppendFormatted("  Major Version......: %u\r\n", info.version);
  target->Append("  Interface Standard.: ");
  target->Append(InterfaceText(info.interfaceStandard));
  target->Append("  Release Information: ");
  switch (info.releaseKind) {
    case 1:
      target->Append("Version/Release/Revision\r\n");
      target->AppendFormatted("  Version/Release....: %s\r\n",
                            BlockPage::FormatDecimal(1, true, info.versionNumber, 2).c_str());
      target->AppendFormatted("  Revision...........: %s\r\n",
                            BlockPage::FormatDecimal(1, true, info.revisionNumber, 2).c_str());
      break;
    case 2: {
      target->Append("Letter Designation\r\n");
      // A zero byte holds no letter, as it would end the text.
      const std::string letter = info.letter != 0 ? Latin1ToUtf8(std::string(1, static_cast<char>(info.letter)))
                                                  : std::string();
      target->AppendFormatted("  ASCII Letter.......: %s\r\n", letter.c_str());
      break;
    }
    case 3: {
      target->Append("Date Code\r\n");
      // A month without a name is shown by its number, so the date stays readable.
      std::string month = BlockPage::MonthName(info.month);
      if (month.empty()) month = Format("%u", info.month);
      target->AppendFormatted("  Date...............: %u/%s/%u\r\n", info.day, month.c_str(), info.year);
      break;
    }
    default:
      target->Append("Not Present\r\n");
      break;
  }
  target->AppendFormatted("  Checksum...........: 0x%02X\r\n", info.checksum);
}

void AppendFormatAndClock(CallbackFillContentTgt* target, const DiGeneralInfo& info,
                          const DiFormatAndClock& format) {
  target->Append("\r\n  [Data Format and Clock]\r\n");
  if (info.interfaceStandard == 0) {
    target->Append("  Not relevant for Analog Display\r\n");
    return;
  }
  static const char* const kFormats[5] = {
      "8-Bit Over 8-Bit RGB\r\n",
      "12-Bit Over 12-Bit RGB\r\n",
      "24-Bit MSB-Aligned RGB (Single Link)\r\n",
      "48-Bit MSB-Aligned RGB (Dual Link, Hi-Resolution)\r\n",
      "48-Bit MSB-Aligned RGB (Dual Link, Hi-Color})\r\n",
  };
  target->Append("  Data Format.............: ");
  target->Append(format.dataFormatIndex < 5 ? kFormats[format.dataFormatIndex] : "Undefined\r\n");
  if (!format.dataEnableUsed) {
    target->Append("  Data Enable Signal......: Display does not use Data Enable Signal\r\n");
  } else if (format.dataEnableHigh) {
    target->Append("  Data Enable Signal......: Data enabled when the DE signal is high\r\n");
  } else {
    target->Append("  Data Enable Signal......: Data enabled when the DE signal is low\r\n");
  }
  target->AppendFormatted("  HDCP....................: %s\r\n", SupportedText(format.hdcp));
  target->AppendFormatted("  Double Clocking.........: %s\r\n", SupportedText(format.doubleClocking));
  target->AppendFormatted("  Packetized Video........: %s\r\n", SupportedText(format.packetizedVideo));
  static const char* const kEdges[3] = {
      "Display uses Rising Edge\r\n",
      "Display uses Falling Edge\r\n",
      "Display uses both Rising and Falling Edges\r\n",
  };
  target->Append("  Edge of Shift Clock.....: ");
  target->Append(CodeText(kEdges, format.shiftClockEdge, kNotSpecified));
  target->AppendFormatted("  Min Pixel Clock Per Link: %uMHz\r\n", format.minClock);
  target->AppendFormatted("  Max Pixel Clock Per Link: %uMHz\r\n", format.maxClock);
  if (format.crossover == 0xFFFF) {
    target->Append("  Crossover Frequency.....: Not Relevant (Single Link Display)\r\n");
  } else {
    target->AppendFormatted("  Crossover Frequency.....: %uMHz\r\n", format.crossover);
  }
}

void AppendDisplayDevice(CallbackFillContentTgt* target, const DiDisplayDevice& device) {
  target->Append("\r\n  [Display Device Section]\r\n");
  static const char* const kLayouts[4] = {
      "R.G.B\r\n",
      "B.G.R\r\n",
      "Quad Pixel (R,B,2G), G at bottom left & top right\r\n",
      "Quad Pixel (2G,R,B), G at bottom right & top left\r\n",
  };
  target->Append("  Sub-Pixel Layout.......: ");
  target->Append(CodeText(kLayouts, device.layout, kNotSpecified));
  static const char* const kConfigurations[4] = {
      "Delta (Tri-ad)\r\n",
      "Stripe\r\n",
      "Stripe Offset\r\n",
      "Quad Pixel - 4 sub-pixels per displayed pixel\r\n",
  };
  target->Append("  Sub-Pixel Configuration: ");
  target->Append(CodeText(kConfigurations, device.configuration, kNotSpecified));
  static const char* const kShapes[5] = {"Round\r\n", "Square\r\n", "Rectangular\r\n", "Oval\r\n",
                                         "Elliptical\r\n"};
  target->Append("  Sub-Pixel Shape........: ");
  target->Append(CodeText(kShapes, device.shape, kNotSpecified));
  target->AppendFormatted("  Horizontal Pitch.......: %ucm\r\n", device.horizontalPitch);
  target->AppendFormatted("  Vertical Pitch.........: %ucm\r\n", device.verticalPitch);
  static const char* const kViews[3] = {
      "Direct View (e.g. CRT, rear projection, etc.)\r\n",
      "Reflected View (e.g. front projection, etc.)\r\n",
      "Direct & Reflected View (e.g. some projectors, etc.)\r\n",
  };
  target->Append("  View Direction.........: ");
  target->Append(CodeText(kViews, device.viewDirection, kNotSpecified));
  static const char* const kImplementations[3] = {
      "Large Image device for group viewing\r\n",
      "Desktop or personal display\r\n",
      "Eyepiece type personal display\r\n",
  };
  target->Append("  Physical Implementation: ");
  target->Append(CodeText(kImplementations, device.physicalImplementation, kNotSpecified));
  target->AppendFormatted("  Fixed Pixel Format.....: %s Fixed Pixel Format\r\n",
                        device.fixedPixelFormat ? "Display Device has" : "Display Device does not have");
  target->AppendFormatted("  Display Background.....: %s Background\r\n",
                        device.transparentBackground ? "Transparent" : "Non-Transparent");
  target->AppendFormatted("  DDC/CI.................: %s\r\n", SupportedText(device.ddcCi));
}

void AppendDisplayCaps(CallbackFillContentTgt* target, const DiDisplayCaps& caps) {
  target->Append("\r\n  [Display Capabilities]\r\n");
  target->AppendFormatted("  VGA/DOS Legacy Timing Modes....: %s\r\n", SupportedText(caps.legacyTimings));
  target->AppendFormatted("  Scaler On Board................: %s\r\n",
                        caps.scalerOnBoard ? "Present" : "Not Present");
  target->AppendFormatted("  Image Centering................: %s\r\n",
                        caps.imageCentering ? "Available" : "Not Available");
  target->AppendFormatted("  Conditional Update.............: %s\r\n", SupportedText(caps.conditionalUpdate));
  target->AppendFormatted("  Framelock......................: %s\r\n", SupportedText(caps.framelock));
  static const char* const kStereo[3] = {
      "Field Seq. via Stereosync Signal\r\n",
      "Auto-stereoscopic, Column Interleave\r\n",
      "Auto-stereoscopic, Line Interleave\r\n",
  };
  target->Append("  Stereo Video...................: ");
  target->Append(CodeText(kStereo, caps.stereoVideo, "No direct stereo\r\n"));
  if ((caps.frequencyConversion & 1u) != 0) {
    target->AppendFormatted("  Vertical Frequency Conversion..: %sHz\r\n",
                          BlockPage::FormatDecimal(0, true, caps.verticalConversion, 2).c_str());
  } else {
    target->Append("  Vertical Frequency Conversion..: Not Supported\r\n");
  }
  if ((caps.frequencyConversion & 2u) != 0) {
    target->AppendFormatted("  Horizontal Frequency Conversion: %sKHz\r\n",
                          BlockPage::FormatDecimal(0, true, caps.horizontalConversion, 2).c_str());
  } else {
    target->Append("  Horizontal Frequency Conversion: Not Supported\r\n");
  }
  static const char* const kOrientations[3] = {
      "Fixed Orientation (does not rotate)\r\n",
      "Default Orientation (defined for display that is capable of rotation)\r\n",
      "Current Orientation (defined for display that rotates)\r\n",
  };
  target->Append("  Display/Scan Orientation Type..: ");
  target->Append(CodeText(kOrientations, caps.orientationType, kNotSpecified));
  target->AppendFormatted("  Scan Order.....................: %s\r\n",
                        caps.interlacedScan ? "Progresive & Interlaced" : "Progresive Only");
  static const char* const kScanDirections[2] = {"Fast Scan on Long Axis\r\n", "Fast Scan on Short Axis\r\n"};
  target->Append("  Scan Direction.................: ");
  target->Append(CodeText(kScanDirections, caps.scanDirection, kNotSpecified));
  static const char* const kCorners[4] = {"Upper Left Corner\r\n", "Upper Right Corner\r\n",
                                          "Lower Left Corner\r\n", "Lower Right Corner\r\n"};
  target->Append("  Zero (0,0) Pixel Location......: ");
  target->Append(kCorners[caps.zeroPixelLocation & 3u]);
  target->AppendFormatted("  Screen Orientation.............: %s\r\n", caps.portrait ? "Portrait" : "LandScape");
  target->AppendFormatted("  Standalone Projector...........: %s\r\n",
                        caps.projector ? "Projector" : "Not Projector");

  target->Append("  Aspect Ratio Conversion Modes..:");
  const bool modes[4] = {caps.fullMode, caps.zoomMode, caps.squeezeMode, caps.variableMode};
  static const char* const kModes[4] = {"%sFull Mode", "%sZoom Mode", "%sSqueeze Mode", "%sVariable Mode"};
  bool any = false;
  for (unsigned i = 0; i < 4; ++i) {
    if (!modes[i]) continue;
    target->AppendFormatted(kModes[i], any ? ", " : " ");
    any = true;
  }
  target->AppendFormatted("%s\r\n", any ? "" : " None");
}

void AppendColorProperties(CallbackFillContentTgt* target, const DiColorProperties& color) {
  target->Append("\r\n  [Color Properties]\r\n");
  target->AppendFormatted("  Dither Support..............: %s\r\n",
                        color.dithering ? "Display uses Dithering" : "No Dithering");
  target->AppendFormatted("  BGR Color Depth.............: Blue  = %u bpc, Green = %u bpc, Red   = %u bpc\r\n",
                        color.colorDepths[0], color.colorDepths[1], color.colorDepths[2]);
  target->AppendFormatted("  YCrCb/YPbPr Color Depth.....: Cb/Pb = %u bpc, Y     = %u bpc, Cr/Pr = %u bpc\r\n",
                        color.colorDepths[3], color.colorDepths[4], color.colorDepths[5]);
  static const char* const kDefaults[14] = {
      "BGR (additive color)\r\n",   "Y/C (S-Video) NTSC\r\n",         "Y/C (S-Video) PAL\r\n",
      "Y/C (S-Video) SECAM\r\n",    "YCrCb 4:4:4\r\n",                "YCrCb 4:2:2\r\n",
      "YCrCb 4:2:0\r\n",            "YCrCb (SMPTE 260M)\r\n",         "YPbPr (SMPTE 240M)\r\n",
      "YCrCb (SMPTE 274M)\r\n",     "YPbPr (SMPTE 274M)\r\n",         "Y B-Y R-Y BetaCam (Sony)\r\n",
      "Y B-Y R-Y M-2 (Matsushita)\r\n", "Monochrome\r\n",
  };
  target->Append("  Default Color Decoding......: ");
  target->Append(CodeText(kDefaults, color.defaultDecoding, kNotSpecified));
  static const char* const kPreferred[4] = {"BGR (additive color)\r\n", "Y/C (S-Video)\r\n",
                                            "Yxx (SMPTE 2xxM)\r\n", "Monochrome\r\n"};
  target->Append("  Preferred Color Decoding....: ");
  target->Append(CodeText(kPreferred, color.preferredDecoding, kNotSpecified));
  target->Append("  Supported Color Decodings\r\n");
  static const char* const kDecodings[kDiDecodingCount] = {
      "    BGR (additive color)......: %sSupported\r\n", "    Y/C (S-Video) NTSC........: %sSupported\r\n",
      "    Y/C (S-Video) PAL.........: %sSupported\r\n", "    Y/C (S-Video) SECAM.......: %sSupported\r\n",
      "    YCrCb 4:4:4...............: %sSupported\r\n", "    YCrCb 4:2:2...............: %sSupported\r\n",
      "    YCrCb 4:2:0...............: %sSupported\r\n", "    YCrCb (SMPTE 260M)........: %sSupported\r\n",
      "    YPbPr (SMPTE 240M)........: %sSupported\r\n", "    YCrCb (SMPTE 274M)........: %sSupported\r\n",
      "    YPbPr (SMPTE 274M)........: %sSupported\r\n", "    Y B-Y R-Y BetaCam (Sony)..: %sSupported\r\n",
      "    Y B-Y R-Y M-2 (Matsushita): %sSupported\r\n", "    Monochrome................: %sSupported\r\n",
  };
  for (unsigned i = 0; i < kDiDecodingCount; ++i) {
    target->AppendFormatted(kDecodings[i], color.decodings[i] ? "" : "Not ");
  }
}

void AppendGamma(CallbackFillContentTgt* target, const DiGamma& gamma) {
  target->Append("\r\n  [Gamma Section]\r\n");
  target->Append("  Gamma Curve Type..........: ");
  if (gamma.curveType == 1) {
    target->Append("Single White Curve\r\n");
    target->AppendFormatted("  Number of Points..........: %u\r\n", gamma.pointCount);
    // The data area holds 45 points whatever the count says.
    for (unsigned i = 0; i < gamma.pointCount && i < kDiGammaPointCount; ++i) {
      target->AppendFormatted("    Data Point[%u]...........: White = %3u\r\n", i, gamma.points[i]);
    }
  } else if (gamma.curveType == 2) {
    target->Append("3 Separate Color Curves (BGR)\r\n");
    target->AppendFormatted("  Number of Points per Color: %u\r\n", gamma.pointCount);
    constexpr unsigned kPer = kDiGammaPointsPerColor;
    for (unsigned i = 0; i < gamma.pointCount && i < kPer; ++i) {
      target->AppendFormatted("    Data Point[%u]...........: Blue = %3u, Green = %3u, Red = %3u\r\n", i,
                            gamma.points[i], gamma.points[i + kPer], gamma.points[i + 2 * kPer]);
    }
  } else {
    target->Append(kNotSpecified);
  }
}

}  // namespace

DiExtBlockPage::DiExtBlockPage(unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage("DI ExtBlock", index, pageOwner, pageUi) {}

bool DiExtBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (data != nullptr && available >= kBlockSize && data[0] == DiExtBlock::kTag) {
    block = std::make_unique<DiExtBlock>(offset, data, available, owner);
  }
  return FinishAttach(data);
}

DiExtBlock* DiExtBlockPage::Model() const { return static_cast<DiExtBlock*>(block.get()); }

void DiExtBlockPage::AppendSummary(CallbackFillContentTgt* target) {
  const DiExtBlock* model = Model();
  if (model == nullptr || target == nullptr) return;
  DiGeneralInfo info;
  model->GetGeneralInfo(info);
  DiFormatAndClock format;
  model->GetFormatAndClock(format);
  DiDisplayDevice device;
  model->GetDisplayDevice(device);
  DiDisplayCaps caps;
  model->GetDisplayCaps(caps);
  DiColorProperties color;
  model->GetColorProperties(color);
  DiGamma gamma;
  model->GetGamma(gamma);

  target->Append("\r\n\r\n[EDID DI EXTENSION BLOCK]\r\n");
  AppendGeneralInfo(target, info);
  AppendFormatAndClock(target, info, format);
  AppendDisplayDevice(target, device);
  AppendDisplayCaps(target, caps);
  AppendColorProperties(target, color);
  AppendGamma(target, gamma);
}

unsigned DiExtBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

void DiExtBlockPage::Refresh() {
  BlockPage::Refresh();
  constexpr int kSections = sizeof kSectionNames / sizeof kSectionNames[0];
  for (int row = 0; row < kGridRows; ++row) {
    const bool used = row < kSections;
    if (GridControlState* item = MutableControl(kLeftItemId + row)) {
      item->visible = used;
      if (used && block != nullptr) {
        item->text = kSectionNames[row];
        item->enabled = true;
      }
    }
    if (GridControlState* frame = MutableControl(kLeftFrameId + row)) frame->visible = used;
    // No section is added or removed, and the right column has nothing to show.
    for (int base : {kLeftActionId, kRightItemId, kRightActionId, kRightFrameId}) {
      if (GridControlState* control = MutableControl(base + row)) control->visible = false;
    }
  }
  NotifyView();
}

void DiExtBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                  std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

void DiExtBlockPage::OnLeftItem(int id) {
  const int row = id - kLeftItemId;
  constexpr int kSections = sizeof kSectionForms / sizeof kSectionForms[0];
  if (row >= 0 && row < kSections) OpenForm(kSectionForms[row]);
}

std::string DiExtBlockPage::FormPrefix() const { return Format("di%u", blockIndex); }

std::vector<std::string> DiExtBlockPage::FormNames() const {
  if (Model() == nullptr) return {};
  return {std::begin(kSectionForms), std::end(kSectionForms)};
}

std::unique_ptr<EditorForm> DiExtBlockPage::CreateForm(std::string_view name) {
  DiExtBlock* model = Model();
  if (model == nullptr) return nullptr;
  std::string address = FormPrefix() + "." + std::string(name);
  if (name == "general") return std::make_unique<DIGenericInfoDlg>(std::move(address), *model);
  if (name == "format") return std::make_unique<DIFormatsAndClockDlg>(std::move(address), *model);
  if (name == "device") return std::make_unique<DIDisplayDeviceDlg>(std::move(address), *model);
  if (name == "caps") return std::make_unique<DIDisplayCapsDlg>(std::move(address), *model);
  if (name == "color") return std::make_unique<DIColorPropertiesDlg>(std::move(address), *model);
  if (name == "gamma") return std::make_unique<DIGammaDlg>(std::move(address), *model);
  return nullptr;
}

}  // namespace velmar
