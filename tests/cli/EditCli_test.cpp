// velmar-edid fields and edit over the real EDIDs: the listing is the forms'
// own, an edit without assignments gives back the file's used bytes, an edit
// writes what the same edit in the dialogs writes, and a refused value leaves
// the output alone.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "app/EdidImage.h"
#include "app/FormScript.h"
#include "cli/ToolRunner.h"
#include "common/ScriptedChoice.h"
#include "dialogs/FormTestSupport.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::CorpusDir;
using testing::CorpusFiles;
using testing::LoadedImage;
using testing::ReadBytes;
using testing::ReadTextFile;
using testing::RunTool;
using testing::ToolResult;
using testing::WriteTextFile;

class TempDir {
 public:
  TempDir() : path(testing::MakeTempDir()) {}
  ~TempDir() { testing::RemoveTree(path); }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  const std::string path;
};

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string Name(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The monitor bundled with the program, with a CEA block of every common kind of data block.
std::string SamplePath() { return std::string(VELMAR_TEST_DATA_DIR) + "/../../samples/samsung-odyssey-g60sd.bin"; }

// The used bytes of a file's image, as the core reads them.
std::vector<uint8_t> UsedBytes(const std::vector<uint8_t>& file) {
  LoadedImage loaded(file);
  return {loaded.image.rawData.begin(), loaded.image.rawData.begin() + loaded.image.GetUsedSize()};
}

// The listing the core gives for a file, as fields prints it.
std::string CoreFields(const std::vector<uint8_t>& file) {
  LoadedImage loaded(file);
  ScriptedChoice choice;
  loaded.ui.scriptedChoice = &choice;
  FormScript script(loaded.image, choice);
  std::string text;
  for (const ScriptField& field : script.Fields()) {
    text += field.address + "\t" + FormScript::EscapeValue(field.value) + "\t" + FormScript::EscapeValue(field.label) +
            "\n";
  }
  return text;
}

TEST(EditCli, FieldsOfTheWholeCorpusAreTheFormsOwn) {
  std::vector<std::string> args = {"fields"};
  const std::vector<std::string> files = CorpusFiles();
  args.insert(args.end(), files.begin(), files.end());
  const ToolResult result = RunTool(args);
  EXPECT_EQ(result.status, 0);
  std::string expected;
  for (const std::string& path : files) expected += "==> " + path + " <==\n" + CoreFields(ReadBytes(path));
  EXPECT_EQ(result.out, expected);
  EXPECT_NE(result.out.find("\nbase.general.year\t"), std::string::npos);
  EXPECT_NE(result.out.find("\ndi1.gamma.type\tNot Specified\tGamma Curve Type:\n"), std::string::npos);
}

TEST(EditCli, AnEditWithoutAssignmentsWritesTheUsedBytesOfEveryCorpusFile) {
  TempDir dir;
  for (const std::string& path : CorpusFiles()) {
    const std::string out = dir / (Name(path) + ".out.bin");
    const ToolResult result = RunTool({"edit", path, out});
    const std::vector<uint8_t> used = UsedBytes(ReadBytes(path));
    if (used.empty()) {
      // An image without a block is not written, as convert writes none.
      EXPECT_EQ(result.status, 1) << path;
      EXPECT_FALSE(Exists(out)) << path;
      continue;
    }
    EXPECT_EQ(result.status, 0) << path << result.err;
    EXPECT_EQ(ReadBytes(out), used) << path;
  }
}

TEST(EditCli, EachKindOfFieldWritesWhatTheDialogWrites) {
  // Lists, check boxes, whole and real numbers, texts and rows of tables, as
  // fields lists them: a monitor's base and DI-EXT blocks, the sample's CEA block.
  const struct {
    std::string in;
    std::vector<std::pair<std::string, std::string>> assignments;
    std::vector<std::string> shown;  // in the summary or the fields afterwards
  } cases[] = {
      {CorpusDir() + "/ed-76b1b316c228.bin",
       {{"base.general.manufacturer", "VLM"},
        {"di1.general.interface", "Plug & Display"},
        {"di1.format.hdcp", "on"},
        {"di1.format.max-clock", "300"},
        {"di1.caps.vertical-frequency", "59.94"},
        {"di1.gamma.points[4]", "77"}},
       {"Manufacturer Name...: VLM\n", "Interface Standard.: Plug & Display\n",
        "HDCP....................: Supported\n", "Max Pixel Clock Per Link: 300MHz\n",
        "di1.caps.vertical-frequency\t59.94\t", "di1.gamma.points[4]\t77\t"}},
      {SamplePath(),
       {{"cea1.general.ycbcr-444", "off"},
        {"cea1.db3.channels[0]", "6"},
        {"cea1.db3.rate-96[0]", "on"},
        {"cea1.db5.ce-scan", "Always Overscanned"},
        {"cea1.hdmi.max-tmds-clock", "300"},
        {"cea1.db8.vendor-id", "C45DD9"}},
       {"YCbCr 4:4:4 Format........: Not Supported\n",
        "LPCM(1).................: 6-channel, 32kHz/44.1kHz/48kHz/96kHz, BitRates: 16/20/24\n",
        "CE Overscan/Underscan............: Always Overscanned\n", "Max TMDS Pixel Clock.......: 300MHz\n",
        "IEEE Registration ID: 0xC45DD9\n"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    std::vector<std::string> args = {"edit", c.in, dir / "out.txt"};
    for (const auto& [address, value] : c.assignments) args.push_back(address + "=" + value);
    const ToolResult result = RunTool(args);
    ASSERT_EQ(result.status, 0) << result.err;

    // The same edits through the forms themselves.
    LoadedImage direct(ReadBytes(c.in));
    for (const auto& [address, value] : c.assignments) {
      const size_t dot = address.find('.');
      const size_t fieldDot = address.find('.', dot + 1);
      BlockPage* page = nullptr;
      for (unsigned b = 0; b < direct.image.BlockCount(); ++b) {
        if (direct.Page(b)->FormPrefix() == address.substr(0, dot)) page = direct.Page(b);
      }
      ASSERT_NE(page, nullptr) << address;
      const std::unique_ptr<EditorForm> form = page->CreateForm(address.substr(dot + 1, fieldDot - dot - 1));
      EXPECT_EQ(testing::RunOk(*form, {{address.substr(fieldDot + 1), value}}), "") << address;
    }
    EXPECT_TRUE(direct.image.IsModified());
    const ToolResult back = RunTool({"convert", dir / "out.txt", dir / "out.bin"});
    ASSERT_EQ(back.status, 0);
    const std::vector<uint8_t> expected(direct.image.rawData.begin(),
                                        direct.image.rawData.begin() + direct.image.GetUsedSize());
    EXPECT_EQ(ReadBytes(dir / "out.bin"), expected) << c.in;

    const std::string shows =
        RunTool({"summary", dir / "out.bin"}).out + RunTool({"fields", dir / "out.bin"}).out;
    for (const std::string& shown : c.shown) EXPECT_NE(shows.find(shown), std::string::npos) << shown;
  }
}

TEST(EditCli, ARefusedValueGivesTheDialogsMessageAndLeavesTheOutputAlone) {
  TempDir dir;
  const std::string in = CorpusDir() + "/ed-76b1b316c228.bin";
  const std::string out = dir / "kept.bin";
  WriteTextFile(out, "keep me");
  const struct {
    std::vector<std::string> assignments;
    const char* message;  // after the program's and the file's names
    std::string file = CorpusDir() + "/ed-76b1b316c228.bin";
  } cases[] = {
      {{"base.general.year=1989"}, "base.general.year: Invalid [Year of Manufacture] value\n"},
      {{"base.slot3.text=ABCDEFGHIJKLMN"},
       "base.slot3.text: String too long. Maximum length 13 characters\n"},
      {{"cea1.db3.channels[0]=9"},
       "cea1.db3.channels[0]: Entry[0]: Invalid Number of channels (Valid range is 1 --> 8)\n",
       SamplePath()},
      {{"di1.gamma.count=2", "di1.device.horizontal-pitch=2551"},
       "di1.device.horizontal-pitch: Invalid Horizontal Pitch (Valid Range 0 --> 2550)\n"},
      {{"di1.general.release=Date Code", "di1.general.month=13"},
       "di1.general: Invalid Month (Valid Range 1 --> 12)\n"},
      {{"di1.general.year=2000"}, "di1.general.year: the field is disabled\n"},
      {{"cea9.db=add:Speaker Allocation Data Block"}, "cea9.db: no block is addressed \"cea9\"\n"},
      {{"cea1.db6.hdmi-vics.used[4]=on", "cea1.db6.max-tmds-clock=200"},
       "cea1.db6.hdmi-vics.used[4]: Entry[1:1]: Invalid Selection\n",
       CorpusDir() + "/ed-06ea81b6a609.bin"},
      {{"cea1.db6.extended-caps=off", "cea1.db6.hdmi-vics.used[4]=on"},
       "cea1.db6.hdmi-vics: no button of cea1.db6 opens this form now\n",
       CorpusDir() + "/ed-06ea81b6a609.bin"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"edit", c.file, out};
    args.insert(args.end(), c.assignments.begin(), c.assignments.end());
    const ToolResult result = RunTool(args);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.err, "velmar-edid: " + c.file + ": " + c.message);
    EXPECT_EQ(ReadTextFile(out), "keep me");
  }
  const ToolResult fresh = RunTool({"edit", in, dir / "new.bin", "base.general.year=1989"});
  EXPECT_EQ(fresh.status, 2);
  EXPECT_FALSE(Exists(dir / "new.bin"));
}

// The recipes of the README and the manual page.
TEST(EditCli, TheDocumentedRecipesDoWhatTheySay) {
  TempDir dir;
  const std::string monitor = CorpusDir() + "/ed-76b1b316c228.bin";
  const std::string sample = SamplePath();
  const struct {
    std::string in;
    std::vector<std::string> assignments;
    std::vector<std::string> shown;
  } recipes[] = {
      {monitor,
       {"base.general.serial-number=0x00000017", "base.general.week=23", "base.general.year=2025"},
       {"Serial Number.......: 0x17\n", "Date of Manufacture.: 2025, week 23\n"}},
      {monitor,
       {"base.slot1.pixel-clock=14850", "base.slot1.haddressable=1920", "base.slot1.hblank=280",
        "base.slot1.hsync-start=88", "base.slot1.hsync-width=44", "base.slot1.vaddressable=1080",
        "base.slot1.vblank=45", "base.slot1.vsync-start=4", "base.slot1.vsync-width=5", "base.slot1.sync-bit1=on",
        "base.slot1.sync-bit2=on"},
       {"[Descriptor 0: Detailed Timing]\n  1920 x 1080p at 60Hz, 148.50MHz, CEA[16]\n", "VSYNC+, HSYNC+\n"}},
      {sample,
       {"cea1.db2.vic[2]=[3] 720x480p@60, 16x9", "cea1.db2.used[4]=off", "cea1.db2.used[3]=off",
        "cea1.general.ycbcr-422=off"},
       {"cea1.db2.vic[2]\t[3] 720x480p@60, 16x9\t", "cea1.db2.used[3]\toff\t", "cea1.db2.used[4]\toff\t",
        "cea1.general.ycbcr-422\toff\t", "YCbCr 4:2:2 Format........: Not Supported\n"}},
      {CorpusDir() + "/ed-06ea81b6a609.bin",
       {"cea1.db6.hdmi-vics.used[3]=off", "cea1.db6.hdmi-vics.used[2]=off", "cea1.db6.hdmi-vics.used[1]=off",
        "cea1.db6.hdmi-vics.used[0]=off"},
       {"HDMI Video Modes...........: Not Present\n", "cea1.db6.hdmi-vics.used[0]\toff\t"}},
  };
  for (const auto& recipe : recipes) {
    std::vector<std::string> args = {"edit", recipe.in, dir / "out.bin"};
    args.insert(args.end(), recipe.assignments.begin(), recipe.assignments.end());
    const ToolResult result = RunTool(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string shows =
        RunTool({"summary", dir / "out.bin"}).out + RunTool({"fields", dir / "out.bin"}).out;
    for (const std::string& shown : recipe.shown) EXPECT_NE(shows.find(shown), std::string::npos) << shown;
  }
}

TEST(EditCli, StructuralEditsRunThroughThePagesButtons) {
  TempDir dir;
  const std::string out = dir / "out.bin";
  // The monitor has one extension, a DI-EXT block; its product name is in the third slot.
  const ToolResult added = RunTool({"edit", CorpusDir() + "/ed-76b1b316c228.bin", out, "base.slot3=remove",
                                    "base.slot3=add:Display Product Name", "base.slot3.text=PANEL 7",
                                    "block=add:EDID CEA Ext Block", "cea2.db=add:Speaker Allocation Data Block",
                                    "cea2.dtd=add"});
  ASSERT_EQ(added.status, 0) << added.err;
  const std::string summary = RunTool({"summary", out}).out;
  for (const char* shown : {"\"PANEL 7\"", "Number of extensions: 2\n", "Number Of Data Blocks.....: 1\n",
                            "Number Of Detailed Timings: 1\n"}) {
    EXPECT_NE(summary.find(shown), std::string::npos) << shown << summary;
  }
  const ToolResult removed =
      RunTool({"edit", out, out, "base.slot3=remove", "cea2.db1=remove", "cea2.dtd1=remove"});
  ASSERT_EQ(removed.status, 0) << removed.err;
  const std::string after = RunTool({"summary", out}).out;
  EXPECT_EQ(after.find("PANEL 7"), std::string::npos);
  EXPECT_NE(after.find("Number Of Data Blocks.....: 0\n"), std::string::npos);
  EXPECT_NE(after.find("Number Of Detailed Timings: 0\n"), std::string::npos);
}

TEST(EditCli, UsageErrorsComeBeforeTheInputIsRead) {
  TempDir dir;
  const std::string in = CorpusDir() + "/ed-76b1b316c228.bin";
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"edit", in, dir / "out.bin", "year"}, "velmar-edid: 'year' is not ADDRESS=VALUE\n"},
      {{"edit", in, dir / "out.bin", "=2000"}, "velmar-edid: '=2000' is not ADDRESS=VALUE\n"},
      {{"edit", in, dir / "out.bin", "base.general.year=\\q"},
       "velmar-edid: base.general.year=\\q: a backslash in the value starts none of \\\\, \\t, \\n, \\r, \\xHH\n"},
      {{"edit", dir / "missing.bin", dir / "out.xyz"},
       "velmar-edid: " + dir / "out.xyz" + ": cannot write a file with the extension 'XYZ'\n"},
  };
  for (const auto& c : cases) {
    const ToolResult result = RunTool(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, c.message);
  }
  EXPECT_FALSE(Exists(dir / "out.bin"));
  EXPECT_EQ(RunTool({"edit", dir / "missing.bin", dir / "out.bin"}).status, 1);
}

}  // namespace
}  // namespace velmar
