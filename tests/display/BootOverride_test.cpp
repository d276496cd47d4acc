// The boot-time override in a fake root folder: the privileged helper and
// velmar-edid carry it out with recording stand-ins for update-initramfs and
// update-grub, and nothing outside the folder is touched.
#include "display/BootOverride.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>

#include "app/MainWindowCore.h"
#include "cli/ToolRunner.h"
#include "display/FakeSysfs.h"
#include "support/ScriptedUserInterface.h"
#include "support/StandIn.h"
#include "support/TestData.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ReadTextFile;
using testing::StandInCalls;
using testing::WriteTextFile;

// Every folder and file under `root` with its mode and contents, but the
// stand-ins' records of their calls.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string path = entry.path().string();
    if (path.size() > 6 && path.compare(path.size() - 6, 6, ".calls") == 0) continue;
    struct stat info {};
    ::lstat(path.c_str(), &info);
    std::string value = std::to_string(info.st_mode);
    if (S_ISREG(info.st_mode)) value.append(1, ':').append(ReadTextFile(path));
    entries[path.substr(root.size())] = value;
  }
  return entries;
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BootOverrideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    tree = std::make_unique<testing::FakeSysfs>(dir);
    ::setenv("VELMAR_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
    ::setenv("VELMAR_DEBUGFS_ROOT", (dir + "/debug").c_str(), 1);
    ::unsetenv("VELMAR_PEXA_LIBRARY");
    edid = ReadBytes(testing::CorpusDir() + "/ed-06ea81b6a609.bin");  // 256 bytes
    tree->AddCard(0, "pci0000:00", "0000:00:02.0", "pci", "i915", "0x8086", "0x9bc4");
    tree->AddConnector(0, "HDMI-A-1", true, edid, 80);
    tree->AddConnector(0, "DP-1", false, {}, 81);
    // A Debian system as it comes: GRUB's settings without a grub.d folder,
    // initramfs-tools' empty hooks folder, a firmware folder.
    root = dir + "/root";
    for (const char* folder : {"/usr/sbin", "/etc/default", "/etc/initramfs-tools/hooks", "/lib/firmware/i915", "/proc"}) {
      fs::create_directories(root + folder);
    }
    WriteTextFile(root + "/etc/default/grub", "GRUB_DEFAULT=0\nGRUB_CMDLINE_LINUX_DEFAULT=\"quiet\"\n");
    WriteTextFile(root + "/lib/firmware/i915/dmc.bin", "firmware");
    WriteTextFile(root + "/proc/cmdline", "BOOT_IMAGE=/vmlinuz root=/dev/sda1 ro quiet\n");
    updateInitramfs = testing::WriteStandIn(root + "/usr/sbin", "update-initramfs");
    updateGrub = testing::WriteStandIn(root + "/usr/sbin", "update-grub");
    ::setenv("VELMAR_SYSTEM_ROOT", root.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("VELMAR_SYSFS_ROOT");
    ::unsetenv("VELMAR_DEBUGFS_ROOT");
    ::unsetenv("VELMAR_SYSTEM_ROOT");
    testing::RemoveTree(dir);
  }
  testing::ToolResult Helper(const std::vector<std::string>& arguments, const std::string& input = "") {
    WriteTextFile(dir + "/input", input);
    testing::ToolOptions options;
    options.stdinPath = dir + "/input";
    options.program = std::string(VELMAR_BINARY_DIR) + "/velmar-edid-helper";
    return testing::RunTool(arguments, options);
  }
  size_t Calls() const { return StandInCalls(updateInitramfs).size() + StandInCalls(updateGrub).size(); }

  std::string dir;
  std::string root;
  std::unique_ptr<testing::FakeSysfs> tree;
  std::vector<uint8_t> edid;
  std::string updateInitramfs;
  std::string updateGrub;
};

TEST_F(BootOverrideTest, InstallWritesTheThreeFilesAndRunsBothPrograms) {
  const testing::ToolResult result = Helper({"install-boot", "card0-HDMI-A-1"}, Text(edid));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadBytes(root + "/lib/firmware/edid/velmar-HDMI-A-1.bin"), edid);
  EXPECT_EQ(ReadTextFile(root + "/etc/default/grub.d/velmar-edid-override.cfg"),
            "# Written by Velmar EDID Utility for its boot-time EDID overrides and removed\n"
            "# with the last of them (velmar-edid remove-boot-override).\n"
            "GRUB_CMDLINE_LINUX_DEFAULT=\"$GRUB_CMDLINE_LINUX_DEFAULT "
            "drm.edid_firmware=HDMI-A-1:edid/velmar-HDMI-A-1.bin\"\n");
  const std::string hook = root + "/etc/initramfs-tools/hooks/velmar-edid-override";
  EXPECT_EQ(ReadTextFile(hook),
            "#!/bin/sh\n"
            "# Written by Velmar EDID Utility for its boot-time EDID overrides and removed\n"
            "# with the last of them (velmar-edid remove-boot-override). Puts their EDID\n"
            "# files into the initramfs, so that the display driver finds them early.\n"
            "PREREQ=\"\"\n"
            "prereqs() { echo \"$PREREQ\"; }\n"
            "case \"$1\" in\n"
            "prereqs) prereqs; exit 0 ;;\n"
            "esac\n"
            ". /usr/share/initramfs-tools/hook-functions\n"
            "copy_file firmware /lib/firmware/edid/velmar-HDMI-A-1.bin\n");
  EXPECT_EQ(fs::status(hook).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
  EXPECT_EQ(StandInCalls(updateInitramfs), std::vector<std::string>{"-u"});
  EXPECT_EQ(StandInCalls(updateGrub), std::vector<std::string>{""});

  // A second connector joins the one setting the kernel takes.
  ASSERT_EQ(Helper({"install-boot", "card0-DP-1"}, Text(edid)).status, 0);
  EXPECT_NE(ReadTextFile(root + "/etc/default/grub.d/velmar-edid-override.cfg")
                .find("drm.edid_firmware=HDMI-A-1:edid/velmar-HDMI-A-1.bin,DP-1:edid/velmar-DP-1.bin\"\n"),
            std::string::npos);
  EXPECT_NE(ReadTextFile(hook).find("velmar-HDMI-A-1.bin\ncopy_file firmware /lib/firmware/edid/velmar-DP-1.bin\n"),
            std::string::npos);
}

// Over the corpus: every EDID the helper takes is installed byte for byte, and
// removing it leaves the system exactly as it was, whatever was there before.
TEST_F(BootOverrideTest, RemoveRestoresTheSystemByteForByte) {
  const std::map<std::string, std::string> before = Snapshot(root);
  size_t installed = 0;
  for (const std::string& file : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = ReadBytes(file);
    const testing::ToolResult install = Helper({"install-boot", "card0-HDMI-A-1"}, Text(bytes));
    if (install.status != 0) {
      EXPECT_EQ(Snapshot(root), before) << file << ": a refused EDID changed nothing";
      continue;
    }
    ++installed;
    EXPECT_EQ(ReadBytes(root + "/lib/firmware/edid/velmar-HDMI-A-1.bin"), bytes) << file;
    const testing::ToolResult remove = Helper({"remove-boot", "card0-HDMI-A-1"});
    EXPECT_EQ(remove.status, 0) << remove.err;
    EXPECT_EQ(Snapshot(root), before) << file;
  }
  EXPECT_GT(installed, 40u);

  // GRUB with a grub.d folder of its own, and an override of another connector kept.
  fs::create_directories(root + "/etc/default/grub.d");
  WriteTextFile(root + "/etc/default/grub.d/init-select.cfg", "GRUB_DISABLE_OS_PROBER=true\n");
  ASSERT_EQ(Helper({"install-boot", "card0-HDMI-A-1"}, Text(edid)).status, 0);
  const std::map<std::string, std::string> one = Snapshot(root);
  ASSERT_EQ(Helper({"install-boot", "card0-DP-1"}, Text(edid)).status, 0);
  ASSERT_EQ(Helper({"remove-boot", "card0-DP-1"}).status, 0);
  EXPECT_EQ(Snapshot(root), one);
  ASSERT_EQ(Helper({"remove-boot", "card0-HDMI-A-1"}).status, 0);
  fs::remove(root + "/etc/default/grub.d/init-select.cfg");
  fs::remove(root + "/etc/default/grub.d");
  EXPECT_EQ(Snapshot(root), before);
}

TEST_F(BootOverrideTest, AFailedStepPutsBackWhatWasChanged) {
  testing::WriteStandIn(root + "/usr/sbin", "update-grub", "exit 3");
  const std::map<std::string, std::string> before = Snapshot(root);
  const testing::ToolResult result = Helper({"install-boot", "card0-HDMI-A-1"}, Text(edid));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "velmar-edid-helper: " + root +
                            "/usr/sbin/update-grub failed (exit status 3); the files changed before were put back as "
                            "they were\n");
  EXPECT_EQ(Snapshot(root), before);
  // The initramfs is made again from the files as they are again.
  EXPECT_EQ(StandInCalls(updateInitramfs), (std::vector<std::string>{"-u", "-u"}));
}

TEST_F(BootOverrideTest, WhatCannotBeDoneSafelyIsRefusedBeforeAnythingIsWritten) {
  // Each case on a fresh system; its message once the folders are known.
  const auto firmware = [&] { return root + "/lib/firmware/edid/velmar-HDMI-A-1.bin"; };
  const struct {
    std::string what;
    std::function<void()> prepare;
    std::vector<std::string> request;
    std::function<std::string()> message;
  } cases[] = {
      {"another drm.edid_firmware setting",
       [&] { WriteTextFile(root + "/etc/default/grub", "GRUB_CMDLINE_LINUX=\"drm.edid_firmware=edid/1920x1080.bin\"\n"); },
       {"install-boot", "card0-HDMI-A-1"},
       [&] {
         return root + "/etc/default/grub already sets drm.edid_firmware=...: the kernel takes only one such setting, "
                       "so remove it there first";
       }},
      {"no GRUB", [&] { fs::remove(updateGrub); }, {"install-boot", "card0-HDMI-A-1"},
       [&] {
         return root + "/usr/sbin/update-grub is not there: the boot-time override needs GRUB (grub2-common) and "
                       "initramfs-tools, as Debian installs them";
       }},
      {"nothing to remove", [] {}, {"remove-boot", "card0-HDMI-A-1"},
       [] { return std::string("No boot-time EDID override of HDMI-A-1 is installed"); }},
      {"a link where the firmware file goes",
       [&] {
         fs::create_directories(root + "/lib/firmware/edid");
         WriteTextFile(dir + "/secret", "secret");
         fs::create_symlink(dir + "/secret", firmware());
       },
       {"install-boot", "card0-HDMI-A-1"}, [&] { return firmware() + " is not a regular file: not changed"; }},
      {"a connector that is not there", [] {}, {"install-boot", "card0-VGA-9"},
       [&] { return "There is no connector card0-VGA-9 (" + dir + "/sys/class/drm/card0/card0-VGA-9)"; }},
      {"an extra argument", [] {}, {"install-boot", "card0-HDMI-A-1", "--force"},
       [] {
         return std::string(
             "usage: velmar-edid-helper override|install-boot CONNECTOR < EDID, or velmar-edid-helper "
             "reset|remove-boot CONNECTOR");
       }},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    c.prepare();
    const std::map<std::string, std::string> before = Snapshot(root);
    const testing::ToolResult result = Helper(c.request, Text(edid));
    EXPECT_NE(result.status, 0) << c.what;
    EXPECT_EQ(result.err, "velmar-edid-helper: " + c.message() + "\n") << c.what;
    EXPECT_EQ(Snapshot(root), before) << c.what;
    EXPECT_EQ(ReadTextFile(dir + "/secret"), c.what == "a link where the firmware file goes" ? "secret" : "");
    EXPECT_EQ(Calls(), 0u) << c.what;
  }
}

// Run as root, a fake root is used only when nobody else can change it.
TEST_F(BootOverrideTest, RootDistrustsAFakeRootOthersMayChange) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  ::chmod(root.c_str(), 0777);
  const testing::ToolResult result = Helper({"install-boot", "card0-HDMI-A-1"}, Text(edid));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.rfind("velmar-edid-helper: Not using VELMAR_SYSTEM_ROOT=" + root + " as root: ", 0), 0u)
      << result.err;
  EXPECT_FALSE(fs::exists(root + "/lib/firmware/edid"));
  EXPECT_EQ(Calls(), 0u);
}

TEST_F(BootOverrideTest, TheCommandLineShowsThePlanAndADryRunWritesNothing) {
  const std::string plan =
      "make folder " + root + "/lib/firmware/edid\n" +  //
      "write " + root + "/lib/firmware/edid/velmar-HDMI-A-1.bin (the EDID, 256 bytes)\n" +
      "write " + root + "/etc/initramfs-tools/hooks/velmar-edid-override (the initramfs hook that copies the EDID files)\n" +
      "run " + root + "/usr/sbin/update-initramfs -u\n" +  //
      "make folder " + root + "/etc/default/grub.d\n" +
      "write " + root + "/etc/default/grub.d/velmar-edid-override.cfg (the GRUB setting: " +
      "drm.edid_firmware=HDMI-A-1:edid/velmar-HDMI-A-1.bin on the kernel's command line)\n" +
      "run " + root + "/usr/sbin/update-grub\n";
  const std::string file = testing::CorpusDir() + "/ed-06ea81b6a609.bin";
  const std::map<std::string, std::string> before = Snapshot(root);
  testing::ToolResult result = testing::RunTool({"install-boot-override", "--dry-run", "0", file});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Installing the boot-time EDID override of card0-HDMI-A-1 would do this:\n" + plan +
                            "Nothing was written (--dry-run).\n");
  EXPECT_EQ(Snapshot(root), before);
  EXPECT_EQ(Calls(), 0u);

  result = testing::RunTool({"install-boot-override", "0", file});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Installing the boot-time EDID override of card0-HDMI-A-1:\n" + plan +
                            "Done. After the next boot, 'velmar-edid check-boot-override 0' tells whether the "
                            "display reports it.\n");
  EXPECT_EQ(ReadBytes(root + "/lib/firmware/edid/velmar-HDMI-A-1.bin"), edid);

  const std::map<std::string, std::string> installed = Snapshot(root);
  result = testing::RunTool({"remove-boot-override", "--dry-run", "0"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.substr(result.out.size() - 33), "Nothing was written (--dry-run).\n");
  EXPECT_EQ(Snapshot(root), installed);
  EXPECT_EQ(Calls(), 2u);
  result = testing::RunTool({"remove-boot-override", "0"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Snapshot(root), before);
  result = testing::RunTool({"remove-boot-override", "0"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "velmar-edid: No boot-time EDID override of HDMI-A-1 is installed\n");
}

// After the next boot: the EDID the display reports against the firmware file.
TEST_F(BootOverrideTest, TheCheckComparesWhatTheDisplayReports) {
  const std::vector<uint8_t> other = ReadBytes(testing::CorpusDir() + "/ed-0c31bd5b71cd.bin");
  ASSERT_FALSE(other.empty());
  const std::string firmware = root + "/lib/firmware/edid/velmar-HDMI-A-1.bin";
  const std::string edidFile = tree->ConnectorFolder(0, "HDMI-A-1") + "/edid";
  const struct {
    std::function<void()> prepare;
    int status;
    std::string report;
  } cases[] = {
      {[] {}, 1, "No boot-time EDID override of card0-HDMI-A-1 is installed (" + firmware + ")\n"},
      {[&] { ASSERT_EQ(Helper({"install-boot", "card0-HDMI-A-1"}, Text(other)).status, 0); }, 1,
       "The boot-time EDID override of card0-HDMI-A-1 is installed but not in effect: the display reports another "
       "EDID than " + firmware + "; the running kernel was started without "
       "drm.edid_firmware=HDMI-A-1:edid/velmar-HDMI-A-1.bin, so reboot for it to take effect\n"},
      {[&] {
         WriteTextFile(root + "/proc/cmdline", "ro quiet drm.edid_firmware=HDMI-A-1:edid/velmar-HDMI-A-1.bin\n");
       },
       1,
       "The boot-time EDID override of card0-HDMI-A-1 is installed but not in effect: the display reports another "
       "EDID than " + firmware + " although the kernel was started with it (does the driver read "
       "drm.edid_firmware?)\n"},
      {[&] { WriteTextFile(edidFile, Text(other)); }, 0,
       "The boot-time EDID override of card0-HDMI-A-1 is in effect: the display reports " + firmware + "\n"},
  };
  for (const auto& c : cases) {
    c.prepare();
    const testing::ToolResult result = testing::RunTool({"check-boot-override", "0"});
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_EQ(result.out, c.report);
  }
}

// The desktop program's "Display" menu: the plan is asked about first, and a
// refusal writes nothing.
TEST_F(BootOverrideTest, TheMenuCommandsAskWithThePlanFirst) {
  testing::ScriptedUserInterface ui;
  MainWindowCore core(ui);
  core.Displays().SetLibraryCandidates({VELMAR_PEXA_DRM_LIBRARY});
  core.Displays().Helper().SetLaunch(PrivilegedHelper::Launch::Direct);
  core.Initialize();
  ui.choices = {0};
  core.ReadEdidFromDisplay();
  const std::map<std::string, std::string> before = Snapshot(root);

  ui.choices = {0};
  ui.answers = {false};
  core.InstallBootOverride();
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].rfind("Installing the boot-time EDID override of card0-HDMI-A-1 (administrator's password "
                                  "needed) will:\nmake folder " + root + "/lib/firmware/edid\n",
                                  0),
            0u)
      << ui.questions[0];
  EXPECT_EQ(Snapshot(root), before);
  EXPECT_EQ(Calls(), 0u);

  ui.choices = {0, 0};
  core.InstallBootOverride();
  EXPECT_EQ(ReadBytes(root + "/lib/firmware/edid/velmar-HDMI-A-1.bin"), edid);
  core.CheckBootOverride();
  ui.choices = {0};
  core.RemoveBootOverride();
  EXPECT_EQ(ui.messages, (std::vector<std::string>{
                             "The boot-time EDID override of card0-HDMI-A-1 is installed. After the next boot, "
                             "\"Check boot-time EDID override\" tells whether the display reports it.",
                             "The boot-time EDID override of card0-HDMI-A-1 is in effect: the display reports " + root +
                                 "/lib/firmware/edid/velmar-HDMI-A-1.bin",
                             "The boot-time EDID override of card0-HDMI-A-1 is removed: the display shows the "
                             "monitor's own EDID again from the next boot."}))
      << core.Displays().InitLog();
  EXPECT_EQ(Snapshot(root), before);
  core.Close();
}

}  // namespace
}  // namespace velmar
