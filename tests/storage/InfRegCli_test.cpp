// velmar-edid reading and writing INF and REG files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/EdidImage.h"
#include "app/ImageFiles.h"
#include "cli/ToolRunner.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::ReadBytes;
using testing::ReadTextFile;
using testing::RunTool;

class InfRegCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    source = testing::CorpusDir() + "/ed-06ea81b6a609.bin";
    ASSERT_TRUE(LoadImageFile(image, SourceKind::BinFile, source));
  }
  void TearDown() override { testing::RemoveTree(dir); }
  std::string Path(const std::string& name) const { return dir + "/" + name; }

  std::string dir;
  std::string source;
  testing::ScriptedUserInterface ui;
  EdidImage image{ui};
};

TEST_F(InfRegCliTest, ConvertWritesAndReadsInfFiles) {
  testing::ToolResult result = RunTool({"convert", source, Path("a.INF"), "--date", "07/4/2025"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadTextFile(Path("a.INF")), EncodeImage(image, SourceKind::InfFile, testing::DatedOptions(LocalTime{2025, 7, 4, 0, 0, 0})));
  result = RunTool({"convert", Path("a.INF"), Path("back.bin")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(Path("back.bin")), ReadBytes(source));
  // Today's date without --date.
  result = RunTool({"convert", source, Path("today.inf")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(ReadTextFile(Path("today.inf")).find("DriverVer="), std::string::npos);
}

TEST_F(InfRegCliTest, InfFailures) {
  for (const char* date : {"7/4/25", "13/1/2025", "0/1/2025", "7/32/2025", "7-4-2025", "7/4/2025/1", "/4/2025"}) {
    const testing::ToolResult result = RunTool({"convert", source, Path("bad.inf"), "--date", date});
    EXPECT_EQ(result.status, 1) << date;
    EXPECT_EQ(result.err, std::string("velmar-edid: invalid date '") + date + "' for --date: write it as M/D/YYYY\n");
  }
  testing::WriteTextFile(Path("empty.txt"), "");
  const testing::ToolResult empty = RunTool({"convert", Path("empty.txt"), Path("empty.inf")});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "Operation Failed. Need valid EDID with at least 1 block\n");
  EXPECT_EQ(RunTool({"summary", source, "--date", "1/1/2025"}).status, 2);
}

TEST_F(InfRegCliTest, ConvertWritesAndReadsRegFiles) {
  testing::ToolResult result = RunTool({"convert", source, Path("a.reg")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "velmar-edid: a REG file needs --reg-key PATH and --reg-value NAME (the display's registry path and value "
            "name, such as NEXOEmulatedEDID_D0)\n");
  result = RunTool({"convert", source, Path("a.reg"), "--reg-key", "HKEY_LOCAL_MACHINE\\SYSTEM\\Velmar\\Display\\x",
                    "--reg-value=NEXOEmulatedEDID_A3"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadTextFile(Path("a.reg")), EncodeImage(image, SourceKind::RegFile, testing::RegistryOptions("SYSTEM\\Velmar\\Display\\x", "NEXOEmulatedEDID_A3")));
  result = RunTool({"convert", source, Path("b.reg"), "--reg-key", "SYSTEM\\Velmar\\Display\\x", "--reg-value",
                    "NEXOEmulatedEDID_A3"});
  EXPECT_EQ(ReadTextFile(Path("b.reg")), ReadTextFile(Path("a.reg")));
  result = RunTool({"convert", Path("a.reg"), Path("back.bin")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(Path("back.bin")), ReadBytes(source));
  EXPECT_EQ(RunTool({"summary", Path("a.reg")}).status, 0);
}

TEST_F(InfRegCliTest, RegNamesThatWouldEndTheirLineAreUsageErrors) {
  const struct {
    std::string key, value, message;
  } cases[] = {
      {"SYSTEM\\K]\r\n[HKEY_LOCAL_MACHINE\\Evil", "NEXOEmulatedEDID_D0",
       "velmar-edid: a REG file's key cannot hold ']', a carriage return or a line feed\n"},
      {"SYSTEM\\K", "NEXOEmulatedEDID_D0\"=hex:00\n\"Evil",
       "velmar-edid: a REG file's value name cannot hold a carriage return or a line feed\n"},
  };
  for (const auto& names : cases) {
    // Checked before anything is read: the input need not even exist.
    for (const std::string& in : {source, Path("missing.bin")}) {
      const testing::ToolResult result =
          RunTool({"convert", in, Path("x.reg"), "--reg-key", names.key, "--reg-value", names.value});
      EXPECT_EQ(result.status, 2);
      EXPECT_EQ(result.err, names.message);
      EXPECT_FALSE(std::filesystem::exists(Path("x.reg")));
    }
  }
  // A quote in the value name is escaped, not refused.
  const testing::ToolResult result =
      RunTool({"convert", source, Path("q.reg"), "--reg-key", "SYSTEM\\K", "--reg-value", "NEXOEmulatedEDID_\"D0"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(ReadTextFile(Path("q.reg")).find("\r\n\"NEXOEmulatedEDID_\\\"D0\"=hex:"), std::string::npos);
}

}  // namespace
}  // namespace velmar
