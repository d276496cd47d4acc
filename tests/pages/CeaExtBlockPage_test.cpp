#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/CeaBlockBuilder.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DetailedTiming.h"
#include "pages/CeaExtBlockPage.h"
#include "support/RecordingContext.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::Bytes;
using testing::CeaImage;
using testing::DataBlockBytes;
using testing::MakeCea;
using testing::RecordingContext;

// The summary of the page over `cea`.
std::string Summary(CeaImage& cea) {
  RecordingContext context;
  CeaExtBlockPage page(1, &context, nullptr);
  EXPECT_TRUE(page.AttachBlock(cea.Block(), kBlockSize, CeaImage::kOffset));
  ContentCollector out;
  page.AppendSummary(&out);
  return out.Text();
}

// The text written for data block `index` alone: from its heading to the next heading.
std::string DataBlockText(CeaImage& cea, unsigned index) {
  const std::string all = Summary(cea);
  const std::string heading = Format("\r\n  [Datablock %u: ", index);
  const size_t start = all.find(heading);
  if (start == std::string::npos) return "(no heading)";
  const size_t bodyStart = all.find("]\r\n", start) + 3;
  const size_t next = all.find("\r\n  [", bodyStart);
  return all.substr(bodyStart, next == std::string::npos ? std::string::npos : next - bodyStart);
}

const Bytes kHdmiOuiBytes = {0x03, 0x0C, 0x00};

Bytes Hdmi(const Bytes& afterOui) {
  Bytes payload = kHdmiOuiBytes;
  payload.insert(payload.end(), afterOui.begin(), afterOui.end());
  return DataBlockBytes(3, payload);
}

TEST(CeaExtBlockPageTest, GeneralInfoAndTheCountFoundBeforeTheReportedOne) {
  CeaImage cea = MakeCea({DataBlockBytes(2, {0x01, 0x02})}, 1, 3, -1, 0x72);
  CeaExtBlock model(CeaImage::kOffset, cea.Block(), kBlockSize, nullptr);
  DetailedTiming timing;
  model.GetDetailedTiming(0, timing);
  const std::string expected =
      "\r\n\r\n[EDID CEA EXTENSION BLOCK]\r\n"
      "  [General Info]\r\n"
      "  Extension Tag.............: 0x02\r\n"
      "  Version...................: 3\r\n"
      "  Number Of Data Blocks.....: 1\r\n"
      "  Number Of Detailed Timings: 1 (Reported 2)\r\n"
      "  Start of Timing Data......: byte 7\r\n"
      "  Available space in Block..: 102 bytes\r\n"
      "  YCbCr 4:2:2 Format........: Supported\r\n"
      "  YCbCr 4:4:4 Format........: Supported\r\n"
      "  Basic Audio...............: Supported\r\n"
      "  Default IT Underscan......: Does not underscans IT video formats by default\r\n" +
      Format("  Checksum..................: 0x%02X\r\n", cea[127]) +
      "\r\n  [Detailed Timing 0]\r\n" + timing.SummaryText() +
      "\r\n  [Datablock 0: Video Data Block]\r\n"
      "  CEA[01]:  640 x 480p  at  60Hz,  4x3\r\n"
      "  CEA[02]:  720 x 480p  at  60Hz,  4x3\r\n";
  EXPECT_EQ(Summary(cea), expected);
}

TEST(CeaExtBlockPageTest, GeneralInfoWithoutDtdsAndWithTheOtherFlags) {
  CeaImage cea = MakeCea({}, 0, 2, 0, 0x80);
  EXPECT_EQ(Summary(cea),
            "\r\n\r\n[EDID CEA EXTENSION BLOCK]\r\n"
            "  [General Info]\r\n"
            "  Extension Tag.............: 0x02\r\n"
            "  Version...................: 2\r\n"
            "  Number Of Data Blocks.....: 0\r\n"
            "  Number Of Detailed Timings: 0\r\n"
            "  Available space in Block..: 123 bytes\r\n"
            "  YCbCr 4:2:2 Format........: Not Supported\r\n"
            "  YCbCr 4:4:4 Format........: Not Supported\r\n"
            "  Basic Audio...............: Not Supported\r\n"
            "  Default IT Underscan......: Underscans IT video formats by default\r\n" +
                Format("  Checksum..................: 0x%02X\r\n", cea[127]));
}

TEST(CeaExtBlockPageTest, NoSectionWithoutAModel) {
  CeaImage cea = MakeCea({}, 0);
  cea[0] = 0x70;
  RecordingContext context;
  CeaExtBlockPage page(1, &context, nullptr);
  EXPECT_FALSE(page.AttachBlock(cea.Block(), kBlockSize, CeaImage::kOffset));
  ContentCollector out;
  page.AppendSummary(&out);
  page.CollectModes(&out);
  unsigned width = 7, height = 8;
  page.GetLargestMode(width, height);
  EXPECT_EQ(out.Text(), "");
  EXPECT_TRUE(out.modes.empty());
  EXPECT_EQ(page.Validate(&out), 0u);
  EXPECT_EQ(width, 7u);
}

TEST(CeaExtBlockPageTest, VideoLines) {
  CeaImage cea = MakeCea({DataBlockBytes(2, {0x90, 0x05, 0x15, 0x3E}), DataBlockBytes(2, {0x00, 0x3F, 0xC1})}, 0);
  EXPECT_EQ(DataBlockText(cea, 0),
            "  CEA[16]: 1920 x 1080p at  60Hz, 16x9, [native]\r\n"
            "  CEA[05]: 1920 x 1080i at  60Hz, 16x9\r\n"
            "  CEA[21]:  720 x 576i  at  50Hz,  4x3\r\n"
            "  CEA[62]: 1280 x 720p  at  30Hz, 16x9\r\n");
  EXPECT_EQ(DataBlockText(cea, 1), "  No SVD Timings in this section\r\n");
}

TEST(CeaExtBlockPageTest, AudioLines) {
  CeaImage cea = MakeCea({DataBlockBytes(1, {0x09, 0x07, 0x07,     // LPCM 2 ch, 32/44.1/48, 16/20/24
                                             0x15, 0x05, 0x50,     // AC-3 6 ch, 32/48, 640 kHz
                                             0x4F, 0x40, 0x01,     // DSD 8 ch, 192, value 1
                                             0x71, 0x02, 0x03,     // WMA-Pro 2 ch, 44.1, profile 3
                                             0x7A, 0x00, 0x08,     // extension 1
                                             0x7A, 0x00, 0x38}),   // extension 7
                          DataBlockBytes(1, {})},
                         0);
  EXPECT_EQ(DataBlockText(cea, 0),
            "  LPCM(1).................: 2-channel, 32kHz/44.1kHz/48kHz, BitRates: 16/20/24\r\n"
            "  AC-3(2).................: 6-channel, 32kHz/48kHz, BitRate 640\r\n"
            "  DSD(9)..................: 8-channel, 192kHz, Audio Format Dependent Value 1\r\n"
            "  WMA-Pro(14).............: 2-channel, 44.1kHz, Profile 3\r\n"
            "  HE-AAC(15:1)(E).........: 3-channel\r\n"
            "  Unknown Format(15:07)(E): 3-channel\r\n"
            "  NOTE: E = Extended Audio Format Code\r\n");
  EXPECT_EQ(DataBlockText(cea, 1), "  No Short Audio descriptors present\r\n");
}

TEST(CeaExtBlockPageTest, GenericBlockInRowsOfEight) {
  Bytes vendor = {0x46, 0xD0, 0x00};
  for (uint8_t b = 0x60; b < 0x6A; ++b) vendor.push_back(b);
  CeaImage cea = MakeCea({DataBlockBytes(3, vendor), DataBlockBytes(7, {0x12, 0xAB}), {0xE1, 0x06}}, 0);
  EXPECT_EQ(DataBlockText(cea, 0),
            "  IEEE Registration ID: 0x00D046\r\n"
            "  Number Of Data Bytes: 10\r\n"
            "  Data Bytes    0 - 7 : 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67\r\n"
            "  Data Bytes    8 - 9 : 0x68, 0x69\r\n");
  EXPECT_EQ(DataBlockText(cea, 1), "  Number Of Data Bytes: 1\r\n  Data Bytes    0 - 0 : 0xAB\r\n");
  // A kind of its own (here HDR static metadata) writes its heading only.
  const std::string all = Summary(cea);
  EXPECT_EQ(all.substr(all.size() - 26), "\r\n  [Datablock 2: Dummy]\r\n");
}

TEST(CeaExtBlockPageTest, SpeakerColorimetryAndVideoCapability) {
  CeaImage cea = MakeCea({DataBlockBytes(4, {0x4B, 0x05, 0x00}), DataBlockBytes(7, {0x05, 0x11, 0x08}),
                          DataBlockBytes(7, {0x00, 0x6E})},
                         0);
  EXPECT_EQ(DataBlockText(cea, 0),
            "  Front High\r\n"
            "    (FLH) Left................: Yes\r\n"
            "    (FCH) Center..............: Yes\r\n"
            "    (FRH) Right...............: Yes\r\n"
            "  Front\r\n"
            "    (FLW) Left Wide...........: No\r\n"
            "    (FL)  Left................: Yes\r\n"
            "    (FLC) Left Center.........: No\r\n"
            "    (FC)  Center..............: No\r\n"
            "    (FRC) Right Center........: No\r\n"
            "    (FR)  Right...............: Yes\r\n"
            "    (FRW) Right Wide..........: No\r\n"
            "  Rear\r\n"
            "    (RL)  Left................: Yes\r\n"
            "    (RLC) Left Center.........: Yes\r\n"
            "    (RC)  Center..............: No\r\n"
            "    (RRC) Right Center........: Yes\r\n"
            "    (RR)  Right...............: Yes\r\n"
            "  Other\r\n"
            "    (TC)  Top Center..........: No\r\n"
            "    (LFE) Low Frequency Effect: Yes\r\n");
  EXPECT_EQ(DataBlockText(cea, 1),
            "  xvYCC-601....: Yes\r\n"
            "  xvYCC-709....: No\r\n"
            "  sYCC-601.....: No\r\n"
            "  Adobe YCC-601: No\r\n"
            "  Adobe RGB....: Yes\r\n"
            "  MD Profile 0.: No\r\n"
            "  MD Profile 1.: No\r\n"
            "  MD Profile 2.: No\r\n"
            "  MD Profile 3.: Yes\r\n");
  EXPECT_EQ(DataBlockText(cea, 2),
            "  CE Overscan/Underscan............: Always Underscanned\r\n"
            "  IT Overscan/Underscan............: Supports both Overscan and Underscan\r\n"
            "  PT (preferred) Overscan/Underscan: Always Underscanned\r\n"
            "  RGB Quantization Range Selectable: Selectable (via AVI Q)\r\n"
            "  YCC Quantization Range...........: Limited Range\r\n");
}

TEST(CeaExtBlockPageTest, HdmiBlockOfMinimumLength) {
  CeaImage cea = MakeCea({Hdmi({0x10, 0x00})}, 0);
  EXPECT_EQ(DataBlockText(cea, 0),
            "  IEEE Registration ID.......: 0x000C03\r\n"
            "  Number Of Data Bytes.......: 2\r\n"
            "  Source Physical Address....: 1.0.0.0\r\n"
            "  Features (Byte 6)..........: Not Present\r\n"
            "  Max TMDS Pixel Clock.......: Not Present\r\n"
            "  Flags (Byte 8).............: Not Present\r\n"
            "  Video/Audio Latency........: Not Present\r\n"
            "  Extended Capabilities......: Not Present\r\n");
}

TEST(CeaExtBlockPageTest, HdmiBlockWithEverySection) {
  // VICs 4, 16, 5, 17; HDMI VICs 1 and 9 (no such format); 3D for all of the
  // first 16 by mask, one side-by-side entry for descriptor 1.
  CeaImage cea = MakeCea({DataBlockBytes(2, {0x04, 0x10, 0x05, 0x11}),
                          Hdmi({0x21, 0x43, 0xB9, 0x44, 0xEA, 0x00, 0xFF, 0x0B, 0x01, 0xD8, 0x46, 0x01, 0x09,
                                0x00, 0x41, 0x00, 0x05, 0x18, 0x30})},
                         0);
  EXPECT_EQ(DataBlockText(cea, 1),
            "  IEEE Registration ID.......: 0x000C03\r\n"
            "  Number Of Data Bytes.......: 19\r\n"
            "  Source Physical Address....: 2.1.4.3\r\n"
            "  Features (Byte 6)..........:\r\n"
            "    Dual-link DVI Operation..: Yes\r\n"
            "    AI (ACP/ISRC packets)....: Yes\r\n"
            "    Deep Color YcbCr 4:4:4...: Yes\r\n"
            "    Deep Color RGB 30bpp.....: Yes\r\n"
            "    Deep Color RGB 36bpp.....: Yes\r\n"
            "    Deep Color RGB 48bpp.....: No\r\n"
            "  Max TMDS Pixel Clock.......: 340MHz\r\n"
            "  Flags (Byte 8).............:\r\n"
            "    CN0 (Graphics/Text)......: No\r\n"
            "    CN1 (Photo)..............: Yes\r\n"
            "    CN2 (Cinema).............: No\r\n"
            "    CN3 (Game)...............: Yes\r\n"
            "  Video/Audio Latency........:\r\n"
            "    Video Latency............: No Data\r\n"
            "    Audio Latency............: Audio Not Supported\r\n"
            "    Interlace Video Latency..: 20 ms\r\n"
            "    Interlace Audio Latency..: 0 ms\r\n"
            "  Extended Capabilities......: Present (below)\r\n"
            "  Image Size Type............: Indicates correct in 5 cm units\r\n"
            "  Mandatory Stereo 3D Support:\r\n"
            "    CEA[04]: 1280 x 720p  at  60Hz, Frame Packing(P), Top-and-Bottom(P)\r\n"
            "    CEA[05]: 1920 x 1080i at  60Hz, Side-by-Side(P)\r\n"
            "  Extended Stereo 3D Support.:\r\n"
            "    CEA[04]: 1280 x 720p  at  60Hz, Frame Packing(P), Top-and-Bottom(P)\r\n"
            "    CEA[05]: 1920 x 1080i at  60Hz, Frame Packing, Top-and-Bottom\r\n"
            "  Detailed Stereo 3D Support.: 1 entries\r\n"
            "    CEA[16]: 1920 x 1080p at  60Hz, Side-by-Side [param 3]\r\n"
            "  HDMI Video formats.........: 2 entries\r\n"
            "    HDMI[01]: 3840 x 2160p at  30Hz, 297.00MHz\r\n"
            "                  Addressable -> Sync Start -> Sync End -> Total\r\n"
            "      Line......: 3840        -> 4016       -> 4104     -> 4400 \r\n"
            "      Frame.....: 2160        -> 2168       -> 2178     -> 2250 \r\n"
            "  NOTE: P = Primary 3D Video Format\r\n");
}

TEST(CeaExtBlockPageTest, AllFormatsOfTheFirst16WithoutAnyStructure) {
  CeaImage cea = MakeCea({DataBlockBytes(2, {0x04}), Hdmi({0x10, 0x00, 0x00, 0x00, 0x20, 0x20, 0x02, 0x00, 0x00})}, 0);
  const std::string text = DataBlockText(cea, 1);
  EXPECT_NE(text.find("  Mandatory Stereo 3D Support: Not Present\r\n"
                      "  Extended Stereo 3D Support.: First 16 SVD support 3D formats below\r\n"
                      "    None\r\n"
                      "  Detailed Stereo 3D Support.: Not Present\r\n"
                      "  HDMI Video Modes...........: Not Present\r\n"
                      "  NOTE: P = Primary 3D Video Format\r\n"),
            std::string::npos)
      << text;

  CeaImage withStructures =
      MakeCea({DataBlockBytes(2, {0x04}), Hdmi({0x10, 0x00, 0x00, 0x00, 0x20, 0x20, 0x02, 0x01, 0x41})}, 0);
  EXPECT_NE(DataBlockText(withStructures, 1)
                .find("  Extended Stereo 3D Support.: First 16 SVD support 3D formats below\r\n"
                      "    Frame Packing, Side-by-Side, Top-and-Bottom\r\n"),
            std::string::npos);

  // Nothing 3D at all: no NOTE line.
  CeaImage plain = MakeCea({DataBlockBytes(2, {0x04}), Hdmi({0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00})}, 0);
  const std::string plainText = DataBlockText(plain, 1);
  EXPECT_EQ(plainText.find("NOTE"), std::string::npos);
  EXPECT_NE(plainText.find("  Extended Stereo 3D Support.: Not Present\r\n"), std::string::npos);
}

}  // namespace
}  // namespace velmar
