#include "app/EdidImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/ImageFiles.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DiExtBlock.h"
#include "blocks/DisplayIDBlock.h"
#include "pages/BlockPage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;
using testing::ScriptedUserInterface;

class EdidImageTest : public ::testing::Test {
 protected:
  void Load(const std::vector<uint8_t>& bytes) {
    image.ResetForLoad();
    std::copy(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 512), image.rawData.begin());
    image.Rebuild();
  }
  void PutCea(unsigned offset) {
    CeaExtBlock::InitDefaultBytes(image.rawData.data() + offset, 128);
  }
  bool AllZeroFrom(unsigned offset) const {
    return std::all_of(image.rawData.begin() + offset, image.rawData.end(), [](uint8_t b) { return b == 0; });
  }

  ScriptedUserInterface ui;
  EdidImage image{ui};
};

TEST_F(EdidImageTest, ZeroBufferIsAnEmptyImageWithoutMessage) {
  image.Rebuild();
  EXPECT_EQ(image.BlockCount(), 0u);
  EXPECT_EQ(image.GetUsedSize(), 0u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(image.Buttons().addBlock);
  EXPECT_FALSE(image.Buttons().removeBlock);
  EXPECT_FALSE(image.Buttons().showModes);
}

TEST_F(EdidImageTest, MissingExtensionKeepsTheBase) {
  Load(MakeBase13(1));
  EXPECT_EQ(image.BlockCount(), 1u);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Extension Block"});
  EXPECT_EQ(image.GetPage(0)->GetTitle(), "EDID1.3 BaseBlock");
}

TEST_F(EdidImageTest, UnknownTagIsKeptButAZeroTagIsNoExtension) {
  std::vector<uint8_t> bytes = MakeBase13(3);
  bytes.resize(512, 0);
  bytes[128] = 0x02;  // CEA
  bytes[256] = 0x77;  // no model's
  bytes[384] = 0x00;  // not an extension, though not all zero
  bytes[400] = 0x5A;
  Load(bytes);
  ASSERT_EQ(image.BlockCount(), 3u);
  EXPECT_EQ(image.GetPage(2)->GetOffset(), 256u);
  EXPECT_EQ(image.GetPage(2)->GetTitle(), "Extension (tag 0x77)");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Extension Block"});
}

TEST_F(EdidImageTest, LoneCeaBlockIsOneEntryAndCannotGrow) {
  PutCea(0);
  image.rawData[126] = 3;  // not an extension count for a CEA block
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 1u);
  EXPECT_EQ(image.GetPage(0)->GetTitle(), "CEA ExtBlock");
  EXPECT_EQ(image.GetPage(0)->GetExtensionCount(), 0u);
  EXPECT_FALSE(image.Buttons().addBlock);
  EXPECT_TRUE(image.Buttons().removeBlock);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EdidImageTest, DisplayIdBaseSectionFollowedByCea) {
  const uint8_t section[] = {0x11, 0x00, 0x00, 0x01, 0xEE};
  std::memcpy(image.rawData.data(), section, 5);
  PutCea(5);
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 2u);
  EXPECT_EQ(image.GetPage(0)->GetTitle(), "DID BaseBlock");
  EXPECT_EQ(image.GetPage(1)->GetOffset(), 5u);
  EXPECT_EQ(image.BlockEnd(1), 133u);
  EXPECT_EQ(image.GetUsedSize(), 133u);
}

TEST_F(EdidImageTest, UnsupportedRevisionIsNotABaseBlock) {
  std::vector<uint8_t> bytes = MakeBase13();
  bytes[19] = 5;
  Load(bytes);
  EXPECT_EQ(image.BlockCount(), 0u);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Base Block"});
}

TEST_F(EdidImageTest, DisplayIdFormsStandFirst) {
  image.rawData[0] = 0x11;
  image.rawData[1] = 0x05;
  image.Rebuild();
  EXPECT_EQ(image.BlockCount(), 1u);  // 5 + 5 bytes fit: accepted
  image.rawData.fill(0);
  image.rawData[0] = 0x70;
  image.rawData[1] = 0x11;
  image.rawData[2] = 200;
  image.rawData[384] = 1;  // room 512 is enough: accepted as a DisplayID extension
  image.Rebuild();
  EXPECT_EQ(image.BlockCount(), 1u);
  EXPECT_EQ(image.GetPage(0)->GetTitle(), "DID ExtBlock");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EdidImageTest, AddBlocksFromScratch) {
  ui.choices = {0, 0, 1};
  image.AddBlock();
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].content.title, "Select Base/Extension Block to create");
  EXPECT_EQ(ui.selections[0].content.items,
            (std::vector<std::string>{"EDID1.3 Base Block", "EDID1.4 Base Block", "DID Base Block",
                                      "EDID CEA Ext Block", "EDID DI Ext Block", "DID Ext Block"}));
  ASSERT_EQ(image.BlockCount(), 1u);
  EXPECT_EQ(image.Labels().source, "Custom");
  EXPECT_TRUE(image.IsModified());
  EXPECT_EQ(image.Labels().modifiedMark, "");

  image.AddBlock();
  EXPECT_EQ(ui.selections[1].content.title, "Select Extension Block to create");
  EXPECT_EQ(ui.selections[1].content.items,
            (std::vector<std::string>{"EDID CEA Ext Block", "EDID DI Ext Block", "DID Ext Block"}));
  image.AddBlock();
  ASSERT_EQ(image.BlockCount(), 3u);
  EXPECT_EQ(image.GetPage(1)->GetTitle(), "CEA ExtBlock");
  EXPECT_EQ(image.GetPage(2)->GetTitle(), "DI ExtBlock");
  EXPECT_EQ(image.rawData[126], 2);
  EXPECT_EQ(DataBlock::ComputeChecksum(image.rawData.data(), 127), image.rawData[127]);
  EXPECT_EQ(image.rawData[383], 0xBF);
  EXPECT_EQ(image.ActiveIndex(), 2);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EdidImageTest, FullImageDisablesAdd) {
  std::vector<uint8_t> bytes = MakeBase13(3);
  Load(bytes);
  ui.Clear();
  image.rawData[126] = 3;
  FixChecksum(image.rawData.data());
  PutCea(128);
  PutCea(256);
  PutCea(384);
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 4u);
  EXPECT_EQ(image.GetUsedSize(), 512u);
  EXPECT_FALSE(image.Buttons().addBlock);
}

TEST_F(EdidImageTest, CancelOnAOneBlockImageResetsTheSourceAndMarksModified) {
  Load(MakeBase13());
  SourceDetails details;
  details.file = "/home/user/edid/monitor.bin";
  image.SetSource(SourceKind::BinFile, details);
  EXPECT_EQ(image.Labels().source, "monitor.bin (Binary File)");
  EXPECT_EQ(image.Labels().pathCaption, "File Path:");
  EXPECT_EQ(image.Labels().path, "/home/user/edid");
  image.AddBlock();  // no choice scripted: cancelled
  EXPECT_EQ(image.BlockCount(), 1u);
  EXPECT_EQ(image.GetSourceKind(), SourceKind::Custom);
  EXPECT_EQ(image.Labels().source, "Custom");
  EXPECT_TRUE(image.IsModified());
}

TEST_F(EdidImageTest, RemoveMiddleBlockMovesTheLastOne) {
  Load(MakeBase13(2));
  ui.Clear();
  image.rawData[126] = 2;
  FixChecksum(image.rawData.data());
  DiExtBlock::InitDefaultBytes(image.rawData.data() + 128, 128);
  PutCea(256);
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 3u);
  image.SetActivePage(1);
  ui.answers = {true};
  image.RemoveBlock();
  EXPECT_EQ(ui.questions, std::vector<std::string>{"Removing \"DI ExtBlock\"\r\nAre you sure?"});
  ASSERT_EQ(image.BlockCount(), 2u);
  EXPECT_EQ(image.GetPage(1)->GetTitle(), "CEA ExtBlock");
  EXPECT_EQ(image.GetPage(1)->GetOffset(), 128u);
  EXPECT_EQ(image.GetPage(1)->GetIndex(), 1u);
  EXPECT_EQ(image.rawData[128], 0x02);
  EXPECT_TRUE(AllZeroFrom(256));
  EXPECT_EQ(image.rawData[126], 1);
  EXPECT_EQ(DataBlock::ComputeChecksum(image.rawData.data(), 127), image.rawData[127]);
  EXPECT_EQ(image.ActiveIndex(), 1);
}

TEST_F(EdidImageTest, RemoveRefusals) {
  image.RemoveBlock();
  EXPECT_EQ(ui.messages.back(), "No blocks to remove");
  Load(MakeBase13(1));
  PutCea(128);
  image.rawData[126] = 1;
  FixChecksum(image.rawData.data());
  image.Rebuild();
  image.SetActivePage(0);
  image.RemoveBlock();
  EXPECT_EQ(ui.messages.back(), "Cannot remove base block while extension blocks exist");
  image.SetActivePage(-1);
  image.RemoveBlock();
  EXPECT_EQ(ui.messages.back(), "No active blocks to remove");
  image.SetActivePage(1);
  ui.answers = {false};
  image.RemoveBlock();
  EXPECT_EQ(image.BlockCount(), 2u);
  EXPECT_TRUE(ui.questions.size() == 1);
}

TEST_F(EdidImageTest, RemovingTheOnlyBlockEmptiesEverything) {
  Load(MakeBase13());
  SourceDetails details;
  details.file = "a.bin";
  image.SetSource(SourceKind::BinFile, details);
  image.SetModified();
  EXPECT_EQ(image.Labels().modifiedMark, "[Modified]");
  image.RemoveBlock();
  EXPECT_EQ(image.BlockCount(), 0u);
  EXPECT_TRUE(AllZeroFrom(0));
  EXPECT_EQ(image.Labels().source, "None");
  EXPECT_EQ(image.Labels().modifiedMark, "");
  EXPECT_EQ(image.GetSourceKind(), SourceKind::Custom);
  EXPECT_FALSE(image.IsModified());
  EXPECT_FALSE(image.PageAreaShown());
}

TEST_F(EdidImageTest, SourceLabelsOfEveryKind) {
  Load(MakeBase13());
  SourceDetails details;
  details.file = "noslash.txt";
  image.SetSource(SourceKind::TxtFile, details);
  EXPECT_EQ(image.Labels().source, "noslash.txt (Text File)");
  EXPECT_EQ(image.Labels().path, "noslash.txt");
  details.file = "/x/y.inf";
  image.SetSource(SourceKind::InfFile, details);
  EXPECT_EQ(image.Labels().source, "y.inf (INF File)");
  image.SetSource(SourceKind::RegFile, details);
  EXPECT_EQ(image.Labels().source, "y.inf (Registry File)");
  details.displayName = "DELL U2415";
  details.displayIndex = 1;
  details.adapterPosition = 0;
  image.SetSource(SourceKind::ConnectedDisplay, details);
  EXPECT_EQ(image.Labels().source, "DELL U2415 (Connected Display[1])");
  EXPECT_EQ(image.Labels().pathCaption, "Adapter:");
  EXPECT_EQ(image.Labels().path, "0");
  details.registryValueName = "NEXOEmulatedEDID_D0";
  details.registryPath = "\\REGISTRY\\MACHINE\\X";
  image.SetSource(SourceKind::RegistryValue, details);
  EXPECT_EQ(image.Labels().source, "NEXOEmulatedEDID_D0 (Registry Value for Display[1])");
  EXPECT_EQ(image.Labels().pathCaption, "Reg Path:");
  EXPECT_EQ(image.Labels().path, "\\REGISTRY\\MACHINE\\X");
}

TEST_F(EdidImageTest, PagesDeferTheirRefreshUntilActivated) {
  Load(MakeBase13(1));
  ui.Clear();
  image.rawData[126] = 1;
  FixChecksum(image.rawData.data());
  PutCea(128);
  image.Rebuild();
  EXPECT_EQ(image.ActiveIndex(), 0);
  BlockPage* second = image.GetPage(1);
  EXPECT_FALSE(second->IsRefreshPending());  // it was active once, when it was appended
  image.RelayoutBlocks();                      // re-attached while another page is active
  EXPECT_TRUE(second->IsRefreshPending());
  EXPECT_FALSE(second->IsActive());
  image.SetActivePage(1);
  EXPECT_FALSE(second->IsRefreshPending());
  EXPECT_TRUE(second->IsActive());
  EXPECT_FALSE(image.GetPage(0)->IsActive());
}

TEST_F(EdidImageTest, RealEdidsRebuildIntoBlocks) {
  // 256-byte monitor with a CEA extension.
  const std::vector<uint8_t> bytes = testing::ReadBytes(testing::CorpusDir() + "/ed-0a6ce2250e57.bin");
  ASSERT_EQ(bytes.size(), 256u);
  Load(bytes);
  ASSERT_EQ(image.BlockCount(), 2u);
  EXPECT_EQ(image.GetUsedSize(), 256u);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.rawData.begin()));
  EXPECT_TRUE(ui.messages.empty());
}


// DisplayID 1.2, 1.3 and 2.0 extensions of real laptop panels and monitors: every
// announced block loads, and the image saves back exactly as it was read.
TEST_F(EdidImageTest, RealEdidsWithDisplayIdExtensionsKeepEveryBlock) {
  struct Sample {
    const char* file;
    unsigned blocks;
  };
  const Sample samples[] = {
      {"ed-087fc036424b.bin", 4},  // CTA + two DisplayID 1.2
      {"ed-0a33d4a62bcf.bin", 2},  // DisplayID 1.2
      {"ed-3cbac2dd694a.bin", 3},  // two DisplayID 1.2
      {"lhw-29e03204a357.bin", 3},  // CTA + DisplayID 1.2
      {"ed-3581289530bb.bin", 2},  // DisplayID 1.3
      {"ed-dabc08156694.bin", 2},  // DisplayID 1.3
      {"ldi-de20464bfb5d.bin", 2},  // DisplayID 2.0
      {"lhw-08506fdc2ff0.bin", 2},  // DisplayID 2.0
      {"lhw-0c78da0a4973.bin", 3},  // CTA + DisplayID 2.0
      {"lhw-1f0ba9cd0649.bin", 3},  // CTA + DisplayID 2.0
      {"ed-07b14f2addf5.bin", 3},  // CTA + DisplayID 1.1
  };
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.file);
    const std::vector<uint8_t> bytes = testing::ReadBytes(testing::CorpusDir() + "/" + sample.file);
    ASSERT_EQ(bytes.size(), sample.blocks * 128u);
    ui.Clear();
    Load(bytes);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(image.BlockCount(), sample.blocks);
    for (unsigned i = 1; i < sample.blocks; ++i) {
      if (bytes[i * 128] == 0x70) {
        EXPECT_EQ(image.GetPage(i)->GetTitle(), "DID ExtBlock");
      }
      EXPECT_EQ(image.GetPage(i)->GetOffset(), i * 128);
    }
    EXPECT_EQ(EncodeImage(image, SourceKind::BinFile), std::string(bytes.begin(), bytes.end()));
  }
}

TEST_F(EdidImageTest, DisplayIdVersionRangesOfBothForms) {
  std::vector<uint8_t> bytes = MakeBase13(1);
  bytes.resize(256, 0);
  DisplayIDBlock::InitDefaultExtensionBytes(bytes.data() + 128, 128);
  for (unsigned version : {0x10u, 0x12u, 0x13u, 0x20u, 0x2Fu}) {
    bytes[129] = static_cast<uint8_t>(version);
    ui.Clear();
    Load(bytes);
    EXPECT_EQ(image.BlockCount(), 2u) << version;
    EXPECT_TRUE(ui.messages.empty()) << version;
  }
  // Other versions are no DisplayID block, but the block is still kept.
  for (unsigned version : {0x0Fu, 0x30u, 0x00u}) {
    bytes[129] = static_cast<uint8_t>(version);
    ui.Clear();
    Load(bytes);
    ASSERT_EQ(image.BlockCount(), 2u) << version;
    EXPECT_EQ(image.GetPage(1)->GetTitle(), "Extension (tag 0x70)") << version;
    EXPECT_TRUE(ui.messages.empty()) << version;
  }

  // A lone extension block standing first takes the same versions.
  std::vector<uint8_t> lone(128, 0);
  DisplayIDBlock::InitDefaultExtensionBytes(lone.data(), 128);
  lone[1] = 0x10;
  Load(lone);
  ASSERT_EQ(image.BlockCount(), 1u);
  EXPECT_EQ(image.GetPage(0)->GetTitle(), "DID ExtBlock");

  // A section standing first: 0x11 to 0x2F; 0x10 is another extension's tag.
  for (unsigned version : {0x11u, 0x20u, 0x2Fu}) {
    const std::vector<uint8_t> section = {static_cast<uint8_t>(version), 0x00, 0x00, 0x00,
                                          static_cast<uint8_t>(0x100 - version)};
    ui.Clear();
    Load(section);
    ASSERT_EQ(image.BlockCount(), 1u) << version;
    EXPECT_EQ(image.GetPage(0)->GetTitle(), "DID BaseBlock");
    EXPECT_EQ(image.GetUsedSize(), 5u);
  }
  for (unsigned version : {0x10u, 0x30u}) {
    const std::vector<uint8_t> section = {static_cast<uint8_t>(version), 0x00, 0x00, 0x00, 0x00};
    ui.Clear();
    Load(section);
    EXPECT_EQ(image.BlockCount(), 0u) << version;
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Base Block"}) << version;
  }
}

}  // namespace
}  // namespace velmar
