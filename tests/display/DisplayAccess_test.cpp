#include "display/DisplayAccess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <numeric>

#include "display/SimLibrary.h"
#include "support/OtherOwner.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::SimLibrary;

// Two adapters with the same bus, device and function: the second is logged
// but its displays are not listed.
constexpr char kTwoAdapters[] = R"(
adapter index=0 bus=1 device=0 function=0 name="Velmar GPU" path="\REGISTRY\MACHINE\SYSTEM\Sim\0000"
adapter index=1 bus=1 device=0 function=0 name="Velmar GPU twin" path="\registry\machine\SYSTEM\Sim\0001"
display adapter=0 index=1 connected=1 name="DELL U2415"
display adapter=0 index=0 connected=0
display adapter=0 index=2 connected=1 name=""
display adapter=1 index=0 connected=1 name="Hidden"
)";

class DisplayAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { access.SetLibraryCandidates(SimLibrary::Candidates()); }
  void TearDown() override {
    access.Release();
    EXPECT_EQ(PexaLibrary::OutstandingAllocations(), 0u);
  }

  SimLibrary sim;
  DisplayAccess access;
};

TEST_F(DisplayAccessTest, WithoutTheLibraryNothingIsListed) {
  access.SetLibraryCandidates({sim.Path("missing.so"), sim.Path("also-missing.so")});
  EXPECT_FALSE(access.InitAdapters());
  // Each file tried is named with the loader's reason.
  EXPECT_EQ(access.InitLog(), "Failed to load Pexa library.\r\n"
                              "Cannot load " + sim.Path("missing.so") + ": " + sim.Path("missing.so") +
                                  ": cannot open shared object file: No such file or directory\r\n"
                                  "Cannot load " + sim.Path("also-missing.so") + ": " + sim.Path("also-missing.so") +
                                  ": cannot open shared object file: No such file or directory\r\n");
  EXPECT_TRUE(access.Table().empty());
  EXPECT_FALSE(access.IsLibraryLoaded());
  std::array<uint8_t, kMaxEdidSize> bytes{};
  EXPECT_EQ(access.ReadDisplayEdid(0, bytes), -1);
}

TEST_F(DisplayAccessTest, ALibraryWithoutTheEntryPointsIsUnloaded) {
  access.SetLibraryCandidates({"libm.so.6"});
  EXPECT_FALSE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(),
            "Main Pexa functionallity not avalaible.\r\nlibm.so.6 has no entry point Pexa_Main_Control_Create\r\n");
  EXPECT_FALSE(access.IsLibraryLoaded());
}

// A library named by the environment is the only one tried. Otherwise ours is
// looked for by its full path beside the program and in the installation's
// library folder, then the loader searches the system's folders.
TEST_F(DisplayAccessTest, TheLibrariesTried) {
  ::setenv("VELMAR_PEXA_LIBRARY", "/nonexistent/libx.so", 1);
  EXPECT_EQ(PexaLibrary::DefaultCandidates(), std::vector<std::string>{"/nonexistent/libx.so"});
  ::unsetenv("VELMAR_PEXA_LIBRARY");
  const std::vector<std::string> candidates = PexaLibrary::DefaultCandidates();
  const std::string here = std::filesystem::canonical(VELMAR_BINARY_DIR).string();
  ASSERT_EQ(candidates.size(), 4u);
  EXPECT_EQ(candidates[0], here + "/libtovuxy.so");
  EXPECT_EQ(candidates[1].substr(0, here.size() + 4), here + "/../");
  EXPECT_EQ(candidates[1].substr(candidates[1].size() - 13), "/libtovuxy.so");
  EXPECT_EQ(candidates[2], "libtovuxy.so");
  EXPECT_EQ(candidates[3], "libtovuxx.so");
}

// Root's environment may come from an unprivileged user: a library file that
// someone else could change is never loaded into a root process.
TEST_F(DisplayAccessTest, AsRootALibraryOthersCanChangeIsNotLoaded) {
  VELMAR_SKIP_UNLESS_ROOT();
  const std::string user = sim.Path("user");
  std::filesystem::create_directories(user);
  std::filesystem::copy_file(VELMAR_PEXA_SIM_LIBRARY, user + "/lib.so");
  std::filesystem::copy_file(VELMAR_PEXA_SIM_LIBRARY, sim.Path("shared.so"));
  ASSERT_EQ(::chmod(sim.Path("shared.so").c_str(), 0775), 0);
  ASSERT_TRUE(testing::GiveToOtherUser(user));
  access.SetLibraryCandidates({user + "/lib.so", sim.Path("shared.so"), "pexa-sim/lib.so"});
  EXPECT_FALSE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(), "Failed to load Pexa library.\r\n"
                              "Not loading " + user + "/lib.so as root: " + user +
                                  " is owned by uid 65534, not by root\r\n"
                                  "Not loading " + sim.Path("shared.so") + " as root: " + sim.Path("shared.so") +
                                  " is writable by its group\r\n"
                                  "Not loading pexa-sim/lib.so as root: 'pexa-sim/lib.so' is not an absolute path\r\n");
  EXPECT_FALSE(access.IsLibraryLoaded());
}

TEST_F(DisplayAccessTest, AFailedCreateUnloadsTheLibrary) {
  sim.Configure("fail create\n");
  EXPECT_FALSE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(), "Failed to allocate Pexa memory.\r\n");
  EXPECT_FALSE(access.IsLibraryLoaded());
}

TEST_F(DisplayAccessTest, LogAndTableOfTwoAdaptersWithEqualAddresses) {
  sim.Configure(kTwoAdapters);
  ASSERT_TRUE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(),
            "Connection to Pexa established.\r\n"
            "Detected Adapter[0]: BDF[1:0:0], Name: Velmar GPU.\r\n"
            "On Adapter[0]: Detected Connected Display[1], Name: DELL U2415.\r\n"
            "On Adapter[0]: Detected Connected Display[2], Name: .\r\n"
            "On Adapter[0]: Detected 2 Connected Displays\r\n"
            "On Adapter[0]: Detected 3 Supported Displays\r\n\r\n"
            "Detected Adapter[1]: BDF[1:0:0], Name: Velmar GPU twin.\r\n"
            "\r\n"
            "Detected 2 logical adapters in total.\r\n"
            "Detected 1 physical adapters in total.\r\n"
            "Detected 2 connected displays in total.\r\n");
  // Sorted by display index; the empty name is the default one.
  ASSERT_EQ(access.Table().size(), 3u);
  EXPECT_EQ(access.DisplayListText(0, ""), "[0]: Display[0] (Not Connected)");
  EXPECT_EQ(access.DisplayListText(1, ""), "[0]: Display[1] = \"DELL U2415\"");
  EXPECT_EQ(access.DisplayListText(2, "Analog  "), "[0]: Analog  Display[2] = \"Default monitor\"");
  EXPECT_EQ(access.DisplayListText(3, ""), "");
  EXPECT_EQ(access.ConnectedCount(), 2u);
  EXPECT_EQ(access.ConnectedRecords(), (std::vector<size_t>{1, 2}));
  EXPECT_EQ(access.AdapterPositions(), 2u);
  EXPECT_EQ(access.RegistryPath(1), std::optional<std::string>("SYSTEM\\Sim\\0000"));
  EXPECT_EQ(access.RegistryPath(3), std::nullopt);
}

TEST_F(DisplayAccessTest, OnceAnEnumerationSucceededLaterFailuresStillAnswerTrue) {
  sim.Configure(kTwoAdapters);
  ASSERT_TRUE(access.InitAdapters());
  sim.Configure("count 0\n");
  EXPECT_TRUE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(), "Connection to Pexa established.\r\nNo Graphics Adapters detected.\r\n");
  EXPECT_TRUE(access.Table().empty());
  EXPECT_EQ(access.RegistryPath(0), std::nullopt);

  // Loaded anew, the flag starts cleared again.
  access.Release();
  EXPECT_FALSE(access.InitAdapters());
  sim.Configure("count 21\n");
  EXPECT_FALSE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(), "Connection to Pexa established.\r\nNo Graphics Adapters detected.\r\n");
}

TEST_F(DisplayAccessTest, FailuresOfTheLibraryReachTheLogWithItsReason) {
  sim.Configure("fail count\nerror \"no cards here\"\n");
  EXPECT_FALSE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(),
            "Connection to Pexa established.\r\nNo Graphics Adapters detected.\r\nPexa library: no cards here\r\n");
  sim.Configure("adapter name=A\nfail adapters\n");
  EXPECT_FALSE(access.InitAdapters());
  EXPECT_EQ(access.InitLog(),
            "Connection to Pexa established.\r\nFailed to obtain Graphics Adapters properties.\r\n"
            "Pexa library: simulated failure\r\n");
  sim.Configure("adapter index=3 name=A\ndisplays adapter=0 fail=1\n");
  EXPECT_TRUE(access.InitAdapters());
  EXPECT_NE(access.InitLog().find("Detected Adapter[3]: BDF[0:0:0], Name: A.\r\n"
                                  "Failed to obtain Displays from Graphics Adapter 3.\r\n"
                                  "Pexa library: simulated failure\r\n"
                                  "Detected 1 logical adapters in total.\r\n"),
            std::string::npos);
}

TEST_F(DisplayAccessTest, NamesAndPathsAreReadWithinTheirFields) {
  sim.Configure(
      "adapter namefill=G path=\"\\Registry\\Machine\\Key\"\n"
      "adapter bus=2 name=B exists=0 path=\"\\REGISTRY\\MACHINE\\Other\"\n"
      "adapter bus=3 name=C path=\"SYSTEM\\NoPrefix\"\n"
      "adapter bus=4 name=D path=\"\\REGISTRY\\MACHINE\\Key]\"\n"
      "adapter bus=5 name=E path=\"\\REGISTRY\\MACHINE\\Key\tTab\"\n"
      "display adapter=0 namefill=N\n"
      "display adapter=1\n"
      "display adapter=2\n"
      "display adapter=3\n"
      "display adapter=4\n");
  ASSERT_TRUE(access.InitAdapters());
  ASSERT_EQ(access.Table().size(), 5u);
  EXPECT_EQ(access.Table()[0].name, std::string(31, 'N'));
  EXPECT_NE(access.InitLog().find("Name: " + std::string(256, 'G') + ".\r\n"), std::string::npos);
  EXPECT_NE(access.InitLog().find("Name: " + std::string(256, 'N') + ".\r\n"), std::string::npos);
  EXPECT_EQ(access.RegistryPath(0), std::optional<std::string>("Key"));
  EXPECT_EQ(access.RegistryPath(1), std::nullopt);  // the adapter does not exist
  EXPECT_EQ(access.RegistryPath(2), std::nullopt);  // not a machine path
  // A "]" or a control character would break the key line of a REG file.
  EXPECT_EQ(access.RegistryPath(3), std::nullopt);
  EXPECT_EQ(access.RegistryPath(4), std::nullopt);
}

TEST_F(DisplayAccessTest, DisplayArraysAreCheckedAndAlwaysReleased) {
  sim.Configure(
      "adapter bus=0 name=Null\nadapter bus=1 name=Foreign\nadapter bus=2 name=Over\nadapter bus=3 name=Negative\n"
      "displays adapter=0 null=1 count=3\n"
      "displays adapter=1 foreign=1 count=2\n"
      "display adapter=2 index=0\ndisplay adapter=2 index=1\ndisplays adapter=2 count=5\n"
      "display adapter=3\ndisplays adapter=3 count=-1\n");
  ASSERT_TRUE(access.InitAdapters());
  EXPECT_NE(access.InitLog().find("On Adapter[0]: Detected 0 Supported Displays"), std::string::npos);
  EXPECT_NE(access.InitLog().find("On Adapter[1]: Detected 0 Supported Displays"), std::string::npos);
  EXPECT_NE(access.InitLog().find("On Adapter[2]: Detected 2 Supported Displays"), std::string::npos);
  EXPECT_NE(access.InitLog().find("On Adapter[3]: Detected 0 Supported Displays"), std::string::npos);
  EXPECT_EQ(access.Table().size(), 2u);
  EXPECT_EQ(PexaLibrary::OutstandingAllocations(), 0u);
}

TEST_F(DisplayAccessTest, AdapterIndexesOfDisplaysAreCheckedBeforeUse) {
  sim.Configure(
      "adapter index=0 bus=0 name=A path=\"\\REGISTRY\\MACHINE\\A\"\n"
      "adapter index=1 bus=1 name=B path=\"\\REGISTRY\\MACHINE\\B\"\n"
      "display adapter=0 index=0 adapterfield=1\n"
      "display adapter=1 index=0 adapterfield=25\n"
      "display adapter=1 index=1 adapterfield=-1\n"
      "display adapter=1 index=2 adapterfield=19\n");
  ASSERT_TRUE(access.InitAdapters());
  ASSERT_EQ(access.Table().size(), 4u);
  // The first display claims adapter 1; 25 and -1 fall back to position 1; 19
  // is taken as given but names no filled position.
  EXPECT_EQ(access.Table()[0].adapterIndex, 1);
  EXPECT_EQ(access.Table()[1].adapterIndex, 1);
  EXPECT_EQ(access.Table()[2].adapterIndex, 1);
  EXPECT_EQ(access.Table()[3].adapterIndex, 19);
  EXPECT_EQ(access.RegistryPath(0), std::optional<std::string>("B"));
  EXPECT_EQ(access.RegistryPath(3), std::nullopt);
}

TEST_F(DisplayAccessTest, TheTableStopsAt128Displays) {
  sim.Configure("adapter name=A\ndisplays adapter=0 many=200\nadapter bus=5 name=B\ndisplays adapter=1 many=3\n");
  ASSERT_TRUE(access.InitAdapters());
  EXPECT_EQ(access.Table().size(), 128u);
  EXPECT_EQ(access.ConnectedCount(), 128u);
  const std::string& log = access.InitLog();
  EXPECT_NE(log.find("Display table full: only the first 128 displays are listed.\r\n"
                     "On Adapter[0]: Detected 128 Connected Displays\r\n"),
            std::string::npos);
  EXPECT_EQ(log.find("Display table full", log.find("Display table full") + 1), std::string::npos);
  EXPECT_NE(log.find("On Adapter[1]: Detected 0 Supported Displays"), std::string::npos);
}

TEST_F(DisplayAccessTest, TheTableIsSortedByAdapterThenDisplay) {
  sim.Configure(
      "adapter index=1 bus=1 name=B\nadapter index=0 bus=0 name=A\n"
      "display adapter=0 index=3 name=B3\ndisplay adapter=0 index=1 name=B1\n"
      "display adapter=1 index=2 name=A2\ndisplay adapter=1 index=0 name=A0\n");
  ASSERT_TRUE(access.InitAdapters());
  std::vector<std::string> names;
  for (const DisplayRecord& record : access.Table()) names.push_back(record.name);
  EXPECT_EQ(names, (std::vector<std::string>{"A0", "A2", "B1", "B3"}));
}

// A file of `size` bytes whose byte i is i modulo 251, so that every position is told apart.
std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i % 251);
  return bytes;
}

TEST_F(DisplayAccessTest, AnswersOf256BytesFillTheImageFrom128On) {
  const std::vector<uint8_t> file = Pattern(1024);
  sim.Configure("adapter name=A\ndisplay adapter=0 chunk=256 edid=" + sim.WriteBytes("e.bin", file) + "\n");
  ASSERT_TRUE(access.InitAdapters());
  std::array<uint8_t, kMaxEdidSize> bytes{};
  ASSERT_EQ(access.ReadDisplayEdid(0, bytes), 512);
  // Block index 0 gives bytes 0-255 of the image, index 1 bytes 128-383 (the
  // file's 128-383), index 2 the first 128 of its answer (the file's 256-383).
  std::vector<uint8_t> expected(file.begin(), file.begin() + 384);
  expected.insert(expected.end(), file.begin() + 256, file.begin() + 384);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), expected);
}

TEST_F(DisplayAccessTest, BlockAnswersReproduceTheEdid) {
  for (const size_t size : {128u, 256u, 384u, 512u}) {
    const std::vector<uint8_t> file = Pattern(size);
    sim.Configure("adapter name=A\ndisplay adapter=0 edid=" + sim.WriteBytes("e.bin", file) + "\n");
    ASSERT_TRUE(access.InitAdapters());
    std::array<uint8_t, kMaxEdidSize> bytes{};
    ASSERT_EQ(access.ReadDisplayEdid(0, bytes), static_cast<int>(size));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + size), file);
    EXPECT_TRUE(std::all_of(bytes.begin() + size, bytes.end(), [](uint8_t b) { return b == 0; }));
  }
}

TEST_F(DisplayAccessTest, AnsweredSizesAreNotTrusted) {
  const std::string edid = sim.WriteBytes("e.bin", Pattern(512));
  sim.Configure(
      "adapter name=A\n"
      "display adapter=0 index=0 sizes=1000,0 edid=" +
      edid +
      "\n"
      "display adapter=0 index=1 sizes=128,-7 edid=" +
      edid +
      "\n"
      "display adapter=0 index=2 sizes=0 edid=" +
      edid +
      "\n"
      "display adapter=0 index=3 fail=1\n");
  ASSERT_TRUE(access.InitAdapters());
  std::array<uint8_t, kMaxEdidSize> bytes{};
  // More than the record's 256 data bytes is cut to 256, then the next block
  // answers nothing and the read ends.
  EXPECT_EQ(access.ReadDisplayEdid(0, bytes), 256);
  EXPECT_EQ(access.ReadDisplayEdid(1, bytes), 128);  // a negative size ends the read
  EXPECT_EQ(access.ReadDisplayEdid(2, bytes), 0);
  EXPECT_NE(access.InitLog().find("No EDID bytes from Display[2] on Adapter[0].\r\n"), std::string::npos);
  EXPECT_EQ(access.ReadDisplayEdid(3, bytes), -1);
  EXPECT_NE(access.InitLog().find("Failed to read EDID of Display[3] on Adapter[0].\r\n"
                                  "Pexa library: simulated failure\r\n"),
            std::string::npos);
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(DisplayAccessTest, AnOverrideSendsTheExactInput) {
  sim.Configure("adapter index=2 name=A\ndisplay adapter=0 index=7 adapterfield=2\n");
  ASSERT_TRUE(access.InitAdapters());
  std::vector<uint8_t> edid = Pattern(600);
  EXPECT_TRUE(access.OverrideDisplayEdid(600, 0, edid.data()));  // cut to 512
  edid.resize(512);
  const std::vector<std::string> requests = sim.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "adapter=2 inputSize=540 outputSize=0 output=0 reserved=0 input=" +
                             testing::ExpectedOverrideInput(7, edid));
  EXPECT_FALSE(access.OverrideDisplayEdid(128, 1, edid.data()));  // not in the table
  EXPECT_EQ(sim.Requests().size(), 1u);

  sim.Configure(
      "adapter index=2 name=A\ndisplay adapter=0 index=7 adapterfield=2\nfail override\n"
      "error \"driver said no\"\n");
  ASSERT_TRUE(access.InitAdapters());
  EXPECT_FALSE(access.OverrideDisplayEdid(128, 0, edid.data()));
  EXPECT_NE(access.InitLog().find("Failed to override EDID of Display[7] on Adapter[2].\r\n"
                                  "Pexa library: driver said no\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace velmar
