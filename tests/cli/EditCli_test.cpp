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

// The used bytes of a file's image, as the core reads them.
std::vector<uint8_t> UsedBytes(const std::vector<uint8_t>& file) {
  LoadedImage loaded(file);
  return {loaded.image.rawData.begin(), loaded.image.rawData.begin() + loaded.image.GetUsedSize()};
}

// The listing the core gives for a file, as fields prints it.
std::string CoreFields(const std::vector<uint8_t>& file) {
  LoadedImage loaded(file);
  ScriptedChoice choice;
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
    EXPECT_EQ(result.status, 0) << path << result.err;
    EXPECT_EQ(ReadBytes(out), UsedBytes(ReadBytes(path))) << path;
  }
}

TEST(EditCli, EachKindOfFieldWritesWhatTheDialogWrites) {
  // A monitor with a DI-EXT block: a list, a check box, a number, a real
  // number, a text and a row of a table, as fields lists them.
  const std::string in = CorpusDir() + "/ed-76b1b316c228.bin";
  const std::vector<std::pair<std::string, std::string>> assignments = {
      {"base.general.manufacturer", "VLM"},       {"di1.general.interface", "Plug & Display"},
      {"di1.format.hdcp", "on"},                  {"di1.format.max-clock", "300"},
      {"di1.caps.vertical-frequency", "59.94"},   {"di1.gamma.points[4]", "77"},
  };
  TempDir dir;
  std::vector<std::string> args = {"edit", in, dir / "out.txt"};
  for (const auto& [address, value] : assignments) args.push_back(address + "=" + value);
  const ToolResult result = RunTool(args);
  ASSERT_EQ(result.status, 0) << result.err;

  // The same edits through the forms themselves.
  LoadedImage direct(ReadBytes(in));
  for (const auto& [address, value] : assignments) {
    const size_t dot = address.find('.');
    const size_t fieldDot = address.find('.', dot + 1);
    BlockPage* page = direct.Page(address.compare(0, dot, "base") == 0 ? 0 : 1);
    const std::unique_ptr<EditorForm> form = page->CreateForm(address.substr(dot + 1, fieldDot - dot - 1));
    EXPECT_EQ(testing::RunOk(*form, {{address.substr(fieldDot + 1), value}}), "") << address;
  }
  EXPECT_TRUE(direct.image.IsModified());
  const ToolResult back = RunTool({"convert", dir / "out.txt", dir / "out.bin"});
  ASSERT_EQ(back.status, 0);
  const std::vector<uint8_t> expected(direct.image.rawData.begin(),
                                      direct.image.rawData.begin() + direct.image.GetUsedSize());
  EXPECT_EQ(ReadBytes(dir / "out.bin"), expected);

  const ToolResult summary = RunTool({"summary", dir / "out.bin"});
  for (const char* shown : {"Manufacturer Name...: VLM\n", "Interface Standard.: Plug & Display\n",
                            "HDCP....................: Supported\n", "Max Pixel Clock Per Link: 300MHz\n",
                            "Gamma Curve Type..........: Not Specified\n"}) {
    EXPECT_NE(summary.out.find(shown), std::string::npos) << shown;
  }
  const ToolResult fields = RunTool({"fields", dir / "out.bin"});
  EXPECT_NE(fields.out.find("di1.caps.vertical-frequency\t59.94\t"), std::string::npos);
  EXPECT_NE(fields.out.find("di1.gamma.points[4]\t77\t"), std::string::npos);
}

TEST(EditCli, ARefusedValueGivesTheDialogsMessageAndLeavesTheOutputAlone) {
  TempDir dir;
  const std::string in = CorpusDir() + "/ed-76b1b316c228.bin";
  const std::string out = dir / "kept.bin";
  WriteTextFile(out, "keep me");
  const struct {
    std::vector<std::string> assignments;
    const char* message;
  } cases[] = {
      {{"base.general.year=1989"}, "velmar-edid: base.general.year: Invalid [Year of Manufacture] value\n"},
      {{"di1.gamma.count=2", "di1.device.horizontal-pitch=2551"},
       "velmar-edid: di1.device.horizontal-pitch: Invalid Horizontal Pitch (Valid Range 0 --> 2550)\n"},
      {{"di1.general.release=Date Code", "di1.general.month=13"},
       "velmar-edid: di1.general: Invalid Month (Valid Range 1 --> 12)\n"},
      {{"di1.general.year=2000"}, "velmar-edid: di1.general.year: the field is disabled\n"},
      {{"cea9.db=add:Speaker Allocation Data Block"}, "velmar-edid: cea9.db: no block is addressed \"cea9\"\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"edit", in, out};
    args.insert(args.end(), c.assignments.begin(), c.assignments.end());
    const ToolResult result = RunTool(args);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.err, c.message);
    EXPECT_EQ(ReadTextFile(out), "keep me");
  }
  const ToolResult fresh = RunTool({"edit", in, dir / "new.bin", "base.general.year=1989"});
  EXPECT_EQ(fresh.status, 2);
  EXPECT_FALSE(Exists(dir / "new.bin"));
}

// The recipes of the README and the manual page, on a monitor with a DI-EXT block.
TEST(EditCli, TheDocumentedRecipesDoWhatTheySay) {
  TempDir dir;
  const std::string in = CorpusDir() + "/ed-76b1b316c228.bin";
  const struct {
    std::vector<std::string> assignments;
    std::vector<std::string> shown;
  } recipes[] = {
      {{"base.general.serial-number=0x00000017", "base.general.week=23", "base.general.year=2025"},
       {"Serial Number.......: 0x17\n", "Date of Manufacture.: 2025, week 23\n"}},
      {{"base.slot1.pixel-clock=14850", "base.slot1.haddressable=1920", "base.slot1.hblank=280",
        "base.slot1.hsync-start=88", "base.slot1.hsync-width=44", "base.slot1.vaddressable=1080",
        "base.slot1.vblank=45", "base.slot1.vsync-start=4", "base.slot1.vsync-width=5", "base.slot1.sync-bit1=on",
        "base.slot1.sync-bit2=on"},
       {"[Descriptor 0: Detailed Timing]\n  1920 x 1080p at 60Hz, 148.50MHz, CEA[16]\n", "VSYNC+, HSYNC+\n"}},
      {{"di1.general.interface=DVI - Dual Link - High Resolution", "di1.format.hdcp=on", "di1.format.max-clock=330",
        "di1.format.crossover=165"},
       {"Interface Standard.: DVI - Dual Link - High Resolution\n", "HDCP....................: Supported\n",
        "Max Pixel Clock Per Link: 330MHz\n", "Crossover Frequency.....: 165MHz\n"}},
  };
  for (const auto& recipe : recipes) {
    std::vector<std::string> args = {"edit", in, dir / "out.bin"};
    args.insert(args.end(), recipe.assignments.begin(), recipe.assignments.end());
    const ToolResult result = RunTool(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string summary = RunTool({"summary", dir / "out.bin"}).out;
    for (const std::string& shown : recipe.shown) EXPECT_NE(summary.find(shown), std::string::npos) << shown;
  }
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
