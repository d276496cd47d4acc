#include "blocks/DisplayIDBlock.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/Callbacks.h"
#include "support/RecordingContext.h"

namespace velmar {
namespace {

using testing::RecordingContext;

std::vector<uint8_t> NewExtension() {
  std::vector<uint8_t> data(128, 0);
  DisplayIDBlock::InitDefaultExtensionBytes(data.data(), 128);
  return data;
}

TEST(DisplayIdVersionTest, ExtensionBlocksOfVersionsOneAndTwo) {
  std::vector<uint8_t> data = NewExtension();
  for (unsigned version = 0; version < 256; ++version) {
    data[1] = static_cast<uint8_t>(version);
    const bool expected = version >= 0x10 && version <= 0x2F;
    EXPECT_EQ(!DisplayIDBlock(128, data.data(), 128, nullptr, false).IsEmpty(), expected) << version;
    EXPECT_EQ(DisplayIDBlock::AcceptsExtension(data.data(), 128), expected) << version;
  }
}

TEST(DisplayIdVersionTest, BaseSectionsOfVersionsOneAndTwo) {
  std::vector<uint8_t> data = {0x11, 0x00, 0x00, 0x00, 0xEF};
  for (unsigned version = 0; version < 256; ++version) {
    data[0] = static_cast<uint8_t>(version);
    const bool expected = version >= 0x11 && version <= 0x2F;
    DisplayIDBlock block(0, data.data(), 5, nullptr, true);
    EXPECT_EQ(!block.IsEmpty(), expected) << version;
    if (expected) {
      EXPECT_EQ(block.GetVersion(), version);
    }
  }
}

TEST(DisplayIdVersionTest, CandidateChecksPassTheAcceptedVersionsAndKeepTheirWording) {
  std::vector<uint8_t> image(512, 0);
  image[0] = 0x20;
  ContentCollector quiet;
  EXPECT_TRUE(DisplayIDBlock::CheckBaseCandidate(image.data(), 0, 512, &quiet));
  image[0] = 0x10;  // another extension's tag when standing first
  EXPECT_FALSE(DisplayIDBlock::CheckBaseCandidate(image.data(), 0, 512, &quiet));
  image[0] = 0x30;
  EXPECT_FALSE(DisplayIDBlock::CheckBaseCandidate(image.data(), 0, 512, &quiet));
  EXPECT_EQ(quiet.Text(),
            "  DisplayID1.1....: Byte[0] = 0x10 defines invalid version. Should be 0x11\r\n"
            "  DisplayID1.1....: Byte[0] = 0x30 defines invalid version. Should be 0x11\r\n");

  image[256] = 0x70;
  image[257] = 0x10;
  image[258] = 121;
  ContentCollector extension;
  EXPECT_TRUE(DisplayIDBlock::CheckExtensionCandidate(image.data(), 256, 256, &extension));
  image[257] = 0x0F;
  EXPECT_FALSE(DisplayIDBlock::CheckExtensionCandidate(image.data(), 256, 256, &extension));
  EXPECT_EQ(extension.Text(), "  DisplayID1.1....: Byte[257] = 0x0F defines invalid version. Should be 0x11\r\n");
}


TEST(DisplayIdBaseSectionTest, SizeRulesAndTheSectionChecksum) {
  // Exactly as many bytes as the model is given, so a read past them is caught.
  std::vector<uint8_t> data(251, 0);
  data[0] = 0x11;
  data[1] = 0xFB;
  EXPECT_TRUE(DisplayIDBlock(0, data.data(), 250, nullptr, true).IsEmpty());
  RecordingContext context;
  DisplayIDBlock accepted(0, data.data(), 251, &context, true);
  ASSERT_FALSE(accepted.IsEmpty());
  EXPECT_EQ(accepted.GetSize(), 256u);
  EXPECT_EQ(accepted.GetSectionSize(), 256u);
  // The announced section runs past the bytes given: nothing is read or written there.
  EXPECT_EQ(accepted.GetChecksum(), 0);
  const std::vector<uint8_t> before = data;
  accepted.SetExtensionCount(1);
  accepted.UpdateChecksum();
  EXPECT_EQ(data, before);
  EXPECT_EQ(context.modifiedCalls, 0u);

  std::vector<uint8_t> small = {0x11, 0x02, 0x00, 0x00, 0xAA, 0xBB, 0x00};
  DisplayIDBlock section(0, small.data(), 7, &context, true);
  ASSERT_EQ(section.GetSize(), 7u);
  section.UpdateChecksum();
  EXPECT_EQ(small[6], DataBlock::ComputeChecksum(small.data(), 6));
  EXPECT_EQ(section.GetChecksum(), small[6]);
  EXPECT_EQ(context.modifiedCalls, 1u);
}

TEST(DisplayIdBaseSectionTest, ExtensionCountWritesByteThreeAndTheChecksum) {
  std::vector<uint8_t> data = {0x11, 0x00, 0x00, 0x00, 0xEF};
  RecordingContext context;
  DisplayIDBlock block(0, data.data(), 5, &context, true);
  block.SetExtensionCount(2);
  EXPECT_EQ(data, (std::vector<uint8_t>{0x11, 0x00, 0x00, 0x02, 0xED}));
  block.SetExtensionCount(2);
  EXPECT_EQ(context.modifiedCalls, 1u);
  block.SetExtensionCount(0x103);  // one byte holds the count
  EXPECT_EQ(block.GetExtensionCount(), 3u);
}

TEST(DisplayIdExtensionTest, ChecksumIsTheBlockChecksum) {
  std::vector<uint8_t> data = NewExtension();
  data[3] = 0x03;  // the product type, as a real block would carry one
  data[5] = DataBlock::ComputeChecksum(data.data() + 1, 4);
  data[127] = DataBlock::ComputeChecksum(data.data(), 127);
  RecordingContext context;
  DisplayIDBlock block(128, data.data(), 128, &context, false);
  EXPECT_EQ(block.GetChecksum(), data[127]);
  EXPECT_NE(block.GetChecksum(), data[5]);
  EXPECT_EQ(block.GetSectionSize(), 5u);
  EXPECT_EQ(block.GetExtensionCount(), 0u);

  // Putting a wrong section checksum right keeps the block checksum right too.
  data[5] ^= 0x11;
  block.UpdateChecksum();
  EXPECT_EQ(data[5], DataBlock::ComputeChecksum(data.data() + 1, 4));
  EXPECT_EQ(data[127], DataBlock::ComputeChecksum(data.data(), 127));
  EXPECT_EQ(context.modifiedCalls, 1u);

  const std::vector<uint8_t> before = data;
  block.SetExtensionCount(3);
  EXPECT_EQ(data, before);
  EXPECT_EQ(context.modifiedCalls, 1u);
}

TEST(DisplayIdExtensionTest, RealBlocksAreLeftAsTheyAre) {
  // A section that would reach the block checksum is not the model's to rewrite.
  std::vector<uint8_t> data = NewExtension();
  data[2] = 122;
  data[127] = DataBlock::ComputeChecksum(data.data(), 127);
  const std::vector<uint8_t> before = data;
  DisplayIDBlock block(128, data.data(), 128, nullptr, false);
  ASSERT_FALSE(block.IsEmpty());
  block.UpdateChecksum();
  EXPECT_EQ(data, before);
}

TEST(DisplayIdCandidateTest, SectionSizeLines) {
  std::vector<uint8_t> image(512, 0);
  image[0] = 0x11;
  image[1] = 252;
  ContentCollector report;
  EXPECT_FALSE(DisplayIDBlock::CheckBaseCandidate(image.data(), 0, 512, &report));
  image[1] = 200;
  EXPECT_FALSE(DisplayIDBlock::CheckBaseCandidate(image.data(), 0, 100, &report));
  EXPECT_FALSE(DisplayIDBlock::CheckBaseCandidate(image.data(), 0, 4, &report));
  EXPECT_EQ(report.Text(),
            "  DisplayID1.1....: Byte[1] = 252 specifies size large than maximum (251 bytes)\r\n"
            "  DisplayID1.1....: Byte[1] = 200 specifies size large than available space (100 bytes)\r\n"
            "  DisplayID1.1....: 4 - unsufficient size. Required at least 5 bytes\r\n");
  ContentCollector extension;
  EXPECT_FALSE(DisplayIDBlock::CheckExtensionCandidate(image.data(), 384, 127, &extension));
  EXPECT_EQ(extension.Text(), "  DisplayID1.1 Ext: 127 - unsufficient size. Required 128 bytes\r\n");
}

TEST(DisplayIdEmptyModelTest, AnswersDefaultsAndWritesNothing) {
  std::vector<uint8_t> data(128, 0);
  RecordingContext context;
  DisplayIDBlock block(0, data.data(), 128, &context, false);
  ASSERT_TRUE(block.IsEmpty());
  EXPECT_EQ(block.GetSize(), 0u);
  EXPECT_EQ(block.GetSectionSize(), 0u);
  EXPECT_EQ(block.GetChecksum(), 0);
  EXPECT_EQ(block.GetVersion(), 0u);
  EXPECT_FALSE(block.IsBaseBlock());
  block.UpdateChecksum();
  block.SetExtensionCount(1);
  EXPECT_EQ(data, std::vector<uint8_t>(128, 0));
  EXPECT_EQ(context.modifiedCalls, 0u);
  ContentCollector report;
  EXPECT_EQ(block.Validate(&report), 0u);
  EXPECT_EQ(report.Text(), "");
  EXPECT_FALSE(DisplayIDBlock::InitDefaultBaseBytes(data.data(), 4));
  EXPECT_FALSE(DisplayIDBlock::InitDefaultExtensionBytes(data.data(), 127));
  EXPECT_FALSE(DisplayIDBlock::InitDefaultBaseBytes(nullptr, 5));
}

}  // namespace
}  // namespace velmar
