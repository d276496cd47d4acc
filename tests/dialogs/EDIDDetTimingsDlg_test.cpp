#include "dialogs/EDIDDetTimingsDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/CeaExtBlock.h"
#include "blocks/Edid13Block.h"
#include "dialogs/FormTestSupport.h"

namespace velmar {
namespace {

using testing::FieldChanges;

// A 1.3 base block whose slot 1 holds a new detailed timing (54.00 MHz).
std::vector<uint8_t> BaseWithTiming() {
  std::vector<uint8_t> bytes = testing::MakeBase13();
  Edid13Block model(0, bytes.data(), 128, nullptr);
  model.CreateDescriptor(kDescriptorDetailedTiming, 0);
  return bytes;
}

std::string RunOnSlot1(std::vector<uint8_t>& bytes, const FieldChanges& changes) {
  Edid13Block model(0, bytes.data(), 128, nullptr);
  EDIDDetTimingsDlg form("base.slot1", model, 1);
  return testing::RunOk(form, changes);
}

TEST(DetTimingsFormTest, EachBadFieldGivesItsMessageAndWritesNothing) {
  const struct {
    const char* field;
    const char* tooLarge;
    const char* message;
  } cases[] = {
      {"haddressable", "4096", "Invalid HAdressable (Valid range 0 --> 4095)"},
      {"vaddressable", "4096", "Invalid VAdressable (Valid range 0 --> 4095)"},
      {"hblank", "4096", "Invalid HBlank (Valid range 0 --> 4095)"},
      {"vblank", "4096", "Invalid VBlank (Valid range 0 --> 4095)"},
      {"hsync-start", "1024", "Invalid HSync Start (Valid range 0 --> 1023)"},
      {"hsync-width", "1024", "Invalid HSync Width (Valid range 0 --> 1023)"},
      {"vsync-start", "64", "Invalid VSync Start (Valid range 0 --> 63)"},
      {"vsync-width", "64", "Invalid VSync Width (Valid range 0 --> 63)"},
      {"hborder", "256", "Invalid HBorder (Valid range 0 --> 255)"},
      {"vborder", "256", "Invalid VBorder (Valid range 0 --> 255)"},
      {"himage-size", "4096", "Invalid HImage Size (Valid range 0 --> 4095)"},
      {"vimage-size", "4096", "Invalid VImage Size (Valid range 0 --> 4095)"},
      {"pixel-clock", "65536", "Invalid Pixel Clock (Valid range 1 --> 65535)"},
  };
  std::vector<uint8_t> bytes = BaseWithTiming();
  const std::vector<uint8_t> original = bytes;
  for (const auto& c : cases) {
    for (const char* bad : {c.tooLarge, "-1", "12x", "", "4294967296"}) {
      EXPECT_EQ(RunOnSlot1(bytes, {{c.field, bad}}), c.message) << c.field << "=" << bad;
      EXPECT_EQ(bytes, original) << c.field << "=" << bad;
    }
  }
  EXPECT_EQ(RunOnSlot1(bytes, {{"pixel-clock", "0"}}), "Invalid Pixel Clock (Valid range 1 --> 65535)");
  // The first bad field in the dialog's order wins.
  EXPECT_EQ(RunOnSlot1(bytes, {{"pixel-clock", "0"}, {"vblank", "5000"}, {"hsync-width", "2000"}}),
            "Invalid VBlank (Valid range 0 --> 4095)");
  EXPECT_EQ(bytes, original);
}

TEST(DetTimingsFormTest, AnEditReachesItsBytesAndTheSummary) {
  testing::LoadedImage loaded(BaseWithTiming());
  BlockPage* page = loaded.Page(0);
  std::unique_ptr<EditorForm> form = page->CreateForm("slot1");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption(), "EDID Detailed Timing");
  EXPECT_EQ(testing::RunOk(*form, {{"haddressable", "1920"},
                                   {"hblank", "280"},
                                   {"hsync-start", "88"},
                                   {"hsync-width", "44"},
                                   {"himage-size", "531"},
                                   {"vaddressable", "1080"},
                                   {"vblank", "45"},
                                   {"vsync-start", "4"},
                                   {"vsync-width", "5"},
                                   {"vimage-size", "299"},
                                   {"pixel-clock", "14850"},
                                   {"sync-type", "Digital Separate"},
                                   {"sync-bit1", "on"},
                                   {"sync-bit2", "on"}}),
            "");
  const std::vector<uint8_t> expected = {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58,
                                         0x2C, 0x45, 0x00, 0x13, 0x2B, 0x21, 0x00, 0x00, 0x1E};
  EXPECT_EQ(std::vector<uint8_t>(loaded.image.rawData.begin() + 54, loaded.image.rawData.begin() + 72), expected);
  EXPECT_EQ(DataBlock::ComputeChecksum(loaded.image.rawData.data(), 127), loaded.image.rawData[127]);
  EXPECT_TRUE(loaded.image.IsModified());
  const std::string summary = loaded.Summary(0);
  EXPECT_NE(summary.find("  1920 x 1080p at 60Hz, 148.50MHz, CEA[16]\r\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("  Sync......: Digital Separate, VSYNC+, HSYNC+\r\n"), std::string::npos);
}

TEST(DetTimingsFormTest, UntouchedFieldsKeepTheirStoredValues) {
  // A pixel clock of 0 (the slot still counts as a timing through byte 2) is
  // not checked when the user edits another field, and stays 0; the stereo
  // bit 0 of a 2D timing stays set.
  std::vector<uint8_t> bytes = testing::MakeBase13();
  bytes[54 + 3] = 0;
  bytes[54 + 2] = 0x80;
  bytes[54 + 17] = 0x01;
  testing::FixChecksum(bytes.data());
  EXPECT_EQ(RunOnSlot1(bytes, {{"hborder", "8"}}), "");
  EXPECT_EQ(bytes[54 + 15], 8);
  EXPECT_EQ(bytes[54], 0);
  EXPECT_EQ(bytes[55], 0);
  EXPECT_EQ(bytes[54 + 17], 0x01);
}

TEST(DetTimingsFormTest, SyncBoxCaptionsFollowTheSyncType) {
  std::vector<uint8_t> bytes = BaseWithTiming();
  Edid13Block model(0, bytes.data(), 128, nullptr);
  EDIDDetTimingsDlg form("base.slot1", model, 1);
  const struct {
    int type;
    const char* bit1;
    const char* bit2;
  } cases[] = {
      {0, "Sync on all 3 RGB lines:", "Need serration setup on VSync:"},
      {1, "Sync on all 3 RGB lines:", "Need serration setup on VSync:"},
      {2, "Positive HSync polarity:", "Need serration setup on VSync:"},
      {3, "Positive HSync polarity:", "Positive VSync polarity:"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(form.Select("sync-type", c.type));
    EXPECT_EQ(form.Find("sync-bit1")->label, c.bit1) << c.type;
    EXPECT_EQ(form.Find("sync-bit2")->label, c.bit2) << c.type;
  }
}

// Over every detailed timing of the real EDIDs, base slots and CEA DTDs
// alike: an edit of the horizontal sync width changes bytes 9 and 11 of its
// descriptor and the block's checksum, nothing else.
TEST(DetTimingsFormTest, AnEditOfOneFieldChangesOnlyItsBitsOnEveryRealTiming) {
  unsigned timings = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    testing::LoadedImage loaded(testing::ReadBytes(path));
    for (unsigned b = 0; b < loaded.image.BlockCount(); ++b) {
      DataBlock* block = loaded.Page(b)->GetBlock();
      if (block == nullptr) continue;
      const bool isBase = block->IsBaseBlock();
      if (!isBase && dynamic_cast<CeaExtBlock*>(block) == nullptr) continue;
      for (unsigned index = isBase ? 1 : 0; index < (isBase ? 5u : CeaExtBlock::kMaxDtds); ++index) {
        DetailedTiming timing;
        timing.pixelClock = 0x12345678;  // untouched when there is no such timing
        block->GetDetailedTiming(index, timing);
        if (timing.pixelClock == 0x12345678 || (isBase && timing.pixelClock == 0)) continue;
        const std::array<uint8_t, kMaxEdidSize> before = loaded.image.rawData;
        EDIDDetTimingsDlg form("probe", *block, index);
        const std::string width = std::to_string((timing.hSyncWidth + 1) % 1024);
        ASSERT_EQ(testing::RunOk(form, {{"hsync-width", width}}), "") << path;
        DetailedTiming after;
        block->GetDetailedTiming(index, after);
        EXPECT_EQ(after.hSyncWidth, (timing.hSyncWidth + 1) % 1024) << path << " " << index;
        const unsigned start = block->GetOffset();
        const unsigned descriptor =
            isBase ? start + 54 + 18 * (index - 1) : start + loaded.image.rawData[start + 2] + 18 * index;
        const std::vector<unsigned> allowed = {descriptor + 9, descriptor + 11, start + 127};
        for (unsigned position : testing::DifferingBytes(before, loaded.image.rawData)) {
          EXPECT_NE(std::find(allowed.begin(), allowed.end(), position), allowed.end())
              << path << " block " << b << " timing " << index << " byte " << position;
        }
        ++timings;
      }
    }
  }
  EXPECT_GT(timings, 60u);
}

TEST(DetTimingsFormTest, CeaTimingsAreCountedFromZero) {
  for (const std::string& path : testing::CorpusFiles()) {
    testing::LoadedImage loaded(testing::ReadBytes(path));
    if (loaded.image.BlockCount() < 2) continue;
    auto* cea = dynamic_cast<CeaExtBlock*>(loaded.Page(1)->GetBlock());
    if (cea == nullptr) continue;
    const unsigned dtdStart = 128 + loaded.image.rawData[128 + 2];
    if (dtdStart <= 128 + 4 || DetailedTiming::PixelClockOf(&loaded.image.rawData[dtdStart]) == 0) continue;
    EDIDDetTimingsDlg form("cea1.dtd0", *cea, 0);
    const uint8_t border = loaded.image.rawData[dtdStart + 15];
    ASSERT_EQ(testing::RunOk(form, {{"hborder", std::to_string((border + 1) % 256)}}), "") << path;
    EXPECT_EQ(loaded.image.rawData[dtdStart + 15], (border + 1) % 256) << path;
    EXPECT_TRUE(loaded.image.IsModified());
    return;
  }
  FAIL() << "no CEA block with a detailed timing in the corpus";
}

}  // namespace
}  // namespace velmar
