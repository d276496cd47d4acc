// The command line shows extension blocks that no model decodes.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace velmar
