#include "blocks/DisplayIDBlock.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/Callbacks.h"
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

}  // namespace
}  // namespace velmar
