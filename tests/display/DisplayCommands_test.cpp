// The "Display" menu's display commands, start-up and closing, through the
// main window with the simulated library.
#include <gtest/gtest.h>

#include "app/MainWindowCore.h"
#include "common/Callbacks.h"
#include "display/SimLibrary.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::MakeBase13;
using testing::ScriptedUserInterface;
using testing::SimLibrary;

class DisplayCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core.Displays().SetLibraryCandidates(SimLibrary::Candidates());
    core.Store().SetRoot(sim.Path("registry"));
    edid = MakeBase13();
    edid[8] = 0x10;  // tell it apart from the default block
    testing::FixChecksum(edid.data());
    sim.Configure(
        "adapter name=GPU path=\"\\REGISTRY\\MACHINE\\SYSTEM\\Sim\"\n"
        "display adapter=0 index=4 connected=0\n"
        "display adapter=0 index=5 name=\"Main screen\" edid=" +
        sim.WriteBytes("e.bin", edid) +
        "\n"
        "display adapter=0 index=6 name=Empty edid=" +
        sim.WriteBytes("none.bin", {}) + " sizes=0\n");
  }
  std::vector<uint8_t> Used() const {
    return std::vector<uint8_t>(core.Image().rawData.begin(),
                                core.Image().rawData.begin() + core.Image().GetUsedSize());
  }
  void LoadBase() {
    core.Image().rawData.fill(0);
    std::copy(edid.begin(), edid.end(), core.Image().rawData.begin());
    core.Image().Rebuild();
  }

  SimLibrary sim;
  ScriptedUserInterface ui;
  MainWindowCore core{ui};
  std::vector<uint8_t> edid;
};

TEST_F(DisplayCommandsTest, WithoutTheLibraryBothDisplayCommandsSayNoDisplay) {
  const std::string missing = sim.Path("missing.so");
  core.Displays().SetLibraryCandidates({missing});
  core.Initialize();
  LoadBase();
  core.ReadEdidFromDisplay();
  core.OverrideDisplayEdid();
  core.ReinitGraphicsAdapterInfo();
  core.ShowGraphicsAdaptersInitLog();
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"No connected displays detected", "No connected displays detected",
                                                   "Failed to initialize Graphics Adapter Info",
                                                   "Failed to load Pexa library.\r\nCannot load " + missing + ": " +
                                                       missing +
                                                       ": cannot open shared object file: No such file or directory\r\n"}));
  EXPECT_TRUE(ui.selections.empty());
}

TEST_F(DisplayCommandsTest, ReadingADisplayLoadsItsEdidAndNamesTheSource) {
  core.Initialize();
  core.Image().SetModified();
  ui.answers = {true};
  ui.choices = {0};
  core.ReadEdidFromDisplay();
  EXPECT_EQ(ui.questions, std::vector<std::string>{"All unsaved data will be lost\r\nAre you sure?"});
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].kind, kContentSelectDisplay);
  EXPECT_EQ(ui.selections[0].content.title, "Select Display");
  EXPECT_EQ(ui.selections[0].content.items,
            (std::vector<std::string>{"[0]: Display[5] = \"Main screen\"", "[0]: Display[6] = \"Empty\""}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Used(), edid);
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::ConnectedDisplay);
  EXPECT_EQ(core.Image().Labels().source, "Main screen (Connected Display[5])");
  EXPECT_EQ(core.Image().Labels().pathCaption, "Adapter:");
  EXPECT_EQ(core.Image().Labels().path, "0");
}

TEST_F(DisplayCommandsTest, CancelledQuestionOrChoiceChangesNothing) {
  core.Initialize();
  LoadBase();
  core.Image().SetModified();
  ui.answers = {false};
  core.ReadEdidFromDisplay();
  EXPECT_TRUE(ui.selections.empty());
  ui.answers = {true};
  core.ReadEdidFromDisplay();  // no choice scripted: cancelled
  EXPECT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(Used(), edid);
  EXPECT_TRUE(core.Image().IsModified());
}

TEST_F(DisplayCommandsTest, ADisplayWithoutEdidIsAFailedRead) {
  core.Initialize();
  LoadBase();
  ui.choices = {1};
  core.ReadEdidFromDisplay();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to read EDID from driver. Check Initialization log"});
  EXPECT_EQ(core.Image().BlockCount(), 0u);
  EXPECT_EQ(core.Image().Labels().source, "None");
  EXPECT_NE(core.Displays().InitLog().find("No EDID bytes from Display[6] on Adapter[0].\r\n"), std::string::npos);
}

TEST_F(DisplayCommandsTest, OverridingSendsTheUsedBytes) {
  core.Initialize();
  ui.choices = {0};
  core.OverrideDisplayEdid();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No Valid EDID present"});
  EXPECT_TRUE(ui.selections.empty());

  ui.Clear();
  LoadBase();
  core.Image().SetModified();
  core.OverrideDisplayEdid();
  EXPECT_TRUE(ui.messages.empty());
  const std::vector<std::string> requests = sim.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "adapter=0 inputSize=540 outputSize=0 output=0 reserved=0 input=" +
                             testing::ExpectedOverrideInput(5, edid));
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(core.Image().Labels().source, "Main screen (Connected Display[5])");

  std::string config = testing::ReadTextFile(sim.Path("sim.conf"));
  sim.Configure(config + "fail override\n");
  core.ReinitGraphicsAdapterInfo();
  core.Image().SetModified();
  ui.choices = {1};
  core.OverrideDisplayEdid();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to override EDID to driver. Check Initialization log"});
  EXPECT_TRUE(core.Image().IsModified());
  EXPECT_NE(core.Displays().InitLog().find("Failed to override EDID of Display[6] on Adapter[0].\r\n"),
            std::string::npos);
}

// A display whose EDID has more blocks than the image holds: the read says
// what it left out, and the image it kept is never sent back as the display's EDID.
TEST_F(DisplayCommandsTest, ADisplayGivingALongerEdidSaysWhatTheImageLeavesOut) {
  std::vector<uint8_t> six = MakeBase13(5);
  six.resize(768, 0);
  for (unsigned at = 128; at < 768; at += 128) {
    six[at] = 0x02;
    six[at + 1] = 0x03;
    testing::FixChecksum(six.data() + at);
  }
  sim.Configure("adapter name=GPU path=\"\\REGISTRY\\MACHINE\\SYSTEM\\Sim\"\n"
                "display adapter=0 index=5 name=TV edid=" + sim.WriteBytes("six.bin", six) + "\n");
  core.Initialize();
  ui.choices = {0};
  core.ReadEdidFromDisplay();
  const std::string note = "The EDID holds 6 blocks (768 bytes); only the first 4 (512 bytes) are kept";
  EXPECT_EQ(ui.messages, std::vector<std::string>{note});
  EXPECT_EQ(core.Image().BlockCount(), 4u);
  EXPECT_EQ(Used(), std::vector<uint8_t>(six.begin(), six.begin() + 512));
  ContentCollector report;
  core.Image().FillContent(&report, kContentErrorsReport);
  EXPECT_NE(report.Text().find("  " + note + "\r\n"), std::string::npos) << report.Text();

  ui.Clear();
  core.OverrideDisplayEdid();
  EXPECT_EQ(ui.messages,
            std::vector<std::string>{"Not sent: the base block announces 5 extension blocks but the image holds 3"});
  EXPECT_TRUE(sim.Requests().empty());
}

TEST_F(DisplayCommandsTest, StartUpLoadsTheFileNamedFirst) {
  const std::string file = sim.WriteBytes("start.bin", edid);
  core.Initialize({file, sim.Path("ignored.bin")});
  EXPECT_EQ(Used(), edid);
  EXPECT_EQ(core.Image().Labels().source, "start.bin (Binary File)");
  EXPECT_TRUE(core.Displays().IsLibraryLoaded());
  EXPECT_TRUE(ui.messages.empty());
  core.Close();
  EXPECT_FALSE(core.Displays().IsLibraryLoaded());
}

}  // namespace
}  // namespace velmar
