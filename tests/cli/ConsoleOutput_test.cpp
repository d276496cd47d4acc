#include "cli/ConsoleUserInterface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace velmar::cli {
namespace {

// What a ConsoleOutput prints for `pieces`, given one after the other.
std::string Printed(const std::vector<std::string>& pieces, bool crlf) {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  {
    ConsoleOutput output(out, stderr, crlf);
    for (const std::string& piece : pieces) output.Text(piece);
    EXPECT_TRUE(output.Finish());
  }
  std::fclose(out);
  std::string printed(data, size);
  std::free(data);
  return printed;
}

// Documents are made with CR LF line ends; printed with LF, each CR LF pair
// loses its CR wherever the pieces cut it, and any other CR stays.
TEST(ConsoleOutput, CrLfPairsBecomeLfWhereverThePiecesCutThem) {
  struct Case {
    std::vector<std::string> pieces;
    std::string lf;
  };
  const Case cases[] = {
      {{"a\r\nb\r\n"}, "a\nb\n"},
      {{"a\r", "\nb"}, "a\nb"},
      {{"a\r", "b"}, "a\rb"},
      {{"a\r", "\r", "\n"}, "a\r\n"},
      {{"\r"}, "\r"},
      {{"a\r\r\n\rb\n"}, "a\r\n\rb\n"},
      {{"", "x", "", "\r\n"}, "x\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Printed(c.pieces, false), c.lf);
    std::string joined;
    for (const std::string& piece : c.pieces) joined += piece;
    EXPECT_EQ(Printed(c.pieces, true), joined);
  }
}

// Pieces larger than the output's buffer, and many that fill it over and
// over, come out whole and in order.
TEST(ConsoleOutput, LongTextsComeOutWhole) {
  // 65 bytes a line: the fourth 64 KiB of the document ends between a CR and its LF.
  const std::string line = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcde\r\n";
  ASSERT_EQ(line.size(), 65u);
  std::string document;
  for (int i = 0; i < 5000; ++i) document += line;
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += line.substr(0, line.size() - 2) + "\n";
  EXPECT_EQ(Printed({document}, false), expected);
  EXPECT_EQ(Printed(std::vector<std::string>(5000, line), false), expected);
  EXPECT_EQ(Printed({document}, true), document);
}

// A row of cells is one line, tab-separated, with the chosen line end, even
// when it does not fit the buffer.
TEST(ConsoleOutput, CellsMakeOneTabSeparatedLine) {
  const std::string cells[] = {"1920x1080", "", "60Hz", std::string(70000, 'x'), "end"};
  for (const bool crlf : {false, true}) {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    {
      ConsoleOutput output(out, stderr, crlf);
      output.Text("a\r");
      output.Cells(cells, 3);
      output.Cells(cells, 5);
      output.Cells(cells, 0);
      EXPECT_TRUE(output.Finish());
    }
    std::fclose(out);
    const std::string eol = crlf ? "\r\n" : "\n";
    EXPECT_EQ(std::string(data, size), "a\r1920x1080\t\t60Hz" + eol + "1920x1080\t\t60Hz\t" + cells[3] + "\tend" +
                                           eol + eol);
    std::free(data);
  }
}

}  // namespace
}  // namespace velmar::cli
