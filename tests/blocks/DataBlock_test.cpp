#include <gtest/gtest.h>

#include <vector>

#include "common/Callbacks.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DiExtBlock.h"
#include "blocks/DisplayIDBlock.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "support/RecordingContext.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;
using testing::RecordingContext;

// A model whose only operation writes arbitrary bytes, to test the write rule itself.
class PokeBlock : public DataBlock {
 public:
  PokeBlock(uint8_t* data, CallbackContext* context) : DataBlock(0, context) { bytes = data; }
  unsigned GetSize() const override { return kBlockSize; }
  void Poke(const std::vector<std::pair<unsigned, uint8_t>>& edits) {
    Write write(*this);
    for (const auto& [index, value] : edits) bytes[index] = value;
  }
};

TEST(DataBlockTest, ChecksumMakesTheBlockSumToZero) {
  std::vector<uint8_t> data(kBlockSize, 0);
  data[0] = 0x01;
  data[5] = 0xFF;
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), kBlockSize - 1), 0x00);
  data[5] = 0x10;
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), kBlockSize - 1), 0xEF);
}

TEST(DataBlockTest, WriteNotifiesWhenAnyByteChangedEvenIfTheSumStays) {
  std::vector<uint8_t> data = MakeBase13();
  data[95] = 'A';
  data[97] = 'C';
  FixChecksum(data.data());
  RecordingContext context;
  PokeBlock block(data.data(), &context);
  const uint8_t checksum = data[127];
  block.Poke({{95, 'C'}, {97, 'A'}});  // same sum, other bytes
  EXPECT_EQ(data[127], checksum);
  EXPECT_EQ(context.modifiedCalls, 1u);
  block.Poke({{95, 'C'}});  // no change at all
  EXPECT_EQ(context.modifiedCalls, 1u);
  block.Poke({{96, 7}});
  EXPECT_EQ(context.modifiedCalls, 2u);
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), 127), data[127]);
}

TEST(DataBlockTest, WriteRepairsABadChecksumAndCountsThatAsAChange) {
  std::vector<uint8_t> data = MakeBase13();
  data[127] ^= 0x55;
  RecordingContext context;
  PokeBlock block(data.data(), &context);
  block.Poke({});
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), 127), data[127]);
  EXPECT_EQ(context.modifiedCalls, 1u);
}

TEST(EdidBaseAcceptanceTest, VersionsPickTheirModel) {
  for (uint8_t revision = 0; revision <= 5; ++revision) {
    std::vector<uint8_t> data = MakeBase13();
    data[19] = revision;
    Edid13Block b13(0, data.data(), 128, nullptr);
    Edid14Block b14(0, data.data(), 128, nullptr);
    EXPECT_EQ(!b13.IsEmpty(), revision <= 3) << int(revision);
    EXPECT_EQ(!b14.IsEmpty(), revision == 4) << int(revision);
  }
  std::vector<uint8_t> data = MakeBase13();
  Edid13Block block(0, data.data(), 128, nullptr);
  EXPECT_EQ(block.GetVersion(), 259u);
  EXPECT_EQ(block.GetSize(), 128u);
  EXPECT_TRUE(block.IsBaseBlock());
  EXPECT_FALSE(block.BordersOutsideBlanking());
  data[19] = 4;
  EXPECT_TRUE(Edid14Block(0, data.data(), 128, nullptr).BordersOutsideBlanking());
}

TEST(EdidBaseAcceptanceTest, AnyHeaderDifferenceOrShortBufferGivesAnEmptyModel) {
  for (unsigned i = 0; i < 8; ++i) {
    std::vector<uint8_t> data = MakeBase13();
    data[i] ^= 0x01;
    Edid13Block block(0, data.data(), 128, nullptr);
    EXPECT_TRUE(block.IsEmpty());
    EXPECT_EQ(block.GetSize(), 0u);
    EXPECT_FALSE(block.IsBaseBlock());
    EXPECT_EQ(block.GetVersion(), 0u);
  }
  std::vector<uint8_t> data = MakeBase13();
  EXPECT_TRUE(Edid13Block(0, data.data(), 127, nullptr).IsEmpty());
  EXPECT_TRUE(Edid13Block(0, nullptr, 128, nullptr).IsEmpty());
  data[18] = 2;
  EXPECT_TRUE(Edid13Block(0, data.data(), 128, nullptr).IsEmpty());
}

TEST(EdidBaseAcceptanceTest, DefaultBlocks) {
  std::vector<uint8_t> data(128, 0xAA);
  ASSERT_TRUE(Edid14Block::InitDefaultBytes(data.data(), 128));
  EXPECT_EQ(data[19], 4);
  EXPECT_EQ(data[38], 1);
  EXPECT_EQ(data[53], 1);
  EXPECT_EQ(data[57], 0x10);
  EXPECT_EQ(data[111], 0x10);
  EXPECT_EQ(data[20], 0);
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), 127), data[127]);
  EXPECT_FALSE(Edid13Block::InitDefaultBytes(data.data(), 127));
  EXPECT_FALSE(Edid13Block::InitDefaultBytes(nullptr, 128));
}

TEST(EdidBaseAcceptanceTest, SetExtensionCountNotifiesOnlyOnChange) {
  std::vector<uint8_t> data = MakeBase13();
  RecordingContext context;
  Edid13Block block(0, data.data(), 128, &context);
  block.SetExtensionCount(0);
  EXPECT_EQ(context.modifiedCalls, 0u);
  block.SetExtensionCount(2);
  EXPECT_EQ(data[126], 2);
  EXPECT_EQ(context.modifiedCalls, 1u);
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), 127), data[127]);
}

TEST(ExtensionAcceptanceTest, CeaAndDiNeedTheirTagAnd128Bytes) {
  std::vector<uint8_t> data(128, 0);
  data[0] = 0x02;
  data[1] = 3;
  EXPECT_FALSE(CeaExtBlock(128, data.data(), 128, nullptr).IsEmpty());
  EXPECT_EQ(CeaExtBlock(128, data.data(), 128, nullptr).GetVersion(), 3u);
  EXPECT_EQ(CeaExtBlock(128, data.data(), 128, nullptr).GetOffset(), 128u);
  EXPECT_TRUE(CeaExtBlock(128, data.data(), 127, nullptr).IsEmpty());
  EXPECT_TRUE(DiExtBlock(128, data.data(), 128, nullptr).IsEmpty());
  data[0] = 0x40;
  EXPECT_FALSE(DiExtBlock(128, data.data(), 128, nullptr).IsEmpty());
  EXPECT_EQ(DiExtBlock(128, data.data(), 128, nullptr).GetVersion(), 0u);

  std::vector<uint8_t> fresh(128, 0x33);
  ASSERT_TRUE(CeaExtBlock::InitDefaultBytes(fresh.data(), 128));
  EXPECT_EQ(fresh[0], 0x02);
  EXPECT_EQ(fresh[1], 3);
  EXPECT_EQ(fresh[2], 0);
  EXPECT_EQ(DataBlock::ComputeChecksum(fresh.data(), 127), fresh[127]);
  ASSERT_TRUE(DiExtBlock::InitDefaultBytes(fresh.data(), 128));
  EXPECT_EQ(fresh[0], 0x40);
  EXPECT_EQ(fresh[1], 1);
  EXPECT_EQ(fresh[127], 0xBF);
}

TEST(DisplayIdAcceptanceTest, BaseSectionSizeAgainstAvailableBytes) {
  std::vector<uint8_t> data(512, 0);
  data[0] = 0x11;
  data[1] = 0xFB;
  EXPECT_TRUE(DisplayIDBlock(0, data.data(), 250, nullptr, true).IsEmpty());
  DisplayIDBlock accepted(0, data.data(), 251, nullptr, true);
  EXPECT_FALSE(accepted.IsEmpty());
  EXPECT_EQ(accepted.GetSize(), 256u);
  data[1] = 0xFC;
  EXPECT_TRUE(DisplayIDBlock(0, data.data(), 512, nullptr, true).IsEmpty());
}

TEST(DisplayIdAcceptanceTest, NewBaseSectionAndExtensionCount) {
  std::vector<uint8_t> data(8, 0);
  ASSERT_TRUE(DisplayIDBlock::InitDefaultBaseBytes(data.data(), 5));
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 5), (std::vector<uint8_t>{0x11, 0, 0, 0, 0xEF}));
  RecordingContext context;
  DisplayIDBlock block(0, data.data(), 5, &context, true);
  EXPECT_EQ(block.GetSize(), 5u);
  EXPECT_EQ(block.GetExtensionCount(), 0u);
  EXPECT_TRUE(block.IsBaseBlock());
  block.SetExtensionCount(2);
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 5), (std::vector<uint8_t>{0x11, 0, 0, 2, 0xED}));
  EXPECT_EQ(context.modifiedCalls, 1u);
  EXPECT_EQ(block.GetChecksum(), 0xED);
  EXPECT_EQ(data[5], 0);  // nothing written past the section
}

TEST(DisplayIdAcceptanceTest, ExtensionBlockIgnoresExtensionCount) {
  std::vector<uint8_t> data(128, 0);
  ASSERT_TRUE(DisplayIDBlock::InitDefaultExtensionBytes(data.data(), 128));
  EXPECT_EQ(data[0], 0x70);
  EXPECT_EQ(data[1], 0x11);
  EXPECT_EQ(data[5], 0xEF);
  EXPECT_EQ(DataBlock::ComputeChecksum(data.data(), 127), data[127]);
  const std::vector<uint8_t> before = data;
  RecordingContext context;
  DisplayIDBlock block(128, data.data(), 128, &context, false);
  ASSERT_FALSE(block.IsEmpty());
  EXPECT_FALSE(block.IsBaseBlock());
  EXPECT_EQ(block.GetSize(), 128u);
  EXPECT_EQ(block.GetVersion(), 0x70u);
  block.SetExtensionCount(3);
  EXPECT_EQ(data, before);
  EXPECT_EQ(context.modifiedCalls, 0u);
}

TEST(CandidateCheckTest, BaseBlockLines) {
  std::vector<uint8_t> data(512, 0);
  ContentCollector report;
  data[0] = 0x12;
  EXPECT_FALSE(Edid13Block::CheckCandidate(data.data(), 0, 512, &report));
  EXPECT_EQ(report.Text(),
            "  EDID1.3.........: Byte[0] = 0x12 does not match EDID header pattern (0x00 0xFF 0xFF 0xFF 0xFF 0xFF "
            "0xFF 0x00)\r\n");

  std::vector<uint8_t> base = MakeBase13();
  base.resize(512);
  base[18] = 2;
  ContentCollector version;
  EXPECT_FALSE(Edid13Block::CheckCandidate(base.data(), 0, 512, &version));
  EXPECT_EQ(version.Text(),
            "  EDID1.3.........: Byte[18] = 0x02 defines invalid version (2.XX). Supported version pattern is "
            "1.XX\r\n");

  base[18] = 1;
  base[19] = 4;
  ContentCollector sub13;
  EXPECT_FALSE(Edid13Block::CheckCandidate(base.data(), 0, 512, &sub13));
  EXPECT_EQ(sub13.Text(), "  EDID1.3.........: Byte[19] = 0x04 defines invalid sub-version. Should be 3 or lower\r\n");
  ContentCollector ok14;
  EXPECT_TRUE(Edid14Block::CheckCandidate(base.data(), 0, 512, &ok14));
  EXPECT_EQ(ok14.Text(), "");
  base[19] = 3;
  ContentCollector sub14;
  EXPECT_FALSE(Edid14Block::CheckCandidate(base.data(), 0, 512, &sub14));
  EXPECT_EQ(sub14.Text(), "  EDID1.4.........: Byte[19] = 0x03 defines invalid sub-version. Should be 4\r\n");
}

TEST(CandidateCheckTest, ExtensionLines) {
  std::vector<uint8_t> data(512, 0);
  data[128] = 0x55;
  ContentCollector report;
  EXPECT_FALSE(CeaExtBlock::CheckCandidate(data.data(), 128, 384, &report));
  EXPECT_FALSE(DiExtBlock::CheckCandidate(data.data(), 128, 384, &report));
  EXPECT_FALSE(DisplayIDBlock::CheckExtensionCandidate(data.data(), 128, 384, &report));
  EXPECT_EQ(report.Text(),
            "  CEA Ext Block...: Byte[128] = 0x55 does not match CEA extension tag (0x02)\r\n"
            "DI Ext Block....: Byte[128] = 0x55 does not match DI extension tag (0x40)\r\n"
            "  DisplayID1.1 Ext: Byte[128] = 0x55 does not match DisplayID extension tag (0x70)\r\n");

  ContentCollector small;
  EXPECT_FALSE(CeaExtBlock::CheckCandidate(data.data(), 400, 112, &small));
  EXPECT_FALSE(DisplayIDBlock::CheckBaseCandidate(data.data(), 508, 4, &small));
  EXPECT_EQ(small.Text(),
            "  CEA Ext Block...: 112 - unsufficient size. Required 128 bytes\r\n"
            "  DisplayID1.1....: 4 - unsufficient size. Required at least 5 bytes\r\n");

  ContentCollector inner;
  data[128] = 0x70;
  data[129] = 0x12;
  data[130] = 0xFC;
  EXPECT_FALSE(DisplayIDBlock::CheckExtensionCandidate(data.data(), 128, 384, &inner));
  EXPECT_EQ(inner.Text(), "  DisplayID1.1....: Byte[130] = 252 specifies size large than maximum (251 bytes)\r\n");
}

}  // namespace
}  // namespace velmar
