#include <gtest/gtest.h>

#include "app/ImageFiles.h"
#include "app/MainWindowCore.h"
#include "blocks/MonitorInfo.h"
#include "pages/BlockPage.h"
#include "storage/SetupText.h"
#include "support/FileTestFixture.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Clock.h"

namespace velmar {
namespace {

using testing::MakeBase13;
using testing::ReadTextFile;
using testing::ScriptedUserInterface;
using testing::WriteTextFile;

// A page whose monitor information and largest mode the test decides.
class ScriptedPage : public BlockPage {
 public:
  ScriptedPage(std::string title, MonitorInfo monitor, unsigned width, unsigned height)
      : BlockPage(std::move(title), 0, nullptr, nullptr),
        info(std::move(monitor)),
        modeWidth(width),
        modeHeight(height) {}
  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override {
    (void)data;
    return available >= kBlockSize && offset % kBlockSize == 0;
  }
  unsigned GetSize() const override { return kBlockSize; }
  void GetMonitorInfo(MonitorInfo& out) const override { out = info; }
  void GetLargestMode(unsigned& width, unsigned& height) const override {
    if (modeWidth > width || (modeWidth == width && modeHeight > height)) {
      width = modeWidth;
      height = modeHeight;
    }
  }

 private:
  MonitorInfo info;
  unsigned modeWidth;
  unsigned modeHeight;
};

// Joins lines with CR LF, ending the last one too.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

class InfFileTest : public testing::FileTestFixture {
 protected:
  // Two scripted 128-byte pages over bytes 0, 1, ... 255.
  void ScriptedImage(const MonitorInfo& info, unsigned width, unsigned height) {
    EdidImage& image = core.Image();
    for (unsigned i = 0; i < 256; ++i) image.rawData[i] = static_cast<uint8_t>(i);
    ASSERT_TRUE(image.AppendBlock(std::make_unique<ScriptedPage>("First Page", info, width, height), 0, 512));
    ASSERT_TRUE(image.AppendBlock(std::make_unique<ScriptedPage>("Second Page", MonitorInfo{}, 640, 480), 128, 384));
  }
};

const std::string kVersionToManufacturer = Lines({"[Version]",
                                                  "signature=\"$WINDOWS NT$\"",
                                                  "Class=Monitor",
                                                  "ClassGuid={4D36E96E-E325-11CE-BFC1-08002BE10318}",
                                                  "Provider=\"Velmar\"",
                                                  "DriverVer=3/7/2024, 1.0.0.0",
                                                  "",
                                                  ";CatalogFile=Sample.cat",
                                                  "",
                                                  "[DestinationDirs]",
                                                  "DefaultDestDir=23",
                                                  "",
                                                  "[SourceDisksNames]",
                                                  "1=%SourceDisksNames%",
                                                  "",
                                                  "[SourceDisksFiles]",
                                                  ";profile1.icm=1",
                                                  "",
                                                  "[Manufacturer]",
                                                  "%VendorID%=VELMAR_EDID_OVERRIDE,NTx86,NTvelmar64",
                                                  ""});

const std::string kInstallSections =
    Lines({"[VELMAR_EDID_OVERRIDE-1.Install.NTx86]", "DelReg=DEL_CURRENT_REG",
           "AddReg=VELMAR_EDID_OVERRIDE-1.AddReg, MODE1, DPMS", "CopyFiles=VELMAR_EDID_OVERRIDE-1.CopyFiles", "",
           "[VELMAR_EDID_OVERRIDE-1.Install.NTvelmar64]", "DelReg=DEL_CURRENT_REG",
           "AddReg=VELMAR_EDID_OVERRIDE-1.AddReg, MODE1, DPMS", "CopyFiles=VELMAR_EDID_OVERRIDE-1.CopyFiles", "",
           "[VELMAR_EDID_OVERRIDE-1.Install.NTx86.HW]", "AddReg=VELMAR_EDID_OVERRIDE-1_AddReg", "",
           "[VELMAR_EDID_OVERRIDE-1.Install.NTvelmar64.HW]", "AddReg=VELMAR_EDID_OVERRIDE-1_AddReg", "",
           "[VELMAR_EDID_OVERRIDE-1_AddReg]"});

const std::string kDelCurrentReg = Lines(
    {"[DEL_CURRENT_REG]", "HKR,MODES", "HKR,EDID_OVERRIDE", "HKR,,MaxResolution", "HKR,,DPMS", "HKR,,ICMProfile", ""});

// The override lines of the two scripted pages over bytes 0-255.
std::string ScriptedOverrideLines() {
  std::string text;
  for (unsigned block = 0; block < 2; ++block) {
    text += block == 0 ? ";First Page\r\n" : ";Second Page\r\n";
    text += "HKR,EDID_OVERRIDE,\"" + std::to_string(block) + "\",0x01";
    for (unsigned i = 0; i < 128; ++i) {
      char value[8];
      std::snprintf(value, sizeof value, ",0x%02X", block * 128 + i);
      text += value;
    }
    text += "\r\n\r\n";
  }
  return text;
}

TEST_F(InfFileTest, TheWholeFileOfAnImageWithRangeLimits) {
  MonitorInfo info;
  info.pnpId = "DEL4026";
  info.manufacturer = "DEL";
  info.monitorName = "DELL 2408WFP";
  info.minVRate = 56;
  info.maxVRate = 76;
  info.minHRate = 30;
  info.maxHRate = 83;
  info.powerManagement = true;
  ScriptedImage(info, 1920, 1200);
  const std::string expected =
      kVersionToManufacturer +
      Lines({"[VELMAR_EDID_OVERRIDE.NTx86]", "%ProductName%=VELMAR_EDID_OVERRIDE-1.Install, MONITOR\\DEL4026", "",
             "[VELMAR_EDID_OVERRIDE.NTvelmar64]",
             "%ProductName%=VELMAR_EDID_OVERRIDE-1.Install.NTvelmar64, MONITOR\\DEL4026", ""}) +
      kInstallSections + ScriptedOverrideLines() + kDelCurrentReg +
      Lines({"[DPMS]", "HKR,,DPMS,,1", "", "[MODE1]", "HKR,,MaxResolution,,\"1920,1200\"", "",
             "[VELMAR_EDID_OVERRIDE-1.AddReg]", "HKR,\"MODES\\1920,1200\",Mode1,,\"30.0-83.0,56.0-76.0,+,+\"", "",
             "[VELMAR_EDID_OVERRIDE-1.CopyFiles]", ";profile1.icm", "", "[Strings]",
             "SourceDisksNames=\"Monitor EDID Override Installation Disk\"", "ProductName=\"DELL 2408WFP (Override)\"",
             "VendorID=\"DEL\"", ""});
  EXPECT_EQ(EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 3, 7, 23, 59, 59})), expected);
}

TEST_F(InfFileTest, WithoutRangeLimitsTheModesLineEndsIn255) {
  MonitorInfo info;
  info.pnpId = "XXX0";
  info.manufacturer = "XXX";
  info.monitorName = "Default Monitor";
  ScriptedImage(info, 0, 0);  // the second page still announces 640 x 480
  const std::string text = EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2031, 12, 31, 0, 0, 0}));
  EXPECT_NE(text.find("DriverVer=12/31/2031, 1.0.0.0\r\n"), std::string::npos);
  EXPECT_NE(text.find(Lines({"[DPMS]", "HKR,,DPMS,,0", "", "[MODE1]", "HKR,,MaxResolution,,\"640,480\"", "",
                             "[VELMAR_EDID_OVERRIDE-1.AddReg]", "HKR,\"MODES\\640,480\",Mode1,,\"255.0,+,+\"", "",
                             "[VELMAR_EDID_OVERRIDE-1.CopyFiles]"})),
            std::string::npos);
  EXPECT_NE(text.find("ProductName=\"Default Monitor (Override)\"\r\nVendorID=\"XXX\"\r\n"), std::string::npos);
}

TEST_F(InfFileTest, TextsAreWrittenIn8BitCharacters) {
  MonitorInfo info;
  info.pnpId = "ABC1";
  info.manufacturer = "ABC";
  info.monitorName = "\xC3\x89" "cran";  // "Ecran" with an acute accent, as the program holds it (UTF-8)
  ScriptedImage(info, 0, 0);
  const std::string text = EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 1, 2, 0, 0, 0}));
  EXPECT_NE(text.find("ProductName=\"\xC9" "cran (Override)\"\r\n"), std::string::npos);
}

TEST_F(InfFileTest, NoLargestModeMeansNoModeSection) {
  EdidImage& image = core.Image();
  ASSERT_TRUE(image.AppendBlock(std::make_unique<ScriptedPage>("Only", MonitorInfo{}, 0, 0), 0, 512));
  const std::string text = EncodeImage(image, SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 1, 2, 0, 0, 0}));
  EXPECT_EQ(text.find("[MODE1]"), std::string::npos);
  EXPECT_EQ(text.find("[VELMAR_EDID_OVERRIDE-1.AddReg]"), std::string::npos);
  EXPECT_NE(text.find("HKR,,DPMS,,0\r\n\r\n[VELMAR_EDID_OVERRIDE-1.CopyFiles]\r\n"), std::string::npos);
  EXPECT_NE(text.find("MONITOR\\\r\n"), std::string::npos);
  EXPECT_NE(text.find("ProductName=\" (Override)\"\r\nVendorID=\"\"\r\n"), std::string::npos);
}

TEST_F(InfFileTest, ARealBaseBlock) {
  // DELL 2408WFP: manufacturer DEL, product 0xA02B, range limits 56-76 Hz and
  // 30-83 kHz, standby set, first detailed timing 1920 x 1200.
  LoadBytes(testing::ReadBytes(testing::CorpusDir() + "/ed-6dbf89624ca4.bin"));
  const std::string text = EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 1, 2, 0, 0, 0}));
  EXPECT_NE(text.find("%ProductName%=VELMAR_EDID_OVERRIDE-1.Install, MONITOR\\DELA02B\r\n"), std::string::npos);
  EXPECT_NE(text.find(";EDID1.4 BaseBlock\r\nHKR,EDID_OVERRIDE,\"0\",0x01,0x00,0xFF,"), std::string::npos);
  EXPECT_NE(text.find(Lines({"[DPMS]", "HKR,,DPMS,,1", "", "[MODE1]", "HKR,,MaxResolution,,\"1920,1200\"", "",
                             "[VELMAR_EDID_OVERRIDE-1.AddReg]",
                             "HKR,\"MODES\\1920,1200\",Mode1,,\"30.0-83.0,56.0-76.0,+,+\"", ""})),
            std::string::npos);
  EXPECT_NE(text.find("ProductName=\"DELL 2408WFP (Override)\"\r\nVendorID=\"DEL\"\r\n"), std::string::npos);
}

TEST_F(InfFileTest, ACeaFirstImageStillGetsItsLargestMode) {
  // A CEA-861 block alone with one detailed timing of 1920 x 1080.
  std::vector<uint8_t> cea(128, 0);
  const std::vector<uint8_t> head = {0x02, 0x03, 0x04, 0x00, 0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D,
                                     0x40, 0x58, 0x2C, 0x45, 0x00, 0xC4, 0x8E, 0x21, 0x00, 0x00, 0x1E};
  std::copy(head.begin(), head.end(), cea.begin());
  testing::FixChecksum(cea.data());
  LoadBytes(cea);
  ASSERT_EQ(core.Image().BlockCount(), 1u);
  const std::string text = EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 1, 2, 0, 0, 0}));
  EXPECT_NE(text.find("MONITOR\\\r\n"), std::string::npos);
  EXPECT_NE(text.find(Lines({"[DPMS]", "HKR,,DPMS,,0", "", "[MODE1]", "HKR,,MaxResolution,,\"1920,1080\"", "",
                             "[VELMAR_EDID_OVERRIDE-1.AddReg]", "HKR,\"MODES\\1920,1080\",Mode1,,\"255.0,+,+\"",
                             ""})),
            std::string::npos);
  EXPECT_NE(text.find("ProductName=\" (Override)\"\r\nVendorID=\"\"\r\n"), std::string::npos);
}

TEST_F(InfFileTest, GeneratedFilesLoadBackToTheSameBytes) {
  for (const std::string& file : testing::CorpusFiles()) {
    const std::vector<std::string> messages = LoadBytes(testing::ReadBytes(file));
    const std::vector<uint8_t> original = Used();
    if (original.empty()) continue;
    WriteTextFile(Path("x.inf"), EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 1, 1, 0, 0, 0})));
    ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("x.inf")));
    EXPECT_EQ(Used(), original) << file;
    EXPECT_EQ(ui.messages, messages) << file;
    ui.Clear();
  }
}

TEST_F(InfFileTest, LogicalLinesJoinContinuationsAndDropBlanks) {
  EXPECT_EQ(LogicalLines("a b\\\nc\r\n\r\n \t\n  d\\\r\n e \\x\n\\"), (std::vector<std::string>{"ABC", "DE\\X", "\\"}));
  EXPECT_EQ(LogicalLines("x\\  \r\ny"), std::vector<std::string>{"XY"});
  EXPECT_TRUE(LogicalLines("\r\n\n \n").empty());
}

TEST_F(InfFileTest, ValueListsAreContinuedAndReadInAnyCase) {
  const std::vector<uint8_t> base = MakeBase13();
  std::string text = "; comment\r\n[x]\r\nhkr, edid_override, \"0\", 0x01";
  for (size_t i = 0; i < base.size(); ++i) {
    char value[16];
    std::snprintf(value, sizeof value, i % 2 ? ",%x" : ", 0x%02x", base[i]);
    text += value;
    if (i % 16 == 15 && i + 1 < base.size()) text += " \\\r\n    ";
  }
  WriteTextFile(Path("a.inf"), text + "\r\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("a.inf")));
  EXPECT_EQ(Used(), base);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(core.Image().Labels().source, "a.inf (INF File)");
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::InfFile);
}

TEST_F(InfFileTest, BlocksAreReadOnlyInOrder) {
  const std::vector<uint8_t> base = MakeBase13(1);
  std::string block0 = "HKR,EDID_OVERRIDE,\"0\",0x01";
  for (uint8_t b : base) block0 += ",0x" + std::string(1, "0123456789ABCDEF"[b >> 4]) + "0123456789ABCDEF"[b & 15];
  std::string block1 = "HKR,EDID_OVERRIDE,\"1\",0x01";
  for (int i = 0; i < 128; ++i) block1 += i == 0 ? ",2" : ",0";
  WriteTextFile(Path("a.inf"), block1 + "\n" + block0 + "\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("a.inf")));
  EXPECT_EQ(core.Image().rawData[128], 0);  // the "1" line stood before "0"
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Extension Block"});
  ui.Clear();
  // "2" without "1" is never searched for; "0" twice counts once.
  WriteTextFile(Path("b.inf"), block0 + "\n" + block0 + "\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("b.inf")));
  EXPECT_EQ(core.Image().rawData[128], 0);
}

TEST_F(InfFileTest, MalformedListsEmptyTheImage) {
  const std::string prefix = "HKR,EDID_OVERRIDE,\"0\",";
  for (const std::string list :
       {"0x01,", "0x01,,0", "0x01,0x100", "0x01,12345", "0x01,0x", "0x01,G1", "", ",", "0x01,1;x", "0x0001000"}) {
    SCOPED_TRACE(list);
    LoadBytes(MakeBase13());
    WriteTextFile(Path("bad.inf"), prefix + list + "\r\n");
    ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("bad.inf")));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid File Format"});
    EXPECT_EQ(core.Image().BlockCount(), 0u);
    EXPECT_TRUE(
        std::all_of(core.Image().rawData.begin(), core.Image().rawData.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::InfFile);
  }
  // Four characters with the prefix, and the flag is only checked.
  LoadBytes(MakeBase13());
  WriteTextFile(Path("ok.inf"), prefix + "FFFF,0xAB,1,fF\r\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("ok.inf")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Base Block"});
  EXPECT_EQ(core.Image().rawData[0], 0xAB);
  EXPECT_EQ(core.Image().rawData[2], 0xFF);
}

TEST_F(InfFileTest, MoreThan512ValuesOverflow) {
  std::string text = "HKR,EDID_OVERRIDE,\"0\",0x01";
  for (int i = 0; i < 512; ++i) text += ",0";
  WriteTextFile(Path("full.inf"), text + "\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("full.inf")));
  EXPECT_TRUE(ui.messages.empty());
  WriteTextFile(Path("over.inf"), text + ",0\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("over.inf")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Maximum EDID size overflow"});
}

TEST_F(InfFileTest, AFileWithoutOverrideLinesGivesAnEmptyImageAndSaysSo) {
  LoadBytes(MakeBase13());
  WriteTextFile(Path("none.inf"), "[Version]\r\nsignature=\"$WINDOWS NT$\"\r\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("none.inf")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No EDID in " + Path("none.inf") + ": the file holds no EDID bytes"});
  EXPECT_EQ(core.Image().BlockCount(), 0u);
  EXPECT_EQ(core.Image().Labels().source, "None");
}

TEST_F(InfFileTest, AnUnreadableFileLeavesTheImageAlone) {
  LoadBytes(MakeBase13());
  core.Image().SetModified();
  EXPECT_FALSE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("missing.inf")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to open [" + Path("missing.inf") + "] for reading: No such file or directory"});
  EXPECT_EQ(Used(), MakeBase13());
  EXPECT_TRUE(core.Image().IsModified());
}

TEST_F(InfFileTest, Utf16FilesAreReadAsTheirCharacters) {
  const std::string line = "HKR,EDID_OVERRIDE,\"0\",0x01,0x00,0xFF\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : line) {
    utf16 += c;
    utf16 += '\0';
  }
  utf16 += "\x3A\x26";  // a character beyond 8 bits
  EXPECT_EQ(DecodeSetupText(utf16), line + "?");
  WriteTextFile(Path("u.inf"), utf16);
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::InfFile, Path("u.inf")));
  EXPECT_EQ(core.Image().rawData[1], 0xFF);
  EXPECT_EQ(DecodeSetupText("\xFF"), "\xFF");
}

TEST_F(InfFileTest, TheMenuCommands) {
  const FixedClock clock(LocalTime{2025, 6, 30, 12, 0, 0});
  core.SetClock(&clock);
  ui.savePaths = {Path("never.inf")};
  core.SaveFile(SourceKind::InfFile);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Operation Failed. Need valid EDID with at least 1 block"});
  EXPECT_TRUE(ui.saveDialogs.empty());

  LoadBytes(MakeBase13());
  core.Image().SetModified();
  core.SaveFile(SourceKind::InfFile);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].defaultExtension, "inf");
  EXPECT_EQ(ui.saveDialogs[0].filter, "Setup Information files (*.inf)|*.inf|All files (*.*)|*.*||");
  EXPECT_NE(ReadTextFile(Path("never.inf")).find("DriverVer=6/30/2025, 1.0.0.0\r\n"), std::string::npos);
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(core.Image().Labels().source, "never.inf (INF File)");

  core.Image().SetModified();
  ui.answers = {true};
  ui.openPaths = {Path("never.inf")};
  core.LoadFile(SourceKind::InfFile);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.openDialogs.back().defaultExtension, "inf");
  EXPECT_EQ(Used(), MakeBase13());
  EXPECT_FALSE(core.Image().IsModified());
}

}  // namespace
}  // namespace velmar
