#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "blocks/MonitorInfo.h"
#include "pages/EdidBaseBlockPage.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::CorpusDir;
using testing::FixChecksum;
using testing::ReadBytes;

std::string Summary(std::vector<uint8_t>& bytes, bool is14) {
  EdidBaseBlockPage page(is14, 0, nullptr, nullptr);
  page.AttachBlock(bytes.data(), static_cast<unsigned>(bytes.size()), 0);
  ContentCollector target;
  page.AppendSummary(&target);
  return target.Text();
}

// The text between a section heading line and the next blank line.
std::string Section(const std::string& text, const std::string& heading) {
  const size_t start = text.find(heading);
  if (start == std::string::npos) return "(no " + heading + ")";
  const size_t body = start + heading.size();
  const size_t end = text.find("\r\n\r\n", body);
  return text.substr(body, end == std::string::npos ? std::string::npos : end + 2 - body);
}

void SetSlot(std::vector<uint8_t>& data, unsigned slot, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), data.begin() + 54 + 18 * slot);
  FixChecksum(data.data());
}

TEST(EdidBaseBlockPageTest, SummaryOfAnEdid10AnalogMonitorIsGolden) {
  // kds-vs555-vga: the values were checked against edid-decode's decode of the same bytes.
  std::vector<uint8_t> bytes = ReadBytes(CorpusDir() + "/ed-b8785401a148.bin");
  ASSERT_EQ(bytes.size(), 128u);
  EXPECT_EQ(Summary(bytes, false),
            "\r\n\r\n[EDID BASE BLOCK]\r\n"
            "  [General Info]\r\n"
            "  Version.............: 1.0\r\n"
            "  Manufacturer Name...: DWT\r\n"
            "  Product Code........: 0x518\r\n"
            "  Serial Number.......: 0x1\r\n"
            "  Date of Manufacture.: 2000, week 40\r\n"
            "  Number of extensions: 0\r\n"
            "  Checksum............: 0x5E\r\n"
            "\r\n  [Basic Display Parameters]\r\n"
            "  Interface.......................: Analog\r\n"
            "  Display Color Type..............: RGB color display\r\n"
            "  Screen size (cm)................: 28x21\r\n"
            "  Gamma...........................: 1.00\r\n"
            "  Standby.........................: Supported\r\n"
            "  Suspend.........................: Supported\r\n"
            "  Active Off/Very Low Power.......: Not Supported\r\n"
            "  Default color space.............: non-sRGB\r\n"
            "  Signal Level Standard...........: 0.700 : 0.000 : 0.700 V p-p\r\n"
            "  Video Setup.....................: Blank-to-Black setup or pedestal\r\n"
            "  Separate Sync H & V Signals.....: Supported\r\n"
            "  Composite Sync on Horizontal....: Not Supported\r\n"
            "  Composite Sync on Green Video...: Not Supported\r\n"
            "  Serration on the Vertical Sync..: Not Supported\r\n"
            "  x Preferred timing mode not indicated in the first detailed timing block\r\n"
            "  x No default GTF support\r\n"
            "\r\n  [Display Color Characteristics]\r\n"
            "  Red Chromaticity..: X=0.625, Y=0.340\r\n"
            "  Green Chromaticity: X=0.310, Y=0.592\r\n"
            "  Blue Chromaticity.: X=0.150, Y=0.063\r\n"
            "  White Point.......: X=0.281, Y=0.311\r\n"
            "\r\n  [Established Timings I & II]\r\n"
            "   720 x 400  at 70Hz\r\n"
            "   720 x 400  at 88Hz\r\n"
            "   640 x 480  at 60Hz\r\n"
            "   640 x 480  at 67Hz\r\n"
            "   640 x 480  at 72Hz\r\n"
            "   640 x 480  at 75Hz\r\n"
            "   800 x 600  at 56Hz\r\n"
            "   800 x 600  at 60Hz\r\n"
            "   800 x 600  at 72Hz\r\n"
            "   800 x 600  at 75Hz\r\n"
            "   832 x 624  at 75Hz\r\n"
            "  1024 x 768  at 87Hz(I)\r\n"
            "  1024 x 768  at 60Hz\r\n"
            "  NOTE: I = Interlaced, RB = Reduced Blanking\r\n"
            "\r\n  [Standard Timings]\r\n"
            "   640 x 480  at 85Hz,  LandScape  4x3\r\n"
            "   640 x 480  at 100Hz, LandScape  4x3\r\n"
            "   800 x 600  at 85Hz,  LandScape  4x3\r\n"
            // Codes 00 00 count as used; aspect bits 00 are 1:1 below revision 3.
            "   248 x 248  at 60Hz,  Square     1x1\r\n"
            "   248 x 248  at 60Hz,  Square     1x1\r\n"
            "   248 x 248  at 60Hz,  Square     1x1\r\n"
            "   248 x 248  at 60Hz,  Square     1x1\r\n"
            "   248 x 248  at 60Hz,  Square     1x1\r\n"
            "\r\n  [Descriptor 0: Detailed Timing]\r\n"
            "   640 x 350p  at 70Hz, 25.17MHz\r\n"
            "              Border -> Addressable -> Border -> Sync Start -> Sync End -> Total\r\n"
            "  Line......: 8      -> 648         -> 656    -> 664        -> 760      -> 800  \r\n"
            "  Frame.....: 6      -> 356         -> 362    -> 393        -> 395      -> 449  \r\n"
            "  Sync......: Digital Separate, VSYNC-, HSYNC-\r\n"
            "  Stereo....: 2D Timing\r\n"
            "  Image Size: 4mm x 3mm\r\n"
            // Slots of zeros: tag 0 is a dummy descriptor, its text ends at the first zero.
            "\r\n  [Descriptor 1: Dummy]\r\n"
            "  \"\"\r\n"
            "\r\n  [Descriptor 2: Dummy]\r\n"
            "  \"\"\r\n"
            "\r\n  [Descriptor 3: Dummy]\r\n"
            "  \"\"\r\n");
}

TEST(EdidBaseBlockPageTest, Edid13DescriptorTexts) {
  std::vector<uint8_t> data = testing::MakeBase13();
  data[20] = 0x80;  // digital
  data[24] = 0x0B;  // RGB, preferred timing, default GTF
  SetSlot(data, 0, {0, 0, 0, 0xFD, 0x0F, 56, 76, 30, 83, 17, 0x02, 0x00, 0x46, 0x50, 0x34, 0x12, 0x80, 0x28});
  SetSlot(data, 1, {0, 0, 0, 0xFB, 0, 0x01, 0x0E, 0x50, 0x54, 0x78, 0, 0, 0, 0, 0xFF, 0x0A, 0x20, 0x20});
  SetSlot(data, 2, {0, 0, 0, 0xFA, 0, 0xD1, 0xC0, 0x81, 0x0A, 0xA9, 0x40, 0x01, 0x01, 0x71, 0x4F, 0x61, 0x68, 0x0A});
  SetSlot(data, 3, {0, 0, 0, 0xFE, 0, 0x0A, 'A', 'B', 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  const std::string text = Summary(data, false);

  EXPECT_EQ(Section(text, "\r\n  [Basic Display Parameters]\r\n"),
            "  Interface.......................: Digital\r\n"
            "  Display Color Type..............: RGB color display\r\n"
            "  Screen Type.....................: Projector\r\n"
            "  Gamma...........................: 1.00\r\n"
            "  Standby.........................: Not Supported\r\n"
            "  Suspend.........................: Not Supported\r\n"
            "  Active Off/Very Low Power.......: Not Supported\r\n"
            "  Default color space.............: non-sRGB\r\n"
            "  x Preferred timing mode is indicated in the first detailed timing block\r\n"
            "  x Display supports timings based on the GTF standard using default GTF parameter values\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Established Timings I & II]\r\n"), "  No Established Timings in this section\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Standard Timings]\r\n"), "  No Standard Timings in this section\r\n");
  // A 1.3 block ignores the rate offsets of byte 4.
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 0: Display Range Limits]\r\n"),
            "  Horizontal Rate Range.....: 30KHz - 83KHz\r\n"
            "  Vertical Rate Range.......: 56Hz - 76Hz\r\n"
            "  Maximum Pixel Clock.......: 170MHz\r\n"
            "  Video Timing Support......: Secondary GTF curve supported\r\n"
            "  GTF Start break frequency.: 140KHz\r\n"
            "  GTF C Parameter...........: 40\r\n"
            "  GTF M Parameter...........: 4660\r\n"
            "  GTF K Parameter...........: 128\r\n"
            "  GTF J Parameter...........: 20\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 1: Color Point Data]\r\n"),
            "  White Point[1]: X=0.315, Y=0.330\r\n"
            "  Gamma..........: 2.2\r\n"
            "  White Point not defined in second entry\r\n"
            "  Gamma not defined in second entry\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 2: Standard Timing Identifications]\r\n"),
            "  1920 x 1080 at 60Hz,  LandScape  16x9\r\n"
            "  1280 x 800  at 70Hz,  LandScape 16x10\r\n"
            "  1600 x 1200 at 60Hz,  LandScape  4x3\r\n"
            "  1152 x 864  at 75Hz,  LandScape  4x3\r\n"
            "  1024 x 768  at 100Hz, LandScape  4x3\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 3: ASCII Data String]\r\n"), "  0-length String\r\n");

  data[54 + 18 * 0 + 10] = 0;  // range limits without a secondary curve
  data[54 + 18 * 3 + 5] = 0xE9;  // Latin-1 text comes out as UTF-8
  EXPECT_EQ(Section(Summary(data, false), "\r\n  [Descriptor 0: Display Range Limits]\r\n"),
            "  Horizontal Rate Range.....: 30KHz - 83KHz\r\n"
            "  Vertical Rate Range.......: 56Hz - 76Hz\r\n"
            "  Maximum Pixel Clock.......: 170MHz\r\n"
            "  Video Timing Support......: No secondary timing formula supported\r\n");
  EXPECT_EQ(Section(Summary(data, false), "\r\n  [Descriptor 3: ASCII Data String]\r\n"), "  \"\xC3\xA9" "AB          \"\r\n");
}

TEST(EdidBaseBlockPageTest, Edid14Texts) {
  std::vector<uint8_t> data(128);
  Edid14Block::InitDefaultBytes(data.data(), 128);
  data[20] = 0xF6;  // digital, colour depth 7 and interface 6: no lines for either
  data[21] = 0;
  data[22] = 61;    // portrait 10:16
  data[23] = 0xFF;
  data[24] = 0x1D;  // all encodings, sRGB, continuous
  SetSlot(data, 0, {0, 0, 0, 0xF8, 0, 0x01, 0x1B, 0x28, 0x10, 0x1B, 0x24, 0x21, 0, 0, 0, 0, 0, 0});
  SetSlot(data, 1, {0, 0, 0, 0xF9, 0, 0x03, 0x6A, 0xFF, 0x10, 0x27, 0, 0, 0x01, 0x00, 0, 0, 0x9C, 0xFF});
  SetSlot(data, 2, {0, 0, 0, 0xF7, 0, 0x0A, 0x80, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  SetSlot(data, 3, {0, 0, 0, 0xFD, 0x0E, 48, 144, 30, 160, 45, 0x04, 0x11, 0x6D, 0xB4, 0xD8, 0x38, 0xA0, 60});
  const std::string text = Summary(data, true);

  EXPECT_EQ(Section(text, "\r\n  [Basic Display Parameters]\r\n"),
            "  Interface.......................: Digital\r\n"
            "  Supported Color Encoding(s).....: RGB 4:4:4 & YCrCb 4:4:4 & YCrCb 4:2:2\r\n"
            "  Aspect Ratio....................: Portrait 10x16\r\n"
            "  Gamma...........................: Undefined\r\n"
            "  Standby.........................: Not Supported\r\n"
            "  Suspend.........................: Not Supported\r\n"
            "  Active Off/Very Low Power.......: Not Supported\r\n"
            "  Default color space.............: sRGB\r\n"
            "  x Preferred Timing Mode does not include the native pixel format and preferred refresh rate of "
            "the display device\r\n"
            "  x Display is continuous frequency\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 0: CVT 3 Byte Timing Codes]\r\n"),
            "  1728 x 1080 at 50Hz,     Landscape 16x10 (preferred VRate)\r\n"
            "  1920 x 1080 at 60Hz(RB), Landscape 16x9  (preferred VRate)\r\n"
            "  NOTE: RB = Reduced Blanking\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 1: Display Color Management]\r\n"),
            "  Polynomial a2 Coefficient Red..: +100\r\n"
            "  Polynomial a3 Coefficient Red..: -1.5\r\n"
            "  Polynomial a2 Coefficient Green: +0.01\r\n"
            "  Polynomial a3 Coefficient Green: +0\r\n"
            "  Polynomial a2 Coefficient Blue.: -1\r\n"
            "  Polynomial a3 Coefficient Blue.: +0\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 2: Established Timings III]\r\n"),
            "   640 x 350  at 85Hz\r\n"
            "  1280 x 1024 at 85Hz\r\n"
            "  NOTE: I = Interlaced, RB = Reduced Blanking\r\n");
  EXPECT_EQ(Section(text, "\r\n  [Descriptor 3: Display Range Limits]\r\n"),
            "  Horizontal Rate Range.....: 284KHz - 415KHz\r\n"
            "  Vertical Rate Range.......: 48Hz - 399Hz\r\n"
            "  Maximum Pixel Clock.......: 443.25MHz\r\n"
            "  Video Timing Support......: CVT supported\r\n"
            "  CVT Maximum Line Length...: 436 pixels\r\n"
            "  CVT Preferred Refresh Rate: 60Hz\r\n"
            "  CVT Preferred Aspect Ratio: 16x9\r\n"
            "  CVT Supported Aspect Ratio:  4x3  16x9   5x4  15x9 \r\n"
            "  CVT Standard Blanking.....: Supported\r\n"
            "  CVT Reduced Blanking......: Supported\r\n"
            "  CVT Horizontal Shrink.....: Supported\r\n"
            "  CVT Horizontal Stretch....: Not Supported\r\n"
            "  CVT Vertical Shrink.......: Supported\r\n"
            "  CVT Vertical Stretch......: Not Supported\r\n");

  // Range limits only, and empty lists of the 1.4 descriptors.
  SetSlot(data, 0, {0, 0, 0, 0xF8, 0, 0x01, 0, 0, 0, 0x1B, 0x2C, 0x10, 0, 0, 0, 0, 0, 0});
  SetSlot(data, 2, {0, 0, 0, 0xF7, 0, 0x0A, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0});
  SetSlot(data, 3, {0, 0, 0, 0xFD, 0, 48, 144, 30, 160, 0xFF, 0x01, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  data[20] = 0xA5;  // 8 bits, DisplayPort
  data[24] = 0x02;
  const std::string plain = Summary(data, true);
  EXPECT_EQ(Section(plain, "\r\n  [Descriptor 0: CVT 3 Byte Timing Codes]\r\n"),
            "  No CVT 3Byte Timings in this section\r\n");
  EXPECT_EQ(Section(plain, "\r\n  [Descriptor 2: Established Timings III]\r\n"),
            "  No Established Timings in this section\r\n");
  EXPECT_EQ(Section(plain, "\r\n  [Descriptor 3: Display Range Limits]\r\n"),
            "  Horizontal Rate Range.....: 30KHz - 160KHz\r\n"
            "  Vertical Rate Range.......: 48Hz - 144Hz\r\n"
            "  Maximum Pixel Clock.......: 2550MHz\r\n"
            "  Video Timing Support......: Range Limits Only\r\n");
  EXPECT_NE(plain.find("  Interface.......................: Digital\r\n"
                       "  Color Depth.....................: 8 Bits per Color\r\n"
                       "  Interface Type..................: DisplayPort\r\n"
                       "  Supported Color Encoding(s).....: RGB 4:4:4\r\n"),
            std::string::npos);
  EXPECT_NE(plain.find("  x Preferred Timing Mode includes the native pixel format and preferred refresh rate of the "
                       "display device\r\n  x Display is non-continuous frequency\r\n"),
            std::string::npos);
}

TEST(EdidBaseBlockPageTest, SizeModesOfThe14Page) {
  std::vector<uint8_t> data(128);
  Edid14Block::InitDefaultBytes(data.data(), 128);
  const struct {
    uint8_t h, v;
    const char* line;
  } cases[] = {
      {79, 0, "  Aspect Ratio....................: Landscape 16x9\r\n"},
      {61, 0, "  Aspect Ratio....................: Landscape 16x10\r\n"},
      {34, 0, "  Aspect Ratio....................: Landscape 4x3\r\n"},
      {26, 0, "  Aspect Ratio....................: Landscape 5x4\r\n"},
      {0, 79, "  Aspect Ratio....................: Portrait 9x16\r\n"},
      {0, 61, "  Aspect Ratio....................: Portrait 10x16\r\n"},
      {0, 34, "  Aspect Ratio....................: Portrait 3x4\r\n"},
      {0, 26, "  Aspect Ratio....................: Portrait 4x5\r\n"},
      {0, 0, "  Screen Type.....................: Projector\r\n"},
      {100, 0, "  Screen size (cm)................: 100x0\r\n"},  // no known ratio: shown as stored
      {60, 34, "  Screen size (cm)................: 60x34\r\n"},
  };
  for (const auto& c : cases) {
    data[21] = c.h;
    data[22] = c.v;
    FixChecksum(data.data());
    EXPECT_NE(Summary(data, true).find(c.line), std::string::npos) << int(c.h) << " " << int(c.v);
  }
}

TEST(EdidBaseBlockPageTest, PageWithoutModelAnswersNothing) {
  std::vector<uint8_t> data = testing::MakeBase13();
  EXPECT_TRUE(Summary(data, true).empty());  // a 1.4 page over revision 3 bytes
  EdidBaseBlockPage page(true, 0, nullptr, nullptr);
  page.AttachBlock(data.data(), 128, 0);
  ContentCollector target;
  page.CollectModes(&target);
  EXPECT_EQ(page.Validate(&target), 0u);
  EXPECT_TRUE(target.modes.empty());
  EXPECT_TRUE(target.Text().empty());
  unsigned width = 5, height = 6;
  page.GetLargestMode(width, height);
  EXPECT_EQ(width, 5u);
  MonitorInfo info;
  page.GetMonitorInfo(info);
  EXPECT_TRUE(info.pnpId.empty());
}

TEST(EdidBaseBlockPageTest, PageForwardsToItsModel) {
  std::vector<uint8_t> image(256, 0);
  std::vector<uint8_t> base = testing::MakeBase13();
  base[36] = 0x01;  // 1280x1024@75
  FixChecksum(base.data());
  std::copy(base.begin(), base.end(), image.begin() + 128);
  EdidBaseBlockPage page(false, 1, nullptr, nullptr);
  ASSERT_TRUE(page.AttachBlock(image.data() + 128, 128, 128));
  ContentCollector target;
  page.CollectModes(&target);
  ASSERT_EQ(target.modes.size(), 1u);
  EXPECT_EQ(target.modes[0].hActive, 1280u);
  unsigned width = 0, height = 0;
  page.GetLargestMode(width, height);
  EXPECT_EQ(height, 1024u);
  MonitorInfo info;
  page.GetMonitorInfo(info);
  EXPECT_EQ(info.monitorName, "Default Monitor");
  EXPECT_EQ(page.Validate(&target), 0u);
  EXPECT_EQ(target.Text(),
            "\r\nValidating EDID1.3 Base Block. Data Range: Byte[128] --> Byte[255]\r\n  Block is valid\r\n");
  std::string name, group, label;
  page.DescribeByte(128 + 23, name, group, label);
  EXPECT_EQ(name, "Gamma");
  EXPECT_EQ(group, "(Basic Display Parameters)");
  EXPECT_EQ(label, "EDID-v1.3");
}

// Real EDIDs of every base block version: the summary holds what edid-decode
// (tests/data/corpus/ref) reads from the same bytes.
TEST(EdidBaseBlockPageTest, CorpusBaseBlocksDecodeAsEdidDecodeReadsThem) {
  const struct {
    const char* file;
    bool is14;
    std::vector<std::string> lines;
  } cases[] = {
      {"ed-0c31bd5b71cd.bin", false,  // 1.1 analog CRT override
       {"  Version.............: 1.1\r\n", "  Manufacturer Name...: APP\r\n", "  Product Code........: 0x9D02\r\n",
        "  Gamma...........................: 2.40\r\n", "  1600 x 1200 at 60Hz,  LandScape  4x3\r\n",
        "  1600 x 1200p at 60Hz, 162.00MHz\r\n", "  Vertical Rate Range.......: 48Hz - 160Hz\r\n",
        "  \"StudioDsply17\"\r\n"}},
      {"lhw-01f0efe6759f.bin", false,  // 1.2 digital
       {"  Version.............: 1.2\r\n", "  Manufacturer Name...: ENC\r\n", "  Product Code........: 0x1689\r\n",
        "  Date of Manufacture.: 2003, week 48\r\n", "  Interface.......................: Digital\r\n",
        "  1280 x 1024 at 60Hz,  LandScape  5x4\r\n", "  1280 x 1024p at 60Hz, 108.00MHz\r\n",
        "  [Descriptor 1: Display Product Serial Number]\r\n  \"C3244123\"\r\n", "  \"L557\"\r\n"}},
      {"ed-1b24abf60f67.bin", false,  // 1.3 analog
       {"  Version.............: 1.3\r\n", "  Manufacturer Name...: SHP\r\n", "  Product Code........: 0x1047\r\n",
        "  Interface.......................: Analog\r\n", "  Screen Type.....................: Projector\r\n",
        "  Signal Level Standard...........: 0.714 : 0.286 : 1.000 V p-p\r\n",
        "  1400 x 1050 at 60Hz,  LandScape  4x3\r\n", "  1920 x 1080p at 60Hz, 148.50MHz, CEA[16]\r\n",
        "  Line......: 0      -> 1360        -> 1360   -> 1424       -> 1536     -> 1792 \r\n",
        "  Vertical Rate Range.......: 55Hz - 76Hz\r\n", "  \"SHARP LCD\"\r\n"}},
      {"ed-6d7c99668026.bin", false,  // 1.3 digital DVI
       {"  Version.............: 1.3\r\n", "  Manufacturer Name...: GSM\r\n", "  Serial Number.......: 0x44523130\r\n",
        "  Date of Manufacture.: 2007, week 1\r\n", "  Interface.......................: Digital\r\n",
        "  Screen size (cm)................: 43x27\r\n", "  1440 x 900  at 75Hz,  LandScape 16x10\r\n",
        "  1680 x 1050p at 60Hz, 119.00MHz\r\n", "  Sync......: Digital Separate, VSYNC-, HSYNC+\r\n",
        "  Image Size: 434mm x 270mm\r\n"}},
      {"ldi-2762ff31d929.bin", true,  // 1.4 laptop panel
       {"  Version.............: 1.4\r\n", "  Manufacturer Name...: MEI\r\n", "  Product Code........: 0x96A2\r\n",
        "  Color Depth.....................: 8 Bits per Color\r\n",
        "  Interface Type..................: DisplayPort\r\n", "  Screen size (cm)................: 31x17\r\n",
        "  2560 x 1440p at 60Hz, 257.54MHz\r\n", "  2560 x 1440p at 48Hz, 257.51MHz\r\n",
        "  Horizontal Rate Range.....: 89KHz - 94KHz\r\n", "  Video Timing Support......: Range Limits Only\r\n",
        "  \"VVX14T058J10\"\r\n"}},
      {"ed-5886eb55dddc.bin", true,  // 1.4 with a product name
       {"  Version.............: 1.4\r\n", "  Manufacturer Name...: MS_\r\n",
        "  Supported Color Encoding(s).....: RGB 4:4:4 & YCrCb 4:4:4\r\n",
        "  Gamma...........................: Undefined\r\n", "  Default color space.............: sRGB\r\n",
        "  x Display is continuous frequency\r\n", "  3000 x 2000p at 52Hz, 361.00MHz\r\n",
        "  \"HXTE133E27I3P\"\r\n", "  Horizontal Rate Range.....: 176KHz - 176KHz\r\n",
        "  Video Timing Support......: Default GTF supported\r\n"}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = ReadBytes(CorpusDir() + "/" + c.file);
    ASSERT_GE(bytes.size(), 128u) << c.file;
    const std::string text = Summary(bytes, c.is14);
    for (const std::string& line : c.lines) EXPECT_NE(text.find(line), std::string::npos) << c.file << ": " << line;
  }
}

TEST(EdidBaseBlockPageTest, EveryCorpusBaseBlockGivesATextAModeListAndAByteMap) {
  for (const std::string& path : testing::CorpusFiles()) {
    std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < 128 || bytes[18] != 1 || bytes[19] > 4) continue;
    const bool is14 = bytes[19] == 4;
    EdidBaseBlockPage page(is14, 0, nullptr, nullptr);
    ASSERT_TRUE(page.AttachBlock(bytes.data(), static_cast<unsigned>(bytes.size()), 0)) << path;
    ContentCollector target;
    page.AppendSummary(&target);
    EXPECT_NE(target.Text().find("\r\n  [Descriptor 3: "), std::string::npos) << path;
    page.CollectModes(&target);
    for (const ModeEntry& mode : target.modes) {
      EXPECT_GT(mode.hActive, 0u) << path;
      EXPECT_NE(mode.blockKind, ModeBlockKind::Undefined) << path;
    }
    for (unsigned i = 0; i < 128; ++i) {
      std::string name, group, label;
      page.DescribeByte(i, name, group, label);
      EXPECT_FALSE(label.empty()) << path << " " << i;
    }
  }
}

}  // namespace
}  // namespace velmar
