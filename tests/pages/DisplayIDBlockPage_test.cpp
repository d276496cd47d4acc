#include "pages/DisplayIDBlockPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/DisplayIDBlock.h"
#include "support/RecordingContext.h"

namespace velmar {
namespace {

using testing::RecordingContext;

TEST(DisplayIDBlockPageTest, BaseSectionPageForwardsToItsModel) {
  RecordingContext context;
  DisplayIDBlockPage page(true, 0, &context, nullptr);
  EXPECT_EQ(page.GetTitle(), "DID BaseBlock");
  std::vector<uint8_t> bytes = {0x20, 0x00, 0x00, 0x00, 0xE0};  // a DisplayID 2.0 section
  EXPECT_FALSE(page.AttachBlock(bytes.data(), 4, 0));
  ASSERT_TRUE(page.AttachBlock(bytes.data(), 5, 0));
  EXPECT_TRUE(page.IsBaseBlock());
  EXPECT_EQ(page.GetSize(), 5u);
  page.SetExtensionCount(1);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x20, 0x00, 0x00, 0x01, 0xDF}));
  EXPECT_EQ(page.GetExtensionCount(), 1u);
  EXPECT_EQ(context.modifiedCalls, 1u);

  ContentCollector report;
  EXPECT_EQ(page.Validate(&report), 0u);
  page.AppendSummary(&report);
  EXPECT_EQ(report.Text(), "");
  std::string name, group, label;
  page.DescribeByte(0, name, group, label);
  EXPECT_EQ(name + group + label, "");
}

TEST(DisplayIDBlockPageTest, ExtensionPageShowsNoButtons) {
  RecordingContext context;
  DisplayIDBlockPage page(false, 2, &context, nullptr);
  EXPECT_EQ(page.GetTitle(), "DID ExtBlock");
  std::vector<uint8_t> bytes(128, 0);
  DisplayIDBlock::InitDefaultExtensionBytes(bytes.data(), 128);
  bytes[1] = 0x13;
  EXPECT_FALSE(page.AttachBlock(bytes.data(), 127, 256));
  EXPECT_EQ(page.Validate(nullptr), 0u);  // no model: nothing to count
  page.Activate();
  ASSERT_TRUE(page.AttachBlock(bytes.data(), 128, 256));
  EXPECT_FALSE(page.IsBaseBlock());
  EXPECT_EQ(page.GetOffset(), 256u);
  EXPECT_EQ(page.GetExtensionCount(), 0u);
  const std::vector<uint8_t> before = bytes;
  page.SetExtensionCount(2);
  EXPECT_EQ(bytes, before);
  // No buttons and no frames: a line says there is nothing to edit.
  for (int row = 0; row < kGridRows; ++row) {
    for (int base : {kLeftItemId, kRightItemId, kLeftActionId, kRightActionId, kLeftFrameId, kRightFrameId}) {
      EXPECT_EQ(page.Control(base + row).text, "");
      EXPECT_FALSE(page.Control(base + row).enabled);
      EXPECT_FALSE(page.Control(base + row).visible);
    }
  }
  EXPECT_EQ(page.Note(), "This block has no editable sections.");
  ContentCollector report;
  EXPECT_EQ(page.Validate(&report), 0u);
  EXPECT_EQ(report.Text(), "");
}

}  // namespace
}  // namespace velmar
