// The CEA page's rows and its add and remove buttons, driven through the
// page's button ids as the page view drives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/CeaBlockBuilder.h"
#include "blocks/CeaExtBlock.h"
#include "pages/CeaExtBlockPage.h"
#include "support/RecordingContext.h"
#include "support/ScriptedUserInterface.h"

namespace velmar {
namespace {

using testing::Bytes;
using testing::CeaImage;
using testing::MakeCea;

const Bytes kVideo = {0x42, 16, 4};                   // Video Data Block, 2 VICs
const Bytes kAudio = {0x23, 0x09, 0x07, 0x07};        // Audio Data Block, one LPCM descriptor
const Bytes kSpeaker = {0x83, 0x01, 0x00, 0x00};      // Speaker Allocation Data Block
const Bytes kColorimetry = {0xE3, 0x05, 0x03, 0x00};  // Colorimetry Data Block

// A Video Data Block of `length` bytes in all (at most 32).
Bytes LongVideo(unsigned length) {
  Bytes b(length, 1);
  b[0] = static_cast<uint8_t>(0x40 | (length - 1));
  return b;
}

class CeaPageGridTest : public ::testing::Test {
 protected:
  void Load(const CeaImage& source) {
    cea = source;
    page.AttachBlock(cea.Block(), kBlockSize, CeaImage::kOffset);
    page.Activate();
  }
  const GridControlState& At(int id) const { return page.Control(id); }
  // "text" of an enabled control, "(text)" of a disabled one, "-" of a hidden one.
  std::string Show(int id) const {
    const GridControlState& c = At(id);
    if (!c.visible) return "-";
    return c.enabled ? c.text : "(" + c.text + ")";
  }
  std::vector<std::string> Column(int base) const {
    std::vector<std::string> column;
    for (int row = 0; row < kGridRows; ++row) column.push_back(Show(base + row));
    return column;
  }

  CeaImage cea;
  testing::RecordingContext context;
  testing::ScriptedUserInterface ui;
  CeaExtBlockPage page{1, &context, &ui};
};

TEST_F(CeaPageGridTest, RowsShowTheDtdsAndDataBlocks) {
  Load(MakeCea({kVideo, kAudio, kSpeaker}, 2));
  EXPECT_EQ(Column(kLeftItemId), std::vector<std::string>({"General Info", "Detailed Timing 0", "Detailed Timing 1",
                                                           "()", "()", "()", "()", "()", "()"}));
  EXPECT_EQ(Column(kLeftActionId),
            std::vector<std::string>({"-", "Remove", "Remove", "Add DTD", "()", "()", "()", "()", "()"}));
  EXPECT_EQ(Column(kRightItemId), std::vector<std::string>({"Video Data Block", "Audio Data Block",
                                                            "Speaker Allocation Data Block", "()", "()", "()", "()",
                                                            "()", "()"}));
  EXPECT_EQ(Column(kRightActionId),
            std::vector<std::string>({"Remove", "Remove", "Remove", "Add DataBlock", "()", "()", "()", "()", "()"}));
  EXPECT_EQ(page.DtdRows(), 2u);
  EXPECT_EQ(page.DataBlockRows(), 3u);
  EXPECT_EQ(page.RowKind(1), 1u);
}

TEST_F(CeaPageGridTest, SixDtdsLeaveNoAddButtonUntilOneIsRemoved) {
  Load(MakeCea({}, 6));
  EXPECT_EQ(Show(kLeftActionId + 6), "Remove");
  EXPECT_EQ(Show(kLeftActionId + 7), "()");

  ui.answers = {false};
  page.PressButton(kLeftActionId + 1);
  EXPECT_EQ(ui.questions, std::vector<std::string>({"Removing DTD 0\r\nAre you sure?"}));
  EXPECT_EQ(page.DtdRows(), 6u);
  EXPECT_EQ(context.modifiedCalls, 0u);

  const Bytes second = cea.Range(4 + 18, 18);
  ui.answers = {true};
  page.PressButton(kLeftActionId + 1);
  EXPECT_EQ(page.DtdRows(), 5u);
  EXPECT_EQ(cea.Range(4, 18), second);  // the next DTD moved up
  EXPECT_EQ(Show(kLeftActionId + 6), "Add DTD");
  EXPECT_EQ(Show(kLeftItemId + 6), "()");
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_GT(context.modifiedCalls, 0u);
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST_F(CeaPageGridTest, AddDtdAddsARowAsksNothing) {
  Load(MakeCea({kVideo}, 0));
  EXPECT_EQ(Show(kLeftActionId + 1), "Add DTD");
  page.PressButton(kLeftActionId + 1);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(Column(kLeftItemId)[1], "Detailed Timing 0");
  EXPECT_EQ(Show(kLeftActionId + 1), "Remove");
  EXPECT_EQ(Show(kLeftActionId + 2), "Add DTD");
  EXPECT_TRUE(cea.ChecksumValid());
}

TEST_F(CeaPageGridTest, NineDataBlocksLeaveNoAddButton) {
  Load(MakeCea({kVideo, kVideo, kVideo, kVideo, kVideo, kVideo, kVideo, kVideo, kVideo}, 0));
  EXPECT_EQ(page.DataBlockRows(), 9u);
  EXPECT_EQ(Column(kRightActionId), std::vector<std::string>(9, "Remove"));

  ui.answers = {true};
  page.PressButton(kRightActionId + 8);
  EXPECT_EQ(ui.questions, std::vector<std::string>({"Removing DTD \"Video Data Block\"\r\nAre you sure?"}));
  EXPECT_EQ(page.DataBlockRows(), 8u);
  EXPECT_EQ(Show(kRightActionId + 8), "Add DataBlock");
}

TEST_F(CeaPageGridTest, ARevisionTwoBlockOffersDtdsButNeverDataBlocks) {
  Load(MakeCea({}, 1, 2));
  EXPECT_EQ(Show(kLeftActionId + 2), "Add DTD");
  EXPECT_EQ(Column(kRightActionId), std::vector<std::string>(9, "()"));
  page.PressButton(kRightActionId);
  EXPECT_TRUE(ui.selections.empty());
}

TEST_F(CeaPageGridTest, TheAddListOffersOnlyKindsThatFit) {
  // 120 of the 123 bytes used: three bytes free.
  Load(MakeCea({LongVideo(32), LongVideo(32), LongVideo(32), LongVideo(24)}, 0));
  ui.choices = {kNoSelection};
  page.PressButton(kRightActionId + 4);
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].kind, static_cast<unsigned>(kContentSelectDataBlock));
  EXPECT_EQ(ui.selections[0].content.title, "Select Data Block To Add");
  EXPECT_EQ(ui.selections[0].content.items,
            std::vector<std::string>({"Video Data Block", "Video Capability Data Block", "VESA DTC Data Block",
                                      "VESA Video Display Device Info", "VESA Video Data Block",
                                      "HDMI Video Data Block", "CEA Miscellaneous Audio Fields",
                                      "HDMI Audio Data Block"}));
  EXPECT_EQ(page.DataBlockRows(), 4u);  // cancelled: nothing added
  EXPECT_EQ(context.modifiedCalls, 0u);
}

TEST_F(CeaPageGridTest, TheChosenKindIsAddedBelowTheOthers) {
  Load(MakeCea({kVideo}, 1));
  // An empty block offers every kind 1-15 in order; position 5 is the sixth kind.
  ui.choices = {5};
  page.PressButton(kRightActionId + 1);
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].content.items.size(), 15u);
  EXPECT_EQ(ui.selections[0].content.items[5], "Colorimetry Data Block");
  EXPECT_EQ(page.DataBlockRows(), 2u);
  EXPECT_EQ(Show(kRightItemId + 1), "Colorimetry Data Block");
  EXPECT_EQ(Show(kRightActionId + 1), "Remove");
  EXPECT_EQ(Show(kRightActionId + 2), "Add DataBlock");
  EXPECT_EQ(cea.Range(4 + 3, 4), Bytes({0xE3, 0x05, 0x00, 0x00}));
  EXPECT_EQ(page.DtdRows(), 1u);  // the DTD moved down, not away
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST_F(CeaPageGridTest, RemovingADataBlockAsksWithItsNameAndCancelKeepsIt) {
  Load(MakeCea({kVideo, kColorimetry}, 0));
  ui.answers = {false, true};
  page.PressButton(kRightActionId + 1);
  EXPECT_EQ(page.DataBlockRows(), 2u);
  page.PressButton(kRightActionId + 1);
  EXPECT_EQ(ui.questions, std::vector<std::string>({"Removing DTD \"Colorimetry Data Block\"\r\nAre you sure?",
                                                    "Removing DTD \"Colorimetry Data Block\"\r\nAre you sure?"}));
  EXPECT_EQ(page.DataBlockRows(), 1u);
  EXPECT_EQ(Show(kRightItemId), "Video Data Block");
  EXPECT_EQ(Show(kRightActionId + 1), "Add DataBlock");
  EXPECT_EQ(cea.Range(4 + 3, 4), Bytes(4, 0));
}

TEST_F(CeaPageGridTest, BlankButtonsDoNothing) {
  Load(MakeCea({kVideo}, 1));
  const std::array<uint8_t, 3 * kBlockSize> before = cea.image;
  for (int id : {kLeftActionId, kLeftActionId + 5, kRightActionId + 4, kRightActionId + 8}) page.PressButton(id);
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(cea.image, before);
}

TEST_F(CeaPageGridTest, APageWithoutAModelShowsAndDoesNothing) {
  CeaImage bad = MakeCea({kVideo}, 1);
  bad[0] = 0x03;
  cea = bad;
  EXPECT_FALSE(page.AttachBlock(cea.Block(), kBlockSize, CeaImage::kOffset));
  page.Activate();
  page.Refresh();
  EXPECT_EQ(Column(kLeftItemId), std::vector<std::string>(9, "()"));
  page.PressButton(kLeftActionId + 1);
  page.PressButton(kRightActionId);
  ContentCollector list;
  page.FillContent(&list, kContentSelectDataBlock);
  EXPECT_TRUE(list.items.empty());
  EXPECT_TRUE(ui.events.empty());
}

TEST_F(CeaPageGridTest, FillContentAnswersOnlyItsOwnKind) {
  Load(MakeCea({}, 0));
  ContentCollector other;
  page.FillContent(&other, kContentSelectDescriptor);
  page.FillContent(nullptr, kContentSelectDataBlock);
  EXPECT_TRUE(other.items.empty());
  EXPECT_TRUE(other.title.empty());
}

}  // namespace
}  // namespace velmar
