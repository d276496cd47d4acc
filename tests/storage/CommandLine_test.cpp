#include "storage/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ImageFiles.h"
#include "app/MainWindowCore.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::MakeBase13;
using testing::ScriptedUserInterface;
using testing::WriteTextFile;

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    base = MakeBase13();
    std::filesystem::create_directories(dir + "/.config/my folder");
    core.Displays().SetLibraryCandidates({});
  }
  void TearDown() override { testing::RemoveTree(dir); }
  std::string Write(const std::string& name, const std::string& contents) {
    WriteTextFile(dir + "/" + name, contents);
    return dir + "/" + name;
  }
  std::string Raw() const { return std::string(base.begin(), base.end()); }
  std::vector<uint8_t> Used() const {
    return std::vector<uint8_t>(core.Image().rawData.begin(),
                                core.Image().rawData.begin() + core.Image().GetUsedSize());
  }

  std::string dir;
  std::vector<uint8_t> base;
  ScriptedUserInterface ui;
  MainWindowCore core{ui};
};

TEST_F(CommandLineTest, TheExtensionOfTheFileNamePicksTheReader) {
  // Mixed case, blanks, and dotted folders.
  core.Initialize({Write(".config/my folder/Sample.Bin", Raw())});
  EXPECT_EQ(Used(), base);
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::BinFile);
  EXPECT_EQ(core.Image().Labels().source, "Sample.Bin (Binary File)");
  EXPECT_EQ(core.Image().Labels().path, dir + "/.config/my folder");

  std::string text;
  for (uint8_t b : base) text += "0123456789ABCDEF"[b >> 4] + std::string(1, "0123456789ABCDEF"[b & 15]) + " ";
  const std::vector<std::pair<std::string, SourceKind>> files = {
      {Write("a.etxt", text), SourceKind::TxtFile},
      {Write("a.EDID", Raw()), SourceKind::BinFile},
      {Write("a.ebin", Raw()), SourceKind::BinFile},
      {Write("a.Inf", EncodeImage(core.Image(), SourceKind::InfFile, testing::DatedOptions(LocalTime{2024, 1, 1, 0, 0, 0}))), SourceKind::InfFile},
      {Write("a.REG", EncodeImage(core.Image(), SourceKind::RegFile, testing::RegistryOptions("K", "NEXOEmulatedEDID_D0"))), SourceKind::RegFile},
  };
  for (const auto& [path, kind] : files) {
    SCOPED_TRACE(path);
    core.Image().rawData.fill(0);
    core.Image().Rebuild();
    EXPECT_TRUE(OpenFileFromCommandLine(core.Image(), path));
    EXPECT_EQ(Used(), base);
    EXPECT_EQ(core.Image().GetSourceKind(), kind);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandLineTest, NamesWithoutAKnownExtension) {
  EXPECT_FALSE(OpenFileFromCommandLine(core.Image(), Write(".config/monitor", Raw())));
  EXPECT_FALSE(OpenFileFromCommandLine(core.Image(), Write("my.folder/picture.png", "x")));
  EXPECT_FALSE(OpenFileFromCommandLine(core.Image(), dir + "/trailing."));
  EXPECT_FALSE(OpenFileFromCommandLine(core.Image(), ""));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Invalid file extension: MONITOR", "Invalid file extension: PNG"}));
  EXPECT_EQ(FileExtension("/a.b/c"), "");
  EXPECT_EQ(FileExtension("/a/c.tar.GZ"), "GZ");
  EXPECT_EQ(core.Image().BlockCount(), 0u);
  // The whole name is the extension when it has no dot: the kernel's "edid" files read raw.
  EXPECT_TRUE(OpenFileFromCommandLine(core.Image(), Write(".config/edid", Raw())));
  EXPECT_EQ(Used(), base);
}

TEST_F(CommandLineTest, NoArgumentDoesNothing) {
  core.Initialize();
  core.Initialize({});
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(ui.openDialogs.empty());
  EXPECT_EQ(core.Image().Labels().source, "None");
  EXPECT_EQ(core.Displays().InitLog(), "Failed to load Pexa library.\r\n");
}

}  // namespace
}  // namespace velmar
