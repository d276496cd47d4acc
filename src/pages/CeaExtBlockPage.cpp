#include "pages/CeaExtBlockPage.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/UserInterface.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DetailedTiming.h"
#include "blocks/HdmiVicTable.h"
#include "blocks/VideoFormatTable.h"
#include "dialogs/CEAAudioDescriptorsDlg.h"
#include "dialogs/CEAColorimetryDlg.h"
#include "dialogs/CEAGenericDataBlockDlg.h"
#include "dialogs/CEAGenericInfoDlg.h"
#include "dialogs/CEAHdmiVsdbDlg.h"
#include "dialogs/CEASVDTimingsDlg.h"
#include "dialogs/CEASpeakersDlg.h"
#include "dialogs/CEAVideoCapsDlg.h"
#include "dialogs/EDIDDetTimingsDlg.h"
#include "util/Format.h"

namespace velmar {

namespace {

const char* YesNo(bool flag) { return flag ? "Yes" : "No"; }

const char* ScanLetter(const VideoFormat& format) { return format.progressive ? "p" : "i"; }

const char* HeightGap(unsigned height) { return height < 999 ? " " : ""; }

void AppendGeneralInfo(const CeaExtBlock& model, CallbackFillContentTgt* target) {
  CeaGeneralInfo info;
  model.GetGeneralInfo(info);
  target->Append("  [General Info]\r\n");
  target->AppendFormatted("  Extension Tag.............: 0x%02X\r\n", CeaExtBlock::kTag);
  target->AppendFormatted("  Version...................: %u\r\n", model.GetVersion());
  target->AppendFormatted("  Number Of Data Blocks.....: %u\r\n", info.dataBlockCount);
  if (info.reportedDtdCount == info.dtdCount) {
    target->AppendFormatted("  Number Of Detailed Timings: %u\r\n", info.dtdCount);
  } else {
    target->Append(
        Format("  Number Of Detailed Timings: %u (Reported %u)\r\n", info.dtdCount, info.reportedDtdCount));
  }
  if (info.dtdCount > 0) target->AppendFormatted("  Start of Timing Data......: byte %u\r\n", info.dtdOffset);
  target->Append(
      Format("  Available space in Block..: %u bytes\r\n", info.freeInCollection + info.freeAfterDtds));
  target->AppendFormatted("  YCbCr 4:2:2 Format........: %sSupported\r\n", info.ycbcr422 ? "" : "Not ");
  target->AppendFormatted("  YCbCr 4:4:4 Format........: %sSupported\r\n", info.ycbcr444 ? "" : "Not ");
  target->AppendFormatted("  Basic Audio...............: %sSupported\r\n", info.basicAudio ? "" : "Not ");
  target->Append(info.underscan
                     ? "  Default IT Underscan......: Underscans IT video formats by default\r\n"
                     : "  Default IT Underscan......: Does not underscans IT video formats by default\r\n");
  target->AppendFormatted("  Checksum..................: 0x%02X\r\n", model.GetChecksum());
}

void AppendVideoDataBlock(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  ShortVideoDescriptorList list;
  model.GetVideoDataBlock(index, list);
  // The line of every known VIC, plain and native: formatted once.
  static const std::array<std::array<std::string, 2>, 256> kLines = [] {
    std::array<std::array<std::string, 2>, 256> lines;
    for (unsigned vic = 0; vic < 256; ++vic) {
      const VideoFormat* format = VideoFormatTable::Find(vic);
      if (format == nullptr) continue;
      for (unsigned native = 0; native < 2; ++native) {
        lines[vic][native] = Format("  CEA[%02u]: %4u x %u%s%s at %3uHz, %s%s\r\n", vic, format->DisplayedWidth(),
                                    static_cast<unsigned>(format->height), ScanLetter(*format),
                                    HeightGap(format->height), static_cast<unsigned>(format->refreshHz),
                                    format->aspect == PictureAspect::Aspect16x9 ? "16x9" : " 4x3",
                                    native != 0 ? ", [native]" : "");
      }
    }
    return lines;
  }();
  bool written = false;
  for (unsigned i = 0; i < list.count; ++i) {
    const ShortVideoDescriptor& svd = list.entries[i];
    if (VideoFormatTable::Find(svd.vic) == nullptr) continue;
    target->Append(kLines[svd.vic][svd.native ? 1 : 0]);
    written = true;
  }
  if (!written) target->Append("  No SVD Timings in this section\r\n");
}

const char* AudioFormatLabel(unsigned code) {
  static const char* const kLabels[15] = {
      "  Unknown Format(0).......: ", "  LPCM(1).................: ", "  AC-3(2).................: ",
      "  MPEG-1(3)...............: ", "  MP3(4)..................: ", "  MPEG2(5)................: ",
      "  AAC LC(6)...............: ", "  DTS(7)..................: ", "  ATRAC(8)................: ",
      "  DSD(9)..................: ", "  E-AC-3(10)..............: ", "  DTS-HD(11)..............: ",
      "  MLP(12).................: ", "  DST(13).................: ", "  WMA-Pro(14).............: "};
  return code < 15 ? kLabels[code] : "";
}

void AppendAudioDataBlock(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  ShortAudioDescriptorList list;
  model.GetAudioDataBlock(index, list);
  for (unsigned i = 0; i < list.count; ++i) {
    const ShortAudioDescriptor& sad = list.entries[i];
    std::string line;
    if (sad.formatCode < 15) {
      line = AudioFormatLabel(sad.formatCode);
    } else if (sad.formatValue == 1) {
      line = "  HE-AAC(15:1)(E).........: ";
    } else if (sad.formatValue == 2) {
      line = "  HE-AACv2(15:2)(E).......: ";
    } else if (sad.formatValue == 3) {
      line = "  MPEG Surround(15:3)(E)..: ";
    } else {
      line = Format("  Unknown Format(15:%02u)(E): ", sad.formatValue);
    }
    AppendFormat(line, "%u-channel", sad.channels);
    static const char* const kRates[7] = {"%s32kHz", "%s44.1kHz", "%s48kHz", "%s88.2kHz",
                                          "%s96kHz", "%s176.4kHz", "%s192kHz"};
    bool first = true;
    for (unsigned bit = 0; bit < 7; ++bit) {
      if ((sad.sampleRates & (1u << bit)) == 0) continue;
      line += Format(kRates[bit], first ? ", " : "/");
      first = false;
    }
    if (sad.formatCode == 1) {
      static const char* const kSizes[3] = {"%s16", "%s20", "%s24"};
      first = true;
      for (unsigned bit = 0; bit < 3; ++bit) {
        if ((sad.formatValue & (1u << bit)) == 0) continue;
        line += Format(kSizes[bit], first ? ", BitRates: " : "/");
        first = false;
      }
    } else if (sad.formatCode >= 2 && sad.formatCode <= 8) {
      AppendFormat(line, ", BitRate %u", sad.formatValue);
    } else if (sad.formatCode >= 9 && sad.formatCode <= 13) {
      AppendFormat(line, ", Audio Format Dependent Value %u", sad.formatValue);
    } else if (sad.formatCode == 14) {
      AppendFormat(line, ", Profile %u", sad.formatValue);
    }
    line += "\r\n";
    target->Append(line);
  }
  target->Append(list.count > 0 ? "  NOTE: E = Extended Audio Format Code\r\n"
                                : "  No Short Audio descriptors present\r\n");
}

void AppendGenericDataBlock(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  GenericDataBlock generic;
  model.GetGenericDataBlock(index, generic);
  if (CeaKindHasOui(model.GetDataBlockKind(index))) {
    target->AppendFormatted("  IEEE Registration ID: 0x%06X\r\n", generic.OuiValue());
  }
  target->AppendFormatted("  Number Of Data Bytes: %u\r\n", generic.length);
  for (unsigned first = 0; first < generic.length; first += 8) {
    const unsigned last = std::min(first + 7, generic.length - 1);
    std::string row = Format("  Data Bytes   %2u - %-2u: 0x%02X", first, last, generic.data[first]);
    for (unsigned i = first + 1; i <= last; ++i) AppendFormat(row, ", 0x%02X", generic.data[i]);
    row += "\r\n";
    target->Append(row);
  }
}

void AppendSpeakerAllocation(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  SpeakerAllocation s;
  model.GetSpeakerAllocation(index, s);
  target->Append("  Front High\r\n");
  target->AppendFormatted("    (FLH) Left................: %s\r\n", YesNo(s.flhFrh));
  target->AppendFormatted("    (FCH) Center..............: %s\r\n", YesNo(s.fch));
  target->AppendFormatted("    (FRH) Right...............: %s\r\n", YesNo(s.flhFrh));
  target->Append("  Front\r\n");
  target->AppendFormatted("    (FLW) Left Wide...........: %s\r\n", YesNo(s.flwFrw));
  target->AppendFormatted("    (FL)  Left................: %s\r\n", YesNo(s.flFr));
  target->AppendFormatted("    (FLC) Left Center.........: %s\r\n", YesNo(s.flcFrc));
  target->AppendFormatted("    (FC)  Center..............: %s\r\n", YesNo(s.fc));
  target->AppendFormatted("    (FRC) Right Center........: %s\r\n", YesNo(s.flcFrc));
  target->AppendFormatted("    (FR)  Right...............: %s\r\n", YesNo(s.flFr));
  target->AppendFormatted("    (FRW) Right Wide..........: %s\r\n", YesNo(s.flwFrw));
  target->Append("  Rear\r\n");
  target->AppendFormatted("    (RL)  Left................: %s\r\n", YesNo(s.rlRr));
  target->AppendFormatted("    (RLC) Left Center.........: %s\r\n", YesNo(s.rlcRrc));
  target->AppendFormatted("    (RC)  Center..............: %s\r\n", YesNo(s.rc));
  target->AppendFormatted("    (RRC) Right Center........: %s\r\n", YesNo(s.rlcRrc));
  target->AppendFormatted("    (RR)  Right...............: %s\r\n", YesNo(s.rlRr));
  target->Append("  Other\r\n");
  target->AppendFormatted("    (TC)  Top Center..........: %s\r\n", YesNo(s.tc));
  target->AppendFormatted("    (LFE) Low Frequency Effect: %s\r\n", YesNo(s.lfe));
}

void AppendColorimetry(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  ColorimetryFlags c;
  model.GetColorimetry(index, c);
  target->AppendFormatted("  xvYCC-601....: %s\r\n", YesNo(c.xvYcc601));
  target->AppendFormatted("  xvYCC-709....: %s\r\n", YesNo(c.xvYcc709));
  target->AppendFormatted("  sYCC-601.....: %s\r\n", YesNo(c.sYcc601));
  target->AppendFormatted("  Adobe YCC-601: %s\r\n", YesNo(c.adobeYcc601));
  target->AppendFormatted("  Adobe RGB....: %s\r\n", YesNo(c.adobeRgb));
  target->AppendFormatted("  MD Profile 0.: %s\r\n", YesNo(c.metadataProfile0));
  target->AppendFormatted("  MD Profile 1.: %s\r\n", YesNo(c.metadataProfile1));
  target->AppendFormatted("  MD Profile 2.: %s\r\n", YesNo(c.metadataProfile2));
  target->AppendFormatted("  MD Profile 3.: %s\r\n", YesNo(c.metadataProfile3));
}

void AppendVideoCapability(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  VideoCapability v;
  model.GetVideoCapability(index, v);
  target->AppendFormatted("  CE Overscan/Underscan............: %s\r\n", ScanBehaviourName(v.ceScan));
  target->AppendFormatted("  IT Overscan/Underscan............: %s\r\n", ScanBehaviourName(v.itScan));
  target->AppendFormatted("  PT (preferred) Overscan/Underscan: %s\r\n", ScanBehaviourName(v.ptScan));
  target->AppendFormatted("  RGB Quantization Range Selectable: %s\r\n",
                        v.rgbQuantSelectable ? "Selectable (via AVI Q)" : "No Data");
  target->AppendFormatted("  YCC Quantization Range...........: %s\r\n",
                        v.yccQuantSelectable ? "Full Range" : "Limited Range");
}

// One line naming `vic` with the stereo structures `formats`; nothing (false)
// for a VIC outside the table or an empty set. `sideBySideDetail` >= 0 adds the
// parameter of a detailed side-by-side entry.
bool Append3DLine(CallbackFillContentTgt* target, unsigned vic, unsigned formats, int sideBySideDetail = -1) {
  const VideoFormat* format = VideoFormatTable::Find(vic);
  if (format == nullptr || (formats & 7) == 0) return false;
  std::string line = Format("    CEA[%02u]: %4u x %u%s%s at %3uHz", vic, format->DisplayedWidth(),
                            static_cast<unsigned>(format->height), ScanLetter(*format), HeightGap(format->height),
                            static_cast<unsigned>(format->refreshHz));
  const unsigned mandatory = Mandatory3DFormats(vic);
  auto primary = [&](unsigned bit) { return (mandatory & bit) != 0 ? "(P)" : ""; };
  if (formats & k3DFramePacking) AppendFormat(line, ", Frame Packing%s%s", primary(k3DFramePacking), "");
  if (formats & k3DSideBySide) {
    const std::string param = sideBySideDetail >= 0 ? Format(" [param %u]", unsigned(sideBySideDetail)) : "";
    AppendFormat(line, ", Side-by-Side%s%s", primary(k3DSideBySide), param.c_str());
  }
  if (formats & k3DTopAndBottom) AppendFormat(line, ", Top-and-Bottom%s%s", primary(k3DTopAndBottom), "");
  line += "\r\n";
  target->Append(line);
  return true;
}

// The three texts of one latency line: no data, not supported, and the
// format of a value in ms.
struct LatencyTexts {
  const char* noData;
  const char* notSupported;
  const char* inMs;
};

constexpr LatencyTexts kLatencyTexts[4] = {
    {"    Video Latency............: No Data\r\n", "    Video Latency............: Video Not Supported\r\n",
     "    Video Latency............: %u ms\r\n"},
    {"    Audio Latency............: No Data\r\n", "    Audio Latency............: Audio Not Supported\r\n",
     "    Audio Latency............: %u ms\r\n"},
    {"    Interlace Video Latency..: No Data\r\n",
     "    Interlace Video Latency..: Interlace Video Not Supported\r\n",
     "    Interlace Video Latency..: %u ms\r\n"},
    {"    Interlace Audio Latency..: No Data\r\n",
     "    Interlace Audio Latency..: Interlace Audio Not Supported\r\n",
     "    Interlace Audio Latency..: %u ms\r\n"},
};

void AppendLatency(CallbackFillContentTgt* target, const HdmiVsdb& vsdb, unsigned which) {
  const LatencyTexts& texts = kLatencyTexts[which];
  if (vsdb.latencyKind[which] == kLatencyNotSupported) {
    target->Append(texts.notSupported);
  } else if (vsdb.latencyKind[which] == kLatencyInMs) {
    target->AppendFormatted(texts.inMs, vsdb.latencyMs[which]);
  } else {
    target->Append(texts.noData);
  }
}

void AppendHdmiVic(CallbackFillContentTgt* target, const HdmiVicFormat& f) {
  const unsigned w = f.width;
  const unsigned h = f.height;
  target->AppendFormatted("    HDMI[%02u]: %4u x %up%s at %3uHz, %.2fMHz\r\n", unsigned(f.vic), w, h, HeightGap(h),
                        unsigned(f.refreshHz), f.clockKHz / 1000.0);
  target->Append("                  Addressable -> Sync Start -> Sync End -> Total\r\n");
  target->AppendFormatted("      Line......: %-11u -> %-10u -> %-8u -> %-5u\r\n", w, w + f.hFrontPorch,
                        w + f.hFrontPorch + f.hSync, w + f.hBlank);
  target->AppendFormatted("      Frame.....: %-11u -> %-10u -> %-8u -> %-5u\r\n", h, h + f.vFrontPorch,
                        h + f.vFrontPorch + f.vSync, h + f.vBlank);
}

void AppendHdmiVsdb(const CeaExtBlock& model, unsigned index, CallbackFillContentTgt* target) {
  HdmiVsdb v;
  model.GetHdmiVsdb(index, v);
  target->AppendFormatted("  IEEE Registration ID.......: 0x%06X\r\n", kHdmiOui);
  target->AppendFormatted("  Number Of Data Bytes.......: %u\r\n", v.payloadSize);
  target->AppendFormatted("  Source Physical Address....: %u.%u.%u.%u\r\n", v.physA, v.physB, v.physC, v.physD);
  if (v.hasFeatures) {
    target->Append("  Features (Byte 6)..........:\r\n");
    target->AppendFormatted("    Dual-link DVI Operation..: %s\r\n", YesNo(v.dviDual));
    target->AppendFormatted("    AI (ACP/ISRC packets)....: %s\r\n", YesNo(v.supportsAi));
    target->AppendFormatted("    Deep Color YcbCr 4:4:4...: %s\r\n", YesNo(v.deepColorY444));
    target->AppendFormatted("    Deep Color RGB 30bpp.....: %s\r\n", YesNo(v.deepColor30));
    target->AppendFormatted("    Deep Color RGB 36bpp.....: %s\r\n", YesNo(v.deepColor36));
    target->AppendFormatted("    Deep Color RGB 48bpp.....: %s\r\n", YesNo(v.deepColor48));
  } else {
    target->Append("  Features (Byte 6)..........: Not Present\r\n");
  }
  if (v.hasMaxTmds) {
    target->AppendFormatted("  Max TMDS Pixel Clock.......: %uMHz\r\n", v.maxTmdsMHz);
  } else {
    target->Append("  Max TMDS Pixel Clock.......: Not Present\r\n");
  }
  if (v.hasContentFlags) {
    target->Append("  Flags (Byte 8).............:\r\n");
    target->AppendFormatted("    CN0 (Graphics/Text)......: %s\r\n", YesNo(v.cnc0));
    target->AppendFormatted("    CN1 (Photo)..............: %s\r\n", YesNo(v.cnc1));
    target->AppendFormatted("    CN2 (Cinema).............: %s\r\n", YesNo(v.cnc2));
    target->AppendFormatted("    CN3 (Game)...............: %s\r\n", YesNo(v.cnc3));
  } else {
    target->Append("  Flags (Byte 8).............: Not Present\r\n");
  }
  if (v.hasLatency) {
    target->Append("  Video/Audio Latency........:\r\n");
    AppendLatency(target, v, kLatencyVideo);
    AppendLatency(target, v, kLatencyAudio);
  } else {
    target->Append("  Video/Audio Latency........: Not Present\r\n");
  }
  if (v.hasInterlacedLatency) {
    AppendLatency(target, v, kLatencyInterlacedVideo);
    AppendLatency(target, v, kLatencyInterlacedAudio);
  }
  if (!v.hasHdmiVideo) {
    target->Append("  Extended Capabilities......: Not Present\r\n");
    return;
  }
  target->Append("  Extended Capabilities......: Present (below)\r\n");
  static const char* const kImageSizes[4] = {
      "  Image Size Type............: No Additional Information\r\n",
      "  Image Size Type............: Indicates correct Aspect Ratio\r\n",
      "  Image Size Type............: Indicates correct in 1 cm units\r\n",
      "  Image Size Type............: Indicates correct in 5 cm units\r\n"};
  target->Append(kImageSizes[v.imageSize & 3]);

  ShortVideoDescriptorList all;
  model.GetAllShortVideoDescriptors(all);
  bool any3DLine = false;

  if (v.present3D) {
    target->Append("  Mandatory Stereo 3D Support:\r\n");
    bool written = false;
    for (unsigned i = 0; i < all.count; ++i) {
      written |= Append3DLine(target, all.entries[i].vic, Mandatory3DFormats(all.entries[i].vic));
    }
    if (!written) target->Append("    None\r\n");
    any3DLine |= written;
  } else {
    target->Append("  Mandatory Stereo 3D Support: Not Present\r\n");
  }

  if (v.multi3D == 0) {
    target->Append("  Extended Stereo 3D Support.: Not Present\r\n");
  } else if (v.multi3D == 1) {
    target->Append("  Extended Stereo 3D Support.: First 16 SVD support 3D formats below\r\n");
    std::string line;
    static const char* const kNames[3] = {"%sFrame Packing", "%sSide-by-Side", "%sTop-and-Bottom"};
    for (unsigned bit = 0; bit < 3; ++bit) {
      if ((v.structureAll3D & (1u << bit)) == 0) continue;
      line += Format(kNames[bit], line.empty() ? "    " : ", ");
    }
    line += Format("%s\r\n", line.empty() ? "    None" : "");
    target->Append(line);
  } else if (v.multi3D == 2) {
    target->Append("  Extended Stereo 3D Support.:\r\n");
    bool written = false;
    for (unsigned i = 0; i < 16 && i < all.count; ++i) {
      if (((v.mask3D >> i) & 1u) == 0 || all.entries[i].vic == 0) continue;
      written |= Append3DLine(target, all.entries[i].vic, v.structureAll3D);
    }
    if (!written) target->Append("    None\r\n");
    any3DLine |= written;
  }

  if (v.detailed3DCount > 0) {
    target->AppendFormatted("  Detailed Stereo 3D Support.: %u entries\r\n", v.detailed3DCount);
    bool written = false;
    for (unsigned e = 0; e < v.detailed3DCount; ++e) {
      const Hdmi3DEntry& entry = v.detailed3D[e];
      if (entry.vicIndex >= all.count || all.entries[entry.vicIndex].vic == 0) continue;
      const unsigned format = entry.kind == k3DKindFramePacking   ? k3DFramePacking
                              : entry.kind == k3DKindSideBySide   ? k3DSideBySide
                              : entry.kind == k3DKindTopAndBottom ? k3DTopAndBottom
                                                                  : 0;
      const int detail = entry.kind == k3DKindSideBySide ? static_cast<int>(entry.detail) : -1;
      written |= Append3DLine(target, all.entries[entry.vicIndex].vic, format, detail);
    }
    if (!written) target->Append("    None\r\n");
    any3DLine |= written;
  } else {
    target->Append("  Detailed Stereo 3D Support.: Not Present\r\n");
  }

  if (v.hdmiVicCount > 0) {
    target->AppendFormatted("  HDMI Video formats.........: %u entries\r\n", v.hdmiVicCount);
    bool written = false;
    for (unsigned i = 0; i < v.hdmiVicCount; ++i) {
      if (const HdmiVicFormat* format = HdmiVicTable::Find(v.hdmiVics[i].vic)) {
        AppendHdmiVic(target, *format);
        written = true;
      }
    }
    if (!written) target->Append("    None\r\n");
  } else {
    target->Append("  HDMI Video Modes...........: Not Present\r\n");
  }

  if (any3DLine || v.multi3D == 1) target->Append("  NOTE: P = Primary 3D Video Format\r\n");
}

}  // namespace

CeaExtBlockPage::CeaExtBlockPage(unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage("CEA ExtBlock", index, pageOwner, pageUi) {}

bool CeaExtBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (data != nullptr) block = std::make_unique<CeaExtBlock>(offset, data, available, owner);
  return FinishAttach(data);
}

CeaExtBlock* CeaExtBlockPage::Model() const { return static_cast<CeaExtBlock*>(block.get()); }

unsigned CeaExtBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

void CeaExtBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                   std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

void CeaExtBlockPage::CollectModes(CallbackFillContentTgt* sink) const {
  if (block != nullptr) block->CollectModes(sink);
}

void CeaExtBlockPage::GetLargestMode(unsigned& width, unsigned& height) const {
  if (const CeaExtBlock* model = Model()) model->GetLargestMode(width, height);
}

void CeaExtBlockPage::AppendSummary(CallbackFillContentTgt* target) {
  const CeaExtBlock* model = Model();
  if (model == nullptr || target == nullptr) return;
  target->Append("\r\n\r\n[EDID CEA EXTENSION BLOCK]\r\n");
  AppendGeneralInfo(*model, target);
  for (unsigned i = 0; i < model->DtdCount(); ++i) {
    target->AppendFormatted("\r\n  [Detailed Timing %u]\r\n", i);
    DetailedTiming timing;
    model->GetDetailedTiming(i, timing);
    AppendDetailedTiming(target, timing);
  }
  for (unsigned j = 0; j < model->DataBlockCount(); ++j) {
    const unsigned kind = model->GetDataBlockKind(j);
    target->AppendFormatted("\r\n  [Datablock %u: %s]\r\n", j, CeaDataBlockKindName(kind));
    switch (kind) {
      case kCeaKindAudio: AppendAudioDataBlock(*model, j, target); break;
      case kCeaKindVideo: AppendVideoDataBlock(*model, j, target); break;
      case kCeaKindHdmiVsdb: AppendHdmiVsdb(*model, j, target); break;
      case kCeaKindSpeakerAllocation: AppendSpeakerAllocation(*model, j, target); break;
      case kCeaKindVideoCapability: AppendVideoCapability(*model, j, target); break;
      case kCeaKindColorimetry: AppendColorimetry(*model, j, target); break;
      case kCeaKindDummy: break;
      default: AppendGenericDataBlock(*model, j, target); break;
    }
  }
}

// ---------------------------------------------------------------------------
// Rows and the add and remove buttons

void CeaExtBlockPage::Refresh() {
  BlockPage::Refresh();
  dtdRows = 0;
  dataBlockRows = 0;
  rowKinds.fill(0);
  const CeaExtBlock* model = Model();
  if (model == nullptr) {
    NotifyView();
    return;
  }
  CeaGeneralInfo info;
  model->GetGeneralInfo(info);
  dtdRows = std::min(info.dtdCount, CeaExtBlock::kMaxDtds);
  dataBlockRows = std::min(info.dataBlockCount, static_cast<unsigned>(kGridRows));

  auto set = [this](int id, const std::string& text, bool enabled) {
    if (GridControlState* control = MutableControl(id)) {
      control->text = text;
      control->enabled = enabled;
      control->visible = true;
    }
  };
  set(kLeftItemId, "General Info", true);
  if (GridControlState* side = MutableControl(kLeftActionId)) side->visible = false;
  for (unsigned i = 0; i < dtdRows; ++i) {
    const int row = static_cast<int>(i) + 1;
    set(kLeftItemId + row, Format("Detailed Timing %u", i), true);
    set(kLeftActionId + row, "Remove", true);
  }
  if (model->CanAddDetailedTiming() && dtdRows + 1 < static_cast<unsigned>(kGridRows)) {
    set(kLeftActionId + static_cast<int>(dtdRows) + 1, "Add DTD", true);
  }
  for (unsigned j = 0; j < dataBlockRows; ++j) {
    const unsigned kind = model->GetDataBlockKind(j);
    rowKinds[j] = kind;
    // A block of no known kind has no editor, but can be removed.
    set(kRightItemId + static_cast<int>(j), CeaDataBlockKindName(kind), kind != 0);
    set(kRightActionId + static_cast<int>(j), "Remove", true);
  }
  if (model->CanAddDataBlock() && dataBlockRows < static_cast<unsigned>(kGridRows)) {
    set(kRightActionId + static_cast<int>(dataBlockRows), "Add DataBlock", true);
  }
  NotifyView();
}

int CeaExtBlockPage::ActionButton(std::string_view item, bool add) const {
  if (add) {
    if (item == "dtd") return ShownAddAction(kLeftActionId);
    if (item == "db") return ShownAddAction(kRightActionId);
    return 0;
  }
  // The DTD rows start below "General Info"; the data block rows at the top.
  if (const unsigned dtd = ItemNumber(item, "dtd"); dtd >= 1 && dtd < static_cast<unsigned>(kGridRows)) {
    return ShownAction(kLeftActionId + static_cast<int>(dtd), false);
  }
  if (const unsigned db = ItemNumber(item, "db"); db >= 1 && db <= static_cast<unsigned>(kGridRows)) {
    return ShownAction(kRightActionId + static_cast<int>(db) - 1, false);
  }
  return 0;
}

void CeaExtBlockPage::OnLeftAction(int id) {
  CeaExtBlock* model = Model();
  const int row = id - kLeftActionId;
  if (model == nullptr || ui == nullptr || row < 1 || row >= kGridRows) return;
  const unsigned index = static_cast<unsigned>(row - 1);
  if (index < dtdRows) {
    if (!ui->AskOkCancel(Format("Removing DTD %u\r\nAre you sure?", index))) return;
    model->RemoveDetailedTiming(index);
  } else if (index == dtdRows && model->CanAddDetailedTiming()) {
    model->AddDetailedTiming();
  } else {
    return;
  }
  Refresh();
}

void CeaExtBlockPage::OnRightAction(int id) {
  CeaExtBlock* model = Model();
  const int row = id - kRightActionId;
  if (model == nullptr || ui == nullptr || row < 0 || row >= kGridRows) return;
  const unsigned index = static_cast<unsigned>(row);
  if (index < dataBlockRows) {
    if (!ui->AskOkCancel(Format("Removing DTD \"%s\"\r\nAre you sure?", CeaDataBlockKindName(rowKinds[index])))) {
      return;
    }
    model->RemoveDataBlock(index);
  } else if (index == dataBlockRows && model->CanAddDataBlock()) {
    const unsigned choice = ui->SelectItem(this, kContentSelectDataBlock);
    if (choice >= addChoices.size() || addChoices[choice] == 0) return;
    model->AddDataBlock(addChoices[choice]);
  } else {
    return;
  }
  Refresh();
}

void CeaExtBlockPage::FillContent(CallbackFillContentTgt* target, unsigned kind) {
  const CeaExtBlock* model = Model();
  if (target == nullptr || model == nullptr || kind != kContentSelectDataBlock) return;
  addChoices.fill(0);
  target->SetTitle("Select Data Block To Add");
  size_t next = 0;
  for (unsigned dataKind = 1; dataKind <= 15 && next < addChoices.size(); ++dataKind) {
    if (!model->CanAddDataBlockOfKind(dataKind)) continue;
    target->Append(CeaDataBlockKindName(dataKind));
    addChoices[next++] = dataKind;
  }
}

// ---------------------------------------------------------------------------
// Editor forms

namespace {

// N from "<prefix><N>" written without leading zeros; 0 for any other name.
unsigned NumberAfter(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return 0;
  unsigned number = 0;
  for (char c : name.substr(prefix.size())) {
    if (c < '0' || c > '9' || number > 1000) return 0;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return std::string(prefix) + std::to_string(number) == name ? number : 0;
}

}  // namespace

std::string CeaExtBlockPage::FormPrefix() const { return Format("cea%u", blockIndex); }

std::vector<std::string> CeaExtBlockPage::FormNames() const {
  const CeaExtBlock* model = Model();
  if (model == nullptr) return {};
  std::vector<std::string> names = {"general"};
  for (unsigned i = 0; i < model->DtdCount(); ++i) names.push_back(Format("dtd%u", i + 1));
  for (unsigned j = 0; j < model->DataBlockCount(); ++j) {
    if (model->GetDataBlockKind(j) != kCeaKindDummy) names.push_back(Format("db%u", j + 1));
  }
  return names;
}

std::unique_ptr<EditorForm> CeaExtBlockPage::CreateForm(std::string_view name) {
  CeaExtBlock* model = Model();
  if (model == nullptr) return nullptr;
  const std::string address = FormPrefix() + "." + std::string(name);
  if (name == "general") return std::make_unique<CEAGenericInfoDlg>(address, *model);
  // Detailed timings count from 1 here and from 0 in the model.
  if (const unsigned dtd = NumberAfter(name, "dtd"); dtd != 0) {
    return dtd <= model->DtdCount() ? std::make_unique<EDIDDetTimingsDlg>(address, *model, dtd - 1) : nullptr;
  }
  unsigned index = 0;
  if (name == "hdmi") {
    while (index < model->DataBlockCount() && model->GetDataBlockKind(index) != kCeaKindHdmiVsdb) ++index;
  } else {
    const unsigned number = NumberAfter(name, "db");
    if (number == 0) return nullptr;
    index = number - 1;
  }
  if (index >= model->DataBlockCount()) return nullptr;
  switch (model->GetDataBlockKind(index)) {
    case kCeaKindDummy: return nullptr;
    case kCeaKindAudio: return std::make_unique<CEAAudioDescriptorsDlg>(address, *model, index);
    case kCeaKindVideo: return std::make_unique<CEASVDTimingsDlg>(address, *model, index);
    case kCeaKindHdmiVsdb: return std::make_unique<CEAHdmiVsdbDlg>(address, *model, index);
    case kCeaKindSpeakerAllocation: return std::make_unique<CEASpeakersDlg>(address, *model, index);
    case kCeaKindVideoCapability: return std::make_unique<CEAVideoCapsDlg>(address, *model, index);
    case kCeaKindColorimetry: return std::make_unique<CEAColorimetryDlg>(address, *model, index);
    default: return std::make_unique<CEAGenericDataBlockDlg>(address, *model, index);
  }
}

// The rows stand for the model's DTDs and data blocks in order; the forms
// follow the model as it is now, whether or not the rows were shown yet.
void CeaExtBlockPage::OnLeftItem(int id) {
  const int row = id - kLeftItemId;
  if (row == 0) {
    OpenForm("general");
  } else if (row > 0 && row < kGridRows) {
    OpenForm(Format("dtd%d", row));
  }
}

void CeaExtBlockPage::OnRightItem(int id) {
  const int row = id - kRightItemId;
  if (row >= 0 && row < kGridRows) OpenForm(Format("db%d", row + 1));
}

std::string CeaExtBlockPage::Note() const {
  const CeaExtBlock* model = Model();
  if (model == nullptr) return std::string();
  CeaGeneralInfo info;
  model->GetGeneralInfo(info);
  if (info.dataBlockCount <= static_cast<unsigned>(kGridRows)) return std::string();
  const unsigned hidden = info.dataBlockCount - static_cast<unsigned>(kGridRows);
  return hidden == 1 ? "1 more data block is not shown here (Show Summary lists it)."
                     : Format("%u more data blocks are not shown here (Show Summary lists them).", hidden);
}

}  // namespace velmar
