// Our kernel-backed display library (libtovuxy.so) over a fake sysfs and
// debugfs tree laid out like the kernel's.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "app/MainWindowCore.h"
#include "display/FakeSysfs.h"
#include "support/OtherOwner.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::FakeSysfs;
using testing::ReadBytes;
using testing::ReadTextFile;
using testing::ScriptedUserInterface;
using testing::WriteTextFile;

const std::string kEdid128 = "ed-6dbf89624ca4.bin";   // DELL 2408WFP
const std::string kEdid256 = "ed-06ea81b6a609.bin";   // SyncMaster
const std::string kEdid512 = "ldi-132703297bad.bin";  // FireTV

class PexaDrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    tree = std::make_unique<FakeSysfs>(dir);
    ::setenv("VELMAR_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
    ::setenv("VELMAR_DEBUGFS_ROOT", (dir + "/debug").c_str(), 1);
    edid128 = ReadBytes(testing::CorpusDir() + "/" + kEdid128);
    edid256 = ReadBytes(testing::CorpusDir() + "/" + kEdid256);
    edid512 = ReadBytes(testing::CorpusDir() + "/" + kEdid512);
    tree->AddCard(0, "pci0000:00", "0000:00:02.0", "pci", "i915", "0x8086", "0x9bc4");
    tree->AddConnector(0, "DP-1", false, {}, 95);
    tree->AddConnector(0, "HDMI-A-1", true, edid128, 103);
    tree->AddConnector(0, "eDP-1", true, edid256, 77);
    tree->AddCard(1, "pci0001:00/0001:00:1c.0", "0001:03:00.0", "pci", "nouveau", "0x10de", "0x1c82");
    tree->AddConnector(1, "DVI-I-1", true, edid512);
    tree->AddConnector(1, "VGA-1", false, {});
    tree->AddCard(3, "platform", "evdi.0", "platform", "evdi");
    tree->AddConnector(3, "DVI-I-2", false, {});
    core.Displays().SetLibraryCandidates({VELMAR_PEXA_DRM_LIBRARY});
    // The library's own request, whoever runs the tests (not the helper).
    core.Displays().Helper().SetLaunch(PrivilegedHelper::Launch::Direct);
    core.Store().SetRoot(dir + "/registry");
  }
  void TearDown() override {
    core.Close();
    ::unsetenv("VELMAR_SYSFS_ROOT");
    ::unsetenv("VELMAR_DEBUGFS_ROOT");
    testing::RemoveTree(dir);
  }
  std::vector<uint8_t> Image(size_t size) const {
    return std::vector<uint8_t>(core.Image().rawData.begin(), core.Image().rawData.begin() + size);
  }
  bool RestIsZero(size_t from) const {
    return std::all_of(core.Image().rawData.begin() + from, core.Image().rawData.end(),
                       [](uint8_t b) { return b == 0; });
  }

  std::string dir;
  std::unique_ptr<FakeSysfs> tree;
  std::vector<uint8_t> edid128, edid256, edid512;
  ScriptedUserInterface ui;
  MainWindowCore core{ui};
};

TEST_F(PexaDrmTest, CardsAndConnectorsBecomeAdaptersAndDisplays) {
  core.Initialize();
  EXPECT_EQ(core.Displays().InitLog(),
            "Connection to Pexa established.\r\n"
            "Detected Adapter[0]: BDF[0:2:0], Name: card0: i915 (8086:9BC4).\r\n"
            "On Adapter[0]: Detected Connected Display[103], Name: DELL 2408WFP.\r\n"
            "On Adapter[0]: Detected Connected Display[77], Name: SyncMaster.\r\n"
            "On Adapter[0]: Detected 2 Connected Displays\r\n"
            "On Adapter[0]: Detected 3 Supported Displays\r\n\r\n"
            "Detected Adapter[1]: BDF[259:0:0], Name: card1: nouveau (10DE:1C82).\r\n"
            "On Adapter[1]: Detected Connected Display[0], Name: FireTV.\r\n"
            "On Adapter[1]: Detected 1 Connected Displays\r\n"
            "On Adapter[1]: Detected 2 Supported Displays\r\n\r\n"
            "Detected Adapter[2]: BDF[16777218:0:0], Name: card3: evdi.\r\n"
            "On Adapter[2]: Detected 0 Connected Displays\r\n"
            "On Adapter[2]: Detected 1 Supported Displays\r\n\r\n"
            "Detected 3 logical adapters in total.\r\n"
            "Detected 3 physical adapters in total.\r\n"
            "Detected 3 connected displays in total.\r\n");
  const DisplayAccess& displays = core.Displays();
  ASSERT_EQ(displays.Table().size(), 6u);
  EXPECT_EQ(displays.DisplayListText(0, ""), "[0]: Display[77] = \"SyncMaster\"");
  EXPECT_EQ(displays.DisplayListText(1, ""), "[0]: Display[95] (Not Connected)");
  EXPECT_EQ(displays.DisplayListText(2, ""), "[0]: Display[103] = \"DELL 2408WFP\"");
  EXPECT_EQ(displays.DisplayListText(3, ""), "[1]: Display[0] = \"FireTV\"");
  EXPECT_EQ(displays.DisplayListText(5, ""), "[2]: Display[0] (Not Connected)");
  EXPECT_EQ(displays.RegistryPath(0), std::optional<std::string>("SYSTEM\\Velmar\\Display\\pci-0000:00:02.0"));
  EXPECT_EQ(displays.RegistryPath(3), std::optional<std::string>("SYSTEM\\Velmar\\Display\\pci-0001:03:00.0"));
  EXPECT_EQ(displays.RegistryPath(5), std::optional<std::string>("SYSTEM\\Velmar\\Display\\platform-evdi.0"));
}

TEST_F(PexaDrmTest, ReadingADisplayGivesItsEdidByteForByte) {
  core.Initialize();
  // The connected displays are listed as 77 (SyncMaster), 103 (DELL) and FireTV.
  ui.choices = {1, 0, 2};
  for (const std::vector<uint8_t>* edid : {&edid128, &edid256, &edid512}) {
    core.ReadEdidFromDisplay();
    EXPECT_EQ(Image(edid->size()), *edid);
    EXPECT_TRUE(RestIsZero(edid->size()));
    EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::ConnectedDisplay);
  }
  EXPECT_EQ(core.Image().Labels().source, "FireTV (Connected Display[0])");
  EXPECT_EQ(core.Image().Labels().path, "1");
}

TEST_F(PexaDrmTest, AnOverrideGoesToDebugfsAndAsksForAProbe) {
  core.Initialize();
  core.Image().rawData.fill(0);
  std::copy(edid256.begin(), edid256.end(), core.Image().rawData.begin());
  core.Image().Rebuild();
  ui.Clear();
  const unsigned used = core.Image().GetUsedSize();
  ASSERT_GT(used, 0u);
  ui.choices = {1};  // display 103, HDMI-A-1
  core.OverrideDisplayEdid();
  EXPECT_TRUE(ui.messages.empty()) << core.Displays().InitLog();
  EXPECT_EQ(ReadBytes(tree->OverrideFile(0, "HDMI-A-1")),
            std::vector<uint8_t>(edid256.begin(), edid256.begin() + used));
  EXPECT_EQ(ReadTextFile(tree->ConnectorFolder(0, "HDMI-A-1") + "/status"), "detect");
  EXPECT_EQ(core.Image().Labels().source, "DELL 2408WFP (Connected Display[103])");
}

TEST_F(PexaDrmTest, WithoutDebugfsTheOverrideFailsAndTheLogSaysWhy) {
  ::setenv("VELMAR_DEBUGFS_ROOT", (dir + "/no-debugfs").c_str(), 1);
  core.Initialize();
  std::copy(edid128.begin(), edid128.end(), core.Image().rawData.begin());
  core.Image().Rebuild();
  ui.Clear();
  ui.choices = {0};
  core.OverrideDisplayEdid();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to override EDID to driver. Check Initialization log"});
  EXPECT_NE(core.Displays().InitLog().find("Failed to override EDID of Display[77] on Adapter[0].\r\n"
                                           "Pexa library: debugfs is not available at " +
                                           dir + "/no-debugfs/dri: No such file or directory"),
            std::string::npos)
      << core.Displays().InitLog();
}

TEST_F(PexaDrmTest, RefusedOrStaleOverridesFail) {
  core.Initialize();
  DisplayAccess& displays = core.Displays();
  // The kernel refuses the bytes (here: no file may grow).
  {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit none = saved;
    none.rlim_cur = 0;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &none), 0);
    EXPECT_FALSE(displays.OverrideDisplayEdid(128, 0, edid128.data()));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
  }
  EXPECT_NE(displays.InitLog().find("Pexa library: The kernel refused the EDID override for card0-eDP-1: File too "
                                    "large\r\n"),
            std::string::npos)
      << displays.InitLog();
  // Without permission (meaningless for root, who may write anyway).
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(tree->OverrideFile(0, "HDMI-A-1").c_str(), 0444), 0);
    EXPECT_FALSE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
    EXPECT_NE(displays.InitLog().find("Permission denied (EDID overrides need root)"), std::string::npos);
  }
  // Display 0 of card1 now names another connector: the listed one is gone.
  fs::remove_all(tree->ConnectorFolder(1, "DVI-I-1"));
  tree->AddConnector(1, "DP-9", true, edid128);
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 3, edid128.data()));
  EXPECT_NE(displays.InitLog().find("changed since the displays were listed"), std::string::npos);
  EXPECT_EQ(ReadBytes(tree->OverrideFile(1, "DP-9")), std::vector<uint8_t>{});
  // A display unplugged since.
  WriteTextFile(tree->ConnectorFolder(0, "HDMI-A-1") + "/status", "disconnected\n");
  ::chmod(tree->OverrideFile(0, "HDMI-A-1").c_str(), 0644);
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
  EXPECT_NE(displays.InitLog().find("card0-HDMI-A-1 is not connected"), std::string::npos);
}

// A longer earlier override never leaves bytes behind a shorter one.
TEST_F(PexaDrmTest, AnOverrideReplacesTheWholeFile) {
  core.Initialize();
  DisplayAccess& displays = core.Displays();
  ASSERT_TRUE(displays.OverrideDisplayEdid(256, 2, edid256.data()));
  // The fake status file kept the probe request; the kernel's reads "connected" again.
  WriteTextFile(tree->ConnectorFolder(0, "HDMI-A-1") + "/status", "connected\n");
  ASSERT_TRUE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
  EXPECT_EQ(ReadBytes(tree->OverrideFile(0, "HDMI-A-1")), edid128);
}

// Whatever lies in the tree, the override and the probe request are written
// only to the regular files of the connector's own folders.
TEST_F(PexaDrmTest, OverridesNeverGoThroughLinks) {
  core.Initialize();
  DisplayAccess& displays = core.Displays();
  WriteTextFile(dir + "/secret", "secret");
  ::chmod((dir + "/secret").c_str(), 0600);
  const std::string override = tree->OverrideFile(0, "HDMI-A-1");
  fs::remove(override);
  fs::create_symlink(dir + "/secret", override);
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
  EXPECT_NE(displays.InitLog().find("Pexa library: " + override + " is a symbolic link: not written\r\n"),
            std::string::npos)
      << displays.InitLog();
  fs::remove(override);
  fs::create_directory(override);
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
  EXPECT_NE(displays.InitLog().find("Pexa library: Cannot open " + override + ": Is a directory\r\n"),
            std::string::npos);

  // The connector's debugfs folder itself a link.
  const std::string folder = dir + "/debug/dri/0/eDP-1";
  fs::rename(folder, dir + "/elsewhere");
  fs::create_directory_symlink(dir + "/elsewhere", folder);
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 0, edid128.data()));
  EXPECT_NE(displays.InitLog().find("Pexa library: " + folder + " is not a folder: not used\r\n"), std::string::npos)
      << displays.InitLog();
  EXPECT_EQ(ReadBytes(dir + "/elsewhere/edid_override"), std::vector<uint8_t>{});

  // A status link: the override is taken, the probe request goes nowhere.
  fs::remove_all(override);
  WriteTextFile(override, "");
  const std::string status = tree->ConnectorFolder(0, "HDMI-A-1") + "/status";
  WriteTextFile(dir + "/connected", "connected\n");
  fs::remove(status);
  fs::create_symlink(dir + "/connected", status);
  EXPECT_TRUE(displays.OverrideDisplayEdid(128, 2, edid128.data())) << displays.InitLog();
  EXPECT_EQ(ReadTextFile(dir + "/connected"), "connected\n");
  EXPECT_EQ(ReadTextFile(dir + "/secret"), "secret");
}

// Connector names come from folder names: only names the kernel could give
// are listed, so none can lead out of the connector's debugfs folder.
TEST_F(PexaDrmTest, OnlyPlainConnectorNamesAreListed) {
  tree->AddConnector(0, "..", true, edid128);
  tree->AddConnector(0, "HDMI A 2", true, edid128);
  tree->AddConnector(0, "DP-1.2", true, edid128);
  core.Initialize();
  EXPECT_EQ(core.Displays().Table().size(), 6u);
  EXPECT_EQ(core.Displays().ConnectedCount(), 3u) << core.Displays().InitLog();
}

// Run as root with an unprivileged user's environment, a tree that user could
// change is refused with the reason, before anything in it is read or written.
TEST_F(PexaDrmTest, AsRootATreeOthersCanChangeIsRefused) {
  VELMAR_SKIP_UNLESS_ROOT();
  core.Initialize();
  DisplayAccess& displays = core.Displays();
  WriteTextFile(dir + "/secret", "secret");
  ::chmod((dir + "/secret").c_str(), 0600);
  const std::string override = tree->OverrideFile(0, "HDMI-A-1");
  fs::remove(override);
  fs::create_symlink(dir + "/secret", override);
  // A folder inside the tree given away is enough.
  ASSERT_TRUE(testing::GiveToOtherUser(dir + "/debug/dri/0"));
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
  EXPECT_NE(displays.InitLog().find("Pexa library: Not using VELMAR_DEBUGFS_ROOT=" + dir + "/debug as root: " + dir +
                                    "/debug/dri/0 is owned by uid 65534, not by root\r\n"),
            std::string::npos)
      << displays.InitLog();
  ASSERT_TRUE(testing::GiveToOtherUser(dir + "/debug"));
  EXPECT_FALSE(displays.OverrideDisplayEdid(128, 2, edid128.data()));
  EXPECT_NE(displays.InitLog().find("Pexa library: Not using VELMAR_DEBUGFS_ROOT=" + dir + "/debug as root: " + dir +
                                    "/debug is owned by uid 65534, not by root\r\n"),
            std::string::npos)
      << displays.InitLog();
  EXPECT_EQ(ReadTextFile(dir + "/secret"), "secret");

  ::chmod((dir + "/sys").c_str(), 0775);
  displays.InitAdapters();
  EXPECT_EQ(displays.InitLog(), "Connection to Pexa established.\r\nNo Graphics Adapters detected.\r\n"
                                "Pexa library: Not using VELMAR_SYSFS_ROOT=" + dir + "/sys as root: " + dir +
                                    "/sys is writable by its group\r\n");
  EXPECT_TRUE(displays.Table().empty());
}

TEST_F(PexaDrmTest, NoCardsMeansNoAdapters) {
  testing::RemoveTree(dir + "/sys");
  fs::create_directories(dir + "/sys/class/drm");
  EXPECT_FALSE(core.Displays().InitAdapters());
  EXPECT_EQ(core.Displays().InitLog(), "Connection to Pexa established.\r\nNo Graphics Adapters detected.\r\n");
  testing::RemoveTree(dir + "/sys");
  EXPECT_FALSE(core.Displays().InitAdapters());
  EXPECT_EQ(core.Displays().InitLog(),
            "Connection to Pexa established.\r\nNo Graphics Adapters detected.\r\n"
            "Pexa library: Cannot list " +
                dir + "/sys/class/drm: No such file or directory\r\n");
}

}  // namespace
}  // namespace velmar
