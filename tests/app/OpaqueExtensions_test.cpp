// Extension blocks that no model decodes (Block Maps, VESA Video Timing
// Blocks, manufacturer blocks, unassigned tags) in real EDIDs: every block is
// loaded, shown, saved and removable, and loads that lose data say what they lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ImageFiles.h"
#include "app/MainWindowCore.h"
#include "dialogs/ModeTable.h"
#include "pages/BlockPage.h"
#include "support/FileTestFixture.h"
#include "support/TestData.h"
#include "util/Clock.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;

struct Sample {
  const char* file;
  std::vector<std::string> titles;
};

// Real EDIDs of the corpus, with the page captions their blocks must get.
const Sample kSamples[] = {
    {"ldi-132703297bad.bin", {"EDID1.3 BaseBlock", "Block Map", "CEA ExtBlock", "DID ExtBlock"}},
    {"lhw-0c80b721be83.bin", {"EDID1.3 BaseBlock", "Block Map", "Extension (tag 0x1A)", "Extension (tag 0xCC)"}},
    {"lhw-265e4a0a36bc.bin", {"EDID1.3 BaseBlock", "VTB Extension"}},
    {"lhw-4dd88ef0565c.bin", {"EDID1.3 BaseBlock", "Manufacturer Extension"}},
    {"lhw-772aa7b6f6fa.bin", {"EDID1.4 BaseBlock", "CEA ExtBlock", "Extension (tag 0x45)"}},
};

class OpaqueExtensionTest : public testing::FileTestFixture {
 protected:
  std::string Text(unsigned kind) {
    ContentCollector text;
    core.Image().FillContent(&text, kind);
    return text.Text();
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (unsigned i = 0; i < core.Image().BlockCount(); ++i) titles.push_back(core.Image().GetPage(i)->GetTitle());
    return titles;
  }
  std::string ByteName(unsigned index) {
    std::string name, group, label;
    core.Image().DescribeByte(index, name, group, label);
    return name;
  }
};

TEST_F(OpaqueExtensionTest, RealEdidsKeepEveryBlockThroughEveryFormat) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.file);
    const std::vector<uint8_t> bytes = testing::ReadBytes(testing::CorpusDir() + "/" + sample.file);
    EXPECT_TRUE(LoadBytes(bytes).empty());
    EXPECT_EQ(Titles(), sample.titles);
    EXPECT_EQ(core.Image().GetPage(0)->GetExtensionCount(), sample.titles.size() - 1);
    ASSERT_EQ(Used(), bytes);

    const EdidImage& image = core.Image();
    EncodeOptions options;
    options.registryPath = "SYSTEM\\Video\\Key";
    options.valueName = "NEXOEmulatedEDID_D0";
    const struct {
      const char* name;
      SourceKind kind;
    } formats[] = {
        {"x.bin", SourceKind::BinFile},
        {"x.txt", SourceKind::TxtFile},
        {"x.inf", SourceKind::InfFile},
        {"x.reg", SourceKind::RegFile},
    };
    for (const auto& format : formats) {
      ASSERT_TRUE(SaveImageFile(core.Image(), format.kind, Path(format.name), options)) << format.name;
      ASSERT_TRUE(LoadImageFile(core.Image(), format.kind, Path(format.name))) << format.name;
      EXPECT_TRUE(ui.messages.empty()) << format.name;
      EXPECT_EQ(Used(), bytes) << format.name;
      EXPECT_EQ(Titles(), sample.titles) << format.name;
    }

    // Every view runs over the block and shows it.
    const std::string summary = Text(kContentSummary);
    for (const std::string& title : sample.titles) {
      if (title.rfind("EDID", 0) == 0 || title.find("ExtBlock") != std::string::npos) continue;
      EXPECT_NE(summary.find("\r\n\r\n[EDID EXTENSION BLOCK: " + title + "]\r\n"), std::string::npos) << title;
    }
    const std::string report = Text(kContentErrorsReport);
    EXPECT_NE(report.find("VERDICT: "), std::string::npos);
    ModeTable modes;
    modes.Open(&core.Image());
    // A CEA block before or after the others still gives its modes.
    const bool cea = std::find(sample.titles.begin(), sample.titles.end(), "CEA ExtBlock") != sample.titles.end();
    EXPECT_EQ(cea, std::any_of(modes.Rows().begin(), modes.Rows().end(), [](const ModeTable::Row& row) {
                return row[kColumnBlock].rfind("CEA", 0) == 0;
              }));
    for (unsigned i = 1; i < image.BlockCount(); ++i) {
      if (sample.titles[i].find("ExtBlock") != std::string::npos) continue;
      EXPECT_NE(report.find(Format("\r\nValidating %s. Data Range: Byte[%u] --> Byte[%u]\r\n",
                                   sample.titles[i].c_str(), 128 * i, 128 * i + 127)),
                std::string::npos)
          << sample.titles[i];
      EXPECT_EQ(ByteName(128 * i), "Extension tag");
      EXPECT_EQ(ByteName(128 * i + 1), "Data");
      EXPECT_EQ(ByteName(128 * i + 127), "Checksum");
    }
  }
}

TEST_F(OpaqueExtensionTest, BlockMapSummaryListsTheAnnouncedBlocks) {
  LoadBytes(testing::ReadBytes(testing::CorpusDir() + "/ldi-132703297bad.bin"));
  const std::string summary = Text(kContentSummary);
  EXPECT_NE(summary.find("\r\n\r\n[EDID EXTENSION BLOCK: Block Map]\r\n"
                         "  [General Info]\r\n"
                         "  Extension Tag.............: 0xF0\r\n"
                         "  Checksum..................: 0x9E\r\n"
                         "\r\n  [Block Map]\r\n"
                         "  Block 2...................: 0x02 (CEA ExtBlock)\r\n"
                         "  Block 3...................: 0x70 (DID ExtBlock)\r\n"
                         "\r\n  [Raw Data]\r\n"
                         "    0: F0 02 70 00 00 00 00 00 00 00 00 00 00 00 00 00\r\n"),
            std::string::npos)
      << summary;
  EXPECT_NE(summary.find("  112: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 9E\r\n"), std::string::npos);
}

TEST_F(OpaqueExtensionTest, ABlockIsRemovedLikeAnyOther) {
  const std::vector<uint8_t> bytes = testing::ReadBytes(testing::CorpusDir() + "/lhw-0c80b721be83.bin");
  LoadBytes(bytes);
  EdidImage& image = core.Image();
  image.SetActivePage(2);
  ui.answers = {true};
  core.RemoveBlock();
  EXPECT_EQ(ui.questions, std::vector<std::string>{"Removing \"Extension (tag 0x1A)\"\r\nAre you sure?"});
  EXPECT_EQ(Titles(), (std::vector<std::string>{"EDID1.3 BaseBlock", "Block Map", "Extension (tag 0xCC)"}));
  EXPECT_EQ(image.GetPage(0)->GetExtensionCount(), 2u);
  EXPECT_EQ(image.GetUsedSize(), 384u);
  EXPECT_TRUE(std::equal(bytes.begin() + 384, bytes.end(), image.rawData.begin() + 256));
  EXPECT_EQ(ByteName(256), "Extension tag");
  EXPECT_TRUE(image.IsModified());
}

TEST_F(OpaqueExtensionTest, AddBlockNeverOffersIt) {
  LoadBytes(testing::ReadBytes(testing::CorpusDir() + "/lhw-265e4a0a36bc.bin"));
  ui.choices = {0};  // the first extension offered: CEA
  core.AddBlock();
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].content.items,
            (std::vector<std::string>{"EDID CEA Ext Block", "EDID DI Ext Block", "DID Ext Block"}));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"EDID1.3 BaseBlock", "VTB Extension", "CEA ExtBlock"}));
  EXPECT_EQ(core.Image().GetPage(0)->GetExtensionCount(), 2u);
}

TEST_F(OpaqueExtensionTest, RawEditsKeepItsChecksumRightUnlessTheChecksumItselfWasTyped) {
  LoadBytes(testing::ReadBytes(testing::CorpusDir() + "/lhw-265e4a0a36bc.bin"));
  EdidImage& image = core.Image();
  auto sum = [&] {
    unsigned total = 0;
    for (unsigned i = 128; i < 256; ++i) total += image.rawData[i];
    return total % 256;
  };
  ui.rawEdits = {{{200, 0x5A}}};
  core.EditRawData();
  EXPECT_EQ(image.rawData[200], 0x5A);
  EXPECT_EQ(sum(), 0u);
  EXPECT_TRUE(image.IsModified());

  const uint8_t typed = static_cast<uint8_t>(image.rawData[255] + 1);
  ui.rawEdits = {{{201, 0x11}, {255, typed}}};
  core.EditRawData();
  EXPECT_EQ(image.rawData[255], typed);
  EXPECT_NE(sum(), 0u);
  EXPECT_NE(Text(kContentErrorsReport).find("  Checksum: Byte[255] = "), std::string::npos);
}

// What the errors report says about an announced extension the load could not make a block of.
TEST_F(OpaqueExtensionTest, TheReportSaysWhatStandsWhereAnExtensionFailed) {
  std::vector<uint8_t> second = MakeBase13(2);
  second.resize(384, 0);
  second[128] = 0x02;
  second[129] = 0x03;
  FixChecksum(second.data() + 128);
  const std::vector<uint8_t> base = MakeBase13();
  std::copy(base.begin(), base.end(), second.begin() + 256);

  std::vector<uint8_t> zeroTag = MakeBase13(1);
  zeroTag.resize(256, 0);
  zeroTag[131] = 0x77;

  std::vector<uint8_t> zeros = MakeBase13(1);
  zeros.resize(256, 0);

  const struct {
    std::vector<uint8_t> bytes;
    const char* finding;
  } cases[] = {
      {MakeBase13(1), "  Extension Block 1 of 1 (from Byte[128]) not loaded: the data end at Byte[127]\r\n"},
      {zeros, "  Extension Block 1 of 1 (from Byte[128]) not loaded: its 128 bytes are all zero\r\n"},
      {second,
       "  Extension Block 2 of 2 (from Byte[256]) not loaded: it is an EDID base block, not an extension block\r\n"},
      {zeroTag, "  Extension Block 1 of 1 (from Byte[128]) not loaded: Byte[128] = 0x00 is not an extension tag\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LoadBytes(c.bytes), std::vector<std::string>{"Failed to create Extension Block"});
    const std::string report = Text(kContentErrorsReport);
    EXPECT_NE(report.find(c.finding), std::string::npos) << report;
  }
}

// A 768-byte EDID: a base block announcing five extensions.
std::vector<uint8_t> SixBlocks() {
  std::vector<uint8_t> bytes = MakeBase13(5);
  bytes.resize(768, 0);
  for (unsigned at = 128; at < 768; at += 128) {
    bytes[at] = 0x02;
    bytes[at + 1] = 0x03;
    FixChecksum(bytes.data() + at);
  }
  return bytes;
}

TEST_F(OpaqueExtensionTest, ALongerEdidSaysWhatIsLeftOut) {
  const std::vector<uint8_t> bytes = SixBlocks();
  const std::string note = "The EDID holds 6 blocks (768 bytes); only the first 4 (512 bytes) are kept";
  // The note alone: the blocks past the image are no failure to create them.
  EXPECT_EQ(LoadBytes(bytes), std::vector<std::string>{note});
  EdidImage& image = core.Image();
  ASSERT_EQ(image.BlockCount(), 4u);
  EXPECT_EQ(image.SourceLengthNote(), note);
  EXPECT_NE(Text(kContentErrorsReport).find("  " + note + "\r\n"), std::string::npos);

  // A source of exactly 512 bytes whose blocks announce more: an HDMI Forum
  // EEODB block counts them when byte 126 says 1.
  std::vector<uint8_t> eeodb(bytes.begin(), bytes.begin() + 512);
  eeodb[126] = 1;
  FixChecksum(eeodb.data());
  const uint8_t block[] = {0xE2, 0x78, 0x05};  // extended tag 0x78, 5 extensions
  std::copy(std::begin(block), std::end(block), eeodb.begin() + 132);
  eeodb[130] = 7;
  FixChecksum(eeodb.data() + 128);
  EXPECT_EQ(EdidImage::AnnouncedBlocks(eeodb.data()), 6u);
  EXPECT_EQ(LoadBytes(eeodb), std::vector<std::string>{note});
  // A file of 600 bytes whose base block announces the 4 blocks the image
  // keeps: what follows them is no part of the EDID.
  std::vector<uint8_t> four = bytes;
  four.resize(600);
  four[126] = 3;
  FixChecksum(four.data());
  EXPECT_TRUE(LoadBytes(four).empty());
  EXPECT_TRUE(image.SourceLengthNote().empty());

  // A shorter source ends early instead: nothing is left out.
  ui.Clear();
  image.NoteSourceLength(256);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(image.SourceLengthNote().empty());
}

TEST_F(OpaqueExtensionTest, SavingALongerEdidOverItsFileAsksFirst) {
  const std::vector<uint8_t> bytes = SixBlocks();
  LoadBytes(bytes);
  EdidImage& image = core.Image();
  const std::string question = "The EDID holds 6 blocks (768 bytes); only the first 4 (512 bytes) are kept\r\n"
                               "Saving over [" + Path("in.bin") + "] drops the rest of it.\r\nAre you sure?";
  ui.answers = {false};
  EXPECT_FALSE(SaveImageFile(image, SourceKind::TxtFile, Path("in.bin")));
  EXPECT_EQ(ui.questions, std::vector<std::string>{question});
  EXPECT_EQ(testing::ReadBytes(Path("in.bin")), bytes);
  EXPECT_TRUE(ui.messages.empty());

  // Elsewhere, nothing is lost: no question.
  ui.Clear();
  EXPECT_TRUE(SaveImageFile(image, SourceKind::BinFile, Path("copy.bin")));
  EXPECT_TRUE(ui.questions.empty());
  LoadBytes(bytes);

  ui.Clear();
  ui.answers = {true};
  EXPECT_TRUE(SaveImageFile(image, SourceKind::BinFile, Path("in.bin")));
  EXPECT_EQ(ui.questions, std::vector<std::string>{question});
  EXPECT_EQ(testing::ReadBytes(Path("in.bin")), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 512));
  // The file now holds what the image holds.
  EXPECT_TRUE(image.SourceLengthNote().empty());
}

}  // namespace
}  // namespace velmar
