// velmar-edid when a file is not what it should be: the reason is printed, the
// exit status says so and the output file stays exactly as it was; what the
// image leaves out is counted; runs over many files name each message's file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/MainWindowCore.h"
#include "cli/ToolRunner.h"
#include "display/SimLibrary.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::ReadTextFile;
using testing::RunTool;
using testing::ToolResult;
using testing::WriteTextFile;

constexpr char kNoBlock[] = "Operation Failed. Need valid EDID with at least 1 block\n";
constexpr char kKept[] = "the user's only copy\n";

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Hex(const std::string& bytes) {
  std::string text;
  for (char c : bytes) text += Format("%02X ", static_cast<uint8_t>(c));
  return text;
}

class CliFailuresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    base = Text(testing::MakeBase13());
  }
  void TearDown() override { testing::RemoveTree(dir); }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  std::string Write(const std::string& name, const std::string& contents) const {
    WriteTextFile(Path(name), contents);
    return Path(name);
  }

  std::string dir;
  std::string base;
};

TEST_F(CliFailuresTest, ConvertFailuresPrintTheReasonAndLeaveOutAsItWas) {
  std::string wide;  // an INF file saved as UTF-16 without its byte order mark
  for (char c : std::string("HKR,EDID_OVERRIDE,\"0\",0x01,0x00\r\n")) wide += std::string(1, c) + '\0';
  std::string tooMany;
  for (int i = 0; i < 513; ++i) tooMany += "00 ";
  ASSERT_EQ(::mkfifo(Path("fifo.bin").c_str(), 0600), 0);
  std::filesystem::create_directory(Path("folder.bin"));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Write("typo.txt", Hex(base).replace(4, 1, "O")), "Invalid File Format\n"},
      {Write("many.txt", tooMany), "Maximum EDID size overflow\n"},
      {Write("bad.reg", "\"NEXOEmulatedEDID_D0\"=hex:00,zz\n"), "Invalid File Format\n"},
      {Write("junk.inf", "[Version]\r\nClass=Monitor\r\n"), kNoBlock},
      {Write("wide.inf", wide), kNoBlock},
      {Write("junk.reg", "not a registry export\n"), kNoBlock},
      {Write("empty.bin", ""), kNoBlock},
      {Write("empty.txt", ""), kNoBlock},
      {Write("noise.bin", "\x01\x02\x03"), "Failed to create Base Block\n"},
      {Path("missing.bin"), "Failed to open [" + Path("missing.bin") + "] for reading: No such file or directory\n"},
      {Path("fifo.bin"), "Failed to open [" + Path("fifo.bin") + "] for reading: Not a regular file\n"},
      {Path("folder.bin"), "Failed to open [" + Path("folder.bin") + "] for reading: Is a directory\n"},
  };
  for (const auto& [in, message] : cases) {
    for (const char* out : {"out.txt", "out.reg"}) {
      Write(out, kKept);
      const ToolResult result =
          RunTool({"convert", in, Path(out), "--reg-key", "K", "--reg-value", "NEXOEmulatedEDID_D0"});
      EXPECT_EQ(result.status, 1) << in;
      EXPECT_EQ(result.err, message) << in;
      EXPECT_EQ(ReadTextFile(Path(out)), kKept) << in;
    }
  }
  // The user's only copy, with one typo, converted onto itself.
  const std::string dump = Write("dump.txt", Hex(base).replace(4, 1, "O"));
  EXPECT_EQ(RunTool({"convert", dump, dump}).status, 1);
  EXPECT_EQ(ReadTextFile(dump), Hex(base).replace(4, 1, "O"));
}

TEST_F(CliFailuresTest, AValidFileConvertedOntoItselfStaysTheSame) {
  const std::vector<std::string> options = {"--date", "1/2/2025", "--reg-key", "SYSTEM\\K", "--reg-value",
                                            "NEXOEmulatedEDID_A1"};
  for (const char* name : {"ed-6d7c99668026.bin", "ed-087fc036424b.bin"}) {
    for (const char* extension : {"txt", "bin", "inf", "reg"}) {
      const std::string file = Path(std::string("x.") + extension);
      std::vector<std::string> args = {"convert", testing::CorpusDir() + "/" + name, file};
      args.insert(args.end(), options.begin(), options.end());
      ASSERT_EQ(RunTool(args).status, 0) << name << " " << extension;
      const std::string before = ReadTextFile(file);
      args[1] = file;
      const ToolResult again = RunTool(args);
      EXPECT_EQ(again.status, 0) << again.err;
      EXPECT_EQ(ReadTextFile(file), before) << name << " " << extension;
    }
  }
}

TEST_F(CliFailuresTest, BytesAfterTheLastBlockAreCountedInAWarning) {
  const std::string missing = Text(testing::MakeBase13(1));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Write("long.bin", base + std::string(472, '\x77')),
       "warning: 472 bytes after the last block, from byte 128 on, were ignored\n"},
      {Write("long.txt", Hex(base) + "AA BB"), "warning: 2 bytes after the last block, from byte 128 on, were ignored\n"},
      // A zero tag: no extension block, though not all zero.
      {Write("lost.bin", missing + std::string(1, '\0') + std::string(127, '\x55')),
       "Failed to create Extension Block\nwarning: 128 bytes after the last block, from byte 128 on, were ignored\n"},
      {Write("exact.bin", base), ""},
  };
  for (const auto& [in, message] : cases) {
    const ToolResult summary = RunTool({"summary", in});
    EXPECT_EQ(summary.status, 0) << in;
    EXPECT_EQ(summary.err, message) << in;
    const ToolResult convert = RunTool({"convert", in, Path("out.bin")});
    EXPECT_EQ(convert.status, 0) << in;
    EXPECT_EQ(convert.err, message) << in;
    EXPECT_EQ(ReadTextFile(Path("out.bin")).size(), 128u) << in;
  }
}

TEST_F(CliFailuresTest, SeveralFilesNameEachMessageAndAnUnloadableFilePrintsOnlyIt) {
  const std::string good = Write("good.bin", base);
  const std::string licence = Write("LICENSE.txt", "Permission is hereby granted, free of charge, to any person\n");
  const std::string missing = Write("missing.bin", Text(testing::MakeBase13(1)));
  const ToolResult several = RunTool({"summary", good, licence, missing});
  EXPECT_EQ(several.status, 1);
  EXPECT_EQ(several.err, licence + ": Invalid File Format\n" + missing + ": Failed to create Extension Block\n");
  EXPECT_NE(several.out.find("==> " + licence + " <==\n==> " + missing + " <==\n[EDID RAW DATA]\n"), std::string::npos);

  const ToolResult one = RunTool({"report", licence});
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(one.out, "");
  EXPECT_EQ(one.err, "Invalid File Format\n");

  const ToolResult dots = RunTool({"modes", good, Path("monitor.")});
  EXPECT_EQ(dots.err, Path("monitor.") + ": no extension after the last dot tells the file's format\n");
}

TEST_F(CliFailuresTest, FileNamesComeFromAFileOrStandardInput) {
  const std::string a = Write("a.bin", base);
  const std::string b = Write("b.txt", Hex(base));
  const std::string c = Write("c.bin", Text(testing::MakeBase13(1)));
  const ToolResult expected = RunTool({"bytes", a, b, c});
  ASSERT_EQ(expected.status, 0);

  const std::string list = Write("list", b + "\n\n" + c + "\n");
  const ToolResult fromFile = RunTool({"bytes", a, "--files-from", list});
  EXPECT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.out, expected.out);
  EXPECT_EQ(fromFile.err, expected.err);

  testing::ToolOptions input;
  input.stdinPath = Write("all", a + "\n" + b + "\n" + c);
  const ToolResult fromStdin = RunTool({"bytes", "--files-from", "-"}, input);
  EXPECT_EQ(fromStdin.status, 0);
  EXPECT_EQ(fromStdin.out, expected.out);

  const ToolResult none = RunTool({"modes", "--files-from", Write("empty", "")});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");

  const ToolResult unreadable = RunTool({"summary", "--files-from", Path("nothing")});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_EQ(unreadable.err,
            "velmar-edid: Failed to open [" + Path("nothing") + "] for reading: No such file or directory\n");
  EXPECT_EQ(RunTool({"convert", a, Path("x.bin"), "--files-from", list}).status, 2);
}

TEST_F(CliFailuresTest, RegValueNamesTheReaderWouldSkipAreRefused) {
  const std::string in = Write("in.bin", base);
  for (const std::string name : {"EDID", "NEXOEmulated_D0", "EmulatedEDID_D0", "NEXOEmulatedEDID=hex:00"}) {
    const ToolResult result = RunTool({"convert", in, Path("out.reg"), "--reg-key", "K", "--reg-value", name});
    EXPECT_EQ(result.status, 2) << name;
    EXPECT_EQ(result.err, "velmar-edid: invalid value name '" + name +
                              "' for --reg-value: the REG reader only reads values named like NEXOEmulatedEDID_D0 or "
                              "NEXOEmulatedEDID_A1\n");
    EXPECT_FALSE(std::filesystem::exists(Path("out.reg"))) << name;
  }
  // Any name the reader counts loads back.
  const ToolResult accepted =
      RunTool({"convert", in, Path("ok.reg"), "--reg-key", "K", "--reg-value", "nexoEmulatedEDID_D7"});
  ASSERT_EQ(accepted.status, 0) << accepted.err;
  ASSERT_EQ(RunTool({"convert", Path("ok.reg"), Path("back.bin")}).status, 0);
  EXPECT_EQ(ReadTextFile(Path("back.bin")), base);
}

class CliDisplayFailuresTest : public CliFailuresTest {
 protected:
  void SetUp() override {
    CliFailuresTest::SetUp();
    ::setenv("VELMAR_PEXA_LIBRARY", VELMAR_PEXA_SIM_LIBRARY, 1);
  }
  void TearDown() override {
    ::unsetenv("VELMAR_PEXA_LIBRARY");
    CliFailuresTest::TearDown();
  }
  void OneDisplayAnswering(const std::string& edid) {
    sim.Configure("adapter name=GPU path=\"\\REGISTRY\\MACHINE\\SYSTEM\\Sim\"\n"
                  "display adapter=0 index=5 name=Screen edid=" +
                  sim.WriteBytes("e.bin", std::vector<uint8_t>(edid.begin(), edid.end())) + "\n");
  }

  testing::SimLibrary sim;
};

TEST_F(CliDisplayFailuresTest, ReadDisplayWithoutABlockLeavesOutAsItWas) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {std::string(128, '\x01'), "Failed to create Base Block\n"},
      {std::string(128, '\0'), kNoBlock},
  };
  for (const auto& [edid, message] : cases) {
    OneDisplayAnswering(edid);
    Write("out.bin", kKept);
    const ToolResult result = RunTool({"read-display", "0", Path("out.bin")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, message);
    EXPECT_EQ(ReadTextFile(Path("out.bin")), kKept);
  }
}

TEST_F(CliDisplayFailuresTest, AnImageMissingAnnouncedExtensionsIsNeverSent) {
  OneDisplayAnswering(base);
  const std::string incomplete = Write("incomplete.bin", Text(testing::MakeBase13(2)));
  const std::string refusal = "Not sent: the base block announces 2 extension blocks but the image holds 0";
  const ToolResult result = RunTool({"override-display", "0", incomplete});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Failed to create Extension Block\n" + refusal + "\n");

  // The desktop program's "Override display EDID" refuses it as well.
  testing::ScriptedUserInterface ui;
  MainWindowCore core(ui);
  core.Displays().SetLibraryCandidates(testing::SimLibrary::Candidates());
  core.Initialize({incomplete});
  ui.choices = {0};
  core.OverrideDisplayEdid();
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Failed to create Extension Block", refusal}));
  EXPECT_TRUE(sim.Requests().empty());
}

}  // namespace
}  // namespace velmar
