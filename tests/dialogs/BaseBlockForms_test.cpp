// The editor forms of the base block page, driven through the page: each
// message for its bad input, one edit per form checked in the bytes and the
// summary, and on the real EDIDs one field edited with every other byte kept.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "dialogs/FormTestSupport.h"
#include "pages/EdidBaseBlockPage.h"

namespace velmar {
namespace {

using testing::FieldChanges;

// Assigning this value to a list takes its choice away, as no control of the
// dialogs can but a list whose stored value it cannot name starts that way.
constexpr const char* kNoChoice = "(no choice)";

// A default base block (1.3, or 1.4 with `is14`) with descriptors of the
// given kinds created in slots 0-3 (0 leaves the dummy).
std::vector<uint8_t> MakeBlock(bool is14, std::array<unsigned, 4> kinds = {}) {
  std::vector<uint8_t> bytes(kBlockSize);
  if (is14) {
    Edid14Block::InitDefaultBytes(bytes.data(), kBlockSize);
    Edid14Block model(0, bytes.data(), kBlockSize, nullptr);
    for (unsigned slot = 0; slot < 4; ++slot) {
      if (kinds[slot] != 0) model.CreateDescriptor(kinds[slot], slot);
    }
  } else {
    Edid13Block::InitDefaultBytes(bytes.data(), kBlockSize);
    Edid13Block model(0, bytes.data(), kBlockSize, nullptr);
    for (unsigned slot = 0; slot < 4; ++slot) {
      if (kinds[slot] != 0) model.CreateDescriptor(kinds[slot], slot);
    }
  }
  return bytes;
}

// Opens `form` of the page of `bytes`, makes the changes, presses OK: the message.
std::string RunForm(testing::LoadedImage& loaded, const char* form, const FieldChanges& changes) {
  std::unique_ptr<EditorForm> editor = loaded.Page(0)->CreateForm(form);
  if (editor == nullptr) return "no form";
  for (const auto& [name, value] : changes) {
    if (value == kNoChoice) {
      EXPECT_TRUE(editor->Select(name, -1)) << form << "." << name;
      continue;
    }
    std::string error;
    EXPECT_TRUE(editor->Assign(name, value, error)) << form << "." << name << "=" << value << ": " << error;
  }
  std::string message;
  editor->Accept(message);
  return message;
}

constexpr std::array<unsigned, 4> kRange = {kDescriptorRangeLimits, 0, 0, 0};

TEST(BaseBlockFormsTest, EachBadInputGivesItsMessageAndWritesNothing) {
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    const char* form;
    FieldChanges changes;
    const char* message;
  } cases[] = {
      {false, {}, "basic", {{"size-mode", "HSize(cm)"}, {"hsize", "256"}},
       "Invalid [Screen HSize(cm)] value (Valid range 0 --> 255)"},
      {false, {}, "basic", {{"size-mode", "HSize(cm)"}, {"hsize", "-1"}},
       "Invalid [Screen HSize(cm)] value (Valid range 0 --> 255)"},
      {false, {}, "basic", {{"size-mode", "HSize(cm)"}, {"hsize", "20"}, {"vsize", "1000"}},
       "Invalid [Screen VSize(cm)] value (Valid range 0 --> 255)"},
      {true, {}, "basic", {{"size-mode", "Aspect Ratio"}}, "Invalid [Aspect Ratio] value"},
      {false, {}, "basic", {{"gamma", "3.55"}}, "Invalid [Gamma] value (Valid range 1.0 --> 3.54)"},
      {false, {}, "basic", {{"gamma", "0.99"}}, "Invalid [Gamma] value (Valid range 1.0 --> 3.54)"},
      {false, {}, "basic", {{"gamma", "-2.2"}}, "Invalid [Gamma] value (Valid range 1.0 --> 3.54)"},
      {false, {}, "basic", {{"color-type", kNoChoice}}, "Invalid [Color Type] value"},
      {true, {}, "basic", {{"input", "Digital Signal"}, {"color-depth", kNoChoice}}, "Invalid [Color Depth] value"},
      {true, {}, "basic", {{"input", "Digital Signal"}, {"interface", kNoChoice}},
       "Invalid [Interface Standard] value"},
      {false, {}, "basic", {{"signal-level", kNoChoice}}, "Invalid [Signal Level] value"},

      {false, {}, "color", {{"red-x", "1.0001"}}, "Invalid RedX value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"red-y", "-0.1"}}, "Invalid RedY value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"green-x", "0.5.1"}}, "Invalid GreenX value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"green-y", "2"}}, "Invalid GreenY value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"blue-x", "x"}}, "Invalid BlueX value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"blue-y", "1e3"}}, "Invalid BlueY value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"white-x", "-0"}}, "Invalid WhiteX value (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {}, "color", {{"white-y", "1024"}}, "Invalid WhiteY value (Valid Range 0 --> 1 excluding 0 and 1)"},

      {false, {}, "standard", {{"used[0]", "on"}, {"width[0]", "2296"}, {"refresh[0]", "60"}},
       "Entry[0]: Invalid Width (Valid range 256 --> 2288, divisible by 8)"},
      {false, {}, "standard", {{"used[3]", "on"}, {"width[3]", "1001"}, {"refresh[3]", "60"}},
       "Entry[3]: Invalid Width (Valid range 256 --> 2288, divisible by 8)"},
      {false, {}, "standard", {{"used[0]", "on"}, {"width[0]", "248"}, {"refresh[0]", "60"}},
       "Entry[0]: Invalid Width (Valid range 256 --> 2288, divisible by 8)"},
      {false, {}, "standard", {{"used[7]", "on"}, {"width[7]", "1024"}, {"refresh[7]", "124"}},
       "Entry[7]: Invalid Refresh Rate (Valid range 60 --> 123)"},
      {false, {kDescriptorStandardTimings, 0, 0, 0}, "slot1", {{"used[5]", "on"}, {"width[5]", "1024"}},
       "Entry[5]: Invalid Refresh Rate (Valid range 60 --> 123)"},

      {false, {0, kDescriptorColorPoint, 0, 0}, "slot2", {{"index[0]", "256"}},
       "Entry[0]: Invalid White Point Index (Valid Range 0 --> 255)"},
      {false, {0, kDescriptorColorPoint, 0, 0}, "slot2", {{"index[1]", "1"}, {"white-x[1]", "1.5"}},
       "Entry[1]: Invalid WhiteX (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {0, kDescriptorColorPoint, 0, 0}, "slot2", {{"index[0]", "1"}, {"white-y[0]", "-0.25"}},
       "Entry[0]: Invalid WhiteY (Valid Range 0 --> 1 excluding 0 and 1)"},
      {false, {0, kDescriptorColorPoint, 0, 0}, "slot2", {{"gamma-defined[1]", "on"}, {"gamma[1]", "3.6"}},
       "Entry[1]: Invalid Gamma (Valid Range 1.0 --> 3.54)"},

      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"red-a3", "327.68"}},
       "Invalid Red-a3 value (Valid Range -327.7 --> +327.7)"},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"red-a2", "-327.69"}},
       "Invalid Red-a2 value (Valid Range -327.7 --> +327.7)"},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"green-a3", "1,5"}},
       "Invalid Green-a3 value (Valid Range -327.7 --> +327.7)"},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"green-a2", "99999999999"}},
       "Invalid Green-a2 value (Valid Range -327.7 --> +327.7)"},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"blue-a3", "400"}},
       "Invalid Blue-a3 value (Valid Range -327.7 --> +327.7)"},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"blue-a2", "-400"}},
       "Invalid Blue-a2 value (Valid Range -327.7 --> +327.7)"},

      {true, {0, 0, 0, kDescriptorCvtCodes}, "slot4", {{"used[0]", "on"}, {"aspect[0]", "16x9"}},
       "Entry[0]: Invalid Height (Valid range 4 --> 8190, divisible by 2)"},
      {true, {0, 0, 0, kDescriptorCvtCodes}, "slot4", {{"used[2]", "on"}, {"height[2]", "1081"}},
       "Entry[2]: Invalid Height (Valid range 4 --> 8190, divisible by 2)"},
      {true, {0, 0, 0, kDescriptorCvtCodes}, "slot4", {{"used[3]", "on"}, {"height[3]", "8192"}},
       "Entry[3]: Invalid Height (Valid range 4 --> 8190, divisible by 2)"},
      {true, {0, 0, 0, kDescriptorCvtCodes}, "slot4", {{"used[1]", "on"}, {"height[1]", "1080"}},
       "Entry[1]: Invalid Aspect Ratio selection"},

      {true, kRange, "slot1", {{"hrate-offset", kNoChoice}}, "Invalid Horizontal Rate offset"},
      {true, kRange, "slot1", {{"vrate-offset", kNoChoice}}, "Invalid Vertical Rate offset"},
      {false, kRange, "slot1", {{"timing-support", kNoChoice}}, "Invalid Video Timing Support"},
      {false, kRange, "slot1", {{"hrate-min", "50"}, {"hrate-max", "40"}},
       "Invalid Horizontal Rates (Min Rate should be lees then Max Rate)"},
      {true, kRange, "slot1", {{"hrate-offset", "Max + 255Hz, Min + 254Hz"}, {"hrate-min", "50"}, {"hrate-max", "40"}},
       "Invalid Horizontal Rates (Min Rate should be lees then Max Rate)"},
      {false, kRange, "slot1", {{"vrate-min", "100"}, {"vrate-max", "99"}},
       "Invalid Vertical Rates (Min Rate should be lees then Max Rate)"},
      {false, kRange, "slot1", {{"hrate-min", "0"}}, "Invalid Horizontal Min Rate (Valid range 1KHz --> 254KHz)"},
      {false, kRange, "slot1", {{"hrate-min", "255"}}, "Invalid Horizontal Min Rate (Valid range 1KHz --> 254KHz)"},
      {false, kRange, "slot1", {{"hrate-max", "256"}}, "Invalid Horizontal Min Rate (Valid range 2KHz --> 255KHz)"},
      {false, kRange, "slot1", {{"vrate-min", "-1"}}, "Invalid Vertical Min Rate (Valid range 1KHz --> 254Hz)"},
      {false, kRange, "slot1", {{"vrate-max", "1"}}, "Invalid Vertical Min Rate (Valid range 2KHz --> 255Hz)"},
      {false, kRange, "slot1", {{"max-clock", "9"}}, "Invalid Max Pixel Clock (Valid range 10MHz --> 2550MHz)"},
      {false, kRange, "slot1", {{"max-clock", "2551"}}, "Invalid Max Pixel Clock (Valid range 10MHz --> 2550MHz)"},
      {false, kRange, "slot1", {{"timing-support", "Secondary GTF supported"}, {"gtf-start", "512"}},
       "Invalid GTF start break frequency (Valid range 0 --> 510)"},
      {false, kRange, "slot1", {{"timing-support", "Secondary GTF supported"}, {"gtf-c", "128"}},
       "Invalid GTF C parameter (Valid range 0 --> 127)"},
      {false, kRange, "slot1", {{"timing-support", "Secondary GTF supported"}, {"gtf-m", "65536"}},
       "Invalid GTF M parameter (Valid range 0 --> 65535)"},
      {false, kRange, "slot1", {{"timing-support", "Secondary GTF supported"}, {"gtf-k", "256"}},
       "Invalid GTF K parameter (Valid range 0 --> 255)"},
      {false, kRange, "slot1", {{"timing-support", "Secondary GTF supported"}, {"gtf-j", "-1"}},
       "Invalid GTF J parameter (Valid range 0 --> 127)"},
      {true, kRange, "slot1",
       {{"timing-support", "CVT supported"}, {"cvt-preferred-aspect", "16x9"}, {"cvt-max-line-length", "1024"}},
       "Invalid CVT Max line length (Valid range 0 --> 1023)"},
      {true, kRange, "slot1",
       {{"timing-support", "CVT supported"}, {"cvt-preferred-aspect", "16x9"}, {"cvt-clock-precision", "15861"}},
       "Invalid CVT Pixel Clock precision (Valid range 0KHz --> 15860KHz)"},
      {true, kRange, "slot1",
       {{"timing-support", "CVT supported"}, {"cvt-preferred-aspect", "16x9"}, {"cvt-clock-precision", "10000"}},
       "Invalid CVT Pixel Clock precision (Shoudl be less then Max Pixel Clock)"},
      {true, kRange, "slot1",
       {{"timing-support", "CVT supported"}, {"cvt-preferred-aspect", "16x9"}, {"cvt-preferred-rate", "256"}},
       "Invalid CVT Max Vertical Rate (Valid range 0Hz --> 255Hz)"},
      {true, kRange, "slot1", {{"timing-support", "CVT supported"}}, "Invalid CVT Preferred Aspect Ratio"},

      {false, {0, 0, kDescriptorProductName, 0}, "slot3", {{"text", "ABCDEFGHIJKLMN"}},
       "String too long. Maximum length 13 characters"},
  };
  for (const auto& c : cases) {
    testing::LoadedImage loaded(MakeBlock(c.is14, c.kinds));
    const auto before = loaded.image.rawData;
    EXPECT_EQ(RunForm(loaded, c.form, c.changes), c.message) << c.form << " " << c.changes.back().first;
    EXPECT_TRUE(loaded.image.rawData == before) << c.message;
    EXPECT_FALSE(loaded.image.IsModified());
  }
}

TEST(BaseBlockFormsTest, AnEditReachesItsBytesAndTheSummary) {
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    const char* form;
    FieldChanges changes;
    unsigned offset;  // block byte where `bytes` start
    std::vector<uint8_t> bytes;
    const char* summary;
  } cases[] = {
      {false, {}, "general", {{"manufacturer", "VLM"}, {"product-code", "0x1234"}}, 8, {0x59, 0x8D, 0x34, 0x12},
       "  Manufacturer Name...: VLM\r\n  Product Code........: 0x1234\r\n"},
      {false, {}, "general", {{"week", "7"}, {"year", "2020"}}, 16, {7, 30}, "  Date of Manufacture.: 2020, week 7\r\n"},
      {false, {}, "basic", {{"gamma", "2.2"}, {"standby", "on"}}, 23, {0x78, 0x80},
       "  Gamma...........................: 2.20\r\n  Standby.........................: Supported\r\n"},
      {true, {}, "basic",
       {{"input", "Digital Signal"}, {"color-depth", "8 Bits per Color"}, {"interface", "DisplayPort"},
        {"color-type", "RGB4:4:4 & YCbCr4:2:2"}},
       20, {0xA5},
       "  Color Depth.....................: 8 Bits per Color\r\n"
       "  Interface Type..................: DisplayPort\r\n"},
      {false, {}, "color", {{"white-x", "0.3125"}, {"white-y", "0.3291"}}, 26, {0x01},
       "  White Point.......: X=0.312, Y=0.329\r\n"},
      {false, {}, "established", {{"timings[2]", "on"}}, 35, {0x20}, "   640 x 480  at 60Hz\r\n"},
      {false, {}, "standard",
       {{"used[0]", "on"}, {"width[0]", "1920"}, {"refresh[0]", "60"}, {"aspect[0]", "LandScape  16x9"}}, 38,
       {0xD1, 0xC0}, "  1920 x 1080 at 60Hz,  LandScape  16x9\r\n"},
      {false, {0, kDescriptorStandardTimings, 0, 0}, "slot2",
       {{"used[0]", "on"}, {"width[0]", "1280"}, {"refresh[0]", "75"}, {"aspect[0]", "LandScape  5x4"}}, 72 + 5,
       {0x81, 0x8F}, "  1280 x 1024 at 75Hz,  LandScape  5x4\r\n"},
      {false, {0, 0, kDescriptorProductName, 0}, "slot3", {{"text", "VELMAR"}}, 90 + 5,
       {'V', 'E', 'L', 'M', 'A', 'R', 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}, "  \"VELMAR\"\r\n"},
      {false, kRange, "slot1",
       {{"vrate-min", "50"}, {"vrate-max", "75"}, {"hrate-min", "30"}, {"hrate-max", "83"}, {"max-clock", "170"}},
       54 + 5, {50, 75, 30, 83, 17},
       "  Horizontal Rate Range.....: 30KHz - 83KHz\r\n  Vertical Rate Range.......: 50Hz - 75Hz\r\n"
       "  Maximum Pixel Clock.......: 170MHz\r\n"},
      {true, kRange, "slot1",
       {{"timing-support", "CVT supported"}, {"cvt-preferred-aspect", "16x10"}, {"cvt-max-line-length", "320"},
        {"cvt-preferred-rate", "60"}, {"cvt-aspect-16x10", "on"}, {"cvt-reduced-blanking", "on"}},
       54 + 10, {0x04, 0x11, 0x01, 0x40, 0x20, 0x50, 0x00, 60}, "  CVT Maximum Line Length...: 320 pixels\r\n"},
      {false, {0, kDescriptorColorPoint, 0, 0}, "slot2",
       {{"index[0]", "1"}, {"white-x[0]", "0.3125"}, {"white-y[0]", "0.3291"}, {"gamma-defined[0]", "on"},
        {"gamma[0]", "2.2"}},
       72 + 5, {0x01, 0x01, 0x50, 0x54, 0x78}, "  White Point[1]: X=0.312, Y=0.329\r\n  Gamma..........: 2.2\r\n"},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"red-a3", "1.5"}, {"blue-a2", "-0.01"}}, 90 + 6,
       {0x96, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},
       "  Polynomial a3 Coefficient Red..: +1.5\r\n"},
      {true, {0, 0, 0, kDescriptorCvtCodes}, "slot4",
       {{"used[0]", "on"}, {"height[0]", "1080"}, {"aspect[0]", "16x9"}, {"preferred-rate[0]", "60Hz"},
        {"rate-60[0]", "on"}},
       108 + 6, {0x1B, 0x24, 0x28}, "  1920 x 1080 at 60Hz,     Landscape 16x9  (preferred VRate)\r\n"},
      {true, {kDescriptorEstablishedTimingsIII, 0, 0, 0}, "slot1", {{"timings[0]", "on"}, {"timings[43]", "on"}},
       54 + 6, {0x80, 0x00, 0x00, 0x00, 0x00, 0x10}, "   640 x 350  at 85Hz\r\n"},
  };
  for (const auto& c : cases) {
    testing::LoadedImage loaded(MakeBlock(c.is14, c.kinds));
    EXPECT_EQ(RunForm(loaded, c.form, c.changes), "") << c.form;
    EXPECT_EQ(std::vector<uint8_t>(loaded.image.rawData.begin() + c.offset,
                                   loaded.image.rawData.begin() + c.offset + c.bytes.size()),
              c.bytes)
        << c.form << " " << c.changes.front().first;
    EXPECT_EQ(DataBlock::ComputeChecksum(loaded.image.rawData.data(), 127), loaded.image.rawData[127]);
    EXPECT_TRUE(loaded.image.IsModified()) << c.form;
    const std::string summary = loaded.Summary(0);
    EXPECT_NE(summary.find(c.summary), std::string::npos) << c.form << "\n" << summary;
  }
}


// The largest and smallest values each check lets through reach the bytes
// without wrapping.
TEST(BaseBlockFormsTest, BoundaryValuesReachTheBytesWithoutWrapping) {
  std::string accents;
  for (int i = 0; i < 13; ++i) accents += "\xC3\xA9";  // 13 x U+00E9 in UTF-8
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    const char* form;
    FieldChanges changes;
    unsigned offset;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {false, {}, "color", {{"red-x", "1"}}, 25, {0xC0, 0x00, 0xFF}},
      {false, {}, "color", {{"red-x", "0.99952"}}, 25, {0xC0, 0x00, 0xFF}},
      {false, {}, "color", {{"red-x", "0.0004"}}, 25, {0x00, 0x00, 0x00}},
      {false, {}, "basic", {{"gamma", "3.54"}}, 23, {254}},
      {false, {}, "basic", {{"gamma", "1"}}, 23, {0}},
      {false, {}, "standard", {{"used[0]", "on"}, {"width[0]", "2288"}, {"refresh[0]", "123"}}, 38, {0xFF, 0x3F}},
      {false, {}, "standard", {{"used[0]", "on"}, {"width[0]", "256"}, {"refresh[0]", "60"}}, 38, {0x01, 0x00}},
      {true, {0, 0, kDescriptorColorManagement, 0}, "slot3", {{"red-a3", "-327.68"}, {"blue-a2", "327.67"}}, 90 + 6,
       {0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F}},
      {false, {0, kDescriptorColorPoint, 0, 0}, "slot2", {{"index[0]", "255"}, {"white-x[0]", "1"}}, 72 + 5,
       {0xFF, 0x0C, 0xFF, 0x00}},
      {true, {0, 0, 0, kDescriptorCvtCodes}, "slot4", {{"used[0]", "on"}, {"height[0]", "8190"}, {"aspect[0]", "4x3"}},
       108 + 6, {0xFE, 0xF0, 0x00}},
      {false, kRange, "slot1", {{"hrate-min", "60"}, {"hrate-max", "60"}}, 54 + 7, {60, 60}},
      {true, kRange, "slot1", {{"hrate-offset", "Max + 255Hz, Min is zero"}, {"hrate-min", "200"}, {"hrate-max", "100"}},
       54 + 4, {0x08, 0x01, 0xFF, 200, 100}},
      {false, kRange, "slot1",
       {{"timing-support", "Secondary GTF supported"}, {"gtf-start", "510"}, {"gtf-c", "127"}, {"gtf-m", "65535"},
        {"gtf-k", "255"}, {"gtf-j", "127"}, {"max-clock", "2550"}},
       54 + 9, {255, 0x02, 0x00, 255, 254, 0xFF, 0xFF, 255, 254}},
      {true, kRange, "slot1",
       {{"timing-support", "CVT supported"}, {"cvt-preferred-aspect", "15x9"}, {"cvt-max-line-length", "1023"},
        {"cvt-clock-precision", "15860"}, {"cvt-preferred-rate", "255"}, {"max-clock", "2550"}},
       54 + 9, {255, 0x04, 0x11, 0xFF, 0xFF, 0x00, 0x80, 0x00, 255}},
      {false, {kDescriptorAsciiString, 0, 0, 0}, "slot1", {{"text", accents}}, 54 + 5, std::vector<uint8_t>(13, 0xE9)},
      {false, {kDescriptorAsciiString, 0, 0, 0}, "slot1", {{"text", "\xE2\x82\xAC 5"}}, 54 + 5,
       {'?', ' ', '5', 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}},
      {false, {kDescriptorAsciiString, 0, 0, 0}, "slot1", {{"text", ""}}, 54 + 5,
       {0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}},
  };
  for (const auto& c : cases) {
    testing::LoadedImage loaded(MakeBlock(c.is14, c.kinds));
    if (c.form == std::string("slot1") && c.kinds[0] == kDescriptorAsciiString) {
      // Start from a text, so that an empty one is a change.
      loaded.image.rawData[54 + 5] = 'A';
    }
    EXPECT_EQ(RunForm(loaded, c.form, c.changes), "") << c.form << " " << c.changes.back().second;
    EXPECT_EQ(std::vector<uint8_t>(loaded.image.rawData.begin() + c.offset,
                                   loaded.image.rawData.begin() + c.offset + c.bytes.size()),
              c.bytes)
        << c.form << " " << c.changes.back().first << "=" << c.changes.back().second;
  }
}

// Stored values outside a dialog's checks never block an OK that changes
// nothing, even when a field was edited and then set back.
TEST(BaseBlockFormsTest, OkWithNothingChangedAcceptsValuesTheChecksWouldRefuse) {
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    std::vector<std::pair<unsigned, uint8_t>> stored;
    const char* form;
  } cases[] = {
      // A detailed timing slot with pixel clock 0 (a timing through byte 2).
      {false, {kDescriptorDetailedTiming, 0, 0, 0}, {{54, 0x00}, {55, 0x00}, {56, 0x80}}, "slot1"},
      // A standard timing code 00 xx (width 248).
      {false, {}, {{38, 0x00}, {39, 0x05}}, "standard"},
      // Week 60, neither a week nor the model-year flag.
      {false, {}, {{16, 60}}, "general"},
      // Minimum rates above the maximum ones, and a pixel clock of 0 MHz.
      {false, kRange, {{54 + 5, 100}, {54 + 6, 50}, {54 + 7, 100}, {54 + 8, 50}, {54 + 9, 0}}, "slot1"},
      // A CVT range limits descriptor with a reserved preferred aspect.
      {true, kRange, {{54 + 10, 0x04}, {54 + 11, 0x11}, {54 + 15, 0xE0}}, "slot1"},
      // A digital 1.4 input with the reserved colour depth 111.
      {true, {}, {{20, 0xF5}}, "basic"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = MakeBlock(c.is14, c.kinds);
    for (const auto& [position, value] : c.stored) bytes[position] = value;
    testing::FixChecksum(bytes.data());
    testing::LoadedImage loaded(bytes);
    const auto before = loaded.image.rawData;
    for (const bool editedBack : {false, true}) {
      std::unique_ptr<EditorForm> form = loaded.Page(0)->CreateForm(c.form);
      ASSERT_NE(form, nullptr) << c.form;
      if (editedBack) {
        // The first edit line the user can type in, changed and restored.
        const auto edit = std::find_if(form->Fields().begin(), form->Fields().end(), [](const FormField& f) {
          return f.kind == FieldKind::Edit && f.enabled && f.visible;
        });
        ASSERT_NE(edit, form->Fields().end()) << c.form;
        const std::string name = edit->name;
        const std::string text = edit->text;
        ASSERT_TRUE(form->SetText(name, text + "9")) << c.form << "." << name;
        EXPECT_TRUE(form->Changed());
        ASSERT_TRUE(form->SetText(name, text)) << c.form << "." << name;
      }
      EXPECT_FALSE(form->Changed()) << c.form;
      std::string message;
      EXPECT_TRUE(form->Accept(message)) << c.form << ": " << message;
      EXPECT_EQ(message, "");
      EXPECT_TRUE(loaded.image.rawData == before) << c.form;
      EXPECT_FALSE(loaded.image.IsModified()) << c.form;
    }
  }
}

// Values the dialogs cannot show or would not write themselves stay as
// stored when another field of the same dialog is edited.
TEST(BaseBlockFormsTest, UntouchedFieldsKeepWhatTheirTextCannotShow) {
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    std::vector<std::pair<unsigned, uint8_t>> stored;  // block bytes set before the form opens
    const char* form;
    FieldChanges changes;
    std::vector<unsigned> kept;  // block bytes that must keep their stored value
  } cases[] = {
      // White x = 320/1024 shows "0.312", which would read back as 319.
      {false, {}, {{26, 0x00}, {33, 0x50}}, "color", {{"red-x", "0.64"}}, {26, 33}},
      // A digital 1.0-1.3 input keeps bits 6-0 of byte 20 (here the DFP bit).
      {false, {}, {{20, 0x81}}, "basic", {{"gamma", "2.2"}}, {20}},
      // A standard timing code 00 xx (width 248, below the dialog's range).
      {false, {}, {{38, 0x00}, {39, 0x05}}, "standard", {{"used[1]", "on"}, {"width[1]", "640"}, {"refresh[1]", "60"}},
       {38, 39}},
      // Byte 10 of 1 and padding other than 0A 20 in a 1.3 range limits descriptor.
      {false, kRange, {{54 + 10, 0x01}, {54 + 11, 0x0A}, {54 + 12, 0x00}, {54 + 17, 0x00}}, "slot1",
       {{"max-clock", "150"}}, {54 + 10, 54 + 11, 54 + 12, 54 + 17}},
      // A CVT code marked unused by its reserved aspect bits.
      {true, {0, 0, 0, kDescriptorCvtCodes}, {{108 + 6, 0x12}, {108 + 7, 0x0C}, {108 + 8, 0x08}}, "slot4",
       {{"used[1]", "on"}, {"height[1]", "1080"}, {"aspect[1]", "16x9"}}, {108 + 6, 108 + 7, 108 + 8}},
      // A descriptor text after its line feed, and 00 padding.
      {false, {kDescriptorSerialNumber, 0, 0, 0}, {{54 + 5, 'A'}, {54 + 6, 0x0A}, {54 + 7, 'Z'}, {54 + 8, 0x00}},
       "slot1", {{"text", "B"}, {"text", "A"}}, {54 + 5, 54 + 6, 54 + 7, 54 + 8}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = MakeBlock(c.is14, c.kinds);
    for (const auto& [position, value] : c.stored) bytes[position] = value;
    testing::FixChecksum(bytes.data());
    testing::LoadedImage loaded(bytes);
    EXPECT_EQ(RunForm(loaded, c.form, c.changes), "") << c.form;
    for (unsigned position : c.kept) {
      EXPECT_EQ(loaded.image.rawData[position], bytes[position]) << c.form << " byte " << position;
    }
  }
}
}  // namespace
}  // namespace velmar

namespace velmar {
namespace {

// On every base block of the real EDIDs, one field of each form is edited:
// only the bytes of that field and the checksum may change, so that no
// untouched field is re-read from its displayed text.
TEST(BaseBlockFormsTest, OneEditedFieldChangesOnlyItsBytesOnEveryRealBlock) {
  const struct {
    const char* form;  // a section, or "slot" for every slot of `kinds`
    std::vector<unsigned> kinds;
    FieldChanges changes;
    std::vector<unsigned> bytes;  // block bytes (slot bytes for a slot) the edit may change
  } cases[] = {
      {"basic", {}, {{"standby", "on"}}, {24}},
      {"basic", {}, {{"gamma-defined", "on"}, {"gamma", "2.2"}}, {23}},
      {"color", {}, {{"red-x", "0.5"}}, {25, 27}},
      {"color", {}, {{"white-y", "0.329"}}, {26, 34}},
      {"established", {}, {{"timings[0]", "on"}}, {35}},
      {"standard", {}, {{"used[7]", "off"}}, {52, 53}},
      {"slot", {kDescriptorSerialNumber, kDescriptorAsciiString, kDescriptorProductName}, {{"text", "VELMAR"}},
       {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
      {"slot", {kDescriptorRangeLimits}, {{"max-clock", "170"}}, {9}},
      {"slot", {kDescriptorRangeLimits}, {{"vrate-max", "120"}}, {6}},
  };
  unsigned edits = 0;
  for (const auto& c : cases) {
    for (const std::string& path : testing::CorpusFiles()) {
      testing::LoadedImage loaded(testing::ReadBytes(path));
      auto* page = dynamic_cast<EdidBaseBlockPage*>(loaded.Page(0));
      if (page == nullptr || page->Model() == nullptr) continue;
      std::vector<std::pair<std::string, unsigned>> forms;  // name, first byte of its positions
      if (std::string(c.form) != "slot") {
        forms.emplace_back(c.form, 0);
      } else {
        for (unsigned slot = 0; slot < 4; ++slot) {
          const unsigned kind = page->Model()->GetDescriptorKind(slot);
          if (std::find(c.kinds.begin(), c.kinds.end(), kind) == c.kinds.end()) continue;
          forms.emplace_back("slot" + std::to_string(slot + 1), kEdidDescriptorStart + slot * kEdidDescriptorLength);
        }
      }
      for (const auto& [name, start] : forms) {
        const auto before = loaded.image.rawData;
        std::unique_ptr<EditorForm> form = page->CreateForm(name);
        ASSERT_NE(form, nullptr) << path << " " << name;
        const std::string& field = c.changes.back().first;
        ASSERT_EQ(testing::RunOk(*form, c.changes), "") << path << " " << name << "." << field;
        for (unsigned position : testing::DifferingBytes(before, loaded.image.rawData)) {
          const bool allowed = position == kEdidChecksumByte ||
                               std::find(c.bytes.begin(), c.bytes.end(), position - start) != c.bytes.end();
          EXPECT_TRUE(allowed) << path << " " << name << "." << field << " changed byte " << position;
        }
        ++edits;
      }
    }
  }
  EXPECT_GT(edits, 500u);
}

}  // namespace
}  // namespace velmar

namespace velmar {
namespace {

TEST(BaseBlockFormsTest, EachButtonOpensItsDialogAndCancelWritesNothing) {
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    std::vector<std::string> captions;  // of rows 0-8
  } cases[] = {
      {false,
       {kDescriptorDetailedTiming, kDescriptorRangeLimits, kDescriptorProductName, kDescriptorStandardTimings},
       {"EDID General Info", "EDID Basic Parameters", "EDID Color Characteristics", "EDID Established Timings",
        "EDID Standard Timings", "EDID Detailed Timing", "EDID Range Limits Descriptor", "Display Product Name",
        "EDID Standard Timings"}},
      {false, {kDescriptorSerialNumber, kDescriptorAsciiString, kDescriptorColorPoint, 0},
       {"EDID General Info", "EDID Basic Parameters", "EDID Color Characteristics", "EDID Established Timings",
        "EDID Standard Timings", "Display Product Serial Number", "ASCII Data String", "EDID Color Point Descriptor"}},
      {true,
       {kDescriptorColorManagement, kDescriptorCvtCodes, kDescriptorEstablishedTimingsIII, kDescriptorRangeLimits},
       {"EDID General Info", "EDID Basic Parameters", "EDID Color Characteristics", "EDID Established Timings",
        "EDID Standard Timings", "EDID Color Mananagement", "EDID CVT 3Byte Timings", "EDID Established Timings",
        "EDID Range Limits Descriptor"}},
  };
  for (const auto& c : cases) {
    testing::LoadedImage loaded(MakeBlock(c.is14, c.kinds));
    BlockPage* page = loaded.Page(0);
    const auto before = loaded.image.rawData;
    for (int row = 0; row < kGridRows; ++row) page->PressButton(kLeftItemId + row);
    EXPECT_EQ(loaded.ui.forms, c.captions);
    EXPECT_TRUE(loaded.image.rawData == before);
    EXPECT_FALSE(loaded.image.IsModified());
  }
}

TEST(BaseBlockFormsTest, OkThroughTheButtonWritesMarksAndShowsTheEdit) {
  testing::LoadedImage loaded(MakeBlock(false, {kDescriptorProductName, 0, 0, 0}));
  BlockPage* page = loaded.Page(0);
  page->Refresh();
  loaded.ui.formAnswers.push_back({{{"text", "VELMAR"}}, {}, true});
  page->PressButton(kLeftItemId + EdidBaseBlockPage::kFirstSlotRow);
  EXPECT_TRUE(loaded.image.IsModified());
  EXPECT_NE(loaded.Summary(0).find("  \"VELMAR\"\r\n"), std::string::npos);
  EXPECT_EQ(page->Control(kLeftItemId + EdidBaseBlockPage::kFirstSlotRow).text, "Display Product Name");
}

}  // namespace
}  // namespace velmar
