#include "util/Format.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <limits>
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

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char buffer[1024];
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return length < 0 ? std::string("<error>") : std::string(buffer, static_cast<size_t>(length));
}

// Every combination of flags, width and precision of every conversion the
// program's texts use gives, for numbers at and around the limits of each
// type, exactly the C library's text.
TEST(Format, MatchesTheCLibraryForEveryOptionOfTheConversionsInUse) {
  const char* const flags[] = {"", "-", "0", "+", " ", "#", "-0", "+0", " 0", "#0", "-#", "+ ", "-+#0 "};
  const char* const widths[] = {"", "1", "2", "5", "12", "*"};
  const char* const precisions[] = {"", ".", ".0", ".1", ".3", ".8", ".*"};
  const int stars[] = {-7, -1, 0, 3, 9};
  const long long signedValues[] = {0, 1, -1, 7, -42, 255, 4096, INT32_MAX, INT32_MIN, INT64_MAX, INT64_MIN};
  const unsigned long long unsignedValues[] = {0, 1, 8, 15, 16, 255, 4096, 0x7FFFFFFF, UINT32_MAX, UINT64_MAX};
  const double doubles[] = {0.0,  -0.0,   0.5,   1.005, 2.5,     -59.94,     148.5,         1e-7,   123456789.125,
                            1e300, 0.125, 0.375, -0.5,  -0.0001, 9999999999.5, 5e-324, 0.0009765625};
  const char* const texts[] = {"", "a", "EDID", "Detailed Timing Descriptor"};
  int checked = 0;
  for (const char* flag : flags) {
    for (const char* width : widths) {
      for (const char* precision : precisions) {
        const std::string options = std::string("%") + flag + width + precision;
        const bool starWidth = width[0] == '*';
        const bool starPrecision = std::string(precision) == ".*";
        for (const int star : stars) {
          // Calls with the stars' values in front of the argument.
          auto check = [&](const std::string& format, auto value) {
            std::string expected;
            std::string actual;
            if (starWidth && starPrecision) {
              expected = Printf(format.c_str(), star, star + 2, value);
              actual = Format(format.c_str(), star, star + 2, value);
            } else if (starWidth || starPrecision) {
              expected = Printf(format.c_str(), star, value);
              actual = Format(format.c_str(), star, value);
            } else {
              expected = Printf(format.c_str(), value);
              actual = Format(format.c_str(), value);
            }
            ASSERT_EQ(actual, expected) << format << " star " << star;
            ++checked;
          };
          for (const long long v : signedValues) {
            check(options + "d", static_cast<int>(v));
            check(options + "i", static_cast<int>(v));
            check(options + "ld", static_cast<long>(v));
            check(options + "lld", v);
            check(options + "hhd", static_cast<int>(static_cast<signed char>(v)));
            check(options + "hd", static_cast<int>(static_cast<short>(v)));
          }
          for (const unsigned long long v : unsignedValues) {
            for (const char* conversion : {"u", "x", "X", "o"}) {
              check(options + conversion, static_cast<unsigned>(v));
              check(options + "l" + conversion, static_cast<unsigned long>(v));
              check(options + "z" + conversion, static_cast<size_t>(v));
              check(options + "hh" + conversion, static_cast<unsigned>(static_cast<unsigned char>(v)));
            }
          }
          for (const double v : doubles) {
            for (const char* conversion : {"f", "e", "g", "G"}) check(options + conversion, v);
          }
          if (flag[0] != '0' && std::string(flag).find('0') == std::string::npos) {
            for (const char* text : texts) check(options + "s", text);
            check(options + "s", static_cast<const char*>(nullptr));
            check(options + "c", 'E');
          }
          if (!starWidth && !starPrecision) break;
        }
      }
    }
  }
  EXPECT_GT(checked, 100000);
  // Whole texts: literal parts, "%%", several conversions in a row.
  EXPECT_EQ(Format("100%% of %u: %02X-%s|%-4u|%c%.3f", 7u, 0xABu, "x", 5u, 'q', 1.0005),
            Printf("100%% of %u: %02X-%s|%-4u|%c%.3f", 7u, 0xABu, "x", 5u, 'q', 1.0005));
}

// "%f" of numbers of every size and of the sixteenths, thousandths and 1/1001
// steps the texts print, in every precision: the C library's digits.
TEST(Format, FixedPointNumbersMatchTheCLibrary) {
  std::mt19937_64 random(20261208);
  std::vector<double> values;
  for (int i = 0; i < 4000; ++i) {
    values.push_back(static_cast<double>(random() % 200000) / 1024.0);
    values.push_back(static_cast<double>(random() % 100000) * 1000.0 / 1001.0);
    values.push_back(-static_cast<double>(random() % 100000000) / 1000.0);
    uint64_t bits = random();
    double any = 0;
    std::memcpy(&any, &bits, sizeof any);
    values.push_back(any);
  }
  for (const double value : values) {
    for (const char* format : {"%.0f", "%.1f", "%.2f", "%.3f", "%.6f", "%.9f", "%f", "%+08.2f", "%-9.3f|"}) {
      ASSERT_EQ(Format(format, value), Printf(format, value)) << format << " " << value;
    }
  }
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
