#include "pages/DiExtBlockPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "blocks/DiExtBlock.h"
#include "support/RecordingContext.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::RecordingContext;

// A DI-EXT page over one block of its own.
class DiExtSummaryTest : public ::testing::Test {
 protected:
  DiExtSummaryTest() { DiExtBlock::InitDefaultBytes(bytes.data(), 128); }

  // The summary of the bytes as they are now; the checksum is put right first.
  ContentCollector Summary() {
    bytes[127] = DataBlock::ComputeChecksum(bytes.data(), 127);
    DiExtBlockPage page(1, &context, nullptr);
    EXPECT_TRUE(page.AttachBlock(bytes.data(), 128, 128));
    ContentCollector text;
    page.AppendSummary(&text);
    return text;
  }
  // The line of the summary that starts with `label`, with its end of line.
  std::string Line(const std::string& label) {
    const std::string text = Summary().Text();
    const size_t at = text.find(label);
    if (at == std::string::npos) return "(missing: " + label + ")";
    return text.substr(at, text.find("\r\n", at) + 2 - at);
  }

  std::vector<uint8_t> bytes = std::vector<uint8_t>(128, 0);
  RecordingContext context;
};

const char kDecodingsNone[] =
    "  Supported Color Decodings\r\n"
    "    BGR (additive color)......: Not Supported\r\n"
    "    Y/C (S-Video) NTSC........: Not Supported\r\n"
    "    Y/C (S-Video) PAL.........: Not Supported\r\n"
    "    Y/C (S-Video) SECAM.......: Not Supported\r\n"
    "    YCrCb 4:4:4...............: Not Supported\r\n"
    "    YCrCb 4:2:2...............: Not Supported\r\n"
    "    YCrCb 4:2:0...............: Not Supported\r\n"
    "    YCrCb (SMPTE 260M)........: Not Supported\r\n"
    "    YPbPr (SMPTE 240M)........: Not Supported\r\n"
    "    YCrCb (SMPTE 274M)........: Not Supported\r\n"
    "    YPbPr (SMPTE 274M)........: Not Supported\r\n"
    "    Y B-Y R-Y BetaCam (Sony)..: Not Supported\r\n"
    "    Y B-Y R-Y M-2 (Matsushita): Not Supported\r\n"
    "    Monochrome................: Not Supported\r\n";

const char kNothingSpecifiedTail[] =
    "\r\n  [Display Capabilities]\r\n"
    "  VGA/DOS Legacy Timing Modes....: Not Supported\r\n"
    "  Scaler On Board................: Not Present\r\n"
    "  Image Centering................: Not Available\r\n"
    "  Conditional Update.............: Not Supported\r\n"
    "  Framelock......................: Not Supported\r\n"
    "  Stereo Video...................: No direct stereo\r\n"
    "  Vertical Frequency Conversion..: Not Supported\r\n"
    "  Horizontal Frequency Conversion: Not Supported\r\n"
    "  Display/Scan Orientation Type..: Not Specified\r\n"
    "  Scan Order.....................: Progresive Only\r\n"
    "  Scan Direction.................: Not Specified\r\n"
    "  Zero (0,0) Pixel Location......: Upper Left Corner\r\n"
    "  Screen Orientation.............: LandScape\r\n"
    "  Standalone Projector...........: Not Projector\r\n"
    "  Aspect Ratio Conversion Modes..: None\r\n"
    "\r\n  [Color Properties]\r\n"
    "  Dither Support..............: No Dithering\r\n"
    "  BGR Color Depth.............: Blue  = 0 bpc, Green = 0 bpc, Red   = 0 bpc\r\n"
    "  YCrCb/YPbPr Color Depth.....: Cb/Pb = 0 bpc, Y     = 0 bpc, Cr/Pr = 0 bpc\r\n"
    "  Default Color Decoding......: Not Specified\r\n"
    "  Preferred Color Decoding....: Not Specified\r\n";

TEST_F(DiExtSummaryTest, NewBlock) {
  const ContentCollector text = Summary();
  EXPECT_EQ(text.Text(),
            std::string("\r\n\r\n[EDID DI EXTENSION BLOCK]\r\n"
                        "  [General Info]\r\n"
                        "  Extension Tag......: 0x40\r\n"
                        "  Major Version......: 1\r\n"
                        "  Interface Standard.: Analog Video Input\r\n"
                        "  Release Information: Not Present\r\n"
                        "  Checksum...........: 0xBF\r\n"
                        "\r\n  [Data Format and Clock]\r\n"
                        "  Not relevant for Analog Display\r\n"
                        "\r\n  [Display Device Section]\r\n"
                        "  Sub-Pixel Layout.......: Not Specified\r\n"
                        "  Sub-Pixel Configuration: Not Specified\r\n"
                        "  Sub-Pixel Shape........: Not Specified\r\n"
                        "  Horizontal Pitch.......: 0cm\r\n"
                        "  Vertical Pitch.........: 0cm\r\n"
                        "  View Direction.........: Not Specified\r\n"
                        "  Physical Implementation: Not Specified\r\n"
                        "  Fixed Pixel Format.....: Display Device does not have Fixed Pixel Format\r\n"
                        "  Display Background.....: Non-Transparent Background\r\n"
                        "  DDC/CI.................: Not Supported\r\n") +
                kNothingSpecifiedTail + kDecodingsNone +
                "\r\n  [Gamma Section]\r\n"
                "  Gamma Curve Type..........: Not Specified\r\n");
  // A label and its value text are two pieces.
  const auto& items = text.items;
  const auto at = std::find(items.begin(), items.end(), "  Interface Standard.: ");
  ASSERT_NE(at, items.end());
  EXPECT_EQ(*(at + 1), "Analog Video Input\r\n");
}

TEST_F(DiExtSummaryTest, RealDviMonitor) {
  // The DI-EXT block of a DVI monitor: single link DVI, 24-bit RGB, both clock edges.
  const std::vector<uint8_t> file = testing::ReadBytes(testing::CorpusDir() + "/ed-76b1b316c228.bin");
  ASSERT_EQ(file.size(), 256u);
  std::copy(file.begin() + 128, file.end(), bytes.begin());
  EXPECT_EQ(Summary().Text(),
            std::string("\r\n\r\n[EDID DI EXTENSION BLOCK]\r\n"
                        "  [General Info]\r\n"
                        "  Extension Tag......: 0x40\r\n"
                        "  Major Version......: 1\r\n"
                        "  Interface Standard.: DVI - Single Link\r\n"
                        "  Release Information: Not Present\r\n"
                        "  Checksum...........: 0x5F\r\n"
                        "\r\n  [Data Format and Clock]\r\n"
                        "  Data Format.............: 24-Bit MSB-Aligned RGB (Single Link)\r\n"
                        "  Data Enable Signal......: Display does not use Data Enable Signal\r\n"
                        "  HDCP....................: Not Supported\r\n"
                        "  Double Clocking.........: Supported\r\n"
                        "  Packetized Video........: Supported\r\n"
                        "  Edge of Shift Clock.....: Display uses both Rising and Falling Edges\r\n"
                        "  Min Pixel Clock Per Link: 1MHz\r\n"
                        "  Max Pixel Clock Per Link: 165MHz\r\n"
                        "  Crossover Frequency.....: Not Relevant (Single Link Display)\r\n"
                        "\r\n  [Display Device Section]\r\n"
                        "  Sub-Pixel Layout.......: Quad Pixel (R,B,2G), G at bottom left & top right\r\n"
                        "  Sub-Pixel Configuration: Not Specified\r\n"
                        "  Sub-Pixel Shape........: Not Specified\r\n"
                        "  Horizontal Pitch.......: 1680cm\r\n"
                        "  Vertical Pitch.........: 10cm\r\n"
                        "  View Direction.........: Not Specified\r\n"
                        "  Physical Implementation: Not Specified\r\n"
                        "  Fixed Pixel Format.....: Display Device does not have Fixed Pixel Format\r\n"
                        "  Display Background.....: Non-Transparent Background\r\n"
                        "  DDC/CI.................: Not Supported\r\n") +
                kNothingSpecifiedTail + kDecodingsNone +
                "\r\n  [Gamma Section]\r\n"
                "  Gamma Curve Type..........: Not Specified\r\n");
}

TEST_F(DiExtSummaryTest, EveryFlagSet) {
  bytes[1] = 2;
  bytes[2] = 10;
  bytes[3] = 0x40 | 1;  // version 1.1, revision 0.5
  bytes[4] = 10;
  bytes[5] = 0;
  bytes[6] = 50;
  bytes[7] = 0xFE;  // data enable used and high, both edges, HDCP, double clocking, packets
  bytes[8] = 0x49;
  bytes[9] = 25;
  bytes[10] = 0x2C;  // 300
  bytes[11] = 0x01;
  bytes[12] = 0;  // crossover 0 is a frequency like any other
  bytes[13] = 0;
  bytes[14] = 4;
  bytes[15] = 4;
  bytes[16] = 5;
  bytes[17] = 25;
  bytes[18] = 26;
  bytes[19] = 0xFE;  // fixed format, view 3, transparent, implementation 3, DDC/CI
  bytes[20] = 0xBF;  // legacy, stereo 3, scaler, centering, conditional update, interlaced
  bytes[21] = 0xE0;  // framelock, both conversions
  bytes[22] = 0x6A;  // 59.94 Hz
  bytes[23] = 0x17;
  bytes[24] = 0x4E;  // 31.5 kHz
  bytes[25] = 0x0C;
  bytes[26] = 0xFF;  // current orientation, portrait, lower right, code 3, projector
  bytes[27] = 14;
  bytes[28] = 4;
  bytes[29] = 0xFF;
  bytes[30] = 0xFC;
  bytes[31] = 0x80;
  for (unsigned i = 0; i < 6; ++i) bytes[32 + i] = static_cast<uint8_t>(8 + i);
  bytes[38] = 0xF0;
  bytes[81] = 0x42;  // white curve, 2 points
  bytes[82] = 7;
  bytes[83] = 255;
  const std::string text = Summary().Text();
  EXPECT_NE(text.find("  [General Info]\r\n"
                      "  Extension Tag......: 0x40\r\n"
                      "  Major Version......: 2\r\n"
                      "  Interface Standard.: Open LDI - Consumer Electronics\r\n"
                      "  Release Information: Version/Release/Revision\r\n"
                      "  Version/Release....: 1.1\r\n"
                      "  Revision...........: 0.5\r\n"
                      "  Checksum...........: 0x"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\n  [Data Format and Clock]\r\n"
                      "  Data Format.............: 48-Bit MSB-Aligned RGB (Dual Link, Hi-Color})\r\n"
                      "  Data Enable Signal......: Data enabled when the DE signal is high\r\n"
                      "  HDCP....................: Supported\r\n"
                      "  Double Clocking.........: Supported\r\n"
                      "  Packetized Video........: Supported\r\n"
                      "  Edge of Shift Clock.....: Display uses both Rising and Falling Edges\r\n"
                      "  Min Pixel Clock Per Link: 25MHz\r\n"
                      "  Max Pixel Clock Per Link: 300MHz\r\n"
                      "  Crossover Frequency.....: 0MHz\r\n"
                      "\r\n  [Display Device Section]\r\n"
                      "  Sub-Pixel Layout.......: Quad Pixel (2G,R,B), G at bottom right & top left\r\n"
                      "  Sub-Pixel Configuration: Quad Pixel - 4 sub-pixels per displayed pixel\r\n"
                      "  Sub-Pixel Shape........: Elliptical\r\n"
                      "  Horizontal Pitch.......: 250cm\r\n"
                      "  Vertical Pitch.........: 260cm\r\n"
                      "  View Direction.........: Direct & Reflected View (e.g. some projectors, etc.)\r\n"
                      "  Physical Implementation: Eyepiece type personal display\r\n"
                      "  Fixed Pixel Format.....: Display Device has Fixed Pixel Format\r\n"
                      "  Display Background.....: Transparent Background\r\n"
                      "  DDC/CI.................: Supported\r\n"
                      "\r\n  [Display Capabilities]\r\n"
                      "  VGA/DOS Legacy Timing Modes....: Supported\r\n"
                      "  Scaler On Board................: Present\r\n"
                      "  Image Centering................: Available\r\n"
                      "  Conditional Update.............: Supported\r\n"
                      "  Framelock......................: Supported\r\n"
                      "  Stereo Video...................: Auto-stereoscopic, Line Interleave\r\n"
                      "  Vertical Frequency Conversion..: 59.94Hz\r\n"
                      "  Horizontal Frequency Conversion: 31.5KHz\r\n"
                      "  Display/Scan Orientation Type..: Current Orientation (defined for display that rotates)\r\n"
                      "  Scan Order.....................: Progresive & Interlaced\r\n"
                      "  Scan Direction.................: Not Specified\r\n"
                      "  Zero (0,0) Pixel Location......: Lower Right Corner\r\n"
                      "  Screen Orientation.............: Portrait\r\n"
                      "  Standalone Projector...........: Projector\r\n"
                      "  Aspect Ratio Conversion Modes..: Full Mode, Zoom Mode, Squeeze Mode, Variable Mode\r\n"
                      "\r\n  [Color Properties]\r\n"
                      "  Dither Support..............: Display uses Dithering\r\n"
                      "  BGR Color Depth.............: Blue  = 8 bpc, Green = 9 bpc, Red   = 10 bpc\r\n"
                      "  YCrCb/YPbPr Color Depth.....: Cb/Pb = 11 bpc, Y     = 12 bpc, Cr/Pr = 13 bpc\r\n"
                      "  Default Color Decoding......: Monochrome\r\n"
                      "  Preferred Color Decoding....: Monochrome\r\n"
                      "  Supported Color Decodings\r\n"
                      "    BGR (additive color)......: Supported\r\n"
                      "    Y/C (S-Video) NTSC........: Supported\r\n"
                      "    Y/C (S-Video) PAL.........: Supported\r\n"
                      "    Y/C (S-Video) SECAM.......: Supported\r\n"
                      "    YCrCb 4:4:4...............: Supported\r\n"
                      "    YCrCb 4:2:2...............: Supported\r\n"
                      "    YCrCb 4:2:0...............: Supported\r\n"
                      "    YCrCb (SMPTE 260M)........: Supported\r\n"
                      "    YPbPr (SMPTE 240M)........: Supported\r\n"
                      "    YCrCb (SMPTE 274M)........: Supported\r\n"
                      "    YPbPr (SMPTE 274M)........: Supported\r\n"
                      "    Y B-Y R-Y BetaCam (Sony)..: Supported\r\n"
                      "    Y B-Y R-Y M-2 (Matsushita): Supported\r\n"
                      "    Monochrome................: Supported\r\n"
                      "\r\n  [Gamma Section]\r\n"
                      "  Gamma Curve Type..........: Single White Curve\r\n"
                      "  Number of Points..........: 2\r\n"
                      "    Data Point[0]...........: White =   7\r\n"
                      "    Data Point[1]...........: White = 255\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find("Data Point[2]"), std::string::npos);
}

// Codes past the end of their lists, and values the goldens above leave out.
TEST_F(DiExtSummaryTest, CodeTextsPastTheirEnds) {
  const struct {
    unsigned byte;
    uint8_t value;
    const char* line;
  } cases[] = {
      {2, 11, "  Interface Standard.: None\r\n"},
      {8, 0x15, "  Data Format.............: 8-Bit Over 8-Bit RGB\r\n"},
      {8, 0x33, "  Data Format.............: 8-Bit Over 8-Bit RGB\r\n"},  // no code: index 0
      {7, 0x90, "  Data Enable Signal......: Data enabled when the DE signal is low\r\n"},
      {7, 0x90, "  Edge of Shift Clock.....: Display uses Rising Edge\r\n"},
      {14, 5, "  Sub-Pixel Layout.......: Not Specified\r\n"},
      {15, 5, "  Sub-Pixel Configuration: Not Specified\r\n"},
      {16, 6, "  Sub-Pixel Shape........: Not Specified\r\n"},
      {20, 0x40, "  Stereo Video...................: No direct stereo\r\n"},
      {26, 0x04, "  Scan Direction.................: Fast Scan on Short Axis\r\n"},
      {27, 15, "  Default Color Decoding......: Not Specified\r\n"},
      {28, 5, "  Preferred Color Decoding....: Not Specified\r\n"},
      {29, 0x01, "    YCrCb (SMPTE 260M)........: Supported\r\n"},
      {30, 0x03, "    Monochrome................: Not Supported\r\n"},  // kept bits are no flags
      {12, 0xFE, "  Crossover Frequency.....: 254MHz\r\n"},              // not 0xFFFF: a frequency
  };
  bytes[2] = 1;  // digital, so the data format section is shown
  const std::vector<uint8_t> digital = bytes;
  for (const auto& c : cases) {
    bytes = digital;
    bytes[c.byte] = c.value;
    EXPECT_NE(Summary().Text().find(c.line), std::string::npos) << c.line;
  }
  bytes = digital;
  bytes[21] = 0x20;  // vertical conversion only, a whole number
  bytes[22] = 0x70;
  bytes[23] = 0x17;
  EXPECT_EQ(Line("  Vertical Freq"), "  Vertical Frequency Conversion..: 60Hz\r\n");
  EXPECT_EQ(Line("  Horizontal Freq"), "  Horizontal Frequency Conversion: Not Supported\r\n");
}

TEST_F(DiExtSummaryTest, ReleaseKinds) {
  bytes[3] = 0x40 | 2;  // version 2.25
  bytes[4] = 25;
  bytes[5] = 3;
  bytes[6] = 0;
  EXPECT_EQ(Line("  Version/Release."), "  Version/Release....: 2.25\r\n");
  EXPECT_EQ(Line("  Revision"), "  Revision...........: 3.0\r\n");

  bytes[3] = 0x80;
  bytes[4] = 'C';
  EXPECT_EQ(Line("  Release"), "  Release Information: Letter Designation\r\n");
  EXPECT_EQ(Line("  ASCII"), "  ASCII Letter.......: C\r\n");
  bytes[4] = 0xC9;  // Latin-1 capital E acute
  EXPECT_EQ(Line("  ASCII"), "  ASCII Letter.......: \xC3\x89\r\n");
  bytes[4] = 0;
  EXPECT_EQ(Line("  ASCII"), "  ASCII Letter.......: \r\n");

  bytes[3] = 0xC0;
  bytes[4] = 20;
  bytes[5] = 3;
  bytes[6] = 17;
  EXPECT_EQ(Line("  Release"), "  Release Information: Date Code\r\n");
  EXPECT_EQ(Line("  Date"), "  Date...............: 17/March/2010\r\n");
  bytes[5] = 13;  // no month has that number: it is shown as it is
  EXPECT_EQ(Line("  Date"), "  Date...............: 17/13/2010\r\n");
  bytes[5] = 0;
  EXPECT_EQ(Line("  Date"), "  Date...............: 17/0/2010\r\n");
}

TEST_F(DiExtSummaryTest, AspectRatioModesArePieces) {
  bytes[38] = 0x50;  // zoom and variable
  const ContentCollector text = Summary();
  const auto& items = text.items;
  const auto at = std::find(items.begin(), items.end(), "  Aspect Ratio Conversion Modes..:");
  ASSERT_NE(at, items.end());
  ASSERT_GE(items.end() - at, 4);
  EXPECT_EQ(*(at + 1), " Zoom Mode");
  EXPECT_EQ(*(at + 2), ", Variable Mode");
  EXPECT_EQ(*(at + 3), "\r\n");
  EXPECT_EQ(Line("  Aspect"), "  Aspect Ratio Conversion Modes..: Zoom Mode, Variable Mode\r\n");
  bytes[38] = 0x2F;  // squeeze only; the low bits are no modes
  EXPECT_EQ(Line("  Aspect"), "  Aspect Ratio Conversion Modes..: Squeeze Mode\r\n");
}

TEST_F(DiExtSummaryTest, GammaPointsStopAtTheDataArea) {
  for (unsigned i = 0; i < 45; ++i) bytes[82 + i] = static_cast<uint8_t>(i);
  bytes[81] = 0x7F;  // white curve announcing 63 points
  std::string text = Summary().Text();
  EXPECT_NE(text.find("  Number of Points..........: 63\r\n"), std::string::npos);
  EXPECT_NE(text.find("    Data Point[44]...........: White =  44\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Data Point[45]"), std::string::npos);

  bytes[81] = 0x94;  // three curves announcing 20 points each
  text = Summary().Text();
  EXPECT_NE(text.find("  Gamma Curve Type..........: 3 Separate Color Curves (BGR)\r\n"
                      "  Number of Points per Color: 20\r\n"
                      "    Data Point[0]...........: Blue =   0, Green =  15, Red =  30\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("    Data Point[14]...........: Blue =  14, Green =  29, Red =  44\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Data Point[15]"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

  bytes[81] = 0xC5;  // type 3 is not used
  text = Summary().Text();
  EXPECT_NE(text.find("  Gamma Curve Type..........: Not Specified\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Data Point"), std::string::npos);
}

TEST(DiExtBlockPageTest, NoModelNoSummaryAndNoFinding) {
  RecordingContext context;
  DiExtBlockPage page(1, &context, nullptr);
  ContentCollector text;
  page.AppendSummary(&text);
  EXPECT_EQ(text.Text(), "");
  EXPECT_EQ(page.Validate(&text), 0u);
  std::vector<uint8_t> bytes(128, 0);
  DiExtBlock::InitDefaultBytes(bytes.data(), 128);
  ASSERT_TRUE(page.AttachBlock(bytes.data(), 128, 0));
  EXPECT_EQ(page.Validate(&text), 0u);
  EXPECT_EQ(text.Text(), "");
  std::string name, group, label;
  page.DescribeByte(81, name, group, label);
  EXPECT_EQ(name, "Gamma Control");
  EXPECT_EQ(group, "(Gamma Section)");
  EXPECT_EQ(label, "DI-v1");
}

TEST(DiExtBlockPageTest, SixSectionButtons) {
  RecordingContext context;
  DiExtBlockPage page(1, &context, nullptr);
  std::vector<uint8_t> bytes(128, 0);
  DiExtBlock::InitDefaultBytes(bytes.data(), 128);
  page.Activate();
  ASSERT_TRUE(page.AttachBlock(bytes.data(), 128, 0));
  const char* const names[] = {"General Info",         "Data Format And Clock", "Display Device",
                               "Display Capabilities", "Color Properties",      "Gamma Curve"};
  for (int row = 0; row < kGridRows; ++row) {
    const GridControlState& item = page.Control(kLeftItemId + row);
    if (row < 6) {
      EXPECT_EQ(item.text, names[row]);
      EXPECT_TRUE(item.enabled);
      EXPECT_TRUE(item.visible);
      EXPECT_TRUE(page.Control(kLeftFrameId + row).visible);
    } else {
      EXPECT_FALSE(item.visible) << row;
      EXPECT_FALSE(page.Control(kLeftFrameId + row).visible) << row;
    }
    for (int base : {kLeftActionId, kRightItemId, kRightActionId, kRightFrameId}) {
      EXPECT_FALSE(page.Control(base + row).visible) << base + row;
    }
  }
  // Without a model the grid stays cleared.
  ASSERT_TRUE(page.AttachBlock(nullptr, 0, 0));
  EXPECT_EQ(page.Control(kLeftItemId).text, "");
  EXPECT_FALSE(page.Control(kLeftItemId).enabled);
}

// An image of a lone block of each kind: nothing is wrong with it, so nothing
// is counted, and the DI-EXT block's summary follows the raw dump.
TEST(DiExtBlockPageTest, ErrorsReportCountsNothingForTheseBlocks) {
  testing::ScriptedUserInterface ui;
  EdidImage image(ui);
  DiExtBlock::InitDefaultBytes(image.rawData.data(), 128);
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 1u);
  ContentCollector report;
  image.FillContent(&report, kContentErrorsReport);
  EXPECT_NE(report.Text().find("\r\nVERDICT: 0 ERRORS FOUND\r\n"), std::string::npos) << report.Text();
  ContentCollector summary;
  image.FillContent(&summary, kContentSummary);
  EXPECT_NE(summary.Text().find(" 70 |"), std::string::npos);
  EXPECT_NE(summary.Text().find("[EDID DI EXTENSION BLOCK]\r\n"), std::string::npos);

  image.rawData.fill(0);
  const uint8_t section[] = {0x12, 0x00, 0x00, 0x00, 0xEE};
  std::copy(std::begin(section), std::end(section), image.rawData.begin());
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 1u);
  ContentCollector displayId;
  image.FillContent(&displayId, kContentErrorsReport);
  EXPECT_NE(displayId.Text().find("\r\nVERDICT: 0 ERRORS FOUND\r\n"), std::string::npos) << displayId.Text();
}

}  // namespace
}  // namespace velmar
