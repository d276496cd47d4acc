#include "pages/BlockPage.h"

#include <gtest/gtest.h>

#include <vector>

#include "blocks/DiExtBlock.h"
#include "pages/DiExtBlockPage.h"
#include "pages/DisplayIDBlockPage.h"
#include "pages/EdidBaseBlockPage.h"
#include "support/RecordingContext.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::RecordingContext;

TEST(FormatDecimalTest, DecimalsAsNeeded) {
  EXPECT_EQ(BlockPage::FormatDecimal(1, true, 2.2, 3), "2.2");
  EXPECT_EQ(BlockPage::FormatDecimal(0, false, 0.5, 2), "+0.5");
  EXPECT_EQ(BlockPage::FormatDecimal(1, true, 3.0, 3), "3.0");
  EXPECT_EQ(BlockPage::FormatDecimal(1, false, -0.0, 3), "+0.0");
  EXPECT_EQ(BlockPage::FormatDecimal(1, true, -0.0, 3), "0.0");
  EXPECT_EQ(BlockPage::FormatDecimal(0, true, 1.23456789, 3), "1.235");
  EXPECT_EQ(BlockPage::FormatDecimal(0, false, -1.25, 3), "-1.25");
}

TEST(MonthNameTest, OnlyTwelveMonths) {
  EXPECT_EQ(BlockPage::MonthName(1), "January");
  EXPECT_EQ(BlockPage::MonthName(12), "December");
  EXPECT_EQ(BlockPage::MonthName(0), "");
  EXPECT_EQ(BlockPage::MonthName(13), "");
}

// A page that records which handlers ran.
class ProbePage : public DiExtBlockPage {
 public:
  using DiExtBlockPage::DiExtBlockPage;
  void OnLeftItem(int id) override { calls.push_back(id); }
  void OnLeftAction(int id) override { calls.push_back(id); }
  void Refresh() override {
    BlockPage::Refresh();
    ++refreshes;
  }
  std::vector<int> calls;
  int refreshes = 0;
};

TEST(BlockPageTest, AttachRules) {
  RecordingContext context;
  std::vector<uint8_t> bytes(128, 0);
  DiExtBlock::InitDefaultBytes(bytes.data(), 128);
  DiExtBlockPage page(1, &context, nullptr);
  EXPECT_EQ(page.GetTitle(), "DI ExtBlock");
  EXPECT_FALSE(page.AttachBlock(bytes.data(), 127, 128));
  EXPECT_EQ(page.GetBlock(), nullptr);
  bytes[0] = 0x70;
  EXPECT_FALSE(page.AttachBlock(bytes.data(), 128, 128));
  EXPECT_TRUE(page.AttachBlock(nullptr, 0, 0));
  EXPECT_EQ(page.GetBlock(), nullptr);
  bytes[0] = 0x40;
  EXPECT_TRUE(page.AttachBlock(bytes.data(), 128, 128));
  EXPECT_EQ(page.GetSize(), 128u);
  EXPECT_EQ(page.GetOffset(), 128u);
  EXPECT_FALSE(page.IsBaseBlock());

  EdidBaseBlockPage base14(true, 0, &context, nullptr);
  std::vector<uint8_t> base = testing::MakeBase13();
  EXPECT_FALSE(base14.AttachBlock(base.data(), 128, 0));  // a 1.4 page refuses revision 3
  EXPECT_EQ(base14.GetSize(), 0u);
  EXPECT_EQ(base14.GetTitle(), "EDID1.4 BaseBlock");

  DisplayIDBlockPage section(true, 0, &context, nullptr);
  std::vector<uint8_t> did = {0x11, 0x00, 0x00, 0x00, 0xEF};
  EXPECT_FALSE(section.AttachBlock(did.data(), 4, 0));
  EXPECT_TRUE(section.AttachBlock(did.data(), 5, 0));
  EXPECT_EQ(section.GetTitle(), "DID BaseBlock");
  EXPECT_TRUE(section.IsBaseBlock());
}

TEST(BlockPageTest, RefreshWaitsForActivationAndRunsOnce) {
  RecordingContext context;
  std::vector<uint8_t> bytes(128, 0);
  DiExtBlock::InitDefaultBytes(bytes.data(), 128);
  ProbePage page(0, &context, nullptr);
  page.AttachBlock(bytes.data(), 128, 0);
  EXPECT_EQ(page.refreshes, 0);
  EXPECT_TRUE(page.IsRefreshPending());
  page.Activate();
  EXPECT_EQ(page.refreshes, 1);
  page.Deactivate();
  page.Activate();
  EXPECT_EQ(page.refreshes, 1);
  page.AttachBlock(bytes.data(), 128, 0);  // active: at once
  EXPECT_EQ(page.refreshes, 2);
  EXPECT_FALSE(page.IsRefreshPending());
}

TEST(BlockPageTest, ClicksFollowTheWiringButEnterReachesAnyGridButton) {
  RecordingContext context;
  ProbePage page(0, &context, nullptr);
  page.PressButton(1703);  // wired: left items
  page.PressButton(1733);  // not wired on a DI-EXT page
  page.PressEnter(1734);   // Enter on a focused grid button runs it anyway
  page.PressEnter(1751);   // a frame is no button
  page.PressEnter(42);
  EXPECT_EQ(page.calls, (std::vector<int>{1703, 1734}));
}

TEST(BlockPageTest, GridStartsClearedAndUnknownIdsAreInvisible) {
  RecordingContext context;
  ProbePage page(0, &context, nullptr);
  page.OnWindowCreated();
  for (int row = 0; row < kGridRows; ++row) {
    for (int base : {kLeftItemId, kRightItemId, kLeftActionId, kRightActionId}) {
      EXPECT_EQ(page.Control(base + row).text, "");
      EXPECT_FALSE(page.Control(base + row).enabled);
    }
    EXPECT_TRUE(page.Control(kLeftFrameId + row).visible);
  }
  EXPECT_FALSE(page.Control(1700).visible);
  EXPECT_FALSE(page.Control(1770).visible);
  EXPECT_TRUE(BlockPage::IsGridButton(1749));
  EXPECT_FALSE(BlockPage::IsGridButton(1750));
  EXPECT_TRUE(BlockPage::IsGridFrame(1769));
}

TEST(BlockPageTest, DefaultValidateCountsOneFinding) {
  RecordingContext context;
  BlockPage page("x", 0, &context, nullptr);
  ContentCollector report;
  EXPECT_EQ(page.Validate(&report), 1u);
  EXPECT_EQ(report.Text(), "");
}

}  // namespace
}  // namespace velmar
