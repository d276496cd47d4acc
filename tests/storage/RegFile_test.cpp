#include <gtest/gtest.h>

#include <filesystem>

#include "app/ImageFiles.h"
#include "app/MainWindowCore.h"
#include "storage/RegFile.h"
#include "display/SimLibrary.h"
#include "support/FileTestFixture.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::MakeBase13;
using testing::ReadTextFile;
using testing::ScriptedUserInterface;
using testing::WriteTextFile;

std::string HexList(const std::vector<uint8_t>& bytes, const char* format = "%02X") {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char value[8];
    std::snprintf(value, sizeof value, format, bytes[i]);
    if (i > 0) text += ",";
    text += value;
  }
  return text;
}

std::string Utf16(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

using RegFileTest = testing::FileTestFixture;

TEST_F(RegFileTest, TheWrittenFile) {
  const std::vector<uint8_t> base = MakeBase13();
  LoadBytes(base);
  EXPECT_EQ(EncodeImage(core.Image(), SourceKind::RegFile, testing::RegistryOptions("SYSTEM\\Velmar\\Display\\pci-0000:01:00.0", "NEXOEmulatedEDID_D3")),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\Velmar\\Display\\pci-0000:01:00.0]\r\n"
            "\"NEXOEmulatedEDID_D3\"=hex:" +
                HexList(base) + "\r\n\r\n");
  EXPECT_EQ(EncodeImage(EdidImage(ui), SourceKind::RegFile, testing::RegistryOptions("K", "NEXOEmulatedEDID_A0")),
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"NEXOEmulatedEDID_A0\"=hex:");
  // Written in 8-bit characters, as the registry editor reads such files.
  EXPECT_NE(EncodeImage(EdidImage(ui), SourceKind::RegFile, testing::RegistryOptions("Caf\xC3\xA9", "V")).find("\n[HKEY_LOCAL_MACHINE\\Caf\xE9]\r\n"),
            std::string::npos);
}

// A key or value name that would end its line early could smuggle further keys
// and values into the file: such names are refused (and nothing is written),
// quotes and backslashes of value names are escaped as the registry editor
// escapes them.
TEST_F(RegFileTest, NamesThatWouldEndTheirLineAreRefusedOrEscaped) {
  const std::vector<uint8_t> base = MakeBase13();
  LoadBytes(base);
  const std::string badKey = "a REG file's key cannot hold ']', a carriage return or a line feed";
  const std::string badValue = "a REG file's value name cannot hold a carriage return or a line feed";
  const struct {
    std::string key, value, problem;
  } refused[] = {
      {"SYSTEM\\K]\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Evil", "NEXOEmulatedEDID_D0", badKey},
      {"SYSTEM\\K]", "NEXOEmulatedEDID_D0", badKey},
      {"SYSTEM\\K\r", "NEXOEmulatedEDID_D0", badKey},
      {"SYSTEM\\K\n", "NEXOEmulatedEDID_D0", badKey},
      {"SYSTEM\\K", "NEXOEmulatedEDID_D0\"=hex:00\r\n\"Evil", badValue},
      {"SYSTEM\\K", "NEXOEmulatedEDID_D0\n", badValue},
      {"SYSTEM\\K", "\rNEXOEmulatedEDID_D0", badValue},
  };
  for (const auto& names : refused) {
    SCOPED_TRACE(names.key + " " + names.value);
    const EncodeOptions options = testing::RegistryOptions(names.key, names.value);
    EXPECT_EQ(RegOptionsProblem(options), names.problem);
    EXPECT_EQ(EncodeImage(core.Image(), SourceKind::RegFile, options), "");
    EXPECT_FALSE(SaveImageFile(core.Image(), SourceKind::RegFile, Path("x.reg"), options));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to open [" + Path("x.reg") + "] for writing: " + names.problem});
    EXPECT_FALSE(std::filesystem::exists(Path("x.reg")));
    ui.Clear();
  }

  const EncodeOptions quoted = testing::RegistryOptions("SYSTEM\\K \"quoted\"", "NEXOEmulatedEDID_\\\"D0");
  EXPECT_EQ(RegOptionsProblem(quoted), "");
  const std::string escaped = EncodeImage(core.Image(), SourceKind::RegFile, quoted);
  EXPECT_NE(escaped.find("\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\K \"quoted\"]\r\n\"NEXOEmulatedEDID_\\\\\\\"D0\"=hex:00,FF,"),
            std::string::npos)
      << escaped;
  ASSERT_TRUE(SaveImageFile(core.Image(), SourceKind::RegFile, Path("escaped.reg"), quoted));
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("escaped.reg")));
  EXPECT_EQ(Used(), base);
}

TEST_F(RegFileTest, GeneratedFilesLoadBackToTheSameBytes) {
  for (const std::string& file : testing::CorpusFiles()) {
    const std::vector<std::string> messages = LoadBytes(testing::ReadBytes(file));
    const std::vector<uint8_t> original = Used();
    if (original.empty()) continue;
    WriteTextFile(Path("x.reg"), EncodeImage(core.Image(), SourceKind::RegFile, testing::RegistryOptions("SYSTEM\\K", "NEXOEmulatedEDID_D0")));
    ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("x.reg")));
    EXPECT_EQ(Used(), original) << file;
    EXPECT_EQ(ui.messages, messages) << file;
    ui.Clear();
  }
  // The file of an empty image holds an empty value: an empty image, and the desktop program says why.
  WriteTextFile(Path("empty.reg"), EncodeImage(EdidImage(ui), SourceKind::RegFile, testing::RegistryOptions("K", "NEXOEmulatedEDID_A0")));
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("empty.reg")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No EDID in " + Path("empty.reg") + ": the file holds no EDID bytes"});
  EXPECT_EQ(core.Image().BlockCount(), 0u);
}

TEST_F(RegFileTest, ARegistryEditorExportLoads) {
  // The editor writes UTF-16 with a byte order mark, lower-case values and
  // lines continued with a backslash.
  const std::vector<uint8_t> base = MakeBase13();
  std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Sim]\r\n"
      "\"Other\"=dword:00000001\r\n\"NEXOEmulatedEDID_A0\"=hex:";
  for (size_t i = 0; i < base.size(); ++i) {
    char value[8];
    std::snprintf(value, sizeof value, "%02x", base[i]);
    text += value;
    if (i + 1 < base.size()) text += ",";
    if (i % 25 == 24 && i + 1 < base.size()) text += "\\\r\n  ";
  }
  WriteTextFile(Path("export.reg"), Utf16(text + "\r\n\r\n"));
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("export.reg")));
  EXPECT_EQ(Used(), base);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(core.Image().Labels().source, "export.reg (Registry File)");
}

TEST_F(RegFileTest, EveryEmulatedValueLineIsAppendedOthersAreIgnored) {
  std::vector<uint8_t> base = MakeBase13(1);
  std::vector<uint8_t> cea(128, 0);
  cea[0] = 0x02;
  cea[1] = 0x03;
  cea[2] = 0x04;
  testing::FixChecksum(cea.data());
  const std::string text =
      "[HKEY_LOCAL_MACHINE\\K]\r\n"
      "\"NEXOEmulatedEDID_A0\"=hex:" +
      HexList(base) +
      "\r\n"
      "\"SomethingElse\"=hex:01,02,03\r\n"
      "\"NEXOEmulatedEDID_D0\"=hex:" +
      HexList(cea, "0x%02X") + "\r\n";
  WriteTextFile(Path("both.reg"), text);
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("both.reg")));
  base.insert(base.end(), cea.begin(), cea.end());
  EXPECT_EQ(std::vector<uint8_t>(core.Image().rawData.begin(), core.Image().rawData.begin() + 256), base);
}

TEST_F(RegFileTest, MalformedOrOversizedListsEmptyTheImage) {
  for (const std::string list : {"01,", "01,,02", "01,123456", "01,zz", ","}) {
    SCOPED_TRACE(list);
    LoadBytes(MakeBase13());
    WriteTextFile(Path("bad.reg"), "\"NEXOEmulatedEDID_D0\"=hex:" + list + "\n");
    ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("bad.reg")));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid File Format"});
    EXPECT_EQ(core.Image().BlockCount(), 0u);
    EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::RegFile);
  }
  const std::string half = "\"NEXOEmulatedEDID_D0\"=hex:" + HexList(std::vector<uint8_t>(256, 0)) + "\n";
  WriteTextFile(Path("full.reg"), half + half);
  ui.Clear();
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("full.reg")));
  EXPECT_TRUE(ui.messages.empty());
  WriteTextFile(Path("over.reg"), half + half + "\"NEXOEmulatedEDID_D1\"=hex:00\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("over.reg")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Maximum EDID size overflow"});
  ui.Clear();
  EXPECT_FALSE(LoadImageFile(core.Image(), SourceKind::RegFile, Path("missing.reg")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to open [" + Path("missing.reg") + "] for reading: No such file or directory"});
}

TEST_F(RegFileTest, TheMenuCommands) {
  testing::SimLibrary sim;
  sim.Configure(
      "adapter name=GPU path=\"\\REGISTRY\\MACHINE\\SYSTEM\\Sim\"\nadapter bus=1 name=NoPath\n"
      "display adapter=0 index=2 name=Screen\ndisplay adapter=1 index=0 name=Other\n");
  core.Displays().SetLibraryCandidates(testing::SimLibrary::Candidates());
  core.Initialize();
  const std::vector<uint8_t> base = MakeBase13();
  LoadBytes(base);
  core.Image().SetModified();

  ui.choices = {2};  // analog value of the display without a registry path
  ui.savePaths = {Path("x.reg")};
  core.SaveFile(SourceKind::RegFile);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to obtain registry path"});
  EXPECT_TRUE(ui.saveDialogs.empty());

  ui.Clear();
  ui.choices = {1};
  core.SaveFile(SourceKind::RegFile);
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].kind, kContentAllEmulatedValues);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].defaultExtension, "reg");
  EXPECT_EQ(ui.saveDialogs[0].filter, "Registry files (*.reg)|*.reg|All files (*.*)|*.*||");
  EXPECT_EQ(ReadTextFile(Path("x.reg")), EncodeImage(core.Image(), SourceKind::RegFile, testing::RegistryOptions("SYSTEM\\Sim", "NEXOEmulatedEDID_D2")));
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(core.Image().Labels().source, "x.reg (Registry File)");

  core.Image().SetModified();
  ui.openPaths = {Path("x.reg")};
  core.LoadFile(SourceKind::RegFile);
  EXPECT_EQ(ui.openDialogs.back().defaultExtension, "reg");
  EXPECT_EQ(Used(), base);
  EXPECT_EQ(ui.questions.size(), 1u);
}

}  // namespace
}  // namespace velmar
