// velmar-edid's displays, read-display and override-display, run as a program.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/ToolRunner.h"
#include "display/FakeSysfs.h"
#include "display/SimLibrary.h"
#include "support/StandIn.h"
#include "support/TestData.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunTool;
using testing::SimLibrary;

class DisplayCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("VELMAR_PEXA_LIBRARY", VELMAR_PEXA_SIM_LIBRARY, 1);
    edid = ReadBytes(testing::CorpusDir() + "/ed-06ea81b6a609.bin");
    sim.Configure(
        "adapter name=GPU path=\"\\REGISTRY\\MACHINE\\SYSTEM\\Sim\"\n"
        "display adapter=0 index=4 connected=0\n"
        "display adapter=0 index=5 name=\"Main screen\" edid=" +
        sim.WriteBytes("e.bin", edid) +
        "\n"
        "display adapter=0 index=6 name=Blank sizes=0\n");
  }
  void TearDown() override { ::unsetenv("VELMAR_PEXA_LIBRARY"); }

  SimLibrary sim;
  std::vector<uint8_t> edid;
};

TEST_F(DisplayCliTest, DisplaysPrintsTheLogAndTheNumberedList) {
  const testing::ToolResult result = RunTool({"displays"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "Connection to Pexa established.\n"
            "Detected Adapter[0]: BDF[0:0:0], Name: GPU.\n"
            "On Adapter[0]: Detected Connected Display[5], Name: Main screen.\n"
            "On Adapter[0]: Detected Connected Display[6], Name: Blank.\n"
            "On Adapter[0]: Detected 2 Connected Displays\n"
            "On Adapter[0]: Detected 3 Supported Displays\n\n"
            "Detected 1 logical adapters in total.\n"
            "Detected 1 physical adapters in total.\n"
            "Detected 2 connected displays in total.\n"
            "\n"
            "-\t[0]: Display[4] (Not Connected)\tSYSTEM\\Sim\n"
            "0\t[0]: Display[5] = \"Main screen\"\tSYSTEM\\Sim\n"
            "1\t[0]: Display[6] = \"Blank\"\tSYSTEM\\Sim\n");
  EXPECT_EQ(RunTool({"--crlf", "displays"}).out.substr(0, 33), "Connection to Pexa established.\r\n");

  ::setenv("VELMAR_PEXA_LIBRARY", "libm.so.6", 1);
  const testing::ToolResult missing = RunTool({"displays"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out,
            "Main Pexa functionallity not avalaible.\n"
            "libm.so.6 has no entry point Pexa_Main_Control_Create\n");
}

// A library named on purpose that cannot be loaded is never replaced by ours.
TEST_F(DisplayCliTest, ANamedLibraryThatCannotBeLoadedIsAnError) {
  ::setenv("VELMAR_PEXA_LIBRARY", "/nonexistent/libx.so", 1);
  const std::string reason =
      "Failed to load Pexa library.\n"
      "Cannot load /nonexistent/libx.so: /nonexistent/libx.so: cannot open shared object file: No such file or "
      "directory\n";
  testing::ToolResult result = RunTool({"displays"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, reason);
  result = RunTool({"read-display", "0", sim.Path("x.bin")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "No connected displays detected\n" + reason);
  result = RunTool({"override-display", "0", sim.WriteBytes("in.bin", edid)});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "No connected displays detected\n" + reason);
  EXPECT_TRUE(sim.Requests().empty());
}

TEST_F(DisplayCliTest, ReadDisplayWritesAnyFormat) {
  const std::string out = sim.Path("out.bin");
  testing::ToolResult result = RunTool({"read-display", "0", out});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(out), edid);
  result = RunTool({"read-display", "0", sim.Path("out.txt")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(testing::ReadTextFile(sim.Path("out.txt")).substr(0, 49),
            "00 FF FF FF FF FF FF 00 4C 2D B9 71 00 0E 00 00\r\n");
}

TEST_F(DisplayCliTest, ReadDisplayFailures) {
  testing::ToolResult result = RunTool({"read-display", "1", sim.Path("blank.bin")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "Failed to read EDID from driver. Check Initialization log\n"
            "No EDID bytes from Display[6] on Adapter[0].\n");
  EXPECT_FALSE(std::filesystem::exists(sim.Path("blank.bin")));

  result = RunTool({"read-display", "2", sim.Path("x.bin")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "velmar-edid: there is no connected display 2: 2 displays are connected (see 'velmar-edid displays')\n");
  EXPECT_EQ(RunTool({"read-display", "first", sim.Path("x.bin")}).status, 2);
  EXPECT_EQ(RunTool({"read-display", "0", sim.Path("x.png")}).status, 2);
  EXPECT_EQ(RunTool({"read-display", "0"}).status, 2);

  sim.Configure("count 0\n");
  result = RunTool({"read-display", "0", sim.Path("x.bin")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "No connected displays detected\n");
}

TEST_F(DisplayCliTest, OverrideDisplaySendsTheFilesImage) {
  const std::string file = sim.WriteBytes("in.bin", edid);
  testing::ToolResult result = RunTool({"override-display", "0", file});
  EXPECT_EQ(result.status, 0) << result.err;
  ASSERT_EQ(sim.Requests().size(), 1u);
  EXPECT_EQ(sim.Requests()[0], "adapter=0 inputSize=540 outputSize=0 output=0 reserved=0 input=" +
                                   testing::ExpectedOverrideInput(5, edid));

  result = RunTool({"override-display", "0", sim.WriteBytes("zeros.bin", std::vector<uint8_t>(128, 0))});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "No Valid EDID present\n");
  EXPECT_EQ(RunTool({"override-display", "0", sim.Path("missing.bin")}).status, 1);

  sim.Configure(testing::ReadTextFile(sim.Path("sim.conf")) + "fail override\nerror \"busy\"\n");
  result = RunTool({"override-display", "1", file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "Failed to override EDID to driver. Check Initialization log\n"
            "Failed to override EDID of Display[6] on Adapter[0].\n"
            "Pexa library: busy\n");
}

// Without VELMAR_PEXA_LIBRARY the tool finds our libtovuxy.so beside it, in the build folder.
TEST_F(DisplayCliTest, OurLibraryIsFoundFromTheBuildFolder) {
  ::unsetenv("VELMAR_PEXA_LIBRARY");
  const std::string dir = testing::MakeTempDir();
  testing::FakeSysfs tree(dir);
  tree.AddCard(0, "pci0000:00", "0000:00:02.0", "pci", "i915", "0x8086", "0x9bc4");
  tree.AddConnector(0, "HDMI-A-1", true, edid, 80);
  ::setenv("VELMAR_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
  ::setenv("VELMAR_DEBUGFS_ROOT", (dir + "/debug").c_str(), 1);
  testing::ToolResult result = RunTool({"displays"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Detected Adapter[0]: BDF[0:2:0], Name: card0: i915 (8086:9BC4).\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("0\t[0]: Display[80] = \"SyncMaster\"\tSYSTEM\\Velmar\\Display\\pci-0000:00:02.0\n"),
            std::string::npos);
  result = RunTool({"read-display", "0", dir + "/read.bin"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(dir + "/read.bin"), edid);
  // Without root the helper writes it, through pkexec (a stand-in that runs it).
  const std::string pkexec = testing::WriteStandIn(dir, "pkexec", "exec \"$@\"");
  const std::string path = std::getenv("PATH");
  ::setenv("PATH", (dir + ":" + path).c_str(), 1);
  result = RunTool({"override-display", "0", dir + "/read.bin"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(tree.OverrideFile(0, "HDMI-A-1")), edid);
  // The fake status file kept the probe request; the kernel's reads "connected" again.
  testing::WriteTextFile(tree.ConnectorFolder(0, "HDMI-A-1") + "/status", "connected\n");
  result = RunTool({"remove-override", "0"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(testing::ReadTextFile(tree.OverrideFile(0, "HDMI-A-1")), "reset");
  testing::WriteTextFile(tree.ConnectorFolder(0, "HDMI-A-1") + "/status", "connected\n");
  fs::remove(tree.OverrideFile(0, "HDMI-A-1"));
  result = RunTool({"remove-override", "0"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Failed to remove the EDID override. Check Initialization log\n"
                        "Failed to remove the EDID override of Display[80] on Adapter[0].\n"
                        "velmar-edid-helper: Cannot open " +
                            tree.OverrideFile(0, "HDMI-A-1") + ": No such file or directory\n");
  ::setenv("PATH", path.c_str(), 1);
  // Only as another user does pkexec run.
  EXPECT_EQ(testing::StandInCalls(pkexec).size(), ::geteuid() == 0 ? 0u : 3u);
  ::unsetenv("VELMAR_SYSFS_ROOT");
  ::unsetenv("VELMAR_DEBUGFS_ROOT");
  testing::RemoveTree(dir);
}

}  // namespace
}  // namespace velmar
