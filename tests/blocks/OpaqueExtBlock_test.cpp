#include "blocks/OpaqueExtBlock.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/Callbacks.h"
#include "support/RecordingContext.h"
#include "support/TestData.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::RecordingContext;

// A block at offset 128 of a 384-byte image, with a valid checksum.
struct Image {
  std::array<uint8_t, 384> bytes{};
  explicit Image(uint8_t tag) {
    bytes[128] = tag;
    for (unsigned i = 1; i < 127; ++i) bytes[128 + i] = static_cast<uint8_t>(i * 3);
    testing::FixChecksum(Block());
  }
  uint8_t* Block() { return bytes.data() + 128; }
};

TEST(OpaqueExtBlockTest, TakesAnyTagButZeroIn128Bytes) {
  Image image(0x45);
  EXPECT_TRUE(OpaqueExtBlock::Accepts(image.Block(), 128));
  EXPECT_FALSE(OpaqueExtBlock::Accepts(image.Block(), 127));
  EXPECT_FALSE(OpaqueExtBlock::Accepts(nullptr, 128));
  image.Block()[0] = 0x00;
  EXPECT_FALSE(OpaqueExtBlock::Accepts(image.Block(), 128));
  const OpaqueExtBlock refused(128, image.Block(), 128, nullptr);
  EXPECT_TRUE(refused.IsEmpty());
  EXPECT_EQ(refused.GetSize(), 0u);
}

TEST(OpaqueExtBlockTest, CaptionsByTag) {
  const struct {
    uint8_t tag;
    const char* caption;
  } cases[] = {
      {0xF0, "Block Map"},           {0x10, "VTB Extension"},    {0xFF, "Manufacturer Extension"},
      {0x50, "LS Extension"},        {0x60, "DPVL Extension"},   {0x20, "EDID 2.0 Extension"},
      {0x45, "Extension (tag 0x45)"}, {0x70, "Extension (tag 0x70)"}, {0x01, "Extension (tag 0x01)"},
  };
  for (const auto& c : cases) EXPECT_EQ(OpaqueExtBlock::CaptionOf(c.tag), c.caption);
  EXPECT_EQ(OpaqueExtBlock::TagName(0x02), "CEA ExtBlock");
  EXPECT_EQ(OpaqueExtBlock::TagName(0x70), "DID ExtBlock");
}

TEST(OpaqueExtBlockTest, ByteMapNamesTagDataAndChecksum) {
  Image image(0x10);
  const OpaqueExtBlock block(128, image.Block(), 256, nullptr);
  const struct {
    unsigned index;
    const char* name;
    const char* group;
  } cases[] = {
      {128, "Extension tag", "Byte[0] of Extension Block"},
      {129, "Data", "Byte[1] of Extension Block"},
      {254, "Data", "Byte[126] of Extension Block"},
      {255, "Checksum", ""},
  };
  for (const auto& c : cases) {
    std::string name, group, label;
    block.DescribeByte(c.index, name, group, label);
    EXPECT_EQ(name, c.name) << c.index;
    EXPECT_EQ(group, c.group) << c.index;
    EXPECT_EQ(label, "EXT-0x10") << c.index;
  }
  std::string name, group, label;
  block.DescribeByte(127, name, group, label);
  block.DescribeByte(256, name, group, label);
  EXPECT_EQ(name + group + label, "");
}

TEST(OpaqueExtBlockTest, BlockMapListsTheTagsItAnnounces) {
  Image image(OpaqueExtBlock::kBlockMapTag);
  image.bytes.fill(0);
  image.Block()[0] = OpaqueExtBlock::kBlockMapTag;
  image.Block()[1] = 0x02;
  image.Block()[2] = 0x70;
  image.Block()[5] = 0x40;  // a gap of unused entries
  testing::FixChecksum(image.Block());
  const OpaqueExtBlock block(128, image.Block(), 256, nullptr);
  const OpaqueExtBlock::BlockMap map = block.GetBlockMap();
  ASSERT_EQ(map.count, 3u);
  EXPECT_EQ(map.entries[0].block, 2u);
  EXPECT_EQ(map.entries[0].tag, 0x02);
  EXPECT_EQ(map.entries[1].block, 3u);
  EXPECT_EQ(map.entries[2].block, 6u);
  EXPECT_EQ(map.entries[2].tag, 0x40);
  std::string name, group, label;
  block.DescribeByte(129, name, group, label);
  EXPECT_EQ(group, "(Block Map). Tag of Block[2]");

  Image other(0x10);
  EXPECT_EQ(OpaqueExtBlock(128, other.Block(), 256, nullptr).GetBlockMap().count, 0u);
}

TEST(OpaqueExtBlockTest, ValidateChecksTheChecksum) {
  Image image(0xF0);
  const OpaqueExtBlock block(128, image.Block(), 256, nullptr);
  ContentCollector good;
  EXPECT_EQ(block.Validate(&good), 0u);
  EXPECT_EQ(good.Text(), "\r\nValidating Block Map. Data Range: Byte[128] --> Byte[255]\r\n  Block is valid\r\n");

  const uint8_t right = image.Block()[127];
  image.Block()[127] = static_cast<uint8_t>(right + 1);
  ContentCollector bad;
  EXPECT_EQ(block.Validate(&bad), 1u);
  EXPECT_EQ(bad.Text(), Format("\r\nValidating Block Map. Data Range: Byte[128] --> Byte[255]\r\n"
                               "  Checksum: Byte[255] = 0x%02X while the block's bytes call for 0x%02X\r\n",
                               static_cast<uint8_t>(right + 1), right));
}

TEST(OpaqueExtBlockTest, UpdateChecksumTellsOnlyAChange) {
  Image image(0x45);
  RecordingContext listener;
  OpaqueExtBlock block(128, image.Block(), 256, &listener);
  block.UpdateChecksum();
  EXPECT_EQ(listener.modifiedCalls, 0u);
  image.Block()[40] ^= 0xFF;
  block.UpdateChecksum();
  EXPECT_EQ(listener.modifiedCalls, 1u);
  EXPECT_EQ(block.GetChecksum(), block.ExpectedChecksum());
}

}  // namespace
}  // namespace velmar
