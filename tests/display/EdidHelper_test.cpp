// velmar-edid-helper, the privileged helper, run as a program over a fake
// sysfs and debugfs tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/ToolRunner.h"
#include "display/FakeSysfs.h"
#include "support/TestData.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ReadTextFile;

std::string HelperPath() { return std::string(VELMAR_BINARY_DIR) + "/velmar-edid-helper"; }

class EdidHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    tree = std::make_unique<testing::FakeSysfs>(dir);
    ::setenv("VELMAR_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
    ::setenv("VELMAR_DEBUGFS_ROOT", (dir + "/debug").c_str(), 1);
    edid = ReadBytes(testing::CorpusDir() + "/ed-06ea81b6a609.bin");  // 256 bytes
    tree->AddCard(0, "pci0000:00", "0000:00:02.0", "pci", "i915", "0x8086", "0x9bc4");
    tree->AddConnector(0, "HDMI-A-1", true, edid, 80);
    tree->AddConnector(0, "DP-1", false, {}, 81);
  }
  void TearDown() override {
    ::unsetenv("VELMAR_SYSFS_ROOT");
    ::unsetenv("VELMAR_DEBUGFS_ROOT");
    testing::RemoveTree(dir);
  }
  testing::ToolResult Helper(const std::vector<std::string>& arguments, const std::vector<uint8_t>& input = {}) {
    testing::WriteTextFile(dir + "/input", std::string(input.begin(), input.end()));
    testing::ToolOptions options;
    options.stdinPath = dir + "/input";
    options.program = HelperPath();
    return testing::RunTool(arguments, options);
  }
  std::string Override() const { return ReadTextFile(tree->OverrideFile(0, "HDMI-A-1")); }

  std::string dir;
  std::unique_ptr<testing::FakeSysfs> tree;
  std::vector<uint8_t> edid;
};

TEST_F(EdidHelperTest, AGoodRequestWritesTheOverrideAndAsksForAProbe) {
  testing::ToolResult result = Helper({"override", "card0-HDMI-A-1"}, edid);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadBytes(tree->OverrideFile(0, "HDMI-A-1")), edid);
  EXPECT_EQ(ReadTextFile(tree->ConnectorFolder(0, "HDMI-A-1") + "/status"), "detect");

  // Removing the override needs no connected display.
  testing::WriteTextFile(tree->ConnectorFolder(0, "HDMI-A-1") + "/status", "disconnected\n");
  result = Helper({"reset", "card0-HDMI-A-1"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Override(), "reset");
}

TEST_F(EdidHelperTest, AnythingButOneRequestIsRefused) {
  const std::string usage =
      "velmar-edid-helper: usage: velmar-edid-helper override|install-boot CONNECTOR < EDID, or velmar-edid-helper "
      "reset|remove-boot CONNECTOR\n";
  const std::string notAName = "' is not a connector's name (such as card0-HDMI-A-1)\n";
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{}, usage},
      {{"override"}, usage},
      {{"override", "card0-HDMI-A-1", "extra"}, usage},
      {{"override", "card0-HDMI-A-1", "--force"}, usage},
      {{"write", "card0-HDMI-A-1"}, usage},
      {{"--help", "card0-HDMI-A-1"}, usage},
      {{"override", "card0-.."}, "velmar-edid-helper: 'card0-.." + notAName},
      {{"override", "../card0-HDMI-A-1"}, "velmar-edid-helper: '../card0-HDMI-A-1" + notAName},
      {{"override", "card0-HDMI-A-1/../x"}, "velmar-edid-helper: 'card0-HDMI-A-1/../x" + notAName},
      {{"override", "HDMI-A-1"}, "velmar-edid-helper: 'HDMI-A-1" + notAName},
      {{"reset", "card0-HDMI A"}, "velmar-edid-helper: 'card0-HDMI A" + notAName},
      {{"reset", "card1234-DP-1"}, "velmar-edid-helper: 'card1234-DP-1" + notAName},
      {{"reset", "card-DP-1"}, "velmar-edid-helper: 'card-DP-1" + notAName},
  };
  for (const auto& c : cases) {
    const testing::ToolResult result = Helper(c.arguments, edid);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.err, c.message);
  }
  EXPECT_EQ(Override(), "");
}

TEST_F(EdidHelperTest, EdidsWhoseLengthBlocksAndChecksumsDisagreeAreRefused) {
  std::vector<uint8_t> oneBlockTooMany = edid;  // announces no extension, holds two blocks
  oneBlockTooMany[126] = 0;
  oneBlockTooMany[127] = static_cast<uint8_t>(oneBlockTooMany[127] + edid[126]);
  std::vector<uint8_t> badChecksum = edid;
  badChecksum[200] ^= 1;
  const struct {
    std::vector<uint8_t> input;
    std::string message;
  } cases[] = {
      {{}, "the EDID's 0 bytes are not a whole number of 128-byte blocks"},
      {std::vector<uint8_t>(edid.begin(), edid.begin() + 127), "the EDID's 127 bytes are not a whole number of 128-byte blocks"},
      {std::vector<uint8_t>(edid.begin(), edid.begin() + 128), "the EDID's extension count (1) does not match its length (128 bytes)"},
      {oneBlockTooMany, "the EDID's extension count (0) does not match its length (256 bytes)"},
      {badChecksum, "the checksum of the EDID's block 1 is wrong"},
      {std::vector<uint8_t>(513, 0), "the EDID is longer than 512 bytes"},
      {std::vector<uint8_t>(100000, 0), "the EDID is longer than 512 bytes"},
  };
  for (const auto& c : cases) {
    const testing::ToolResult result = Helper({"override", "card0-HDMI-A-1"}, c.input);
    EXPECT_EQ(result.status, 1) << c.message;
    EXPECT_EQ(result.err, "velmar-edid-helper: " + c.message + "\n");
  }
  EXPECT_EQ(Override(), "");
}

TEST_F(EdidHelperTest, OnlyAConnectedConnectorsOwnOverrideFileIsWritten) {
  testing::ToolResult result = Helper({"override", "card0-DP-1"}, edid);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "velmar-edid-helper: card0-DP-1 is not connected\n");
  result = Helper({"override", "card0-VGA-9"}, edid);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "velmar-edid-helper: There is no connector card0-VGA-9 (" + dir +
                            "/sys/class/drm/card0/card0-VGA-9)\n");

  // A link where the override file should be is never written through.
  testing::WriteTextFile(dir + "/secret", "secret");
  const std::string override = tree->OverrideFile(0, "HDMI-A-1");
  fs::remove(override);
  fs::create_symlink(dir + "/secret", override);
  result = Helper({"override", "card0-HDMI-A-1"}, edid);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "velmar-edid-helper: " + override + " is a symbolic link: not written\n");
  result = Helper({"reset", "card0-HDMI-A-1"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(ReadTextFile(dir + "/secret"), "secret");
}

}  // namespace
}  // namespace velmar
