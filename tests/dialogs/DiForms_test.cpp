// The six DI-EXT section forms over the DI-EXT blocks of the real EDIDs, a
// new block and two blocks of unusual bytes: what OK writes, what it refuses,
// and what a field the user left alone keeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "blocks/DiExtBlock.h"
#include "dialogs/EditorForm.h"
#include "pages/DiExtBlockPage.h"
#include "support/RecordingContext.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Assignments = std::vector<std::pair<std::string, std::string>>;

// Selects nothing in a list, which no user action but the toolkit's can do.
constexpr char kNoChoice[] = "<none>";

struct DiCase {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Random bytes behind the tag with the codes no list can name, a release
// number whose hundredths no real number holds, and kept bits set.
std::vector<uint8_t> UnusualBlock(unsigned seed, unsigned releaseKind) {
  std::mt19937 random(seed);
  std::vector<uint8_t> b = testing::RandomBytes(random, 128);
  b[0] = DiExtBlock::kTag;
  b[2] = 0x20;                                      // interface standard
  const uint8_t releases[4][4] = {{0, 0, 0, 0}, {0x41, 150, 7, 255}, {0x80, 'q', 0, 0}, {0xC0, 20, 0, 31}};
  std::copy_n(releases[releaseKind], 4, b.begin() + 3);
  b[8] = 0x30;                                      // data format
  b[14] = 9, b[15] = 0xEE, b[16] = 6;               // sub-pixels
  b[20] = static_cast<uint8_t>((b[20] & 0x8F) | 0x50);  // stereo video 5
  b[26] |= 0x06;                                    // scan direction 3
  b[27] = 0x40, b[28] = 9;                          // decodings
  testing::FixChecksum(b.data());
  return b;
}

std::vector<DiCase> DiBlocks() {
  std::vector<DiCase> blocks;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> file = testing::ReadBytes(path);
    for (size_t at = 128; at + 128 <= file.size(); at += 128) {
      if (file[at] == DiExtBlock::kTag) {
        blocks.push_back({path.substr(path.rfind('/') + 1), {file.begin() + static_cast<long>(at),
                                                            file.begin() + static_cast<long>(at + 128)}});
      }
    }
  }
  DiCase fresh{"new block", std::vector<uint8_t>(128)};
  DiExtBlock::InitDefaultBytes(fresh.bytes.data(), 128);
  blocks.push_back(fresh);
  blocks.push_back({"unusual, version", UnusualBlock(7, 1)});
  blocks.push_back({"unusual, date", UnusualBlock(11, 3)});
  return blocks;
}

// A DI-EXT page of its own over one block.
class DiFormHarness {
 public:
  explicit DiFormHarness(const std::vector<uint8_t>& block) : bytes(block) {
    EXPECT_TRUE(page.AttachBlock(bytes.data(), 128, 128));
  }

  // Opens `form`, makes the assignments (each must be taken) and presses OK:
  // the refusal's message, or empty text.
  std::string Run(const std::string& form, const Assignments& assignments) {
    std::unique_ptr<EditorForm> editor = page.CreateForm(form);
    if (editor == nullptr) return "no form " + form;
    for (const auto& [field, value] : assignments) {
      std::string error;
      const bool taken = value == kNoChoice ? editor->Select(field, -1) : editor->Assign(field, value, error);
      EXPECT_TRUE(taken) << form << "." << field << "=" << value << ": " << error;
    }
    std::string message;
    const bool accepted = editor->Accept(message);
    EXPECT_EQ(accepted, message.empty());
    return message;
  }
  std::string Summary() {
    ContentCollector text;
    page.AppendSummary(&text);
    return text.Text();
  }

  std::vector<uint8_t> bytes;
  testing::RecordingContext context;
  testing::ScriptedUserInterface ui;
  DiExtBlockPage page{1, &context, &ui};
};

TEST(DiFormsTest, UnchangedOkAndOwnValuesWriteNothing) {
  const std::vector<DiCase> blocks = DiBlocks();
  ASSERT_GE(blocks.size(), 5u);  // two real blocks at least
  for (const DiCase& block : blocks) {
    DiFormHarness harness(block.bytes);
    ASSERT_EQ(harness.page.FormNames().size(), 6u);
    for (const std::string& name : harness.page.FormNames()) {
      EXPECT_EQ(harness.Run(name, {}), "") << block.name;
      // Every field given the value it shows is no change either, the
      // "Unknown (0x%02X)" items included.
      std::unique_ptr<EditorForm> form = harness.page.CreateForm(name);
      for (const FormField& field : form->Fields()) {
        if (field.kind == FieldKind::Label || !field.enabled) continue;
        std::string error;
        EXPECT_TRUE(form->Assign(field.name, EditorForm::ValueText(field), error)) << field.name << error;
      }
      EXPECT_FALSE(form->Changed()) << block.name << " " << form->Address();
      std::string message;
      EXPECT_TRUE(form->Accept(message));
      EXPECT_EQ(harness.bytes, block.bytes) << block.name << " " << name;
    }
    EXPECT_EQ(harness.context.modifiedCalls, 0u) << block.name;
  }
}

// One edit: the form, its assignments, the bits it may change with their new
// values, and a piece of the summary that shows it.
struct Bits {
  unsigned byte;
  uint8_t mask;
  uint8_t value;
};
struct EditCase {
  const char* form;
  Assignments assignments;
  std::vector<Bits> bits;
  const char* summary;
};

const EditCase kEdits[] = {
    {"general", {{"interface", "Plug & Display"}}, {{2, 0xFF, 6}}, "Interface Standard.: Plug & Display\r\n"},
    {"general", {{"interface", "3"}}, {{2, 0xFF, 3}}, "DVI - Dual Link - High Resolution\r\n"},
    {"general",
     {{"release", "Version/Release/Revision"}, {"version", "2"}, {"version-hundredths", "5"}, {"revision", "1"},
      {"revision-hundredths", "29"}},
     {{3, 0xFF, 0x42}, {4, 0xFF, 5}, {5, 0xFF, 1}, {6, 0xFF, 29}},
     "  Version/Release....: 2.05\r\n  Revision...........: 1.29\r\n"},
    {"general",
     {{"release", "Letter Designation"}, {"letter", "C"}},
     {{3, 0xFF, 0x80}, {4, 0xFF, 'C'}, {5, 0xFF, 0}, {6, 0xFF, 0}},
     "ASCII Letter.......: C\r\n"},
    {"general",
     {{"release", "Date Code"}, {"year", "2010"}, {"month", "3"}, {"day", "17"}},
     {{3, 0xFF, 0xC0}, {4, 0xFF, 20}, {5, 0xFF, 3}, {6, 0xFF, 17}},
     "Date...............: 17/March/2010\r\n"},
    {"general", {{"release", "Not Present"}}, {{3, 0xFF, 0}, {4, 0xFF, 0}, {5, 0xFF, 0}, {6, 0xFF, 0}},
     "Release Information: Not Present\r\n"},
    {"format", {{"data-format", "24-Bit MSB-Aligned RGB (Single Link)"}}, {{8, 0xFF, 0x24}},
     "24-Bit MSB-Aligned RGB (Single Link)\r\n"},
    {"format", {{"data-format", "4"}}, {{8, 0xFF, 0x49}}, "(Dual Link, Hi-Color})\r\n"},
    {"format", {{"data-enable", "on"}, {"data-enable-high", "on"}}, {{7, 0xC0, 0xC0}},
     "Data enabled when the DE signal is high\r\n"},
    {"format", {{"data-enable", "on"}, {"data-enable-high", "off"}}, {{7, 0xC0, 0x80}},
     "Data enabled when the DE signal is low\r\n"},
    {"format", {{"shift-clock-edge", "Falling Edge"}}, {{7, 0x30, 0x20}}, "Display uses Falling Edge\r\n"},
    {"format", {{"hdcp", "on"}}, {{7, 0x08, 0x08}}, "HDCP....................: Supported\r\n"},
    {"format", {{"double-clocking", "on"}}, {{7, 0x04, 0x04}}, "Double Clocking.........: Supported\r\n"},
    {"format", {{"packetized-video", "off"}}, {{7, 0x02, 0}}, "Packetized Video........: Not Supported\r\n"},
    {"format", {{"min-clock", "25"}}, {{9, 0xFF, 25}}, "Min Pixel Clock Per Link: 25MHz\r\n"},
    {"format", {{"max-clock", "330"}}, {{10, 0xFF, 0x4A}, {11, 0xFF, 0x01}}, "Max Pixel Clock Per Link: 330MHz\r\n"},
    {"format", {{"crossover", "65535"}}, {{12, 0xFF, 0xFF}, {13, 0xFF, 0xFF}}, "Not Relevant (Single Link Display)"},
    {"format", {{"crossover", "0"}}, {{12, 0xFF, 0}, {13, 0xFF, 0}}, "Crossover Frequency.....: 0MHz\r\n"},
    {"device", {{"layout", "B.G.R"}}, {{14, 0xFF, 2}}, "Sub-Pixel Layout.......: B.G.R\r\n"},
    {"device", {{"configuration", "Stripe"}}, {{15, 0xFF, 2}}, "Sub-Pixel Configuration: Stripe\r\n"},
    {"device", {{"shape", "Oval"}}, {{16, 0xFF, 4}}, "Sub-Pixel Shape........: Oval\r\n"},
    {"device", {{"horizontal-pitch", "255"}}, {{17, 0xFF, 26}}, "Horizontal Pitch.......: 260cm\r\n"},
    {"device", {{"vertical-pitch", "2550"}}, {{18, 0xFF, 255}}, "Vertical Pitch.........: 2550cm\r\n"},
    {"device", {{"view-direction", "Reflected View (e.g. front projection, etc.)"}}, {{19, 0x60, 0x40}},
     "View Direction.........: Reflected View"},
    {"device", {{"physical-implementation", "Desktop or personal display"}}, {{19, 0x0C, 0x08}},
     "Physical Implementation: Desktop or personal display\r\n"},
    {"device", {{"fixed-pixel-format", "on"}}, {{19, 0x80, 0x80}}, "Display Device has Fixed Pixel Format"},
    {"device", {{"transparent-background", "on"}}, {{19, 0x10, 0x10}}, ": Transparent Background"},
    {"device", {{"ddc-ci", "on"}}, {{19, 0x02, 0x02}}, "DDC/CI.................: Supported\r\n"},
    {"caps", {{"stereo-video", "Auto-stereoscopic, Line Interleave"}}, {{20, 0x70, 0x30}},
     "Stereo Video...................: Auto-stereoscopic, Line Interleave\r\n"},
    {"caps", {{"legacy-timings", "on"}}, {{20, 0x80, 0x80}}, "VGA/DOS Legacy Timing Modes....: Supported"},
    {"caps", {{"scaler", "on"}}, {{20, 0x08, 0x08}}, "Scaler On Board................: Present"},
    {"caps", {{"image-centering", "on"}}, {{20, 0x04, 0x04}}, "Image Centering................: Available"},
    {"caps", {{"conditional-update", "on"}}, {{20, 0x02, 0x02}}, "Conditional Update.............: Supported"},
    {"caps", {{"interlaced-scan", "on"}}, {{20, 0x01, 0x01}}, "Progresive & Interlaced"},
    {"caps", {{"framelock", "on"}}, {{21, 0x80, 0x80}}, "Framelock......................: Supported"},
    {"caps", {{"vertical-conversion", "on"}, {"vertical-frequency", "59.94"}},
     {{21, 0x20, 0x20}, {22, 0xFF, 0x6A}, {23, 0xFF, 0x17}}, "Vertical Frequency Conversion..: 59.94Hz\r\n"},
    {"caps", {{"horizontal-conversion", "on"}, {"horizontal-frequency", "655.35"}},
     {{21, 0x40, 0x40}, {24, 0xFF, 0xFF}, {25, 0xFF, 0xFF}}, "Horizontal Frequency Conversion: 655.35KHz\r\n"},
    {"caps", {{"vertical-conversion", "off"}}, {{21, 0x20, 0}}, "Vertical Frequency Conversion..: Not Supported"},
    {"caps", {{"orientation-type", "Current Orientation (defined for display that rotates)"}}, {{26, 0xC0, 0xC0}},
     "Orientation Type..: Current Orientation"},
    {"caps", {{"zero-pixel-location", "Lower Left Corner"}}, {{26, 0x18, 0x10}}, "Location......: Lower Left Corner"},
    {"caps", {{"scan-direction", "Fast Scan on Short Axis"}}, {{26, 0x06, 0x04}}, "Fast Scan on Short Axis"},
    {"caps", {{"portrait", "on"}}, {{26, 0x20, 0x20}}, "Screen Orientation.............: Portrait"},
    {"caps", {{"projector", "on"}}, {{26, 0x01, 0x01}}, "Standalone Projector...........: Projector"},
    {"caps", {{"full-mode", "on"}, {"zoom-mode", "off"}, {"squeeze-mode", "off"}, {"variable-mode", "on"}},
     {{38, 0xF0, 0x90}}, "Conversion Modes..: Full Mode, Variable Mode\r\n"},
    {"color", {{"default-decoding", "YCrCb 4:2:2"}}, {{27, 0xFF, 6}}, "Default Color Decoding......: YCrCb 4:2:2\r\n"},
    {"color", {{"preferred-decoding", "Monochrome"}}, {{28, 0xFF, 4}}, "Preferred Color Decoding....: Monochrome\r\n"},
    {"color", {{"dithering", "on"}}, {{31, 0x80, 0x80}}, "Display uses Dithering"},
    {"color", {{"depth-blue", "8"}, {"depth-red", "12"}}, {{32, 0xFF, 8}, {34, 0xFF, 12}}, "Blue  = 8 bpc"},
    {"color", {{"depth-cr", "10"}}, {{37, 0xFF, 10}}, "Cr/Pr = 10 bpc\r\n"},
    {"color", {{"decoding-bgr", "on"}}, {{29, 0x80, 0x80}}, "BGR (additive color)......: Supported"},
    {"color", {{"decoding-ycrcb-420", "on"}}, {{29, 0x02, 0x02}}, "YCrCb 4:2:0...............: Supported"},
    {"color", {{"decoding-monochrome", "on"}}, {{30, 0x04, 0x04}}, "Monochrome................: Supported"},
    // The other decodings and depths, each on its own bit or byte.
    {"color", {{"decoding-yc-ntsc", "on"}}, {{29, 0x40, 0x40}}, "Y/C (S-Video) NTSC........: Supported"},
    {"color", {{"decoding-yc-pal", "off"}}, {{29, 0x20, 0}}, "Y/C (S-Video) PAL.........: Not Supported"},
    {"color", {{"decoding-yc-secam", "on"}}, {{29, 0x10, 0x10}}, "Y/C (S-Video) SECAM.......: Supported"},
    {"color", {{"decoding-ycrcb-444", "off"}}, {{29, 0x08, 0}}, "YCrCb 4:4:4...............: Not Supported"},
    {"color", {{"decoding-ycrcb-422", "on"}}, {{29, 0x04, 0x04}}, "YCrCb 4:2:2...............: Supported"},
    {"color", {{"decoding-ycrcb-260m", "on"}}, {{29, 0x01, 0x01}}, "YCrCb (SMPTE 260M)........: Supported"},
    {"color", {{"decoding-ypbpr-240m", "off"}}, {{30, 0x80, 0}}, "YPbPr (SMPTE 240M)........: Not Supported"},
    {"color", {{"decoding-ycrcb-274m", "on"}}, {{30, 0x40, 0x40}}, "YCrCb (SMPTE 274M)........: Supported"},
    {"color", {{"decoding-ypbpr-274m", "on"}}, {{30, 0x20, 0x20}}, "YPbPr (SMPTE 274M)........: Supported"},
    {"color", {{"decoding-betacam", "off"}}, {{30, 0x10, 0}}, "Y B-Y R-Y BetaCam (Sony)..: Not Supported"},
    {"color", {{"decoding-m2", "on"}}, {{30, 0x08, 0x08}}, "Y B-Y R-Y M-2 (Matsushita): Supported"},
    {"color", {{"depth-green", "9"}}, {{33, 0xFF, 9}}, "Green = 9 bpc"},
    {"color", {{"depth-cb", "7"}, {"depth-y", "11"}}, {{35, 0xFF, 7}, {36, 0xFF, 11}}, "Cb/Pb = 7 bpc, Y     = 11 bpc"},
    {"gamma", {{"type", "Single White Curve"}, {"count", "3"}, {"points[2]", "200"}}, {{81, 0xFF, 0x43}, {84, 0xFF, 200}},
     "Data Point[2]...........: White = 200\r\n"},
    {"gamma", {{"type", "2"}, {"count", "15"}, {"points[44]", "7"}}, {{81, 0xFF, 0x8F}, {126, 0xFF, 7}},
     "Number of Points per Color: 15\r\n"},
};

TEST(DiFormsTest, EachFieldsEditReachesExactlyItsBitsAndShowsInTheSummary) {
  for (const DiCase& block : DiBlocks()) {
    for (const EditCase& edit : kEdits) {
      DiFormHarness harness(block.bytes);
      const std::string where = block.name + ": " + edit.form + "." + edit.assignments.front().first;
      ASSERT_EQ(harness.Run(edit.form, edit.assignments), "") << where;
      std::vector<uint8_t> expected = block.bytes;
      for (const Bits& bits : edit.bits) {
        expected[bits.byte] = static_cast<uint8_t>((expected[bits.byte] & ~bits.mask) | bits.value);
      }
      expected[127] = DataBlock::ComputeChecksum(expected.data(), 127);
      EXPECT_EQ(harness.bytes, expected) << where;
      const std::string summary = harness.Summary();
      // An analog block's summary leaves its format section out.
      if (std::string(edit.form) == "format" && summary.find("Not relevant for Analog Display") != std::string::npos) {
        continue;
      }
      EXPECT_NE(summary.find(edit.summary), std::string::npos) << where << "\n" << summary;
    }
  }
}

struct BadCase {
  const char* form;
  Assignments assignments;
  const char* message;
};

const BadCase kBadValues[] = {
    {"general", {{"interface", kNoChoice}}, "Invalid Interface Standard (Valid Range 0 --> 255)"},
    {"general", {{"release", kNoChoice}}, "Invalid Release Information (Valid Range 0 --> 3)"},
    {"general", {{"release", "1"}, {"version", "64"}}, "Invalid Version (Valid Range 0 --> 63)"},
    {"general", {{"release", "1"}, {"version-hundredths", "100"}}, "Invalid Version Hundredths (Valid Range 0 --> 99)"},
    {"general", {{"release", "1"}, {"revision", "256"}}, "Invalid Revision (Valid Range 0 --> 255)"},
    {"general", {{"release", "1"}, {"revision-hundredths", "-1"}},
     "Invalid Revision Hundredths (Valid Range 0 --> 99)"},
    {"general", {{"release", "1"}, {"version", "1.5"}}, "Invalid Version (Valid Range 0 --> 63)"},
    {"general", {{"release", "2"}, {"letter", "ab"}}, "Invalid ASCII Letter (Valid Range A --> Z)"},
    {"general", {{"release", "2"}, {"letter", "a"}}, "Invalid ASCII Letter (Valid Range A --> Z)"},
    {"general", {{"release", "2"}, {"letter", ""}}, "Invalid ASCII Letter (Valid Range A --> Z)"},
    {"general", {{"release", "3"}, {"year", "1989"}}, "Invalid Year (Valid Range 1990 --> 2245)"},
    {"general", {{"release", "3"}, {"year", "2246"}}, "Invalid Year (Valid Range 1990 --> 2245)"},
    {"general", {{"release", "3"}, {"month", "13"}}, "Invalid Month (Valid Range 1 --> 12)"},
    {"general", {{"release", "3"}, {"day", "32"}}, "Invalid Day (Valid Range 1 --> 31)"},
    {"general", {{"release", "3"}, {"day", ""}}, "Invalid Day (Valid Range 1 --> 31)"},
    {"format", {{"data-format", kNoChoice}}, "Invalid Data Format (Valid Range 0 --> 255)"},
    {"format", {{"shift-clock-edge", kNoChoice}}, "Invalid Edge of Shift Clock (Valid Range 0 --> 3)"},
    {"format", {{"min-clock", "256"}}, "Invalid Min Pixel Clock Per Link (Valid Range 0 --> 255)"},
    {"format", {{"max-clock", "65536"}}, "Invalid Max Pixel Clock Per Link (Valid Range 0 --> 65535)"},
    {"format", {{"crossover", "0x10"}}, "Invalid Crossover Frequency (Valid Range 0 --> 65535)"},
    {"device", {{"layout", kNoChoice}}, "Invalid Sub-Pixel Layout (Valid Range 0 --> 255)"},
    {"device", {{"configuration", kNoChoice}}, "Invalid Sub-Pixel Configuration (Valid Range 0 --> 255)"},
    {"device", {{"shape", kNoChoice}}, "Invalid Sub-Pixel Shape (Valid Range 0 --> 255)"},
    {"device", {{"horizontal-pitch", "2551"}}, "Invalid Horizontal Pitch (Valid Range 0 --> 2550)"},
    {"device", {{"vertical-pitch", "-5"}}, "Invalid Vertical Pitch (Valid Range 0 --> 2550)"},
    {"device", {{"view-direction", kNoChoice}}, "Invalid View Direction (Valid Range 0 --> 3)"},
    {"device", {{"physical-implementation", kNoChoice}}, "Invalid Physical Implementation (Valid Range 0 --> 3)"},
    {"caps", {{"stereo-video", kNoChoice}}, "Invalid Stereo Video (Valid Range 0 --> 7)"},
    {"caps", {{"vertical-frequency", "655.36"}}, "Invalid Vertical Frequency Conversion (Valid Range 0 --> 655.35)"},
    {"caps", {{"horizontal-frequency", "1.2.3"}},
     "Invalid Horizontal Frequency Conversion (Valid Range 0 --> 655.35)"},
    {"caps", {{"horizontal-frequency", "-1"}}, "Invalid Horizontal Frequency Conversion (Valid Range 0 --> 655.35)"},
    {"caps", {{"orientation-type", kNoChoice}}, "Invalid Display/Scan Orientation Type (Valid Range 0 --> 3)"},
    {"caps", {{"zero-pixel-location", kNoChoice}}, "Invalid Zero (0,0) Pixel Location (Valid Range 0 --> 3)"},
    {"caps", {{"scan-direction", kNoChoice}}, "Invalid Scan Direction (Valid Range 0 --> 3)"},
    {"color", {{"default-decoding", kNoChoice}}, "Invalid Default Color Decoding (Valid Range 0 --> 255)"},
    {"color", {{"preferred-decoding", kNoChoice}}, "Invalid Preferred Color Decoding (Valid Range 0 --> 255)"},
    {"color", {{"depth-blue", "256"}}, "Invalid Blue Color Depth (Valid Range 0 --> 255)"},
    {"color", {{"depth-green", "x"}}, "Invalid Green Color Depth (Valid Range 0 --> 255)"},
    {"color", {{"depth-red", "256"}}, "Invalid Red Color Depth (Valid Range 0 --> 255)"},
    {"color", {{"depth-cb", "256"}}, "Invalid Cb/Pb Color Depth (Valid Range 0 --> 255)"},
    {"color", {{"depth-y", "256"}}, "Invalid Y Color Depth (Valid Range 0 --> 255)"},
    {"color", {{"depth-cr", "256"}}, "Invalid Cr/Pr Color Depth (Valid Range 0 --> 255)"},
    {"gamma", {{"type", kNoChoice}}, "Invalid Gamma Curve Type (Valid Range 0 --> 3)"},
    {"gamma", {{"count", "64"}}, "Invalid Number of Points (Valid Range 0 --> 63)"},
    {"gamma", {{"type", "1"}, {"points[7]", "256"}}, "Invalid White Data Point[7] (Valid Range 0 --> 255)"},
    {"gamma", {{"type", "2"}, {"points[17]", "300"}}, "Invalid Green Data Point[2] (Valid Range 0 --> 255)"},
    {"gamma", {{"type", "0"}, {"points[44]", "-"}}, "Invalid Data Point[44] (Valid Range 0 --> 255)"},
    // The first bad field from the top wins.
    {"general", {{"release", "3"}, {"day", "40"}, {"year", "1"}}, "Invalid Year (Valid Range 1990 --> 2245)"},
    {"format", {{"crossover", "70000"}, {"min-clock", "256"}}, "Invalid Min Pixel Clock Per Link (Valid Range 0 --> 255)"},
    {"gamma", {{"points[0]", "999"}, {"count", "99"}}, "Invalid Number of Points (Valid Range 0 --> 63)"},
};

TEST(DiFormsTest, EachBadValueGivesItsMessageAndWritesNothing) {
  for (const DiCase& block : DiBlocks()) {
    for (const BadCase& bad : kBadValues) {
      DiFormHarness harness(block.bytes);
      EXPECT_EQ(harness.Run(bad.form, bad.assignments), bad.message) << block.name;
      EXPECT_EQ(harness.bytes, block.bytes) << block.name << " " << bad.message;
    }
  }
}

TEST(DiFormsTest, UnknownCodesShowAsUnknownItemsAndStayThroughOtherEdits) {
  DiFormHarness harness(UnusualBlock(7, 1));
  const std::vector<uint8_t> before = harness.bytes;
  const struct {
    const char* form;
    const char* field;
    const char* item;
  } lists[] = {{"general", "interface", "Unknown (0x20)"}, {"format", "data-format", "Unknown (0x30)"},
               {"device", "layout", "Unknown (0x09)"},      {"device", "configuration", "Unknown (0xEE)"},
               {"device", "shape", "Unknown (0x06)"},       {"caps", "stereo-video", "Unknown (0x05)"},
               {"caps", "scan-direction", "Unknown (0x03)"}, {"color", "default-decoding", "Unknown (0x40)"},
               {"color", "preferred-decoding", "Unknown (0x09)"}};
  for (const auto& list : lists) {
    std::unique_ptr<EditorForm> form = harness.page.CreateForm(list.form);
    EXPECT_EQ(EditorForm::ValueText(*form->Find(list.field)), list.item);
    // Away and back to the unknown item is no change.
    std::string error;
    EXPECT_TRUE(form->Assign(list.field, "0", error));
    EXPECT_TRUE(form->Assign(list.field, list.item, error));
    EXPECT_FALSE(form->Changed()) << list.field;
  }
  // The release number keeps hundredths above 99 while the interface changes.
  EXPECT_EQ(harness.Run("general", {{"interface", "1"}}), "");
  EXPECT_EQ(harness.bytes[2], 1);
  EXPECT_TRUE(std::equal(before.begin() + 3, before.begin() + 7, harness.bytes.begin() + 3));
  std::unique_ptr<EditorForm> general = harness.page.CreateForm("general");
  EXPECT_EQ(general->Find("version-hundredths")->text, "150");
  EXPECT_EQ(general->Find("revision-hundredths")->text, "255");
  // ... and the integer changes alone.
  EXPECT_EQ(harness.Run("general", {{"version", "3"}}), "");
  EXPECT_EQ(harness.bytes[3], 0x43);
  EXPECT_EQ(harness.bytes[4], 150);
}

TEST(DiFormsTest, SwitchingToAnalogClearsTheFormatSectionOnlyFromDigital) {
  std::vector<uint8_t> digital = UnusualBlock(3, 0);
  digital[2] = 2;
  testing::FixChecksum(digital.data());
  DiFormHarness harness(digital);
  EXPECT_EQ(harness.Run("general", {{"interface", "Analog Video Input"}}), "");
  EXPECT_EQ(harness.bytes[2], 0);
  EXPECT_EQ(harness.bytes[7], digital[7] & 0x01);
  EXPECT_EQ(harness.bytes[8], 0x15);
  for (unsigned b = 9; b <= 13; ++b) EXPECT_EQ(harness.bytes[b], 0) << b;
  EXPECT_NE(harness.Summary().find("Not relevant for Analog Display"), std::string::npos);

  // An analog block's edits leave the section, and its unknown byte 8, alone.
  harness.bytes[8] = 0;
  harness.bytes[10] = 0x77;
  testing::FixChecksum(harness.bytes.data());
  EXPECT_EQ(harness.Run("general", {{"release", "Letter Designation"}, {"letter", "Z"}}), "");
  EXPECT_EQ(harness.Run("format", {{"min-clock", "9"}}), "");
  EXPECT_EQ(harness.bytes[4], 'Z');
  EXPECT_EQ(harness.bytes[8], 0);
  EXPECT_EQ(harness.bytes[9], 9);
  EXPECT_EQ(harness.bytes[10], 0x77);
}

TEST(DiFormsTest, ReleaseFieldsFollowTheChosenKind) {
  std::vector<uint8_t> fresh(128);
  DiExtBlock::InitDefaultBytes(fresh.data(), 128);
  DiFormHarness harness(fresh);
  std::unique_ptr<EditorForm> form = harness.page.CreateForm("general");
  std::string error;
  EXPECT_FALSE(form->Assign("year", "2001", error));
  EXPECT_EQ(error, "the field is disabled");
  EXPECT_TRUE(form->Assign("release", "Date Code", error));
  EXPECT_TRUE(form->Find("year")->enabled);
  EXPECT_FALSE(form->Find("letter")->enabled);
  EXPECT_FALSE(form->Find("version")->enabled);
  // A kind chosen without touching its fields takes them as they show: the
  // year of a zero byte and an unspecified month and day.
  std::string message;
  EXPECT_TRUE(form->Accept(message)) << message;
  EXPECT_EQ(harness.bytes[3], 0xC0);
  EXPECT_EQ(harness.bytes[4], 0);
  EXPECT_EQ(harness.bytes[5], 0);
  EXPECT_EQ(harness.bytes[6], 0);
  EXPECT_NE(harness.Summary().find("Date...............: 0/0/1990\r\n"), std::string::npos);
  // A letter kind needs its letter.
  EXPECT_EQ(harness.Run("general", {{"release", "Letter Designation"}}), "Invalid ASCII Letter (Valid Range A --> Z)");
}

TEST(DiFormsTest, GammaPointLabelsFollowTheChosenType) {
  std::vector<uint8_t> fresh(128);
  DiExtBlock::InitDefaultBytes(fresh.data(), 128);
  DiFormHarness harness(fresh);
  std::unique_ptr<EditorForm> form = harness.page.CreateForm("gamma");
  EXPECT_EQ(form->Find("points[17]")->label, "Point[17]:");
  std::string error;
  form->Assign("type", "3 Separate Color Curves (BGR)", error);
  EXPECT_EQ(form->Find("points[17]")->label, "Green[2]:");
  EXPECT_EQ(form->Find("count")->label, "Number of Points per Color:");
  form->Assign("type", "Single White Curve", error);
  EXPECT_EQ(form->Find("points[17]")->label, "White[17]:");
  EXPECT_EQ(form->Fields().size(), 2u + kDiGammaPointCount);
}

TEST(DiFormsTest, SectionButtonsOpenTheirFormsAndOkMarksTheImageModified) {
  testing::ScriptedUserInterface ui;
  EdidImage image(ui);
  const std::vector<uint8_t> base = testing::MakeBase13(1);
  std::copy(base.begin(), base.end(), image.rawData.begin());
  DiExtBlock::InitDefaultBytes(image.rawData.data() + 128, 128);
  image.Rebuild();
  image.ClearModified();
  ASSERT_EQ(image.BlockCount(), 2u);
  BlockPage* page = image.GetPage(1);
  EXPECT_EQ(page->FormPrefix(), "di1");
  EXPECT_EQ(page->FormNames(), std::vector<std::string>({"general", "format", "device", "caps", "color", "gamma"}));
  EXPECT_EQ(page->CreateForm("gamma")->Address(), "di1.gamma");
  EXPECT_EQ(page->CreateForm("slot1"), nullptr);

  for (int row = 0; row < 6; ++row) page->PressButton(kLeftItemId + row);
  EXPECT_EQ(ui.forms, std::vector<std::string>({"DI Extension General Info", "DI Data Format and Clock",
                                                "DI Display Device Section", "DI Display Capabilities",
                                                "DI Color/Luminance Properties", "DI Gamma Section"}));
  EXPECT_FALSE(image.IsModified());

  ui.formAnswers.push_back({{{"count", "5"}}, {}, true});
  page->PressButton(kLeftItemId + 5);
  EXPECT_EQ(image.rawData[128 + 81], 5);
  EXPECT_TRUE(image.IsModified());
}

}  // namespace
}  // namespace velmar
