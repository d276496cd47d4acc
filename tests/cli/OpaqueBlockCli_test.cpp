// The command line shows extension blocks that no model decodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/ToolRunner.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::RunTool;
using testing::ToolResult;

std::string Corpus(const std::string& name) { return testing::CorpusDir() + "/" + name; }

TEST(OpaqueBlockCli, SummaryAndBytesShowTheBlock) {
  const std::string file = Corpus("lhw-265e4a0a36bc.bin");
  const ToolResult summary = RunTool({"summary", file});
  ASSERT_EQ(summary.status, 0) << summary.err;
  EXPECT_NE(summary.out.find("[EDID EXTENSION BLOCK: VTB Extension]"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("  Extension Tag.............: 0x10"), std::string::npos);

  const ToolResult bytes = RunTool({"bytes", file});
  ASSERT_EQ(bytes.status, 0) << bytes.err;
  EXPECT_NE(bytes.out.find("\n128\tEXT-0x10\tExtension tag\tByte[0] of Extension Block\n"), std::string::npos);
  EXPECT_NE(bytes.out.find("\n129\tEXT-0x10\tData\tByte[1] of Extension Block\n"), std::string::npos);
  EXPECT_NE(bytes.out.find("\n255\tEXT-0x10\tChecksum\t\n"), std::string::npos);
}

TEST(OpaqueBlockCli, BlockMapEntriesInTheSummaryAndByteMap) {
  const std::string file = Corpus("ldi-132703297bad.bin");
  const ToolResult summary = RunTool({"summary", file});
  ASSERT_EQ(summary.status, 0) << summary.err;
  EXPECT_NE(summary.out.find("  Block 2...................: 0x02 (CEA ExtBlock)"), std::string::npos) << summary.out;
  const ToolResult bytes = RunTool({"bytes", file});
  EXPECT_NE(bytes.out.find("\n130\tEXT-0xF0\tData\t(Block Map). Tag of Block[3]\n"), std::string::npos);
}

TEST(OpaqueBlockCli, ALongerFileIsNeverConvertedOntoItself) {
  const std::string dir = testing::MakeTempDir();
  // A base block announcing five CEA extensions: 768 bytes.
  std::vector<uint8_t> bytes = testing::MakeBase13(5);
  bytes.resize(768, 0);
  for (unsigned at = 128; at < 768; at += 128) {
    bytes[at] = 0x02;
    bytes[at + 1] = 0x03;
    testing::FixChecksum(bytes.data() + at);
  }
  const std::string file = dir + "/long.bin";
  testing::WriteTextFile(file, std::string(bytes.begin(), bytes.end()));

  const ToolResult report = RunTool({"report", file});
  EXPECT_EQ(report.status, 0) << report.err;
  const std::string note = "The EDID holds 6 blocks (768 bytes); only the first 4 (512 bytes) are kept";
  EXPECT_NE(report.err.find(note), std::string::npos) << report.err;
  EXPECT_NE(report.out.find("  " + note), std::string::npos) << report.out;

  const ToolResult same = RunTool({"convert", file, file});
  EXPECT_EQ(same.status, 1);
  EXPECT_NE(same.err.find("[" + file + "] was not written over"), std::string::npos) << same.err;
  EXPECT_EQ(testing::ReadBytes(file), bytes);

  const ToolResult other = RunTool({"convert", file, dir + "/short.bin"});
  EXPECT_EQ(other.status, 0) << other.err;
  EXPECT_EQ(testing::ReadBytes(dir + "/short.bin").size(), 512u);
  testing::RemoveTree(dir);
}

}  // namespace
}  // namespace velmar
