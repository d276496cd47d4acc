// The base block page's grid and its descriptor buttons, driven through the
// page's button ids as the page view drives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "pages/EdidBaseBlockPage.h"
#include "support/RecordingContext.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kSlotRow = EdidBaseBlockPage::kFirstSlotRow;
// The first byte of descriptor slot `slot`.
constexpr unsigned SlotByte(unsigned slot) { return 54 + 18 * slot; }

const std::vector<std::string> kKinds13 = {"Detailed Timing",     "Display Product Serial Number",
                                           "ASCII Data String",   "Display Range Limits",
                                           "Display Product Name", "Color Point Data",
                                           "Standard Timing Identifications"};

class BasePageGridTest : public ::testing::Test {
 protected:
  // Attaches a 1.3 or 1.4 page to `bytes` (128 bytes, followed by guard bytes).
  void Load(bool is14, const Bytes& bytes) {
    image.assign(bytes.begin(), bytes.end());
    image.resize(kBlockSize + 16, 0x5A);
    page = std::make_unique<EdidBaseBlockPage>(is14, 0, &context, &ui);
    page->AttachBlock(image.data(), kBlockSize, 0);
    page->Activate();
  }
  static Bytes Default(bool is14) {
    Bytes bytes(kBlockSize);
    if (is14) {
      Edid14Block::InitDefaultBytes(bytes.data(), kBlockSize);
    } else {
      Edid13Block::InitDefaultBytes(bytes.data(), kBlockSize);
    }
    return bytes;
  }
  // "text" of an enabled control, "(text)" of a disabled one, "-" of a hidden one.
  std::string Show(int id) const {
    const GridControlState& c = page->Control(id);
    if (!c.visible) return "-";
    return c.enabled ? c.text : "(" + c.text + ")";
  }
  std::vector<std::string> Column(int base) const {
    std::vector<std::string> column;
    for (int row = 0; row < kGridRows; ++row) column.push_back(Show(base + row));
    return column;
  }
  Bytes Slot(unsigned slot) const {
    return Bytes(image.begin() + SlotByte(slot), image.begin() + SlotByte(slot) + 18);
  }
  bool ChecksumValid() const { return DataBlock::ComputeChecksum(image.data(), 127) == image[127]; }
  bool GuardIntact() const {
    for (size_t i = kBlockSize; i < image.size(); ++i) {
      if (image[i] != 0x5A) return false;
    }
    return true;
  }

  Bytes image;
  testing::RecordingContext context;
  testing::ScriptedUserInterface ui;
  std::unique_ptr<EdidBaseBlockPage> page;
};

TEST_F(BasePageGridTest, SectionsAboveFourEmptySlots) {
  Load(false, Default(false));
  EXPECT_EQ(Column(kLeftItemId),
            std::vector<std::string>({"General Info", "Basic Display Parameters", "Color Characteristics",
                                      "Established Timings", "Standard Timings", "()", "()", "()", "()"}));
  EXPECT_EQ(Column(kLeftActionId), std::vector<std::string>({"-", "-", "-", "-", "-", "Add Descriptor",
                                                             "Add Descriptor", "Add Descriptor", "Add Descriptor"}));
  for (int base : {kRightItemId, kRightActionId, kRightFrameId}) {
    EXPECT_EQ(Column(base), std::vector<std::string>(9, "-")) << base;
  }
  EXPECT_EQ(Column(kLeftFrameId), std::vector<std::string>(9, "()"));
}

TEST_F(BasePageGridTest, AddDescriptorOffersTheKindsAndCreatesTheChosenOne) {
  Load(false, Default(false));
  ui.choices = {4};
  page->PressButton(kLeftActionId + kSlotRow + 1);
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].kind, static_cast<unsigned>(kContentSelectDescriptor));
  EXPECT_EQ(ui.selections[0].content.title, "Select Descriptor To Add");
  EXPECT_EQ(ui.selections[0].content.items, kKinds13);
  EXPECT_EQ(Show(kLeftItemId + kSlotRow + 1), "Display Product Name");
  EXPECT_EQ(Show(kLeftActionId + kSlotRow + 1), "Remove");
  EXPECT_EQ(page->SlotKind(1), 5u);
  EXPECT_EQ(Slot(1)[3], 0xFC);
  EXPECT_TRUE(ChecksumValid());
  EXPECT_GT(context.modifiedCalls, 0u);

  // A block holds one product name: the next list leaves it out.
  ui.choices = {kNoSelection};
  page->PressButton(kLeftActionId + kSlotRow);
  std::vector<std::string> withoutName = kKinds13;
  withoutName.erase(withoutName.begin() + 4);
  EXPECT_EQ(ui.selections[1].content.items, withoutName);
  EXPECT_EQ(Show(kLeftActionId + kSlotRow), "Add Descriptor");  // cancelled
  EXPECT_TRUE(GuardIntact());
}

TEST_F(BasePageGridTest, AnEdid14PageOffersItsKindsOnlyWhileNoSlotHoldsThem) {
  Load(true, Default(true));
  ui.choices = {7};
  page->PressButton(kLeftActionId + kSlotRow + 3);
  ASSERT_EQ(ui.selections.size(), 1u);
  std::vector<std::string> all = kKinds13;
  all.insert(all.end(), {"Display Color Management", "CVT 3 Byte Timing Codes", "Established Timings III"});
  EXPECT_EQ(ui.selections[0].content.items, all);
  EXPECT_EQ(Show(kLeftItemId + kSlotRow + 3), "Display Color Management");

  ui.choices = {kNoSelection};
  page->PressButton(kLeftActionId + kSlotRow);
  std::vector<std::string> rest = all;
  rest.erase(rest.begin() + 7);
  EXPECT_EQ(ui.selections[1].content.items, rest);
}

TEST_F(BasePageGridTest, RemovingAsksWithTheKindsNameAndLeavesADummy) {
  Bytes bytes = Default(false);
  // Slot 2: a detailed timing (148.50 MHz).
  bytes[SlotByte(2)] = 0x02;
  bytes[SlotByte(2) + 1] = 0x3A;
  bytes[SlotByte(2) + 2] = 0x80;
  testing::FixChecksum(bytes.data());
  Load(false, bytes);
  EXPECT_EQ(Show(kLeftItemId + kSlotRow + 2), "Detailed Timing");

  ui.answers = {false};
  page->PressButton(kLeftActionId + kSlotRow + 2);
  EXPECT_EQ(ui.questions, std::vector<std::string>({"Removing Descriptor \"Detailed Timing\"\r\nAre you sure?"}));
  EXPECT_EQ(Slot(2)[0], 0x02);
  EXPECT_EQ(context.modifiedCalls, 0u);

  ui.answers = {true};
  page->PressButton(kLeftActionId + kSlotRow + 2);
  Bytes dummy(18, 0);
  dummy[3] = 0x10;
  EXPECT_EQ(Slot(2), dummy);
  EXPECT_EQ(Show(kLeftItemId + kSlotRow + 2), "()");
  EXPECT_EQ(Show(kLeftActionId + kSlotRow + 2), "Add Descriptor");
  EXPECT_TRUE(ChecksumValid());
  EXPECT_TRUE(GuardIntact());
}

TEST_F(BasePageGridTest, ASlotOfKindZeroThatHoldsDataIsNeverOverwrittenUnasked) {
  Bytes bytes = Default(false);
  // Slot 0: a manufacturer descriptor (tag 0x05) with data; slot 1: tag 0x10
  // with a stray byte; slot 2: an EDID 1.4 tag a 1.3 block does not know.
  bytes[SlotByte(0) + 3] = 0x05;
  bytes[SlotByte(0) + 5] = 0x42;
  bytes[SlotByte(1) + 10] = 0x01;
  bytes[SlotByte(2) + 3] = 0xF9;
  testing::FixChecksum(bytes.data());
  Load(false, bytes);
  for (unsigned slot : {0u, 1u, 2u}) {
    EXPECT_EQ(page->SlotKind(slot), 0u) << slot;
    EXPECT_TRUE(page->SlotFilled(slot)) << slot;
    EXPECT_EQ(Show(kLeftActionId + kSlotRow + static_cast<int>(slot)), "Remove") << slot;
    EXPECT_EQ(Show(kLeftItemId + kSlotRow + static_cast<int>(slot)), "(Dummy)") << slot;
  }
  EXPECT_FALSE(page->SlotFilled(3));

  const Bytes vendor = Slot(0);
  ui.answers = {false};
  page->PressButton(kLeftActionId + kSlotRow);
  EXPECT_EQ(ui.questions, std::vector<std::string>({"Removing Descriptor \"Dummy\"\r\nAre you sure?"}));
  EXPECT_TRUE(ui.selections.empty());
  EXPECT_EQ(Slot(0), vendor);

  ui.answers = {true};
  page->PressButton(kLeftActionId + kSlotRow);
  EXPECT_EQ(Slot(0)[3], 0x10);
  EXPECT_EQ(Slot(0)[5], 0x00);
  EXPECT_EQ(Show(kLeftActionId + kSlotRow), "Add Descriptor");
}

TEST_F(BasePageGridTest, AllZeroSlotsOfRealEdidsAreEmptyAndTakeADescriptor) {
  size_t edidsWithZeroSlots = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    Bytes bytes = testing::ReadBytes(path);
    if (bytes.size() < kBlockSize || bytes[19] > 4 || bytes[18] != 1) continue;
    bytes.resize(kBlockSize);
    Load(bytes[19] == 4, bytes);
    bool any = false;
    for (unsigned slot = 0; slot < 4; ++slot) {
      const Bytes content = Slot(slot);
      const int row = kSlotRow + static_cast<int>(slot);
      if (content != Bytes(18, 0)) continue;
      any = true;
      SCOPED_TRACE(path + " slot " + std::to_string(slot));
      EXPECT_FALSE(page->SlotFilled(slot));
      EXPECT_EQ(Show(kLeftItemId + row), "()");
      EXPECT_EQ(Show(kLeftActionId + row), "Add Descriptor");
      ui.choices = {0};
      page->PressButton(kLeftActionId + row);
      EXPECT_TRUE(page->SlotFilled(slot));
      EXPECT_EQ(Show(kLeftActionId + row), "Remove");
      EXPECT_TRUE(ChecksumValid());
    }
    edidsWithZeroSlots += any ? 1 : 0;
  }
  EXPECT_EQ(edidsWithZeroSlots, 5u);  // of the corpus, by its bytes
}

TEST_F(BasePageGridTest, EnterReachesTheActionButtonsAndItemsDoNothingYet) {
  Load(false, Default(false));
  ui.choices = {0};
  page->PressEnter(kLeftActionId + kSlotRow);
  EXPECT_EQ(Show(kLeftItemId + kSlotRow), "Detailed Timing");
  const Bytes before = image;
  for (int row = 0; row < kGridRows; ++row) page->PressButton(kLeftItemId + row);
  for (int row = 0; row < kSlotRow; ++row) page->PressButton(kLeftActionId + row);
  page->PressButton(kRightActionId);
  EXPECT_EQ(image, before);
  EXPECT_EQ(ui.selections.size(), 1u);
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(BasePageGridTest, APageWithoutAModelShowsNothingAndDoesNothing) {
  // A page created as 1.4 over the bytes of a 1.3 block has no model.
  Load(true, Default(false));
  EXPECT_EQ(page->GetBlock(), nullptr);
  EXPECT_EQ(Column(kLeftItemId), std::vector<std::string>(9, "()"));
  page->PressButton(kLeftActionId + kSlotRow);
  ContentCollector list;
  page->FillContent(&list, kContentSelectDescriptor);
  EXPECT_TRUE(list.items.empty());
  EXPECT_TRUE(ui.events.empty());
  ContentCollector summary;
  page->AppendSummary(&summary);
  EXPECT_TRUE(summary.Text().empty());
}

TEST_F(BasePageGridTest, FillContentAnswersOnlyItsOwnKind) {
  Load(false, Default(false));
  ContentCollector other;
  page->FillContent(&other, kContentSelectDataBlock);
  page->FillContent(nullptr, kContentSelectDescriptor);
  EXPECT_TRUE(other.items.empty());
  EXPECT_TRUE(other.title.empty());
}

}  // namespace
}  // namespace velmar
