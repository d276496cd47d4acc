// Whole-image texts of two rules that real EDIDs exercise: the EDID 1.3 border
// rule when a border is larger than its sync offset or than half its blanking,
// and a CEA data block whose stated length runs past the end of its collection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "dialogs/ModeTable.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;
using testing::ScriptedUserInterface;

// An EDID 1.3 base block whose descriptor 1 (bytes 54-71) is `dtd`.
std::vector<uint8_t> BaseWithDtd(const std::vector<uint8_t>& dtd, unsigned extensions = 0) {
  std::vector<uint8_t> bytes = MakeBase13(extensions);
  std::copy(dtd.begin(), dtd.end(), bytes.begin() + 54);
  FixChecksum(bytes.data());
  return bytes;
}

class BorderAndOverrunTest : public ::testing::Test {
 protected:
  void Load(const std::vector<uint8_t>& bytes) {
    image.ResetForLoad();
    std::copy(bytes.begin(), bytes.end(), image.rawData.begin());
    image.Rebuild();
    ASSERT_TRUE(ui.messages.empty());
  }
  std::string Summary() {
    ContentCollector summary;
    image.FillContent(&summary, kContentSummary);
    return summary.Text();
  }
  // The modes list's row of the base block's first descriptor.
  ModeTable::Row DetailedRow() {
    ModeTable table;
    table.Open(&image);
    for (const ModeTable::Row& row : table.Rows()) {
      if (row[kColumnBlock] == "EDID(B) Desc0") return row;
    }
    ADD_FAILURE() << "no detailed timing in the modes list";
    return {};
  }

  ScriptedUserInterface ui;
  EdidImage image{ui};
};

bool Has(const std::string& text, const std::string& line) { return text.find(line) != std::string::npos; }

TEST_F(BorderAndOverrunTest, VerticalBorderAsLargeAsTheBlanking) {
  // 1280x720, vertical blanking 30, vertical border 30: the border goes back
  // into the total, which stays 750, so the rate and the format are 720p60's.
  Load(BaseWithDtd({0x01, 0x1D, 0x00, 0x72, 0x51, 0xD0, 0x1E, 0x20, 0x6E, 0x28, 0x55, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x1E, 0x1E}));
  const std::string text = Summary();
  EXPECT_TRUE(Has(text, "  1280 x 720p  at 60Hz, 74.25MHz, CEA[4]\r\n")) << text;
  EXPECT_TRUE(Has(text, "  Frame.....: 30     -> 750         -> 780    -> 755        -> 760      -> 750  \r\n"))
      << text;

  const ModeTable::Row row = DetailedRow();
  EXPECT_EQ(row[kColumnRefreshRate], "60Hz");
  EXPECT_EQ(row[kColumnSource], "Detailed VIC[4]");
  EXPECT_EQ(row[kColumnVTotal], "750");
  EXPECT_EQ(row[kColumnVBorder], "30x30");
  // The sync offset 5 less the border 30 would be a negative porch: shown as 0.
  EXPECT_EQ(row[kColumnVPorch], "0");
}

TEST_F(BorderAndOverrunTest, HorizontalBorderLargerThanTheFrontPorch) {
  // 1080p60 with a horizontal border of 100 and a front porch of 88.
  Load(BaseWithDtd({0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0x00, 0x00, 0x00, 0x64,
                    0x00, 0x1E}));
  const std::string text = Summary();
  EXPECT_TRUE(Has(text, "  1920 x 1080p at 60Hz, 148.50MHz, CEA[16]\r\n")) << text;
  EXPECT_TRUE(Has(text, "  Line......: 100    -> 2020        -> 2120   -> 2108       -> 2152     -> 2200 \r\n"))
      << text;

  const ModeTable::Row row = DetailedRow();
  EXPECT_EQ(row[kColumnHTotal], "2200");
  EXPECT_EQ(row[kColumnHPorch], "0");
}

TEST_F(BorderAndOverrunTest, InterlacedVerticalBorderLargerThanTheSyncOffset) {
  // 1920x540 per field, vertical blanking 22, sync offset 2, vertical border 4:
  // the field's offset is -2, the frame's 2 x -2 + 1 = -3.
  Load(BaseWithDtd({0x01, 0x1D, 0x80, 0x18, 0x71, 0x1C, 0x16, 0x20, 0x58, 0x2C, 0x25, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x04, 0x9E}));
  const std::string text = Summary();
  EXPECT_TRUE(Has(text, "  1920 x 1080i at 60Hz, 74.25MHz, CEA[5]\r\n")) << text;
  EXPECT_TRUE(Has(text, "  Frame.....: 8      -> 1088        -> 1096   -> 1093       -> 1103     -> 1125 \r\n"))
      << text;

  const ModeTable::Row row = DetailedRow();
  EXPECT_EQ(row[kColumnRefreshRate], "60Hz(i)");
  EXPECT_EQ(row[kColumnSource], "Detailed VIC[5]");
  EXPECT_EQ(row[kColumnVTotal], "1125");
  EXPECT_EQ(row[kColumnVBorder], "8x8");
  // 2 x max(0, 2 - 4) + 1.
  EXPECT_EQ(row[kColumnVPorch], "1");
  EXPECT_EQ(row[kColumnVSync], "10");
}

TEST_F(BorderAndOverrunTest, DataBlockKeepsItsStatedLengthPastTheCollection) {
  // Byte 2 ends the collection at byte 12, but the vendor specific block at
  // byte 4 states 10 payload bytes: it runs to byte 14.
  std::vector<uint8_t> bytes =
      BaseWithDtd({0x01, 0x1D, 0x00, 0x72, 0x51, 0xD0, 0x1E, 0x20, 0x6E, 0x28, 0x55, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x1E, 0x1E},
                  1);
  const std::vector<uint8_t> cea = {0x02, 0x03, 0x0C, 0x00, 0x6A, 0xAB, 0xCD, 0xEF,
                                    0x11, 0x22, 0x33, 0x44, 0x00, 0x00, 0x55};
  bytes.resize(256, 0);
  std::copy(cea.begin(), cea.end(), bytes.begin() + 128);
  FixChecksum(bytes.data() + 128);
  Load(bytes);
  ASSERT_EQ(image.BlockCount(), 2u);

  const std::string text = Summary();
  EXPECT_TRUE(Has(text,
                  "\r\n  [Datablock 0: Vendor Specific Data Block]\r\n"
                  "  IEEE Registration ID: 0xEFCDAB\r\n"
                  "  Number Of Data Bytes: 7\r\n"
                  "  Data Bytes    0 - 6 : 0x11, 0x22, 0x33, 0x44, 0x00, 0x00, 0x55\r\n"))
      << text;
  // The bytes after the block's stated end are the block's free room.
  EXPECT_TRUE(Has(text, "  Available space in Block..: 112 bytes\r\n")) << text;

  for (unsigned i = 0; i < 3; ++i) {
    std::string name, group, label;
    image.DescribeByte(140 + i, name, group, label);
    EXPECT_EQ(name, "Data Byte[" + std::to_string(4 + i) + "]");
    EXPECT_EQ(group, "(Vendor Specific Data Block)");
    EXPECT_EQ(label, "CEA-v3");
  }
  std::string name, group, label;
  image.DescribeByte(143, name, group, label);
  EXPECT_EQ(name, "Padding (Unused)");
}

}  // namespace
}  // namespace velmar
