// Overrides of a user who is not root: through pkexec (a recording stand-in
// here) and the privileged helper, with our display library over a fake tree.
#include "display/PrivilegedHelper.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/MainWindowCore.h"
#include "display/FakeSysfs.h"
#include "support/ScriptedUserInterface.h"
#include "support/StandIn.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::ReadBytes;
using testing::ReadTextFile;

class PrivilegedHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    tree = std::make_unique<testing::FakeSysfs>(dir);
    ::setenv("VELMAR_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
    ::setenv("VELMAR_DEBUGFS_ROOT", (dir + "/debug").c_str(), 1);
    edid = ReadBytes(testing::CorpusDir() + "/ed-06ea81b6a609.bin");
    tree->AddCard(0, "pci0000:00", "0000:00:02.0", "pci", "i915", "0x8086", "0x9bc4");
    tree->AddConnector(0, "HDMI-A-1", true, edid, 80);
    // pkexec asks for nothing here: it records its arguments and runs the helper.
    pkexec = testing::WriteStandIn(dir, "pkexec", "exec \"$@\"");
    const char* path = std::getenv("PATH");
    savedPath = path != nullptr ? path : "";
    ::setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
    displays.SetLibraryCandidates({VELMAR_PEXA_DRM_LIBRARY});
    displays.Helper().SetLaunch(PrivilegedHelper::Launch::Polkit);
    ASSERT_TRUE(displays.InitAdapters());
    ASSERT_EQ(displays.ConnectedRecords().size(), 1u);
  }
  void TearDown() override {
    displays.Release();
    ::setenv("PATH", savedPath.c_str(), 1);
    ::unsetenv("VELMAR_SYSFS_ROOT");
    ::unsetenv("VELMAR_DEBUGFS_ROOT");
    testing::RemoveTree(dir);
  }
  std::string LogAfter(size_t from) const { return displays.InitLog().substr(from); }

  std::string dir;
  std::unique_ptr<testing::FakeSysfs> tree;
  std::vector<uint8_t> edid;
  std::string pkexec;
  std::string savedPath;
  DisplayAccess displays;
};

TEST_F(PrivilegedHelperTest, OverridesAndRemovalsGoThroughPkexecAndTheHelper) {
  EXPECT_EQ(displays.ConnectorName(0), std::optional<std::string>("card0-HDMI-A-1"));
  ASSERT_TRUE(displays.OverrideDisplayEdid(static_cast<unsigned>(edid.size()), 0, edid.data())) << displays.InitLog();
  EXPECT_EQ(ReadBytes(tree->OverrideFile(0, "HDMI-A-1")), edid);
  ASSERT_TRUE(displays.RemoveDisplayOverride(0)) << displays.InitLog();
  EXPECT_EQ(ReadTextFile(tree->OverrideFile(0, "HDMI-A-1")), "reset");
  const std::string helper = PrivilegedHelper::DefaultPath();
  EXPECT_EQ(helper, std::string(VELMAR_BINARY_DIR) + "/velmar-edid-helper");
  EXPECT_EQ(testing::StandInCalls(pkexec), (std::vector<std::string>{helper + " override card0-HDMI-A-1",
                                                                      helper + " reset card0-HDMI-A-1"}));
}

TEST_F(PrivilegedHelperTest, FailuresSayWhyAndHowToProceed) {
  // The helper's own refusal.
  testing::WriteTextFile(tree->ConnectorFolder(0, "HDMI-A-1") + "/status", "disconnected\n");
  size_t logged = displays.InitLog().size();
  EXPECT_FALSE(displays.OverrideDisplayEdid(static_cast<unsigned>(edid.size()), 0, edid.data()));
  EXPECT_EQ(LogAfter(logged),
            "Failed to override EDID of Display[80] on Adapter[0].\r\n"
            "velmar-edid-helper: card0-HDMI-A-1 is not connected\r\n");

  // The authentication dialog dismissed.
  testing::WriteStandIn(dir, "pkexec", "exit 126");
  logged = displays.InitLog().size();
  EXPECT_FALSE(displays.RemoveDisplayOverride(0));
  EXPECT_EQ(LogAfter(logged),
            "Failed to remove the EDID override of Display[80] on Adapter[0].\r\n"
            "The administrator's authorization was not given: nothing was written\r\n");

  // No pkexec at all.
  ::setenv("PATH", (dir + "/nowhere").c_str(), 1);
  logged = displays.InitLog().size();
  EXPECT_FALSE(displays.OverrideDisplayEdid(static_cast<unsigned>(edid.size()), 0, edid.data()));
  EXPECT_NE(LogAfter(logged).find("pkexec (polkit) is not installed: install it (apt install pkexec), or run this "
                                  "command as root\r\n"),
            std::string::npos)
      << LogAfter(logged);

  // No helper.
  displays.Helper().SetPath(dir + "/velmar-edid-helper");
  logged = displays.InitLog().size();
  EXPECT_FALSE(displays.RemoveDisplayOverride(0));
  EXPECT_NE(LogAfter(logged).find("The EDID helper " + dir +
                                  "/velmar-edid-helper is missing: install the program (see its README), or run "
                                  "this command as root\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadTextFile(tree->OverrideFile(0, "HDMI-A-1")), "");
}

// The desktop program's "Remove display EDID override".
TEST_F(PrivilegedHelperTest, TheMenuCommandRemovesTheChosenDisplaysOverride) {
  testing::ScriptedUserInterface ui;
  MainWindowCore core(ui);
  core.Displays().SetLibraryCandidates({VELMAR_PEXA_DRM_LIBRARY});
  core.Displays().Helper().SetLaunch(PrivilegedHelper::Launch::Polkit);
  core.Initialize();
  ui.choices = {0};
  core.RemoveDisplayOverride();
  EXPECT_TRUE(ui.messages.empty()) << core.Displays().InitLog();
  EXPECT_EQ(ReadTextFile(tree->OverrideFile(0, "HDMI-A-1")), "reset");
  testing::WriteStandIn(dir, "pkexec", "exit 127");
  ui.choices = {0};
  core.RemoveDisplayOverride();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to remove the EDID override. Check Initialization log"});
  core.Close();
}

}  // namespace
}  // namespace velmar
