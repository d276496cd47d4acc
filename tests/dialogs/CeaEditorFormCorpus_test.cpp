// One edit through each editor form of every data block of every CEA block
// of the real EDIDs, made through the page's button path: after OK the
// block's checksum is right, the edited data block reads back as the form
// wrote it, every other data block, the DTDs and every byte outside the
// block stay, and the summary and the modified mark follow.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/EdidImage.h"
#include "blocks/CeaExtBlock.h"
#include "dialogs/CeaFormSupport.h"
#include "dialogs/EditorForm.h"
#include "dialogs/NumberFormat.h"
#include "pages/CeaExtBlockPage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Format.h"

namespace velmar {
namespace {

using Assignment = std::pair<std::string, std::string>;

// The change an edit makes, or none when the data block has no field to
// change; `check` then compares the record read back with the one before.
struct Edit {
  std::vector<Assignment> changes;
  std::function<void(const CeaExtBlock& before, const CeaExtBlock& after)> check;
};

Edit EditOf(const CeaExtBlock& model, unsigned j, const std::string& where) {
  Edit edit;
  switch (model.GetDataBlockKind(j)) {
    case kCeaKindAudio: {
      ShortAudioDescriptorList list;
      model.GetAudioDataBlock(j, list);
      if (list.count == 0) break;
      const bool on = (list.entries[0].sampleRates & 4u) != 0;
      edit.changes = {{"rate-48[0]", on ? "off" : "on"}};
      edit.check = [j, where](const CeaExtBlock& before, const CeaExtBlock& after) {
        ShortAudioDescriptorList then, now;
        before.GetAudioDataBlock(j, then);
        after.GetAudioDataBlock(j, now);
        then.entries[0].sampleRates ^= 4u;
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
    case kCeaKindVideo: {
      ShortVideoDescriptorList list;
      model.GetVideoDataBlock(j, list);
      if (list.count == 0) break;
      const ShortVideoDescriptor old = list.entries[0];
      const unsigned vic = old.vic >= 1 && old.vic <= 62 && HasNativeFlag(old) ? old.vic % 62 + 1 : 1;
      edit.changes = {{"vic[0]", VideoFormatItem(vic)}};
      edit.check = [j, where, old, vic](const CeaExtBlock& before, const CeaExtBlock& after) {
        ShortVideoDescriptorList then, now;
        before.GetVideoDataBlock(j, then);
        after.GetVideoDataBlock(j, now);
        then.entries[0] = {static_cast<uint8_t>(vic), old.native && HasNativeFlag(old)};
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
    case kCeaKindHdmiVsdb: {
      HdmiVsdb v;
      model.GetHdmiVsdb(j, v);
      if (v.payloadSize < 2) break;
      edit.changes = {{"phys-a", Format("%u", (v.physA + 1) % 16)}};
      edit.check = [j, where](const CeaExtBlock& before, const CeaExtBlock& after) {
        HdmiVsdb then, now;
        before.GetHdmiVsdb(j, then);
        after.GetHdmiVsdb(j, now);
        then.physA = (then.physA + 1) % 16;
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
    case kCeaKindSpeakerAllocation: {
      SpeakerAllocation s;
      model.GetSpeakerAllocation(j, s);
      if (model.Entry(j)->length <= model.Entry(j)->headerLength) break;
      edit.changes = {{"front-center", s.fc ? "off" : "on"}};
      edit.check = [j, where](const CeaExtBlock& before, const CeaExtBlock& after) {
        SpeakerAllocation then, now;
        before.GetSpeakerAllocation(j, then);
        after.GetSpeakerAllocation(j, now);
        then.fc = !then.fc;
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
    case kCeaKindVideoCapability: {
      VideoCapability caps;
      model.GetVideoCapability(j, caps);
      if (model.Entry(j)->length <= model.Entry(j)->headerLength) break;
      edit.changes = {{"ce-scan", ScanBehaviourName((caps.ceScan + 1) % 4)}};
      edit.check = [j, where](const CeaExtBlock& before, const CeaExtBlock& after) {
        VideoCapability then, now;
        before.GetVideoCapability(j, then);
        after.GetVideoCapability(j, now);
        then.ceScan = (then.ceScan + 1) % 4;
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
    case kCeaKindColorimetry: {
      ColorimetryFlags flags;
      model.GetColorimetry(j, flags);
      if (model.Entry(j)->length <= model.Entry(j)->headerLength) break;
      edit.changes = {{"adobe-rgb", flags.adobeRgb ? "off" : "on"}};
      edit.check = [j, where](const CeaExtBlock& before, const CeaExtBlock& after) {
        ColorimetryFlags then, now;
        before.GetColorimetry(j, then);
        after.GetColorimetry(j, now);
        then.adobeRgb = !then.adobeRgb;
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
    default: {
      GenericDataBlock generic;
      model.GetGenericDataBlock(j, generic);
      if (generic.length == 0) break;
      edit.changes = {{"bytes[0]", WriteHex(2, (generic.data[0] + 1u) & 0xFF, false)}};
      edit.check = [j, where](const CeaExtBlock& before, const CeaExtBlock& after) {
        GenericDataBlock then, now;
        before.GetGenericDataBlock(j, then);
        after.GetGenericDataBlock(j, now);
        then.data[0] = static_cast<uint8_t>(then.data[0] + 1);
        EXPECT_EQ(now, then) << where;
      };
      break;
    }
  }
  return edit;
}

class CeaEditorFormCorpusTest : public ::testing::Test {
 protected:
  // Loads `bytes` afresh; the CEA page of block `b`, or null.
  CeaExtBlockPage* Load(const std::vector<uint8_t>& bytes, unsigned b) {
    image.rawData.fill(0);
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kMaxEdidSize), image.rawData.begin());
    image.Rebuild();
    image.ClearModified();
    ui.Clear();
    return b < image.BlockCount() ? dynamic_cast<CeaExtBlockPage*>(image.GetPage(b)) : nullptr;
  }
  std::string Summary(BlockPage& page) {
    ContentCollector out;
    page.AppendSummary(&out);
    return out.Text();
  }

  testing::ScriptedUserInterface ui;
  EdidImage image{ui};
};

TEST_F(CeaEditorFormCorpusTest, AnEditOfEachDataBlockChangesOnlyThatBlock) {
  unsigned edits = 0;
  std::array<unsigned, kCeaKindCount> kinds{};
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    for (unsigned b = 1; b < kMaxBlocks; ++b) {
      CeaExtBlockPage* page = Load(bytes, b);
      if (page == nullptr || page->Model() == nullptr) continue;
      const unsigned count = page->Model()->DataBlockCount();
      for (unsigned j = 0; j < count; ++j) {
        page = Load(bytes, b);
        const std::string where = path + " " + page->FormPrefix() + Format(".db%u", j + 1);
        const unsigned kind = page->Model()->GetDataBlockKind(j);
        if (kind == kCeaKindDummy) continue;
        const Edit edit = EditOf(*page->Model(), j, where);
        if (edit.changes.empty()) continue;

        // A model over a copy of the bytes keeps what the block read before the edit.
        std::array<uint8_t, kMaxEdidSize> original = image.rawData;
        const unsigned offset = page->GetOffset();
        const CeaExtBlock before(offset, original.data() + offset, kBlockSize, nullptr);
        const std::string summary = Summary(*page);

        ui.formAnswers.push_back({edit.changes, {}, true});
        ASSERT_TRUE(page->OpenForm(Format("db%u", j + 1))) << where;
        EXPECT_TRUE(ui.messages.empty()) << where << ": " << ui.messages.front();
        const CeaExtBlock& after = *page->Model();

        EXPECT_EQ(DataBlock::ComputeChecksum(image.rawData.data() + offset, 127), image.rawData[offset + 127]) << where;
        for (unsigned i = 0; i < kMaxEdidSize; ++i) {
          if (i < offset || i >= offset + kBlockSize) {
            ASSERT_EQ(image.rawData[i], original[i]) << where << " byte " << i;
          }
        }
        edit.check(before, after);
        ASSERT_EQ(after.DataBlockCount(), before.DataBlockCount()) << where;
        for (unsigned k = 0; k < count; ++k) {
          if (k == j) continue;
          GenericDataBlock then, now;
          before.GetGenericDataBlock(k, then);
          after.GetGenericDataBlock(k, now);
          EXPECT_EQ(now, then) << where << " block " << k;
        }
        ASSERT_EQ(after.DtdCount(), before.DtdCount()) << where;
        const unsigned dtds = kBlockSize - 1 - CeaExtBlock::kDataAreaStart - after.DtdPosition();
        if (after.DtdCount() > 0) {
          EXPECT_TRUE(std::equal(image.rawData.begin() + offset + 4 + after.DtdPosition(),
                                 image.rawData.begin() + offset + 4 + after.DtdPosition() + dtds,
                                 original.begin() + offset + 4 + before.DtdPosition()))
              << where;
        }
        EXPECT_TRUE(image.IsModified()) << where;
        EXPECT_NE(Summary(*page), summary) << where;
        if (j < static_cast<unsigned>(kGridRows)) {
          EXPECT_EQ(page->Control(kRightItemId + static_cast<int>(j)).text, CeaDataBlockKindName(kind)) << where;
        }
        ++edits;
        ++kinds[kind];
      }
    }
  }
  EXPECT_GT(edits, 100u);
  // The corpus exercises the forms of the common kinds.
  for (unsigned kind : {kCeaKindAudio, kCeaKindVideo, kCeaKindHdmiVsdb, kCeaKindSpeakerAllocation,
                        kCeaKindVideoCapability, kCeaKindColorimetry, kCeaKindVendorSpecific}) {
    EXPECT_GT(kinds[kind], 0u) << CeaDataBlockKindName(kind);
  }
}

// Each sub-form of every HDMI data block, opened and accepted with nothing
// changed, leaves the HDMI form unchanged, so that its OK writes nothing.
TEST_F(CeaEditorFormCorpusTest, HdmiSubFormsAcceptedUnchangedChangeNothing) {
  unsigned subForms = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    for (unsigned b = 1; b < kMaxBlocks; ++b) {
      CeaExtBlockPage* page = Load(bytes, b);
      if (page == nullptr || page->Model() == nullptr) continue;
      const std::array<uint8_t, kMaxEdidSize> original = image.rawData;
      for (unsigned j = 0; j < page->Model()->DataBlockCount(); ++j) {
        if (page->Model()->GetDataBlockKind(j) != kCeaKindHdmiVsdb) continue;
        const std::string where = path + " " + page->FormPrefix() + Format(".db%u", j + 1);
        std::unique_ptr<EditorForm> form = page->CreateForm(Format("db%u", j + 1));
        ASSERT_NE(form, nullptr) << where;
        for (const char* button : {"select-formats", "edit-extended-3d", "edit-hdmi-vics"}) {
          const FormField* field = form->Find(button);
          ASSERT_NE(field, nullptr) << where;
          if (!field->enabled) continue;
          ui.formAnswers.push_back({{}, {}, true});
          EXPECT_TRUE(form->Press(button, ui)) << where << " " << button;
          EXPECT_TRUE(ui.formAnswers.empty()) << where << " " << button;
          EXPECT_FALSE(form->Changed()) << where << " " << button;
          ++subForms;
        }
        std::string message;
        EXPECT_TRUE(form->Accept(message)) << where << ": " << message;
        EXPECT_TRUE(image.rawData == original) << where;
      }
      EXPECT_FALSE(image.IsModified()) << path;
    }
  }
  EXPECT_GT(subForms, 10u);
}

TEST_F(CeaEditorFormCorpusTest, GeneralInfoFlagsWriteOnlyByteThreeAndTheChecksum) {
  unsigned edits = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    for (unsigned b = 1; b < kMaxBlocks; ++b) {
      CeaExtBlockPage* page = Load(bytes, b);
      if (page == nullptr || page->Model() == nullptr) continue;
      const std::array<uint8_t, kMaxEdidSize> original = image.rawData;
      const unsigned offset = page->GetOffset();
      CeaGeneralInfo info;
      page->Model()->GetGeneralInfo(info);
      ui.formAnswers.push_back({{{"basic-audio", info.basicAudio ? "off" : "on"}}, {}, true});
      ASSERT_TRUE(page->OpenForm("general")) << path;
      for (unsigned i = 0; i < kMaxEdidSize; ++i) {
        const uint8_t expected = i == offset + 3 ? original[i] ^ 0x40 : original[i];
        if (i != offset + 127) {
          ASSERT_EQ(image.rawData[i], expected) << path << " byte " << i;
        }
      }
      EXPECT_EQ(DataBlock::ComputeChecksum(image.rawData.data() + offset, 127), image.rawData[offset + 127]) << path;
      EXPECT_TRUE(image.IsModified()) << path;
      ++edits;
    }
  }
  EXPECT_GT(edits, 30u);
}

}  // namespace
}  // namespace velmar
