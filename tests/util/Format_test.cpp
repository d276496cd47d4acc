#include "util/Format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmar {
namespace {

// Texts longer than the formatter's first try, with an argument that lies in
// the very string the text goes into.
TEST(Format, LongTextsAndArgumentsInsideTheTarget) {
  const std::string long1(300, 'a');
  EXPECT_EQ(Format("<%s|%u>", long1.c_str(), 7u), "<" + long1 + "|7>");
  std::string out = "head:";
  AppendFormat(out, "%s", out.c_str());
  EXPECT_EQ(out, "head:head:");
  out = long1;
  AppendFormat(out, "%s!", out.c_str());
  EXPECT_EQ(out, long1 + long1 + "!");
  out = long1;
  AssignFormat(out, "[%s]", out.c_str());
  EXPECT_EQ(out, "[" + long1 + "]");
  AssignFormat(out, "%s", "");
  EXPECT_EQ(out, "");
}

// Inside the bounds from the table, outside them formatted on the spot: both
// give the format's own text and replace whatever `out` held.
TEST(FormatTable, GivesTheFormatsTextInsideAndOutsideTheBounds) {
  struct Case {
    const char* format;
    unsigned firstCount;
    unsigned secondCount;
    unsigned first;
    unsigned second;
    const char* text;
  };
  const Case cases[] = {
      {"(Detailed Timing). %uth Byte of Entry[%u]", 18, 8, 17, 3, "(Detailed Timing). 17th Byte of Entry[3]"},
      {"(Detailed Timing). %uth Byte of Entry[%u]", 18, 8, 18, 3, "(Detailed Timing). 18th Byte of Entry[3]"},
      {"(Detailed Timing). %uth Byte of Entry[%u]", 18, 8, 0, 9, "(Detailed Timing). 0th Byte of Entry[9]"},
      {"EDID-v%u.%u", 2, 8, 1, 4, "EDID-v1.4"},
      {"EDID-v%u.%u", 2, 8, 255, 255, "EDID-v255.255"},
      {"EXT-0x%02X", 256, 1, 0xF0, 0, "EXT-0xF0"},
      {"CEA-v%u", 256, 1, 3, 0, "CEA-v3"},
      {"Byte[%u] of Extension Block", 128, 1, 127, 0, "Byte[127] of Extension Block"},
      {"Byte[%u] of Extension Block", 128, 1, 4000000000u, 0, "Byte[4000000000] of Extension Block"},
      {"Data Byte[%u]", 0, 1, 0, 0, "Data Byte[0]"},
  };
  for (const Case& c : cases) {
    const FormatTable table(c.format, c.firstCount, c.secondCount);
    std::string out(100, 'x');
    table.Assign(out, c.first, c.second);
    EXPECT_EQ(out, c.text) << c.format << " " << c.first << " " << c.second;
  }
}

// Any texts put between the pieces give what the format gives for them.
TEST(FormatHoles, PiecesAroundTheTextsOfAFormat) {
  const std::vector<std::string> pieces = FormatHoles(Format("%u\t%s\t%s\t%s", 511u, kTextHole, kTextHole, kTextHole));
  ASSERT_EQ(pieces.size(), 4u);
  const std::vector<std::vector<std::string>> fills = {
      {"EDID-v1.3", "Checksum", ""}, {"", "", ""}, {"100%s", "a\tb", std::string(300, 'z')}};
  for (const auto& fill : fills) {
    const std::string joined = pieces[0] + fill[0] + pieces[1] + fill[1] + pieces[2] + fill[2] + pieces[3];
    EXPECT_EQ(joined, Format("%u\t%s\t%s\t%s", 511u, fill[0].c_str(), fill[1].c_str(), fill[2].c_str()));
  }
  EXPECT_EQ(FormatHoles("no holes"), std::vector<std::string>{"no holes"});
  EXPECT_EQ(FormatHoles(Format("%s%s", kTextHole, kTextHole)), (std::vector<std::string>{"", "", ""}));
}

}  // namespace
}  // namespace velmar
