#include "blocks/DiExtBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/RecordingContext.h"

namespace velmar {
namespace {

using testing::RecordingContext;

// A DI-EXT block at image offset 128 inside a 512-byte image.
class DiExtBlockTest : public ::testing::Test {
 protected:
  DiExtBlockTest() { DiExtBlock::InitDefaultBytes(Block(), 128); }
  uint8_t* Block() { return image.data() + 128; }
  DiExtBlock Model() { return DiExtBlock(128, Block(), 384, &context); }
  bool ChecksumHolds() { return DataBlock::ComputeChecksum(Block(), 127) == Block()[127]; }

  std::vector<uint8_t> image = std::vector<uint8_t>(512, 0);
  RecordingContext context;
};

TEST_F(DiExtBlockTest, NewBlockDecodesAsAnalogWithNothingPresent) {
  EXPECT_EQ(Block()[127], 0xBF);
  DiExtBlock model = Model();
  EXPECT_EQ(model.GetChecksum(), 0xBF);
  EXPECT_EQ(model.GetSize(), 128u);
  EXPECT_FALSE(model.IsBaseBlock());
  EXPECT_EQ(model.GetExtensionCount(), 0u);
  EXPECT_EQ(model.GetVersion(), 0u);

  DiGeneralInfo info;
  model.GetGeneralInfo(info);
  EXPECT_EQ(info.version, 1u);
  EXPECT_EQ(info.interfaceStandard, 0u);
  EXPECT_EQ(info.releaseKind, 0u);
  EXPECT_EQ(info.checksum, 0xBF);
  DiFormatAndClock format;
  format.dataFormatIndex = 3;
  model.GetFormatAndClock(format);
  EXPECT_EQ(format.dataFormatIndex, 3u);  // byte 8 is 0, no known code: the index stays
  DiGamma gamma;
  model.GetGamma(gamma);
  EXPECT_EQ(gamma.curveType, 0u);

  ContentCollector report;
  EXPECT_EQ(model.Validate(&report), 0u);
  EXPECT_EQ(report.Text(), "");
  EXPECT_EQ(context.modifiedCalls, 0u);
}

TEST_F(DiExtBlockTest, SwitchingToAnalogResetsTheFormatSection) {
  for (unsigned b = 7; b <= 13; ++b) Block()[b] = 0xFF;
  Block()[2] = 1;
  DiExtBlock model = Model();
  DiGeneralInfo info;
  info.interfaceStandard = 0;
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[7], 0x01);  // bit 0 is kept
  EXPECT_EQ(Block()[8], 0x15);
  for (unsigned b = 9; b <= 13; ++b) EXPECT_EQ(Block()[b], 0) << b;
  EXPECT_TRUE(ChecksumHolds());
  EXPECT_EQ(context.modifiedCalls, 1u);

  // A digital interface leaves the format section alone.
  for (unsigned b = 7; b <= 13; ++b) Block()[b] = 0xFF;
  info.interfaceStandard = 2;
  model.SetGeneralInfo(info);
  for (unsigned b = 7; b <= 13; ++b) EXPECT_EQ(Block()[b], 0xFF) << b;
  EXPECT_EQ(Block()[2], 2);
}

TEST_F(DiExtBlockTest, AnAnalogBlockKeepsItsFormatSection) {
  // A new block is analog with byte 8 = 0, a code the format table lacks:
  // setting its release information leaves bytes 7-13 as they are.
  Block()[7] = 0xA4;
  Block()[9] = 7;
  DiExtBlock model = Model();
  DiGeneralInfo info;
  info.releaseKind = 2;
  info.letter = 'B';
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[4], 'B');
  EXPECT_EQ(Block()[7], 0xA4);
  EXPECT_EQ(Block()[8], 0);
  EXPECT_EQ(Block()[9], 7);
  EXPECT_TRUE(ChecksumHolds());
}

TEST_F(DiExtBlockTest, ReleaseBytesBeyondTwoDecimalsSurviveAReadAndWrite) {
  // Hundredths of 150 and 255 read as 2.5 and 1.55 + 1, which the split of
  // the real numbers would store as 2/50; the record keeps the bytes.
  const uint8_t stored[] = {0x41, 150, 0, 255};
  std::copy(std::begin(stored), std::end(stored), Block() + 3);
  DiExtBlock model = Model();
  DiGeneralInfo info;
  model.GetGeneralInfo(info);
  EXPECT_DOUBLE_EQ(info.versionNumber, 2.5);
  EXPECT_EQ(info.versionHundredths, 150u);
  info.interfaceStandard = 4;
  model.SetGeneralInfo(info);
  EXPECT_TRUE(std::equal(std::begin(stored), std::end(stored), Block() + 3));
  // A new real number wins over integer and hundredths that no longer match it.
  info.versionNumber = 1.25;
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[3], 0x41);
  EXPECT_EQ(Block()[4], 25);
  EXPECT_EQ(Block()[6], 255);
}

TEST_F(DiExtBlockTest, EveryVersionAndRevisionPairIsStoredExactly) {
  DiExtBlock model = Model();
  DiGeneralInfo info;
  info.interfaceStandard = 1;
  info.releaseKind = 1;
  for (unsigned integer = 0; integer < 64; ++integer) {
    for (unsigned hundredths = 0; hundredths < 100; ++hundredths) {
      info.versionNumber = integer + hundredths / 100.0;
      info.revisionNumber = integer * 4 + 3 + hundredths / 100.0;
      model.SetGeneralInfo(info);
      ASSERT_EQ(Block()[3], 0x40 | integer);
      ASSERT_EQ(Block()[4], hundredths) << integer;
      ASSERT_EQ(Block()[5], integer * 4 + 3);
      ASSERT_EQ(Block()[6], hundredths);
    }
  }
}

TEST_F(DiExtBlockTest, ReleaseInformationOfEachKind) {
  DiExtBlock model = Model();
  DiGeneralInfo info;
  info.interfaceStandard = 1;
  info.releaseKind = 1;
  info.versionNumber = 2.5;
  info.revisionNumber = 0.75;
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[3], 0x42);
  EXPECT_EQ(Block()[4], 50);
  EXPECT_EQ(Block()[5], 0);
  EXPECT_EQ(Block()[6], 75);

  // Two decimals held in binary just below their value keep their last digit.
  for (double version : {1.15, 1.2, 2.01, 0.29, 63.99}) {
    info.versionNumber = version;
    info.revisionNumber = version;
    model.SetGeneralInfo(info);
    DiGeneralInfo back;
    model.GetGeneralInfo(back);
    EXPECT_DOUBLE_EQ(back.versionNumber, version);
    EXPECT_DOUBLE_EQ(back.revisionNumber, version);
  }
  // More decimals than the bytes hold are cut, not rounded; the integer keeps its low 6 bits.
  info.versionNumber = 70.259;
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[3], 0x40 | 6);
  EXPECT_EQ(Block()[4], 25);

  info.releaseKind = 3;
  info.year = 2010;
  info.month = 3;
  info.day = 17;
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[3], 0xC0);
  EXPECT_EQ(Block()[4], 20);
  EXPECT_EQ(Block()[5], 3);
  EXPECT_EQ(Block()[6], 17);
  DiGeneralInfo date;
  model.GetGeneralInfo(date);
  EXPECT_EQ(date.year, 2010u);
  EXPECT_EQ(date.month, 3u);
  EXPECT_EQ(date.day, 17u);
  EXPECT_EQ(date.versionNumber, 0);  // only the stored kind's fields are filled
  info.year = 2246;                  // wraps modulo 256
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[4], 0);
  info.year = 1989;
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[4], 255);

  info.releaseKind = 2;
  info.letter = 'C';
  model.SetGeneralInfo(info);
  EXPECT_EQ(Block()[3], 0x80);
  EXPECT_EQ(Block()[4], 'C');
  EXPECT_EQ(Block()[5], 0);  // the date's month is cleared
  EXPECT_EQ(Block()[6], 0);

  info.releaseKind = 0;
  model.SetGeneralInfo(info);
  for (unsigned b = 3; b <= 6; ++b) EXPECT_EQ(Block()[b], 0) << b;
  EXPECT_TRUE(ChecksumHolds());
}

TEST_F(DiExtBlockTest, PitchesAndConversionsRoundHalfAwayFromZero) {
  DiExtBlock model = Model();
  DiDisplayDevice device;
  device.horizontalPitch = 255;
  device.verticalPitch = 254;
  model.SetDisplayDevice(device);
  EXPECT_EQ(Block()[17], 26);
  EXPECT_EQ(Block()[18], 25);
  DiDisplayDevice back;
  model.GetDisplayDevice(back);
  EXPECT_EQ(back.horizontalPitch, 260u);
  EXPECT_EQ(back.verticalPitch, 250u);

  DiDisplayCaps caps;
  caps.verticalConversion = 60.125;     // 6012.5
  caps.horizontalConversion = 655.36;  // 65536 wraps past 16 bits
  model.SetDisplayCaps(caps);
  EXPECT_EQ(Block()[22] | Block()[23] << 8, 6013);
  EXPECT_EQ(Block()[24] | Block()[25] << 8, 0);
  caps.horizontalConversion = 31.47;
  model.SetDisplayCaps(caps);
  DiDisplayCaps capsBack;
  model.GetDisplayCaps(capsBack);
  EXPECT_DOUBLE_EQ(capsBack.horizontalConversion, 31.47);
}

TEST_F(DiExtBlockTest, DataFormatCodesAndOtherIndexes) {
  DiExtBlock model = Model();
  const uint8_t codes[] = {0x15, 0x19, 0x24, 0x48, 0x49};
  DiFormatAndClock format;
  for (unsigned index = 0; index < 5; ++index) {
    format.dataFormatIndex = index;
    model.SetFormatAndClock(format);
    EXPECT_EQ(Block()[8], codes[index]);
    DiFormatAndClock back;
    model.GetFormatAndClock(back);
    EXPECT_EQ(back.dataFormatIndex, index);
    EXPECT_EQ(back.dataFormatCode, codes[index]);
  }
  format.dataFormatIndex = 5;  // no code: byte 8 stays
  model.SetFormatAndClock(format);
  EXPECT_EQ(Block()[8], 0x49);
  // A code the table lacks reads as the byte, beside the caller's index.
  Block()[8] = 0x30;
  DiFormatAndClock unknown;
  model.GetFormatAndClock(unknown);
  EXPECT_EQ(unknown.dataFormatIndex, 0u);
  EXPECT_EQ(unknown.dataFormatCode, 0x30u);
  format.crossover = 0xFFFF;
  format.maxClock = 0x1234;
  format.minClock = 0x1FF;  // low 8 bits
  model.SetFormatAndClock(format);
  EXPECT_EQ(Block()[9], 0xFF);
  EXPECT_EQ(Block()[10], 0x34);
  EXPECT_EQ(Block()[11], 0x12);
  EXPECT_EQ(Block()[12], 0xFF);
  EXPECT_EQ(Block()[13], 0xFF);
}

// --- Round trips over generated records -------------------------------------

class DiExtRoundTripTest : public DiExtBlockTest {
 protected:
  // Fills the block with random bytes behind its tag, so kept bits are not all zero.
  void Scramble() {
    for (unsigned b = 1; b < 127; ++b) Block()[b] = static_cast<uint8_t>(random() & 0xFF);
    Block()[127] = DataBlock::ComputeChecksum(Block(), 127);
    before.assign(Block(), Block() + 128);
  }
  // Only the bits of `writable` (byte, mask), the bytes from `firstFree` on and the
  // checksum may have changed.
  void ExpectOnlyWritable(std::initializer_list<std::pair<unsigned, uint8_t>> writable, unsigned firstFree = 127) {
    std::vector<uint8_t> mask(128, 0);
    for (const auto& [byte, bits] : writable) mask[byte] = bits;
    for (unsigned b = firstFree; b < 128; ++b) mask[b] = 0xFF;
    for (unsigned b = 0; b < 128; ++b) {
      EXPECT_EQ(Block()[b] & ~mask[b] & 0xFF, before[b] & ~mask[b] & 0xFF) << "byte " << b;
    }
    EXPECT_TRUE(ChecksumHolds());
    EXPECT_EQ(image[127], 0);  // the bytes around the block are untouched
    EXPECT_EQ(image[256], 0);
  }
  unsigned Draw(unsigned limit) { return static_cast<unsigned>(random() % limit); }
  bool Flip() { return (random() & 1) != 0; }

  std::mt19937 random{20240611};
  std::vector<uint8_t> before;
  static constexpr int kRounds = 200;
};

TEST_F(DiExtRoundTripTest, GeneralInfo) {
  for (int round = 0; round < kRounds; ++round) {
    Scramble();
    DiExtBlock model = Model();
    DiGeneralInfo info;
    info.interfaceStandard = 1 + Draw(10);
    info.releaseKind = Draw(4);
    if (info.releaseKind == 1) {
      info.versionNumber = Draw(64) + Draw(100) / 100.0;
      info.revisionNumber = Draw(256) + Draw(100) / 100.0;
    } else if (info.releaseKind == 2) {
      info.letter = static_cast<uint8_t>('A' + Draw(26));
    } else if (info.releaseKind == 3) {
      info.year = 1990 + Draw(256);
      info.month = 1 + Draw(12);
      info.day = 1 + Draw(31);
    }
    model.SetGeneralInfo(info);
    ExpectOnlyWritable({{2, 0xFF}, {3, 0xFF}, {4, 0xFF}, {5, 0xFF}, {6, 0xFF}});
    DiGeneralInfo back;
    model.GetGeneralInfo(back);
    info.version = before[1];
    info.checksum = Block()[127];
    if (info.releaseKind == 1) {
      info.versionInteger = static_cast<unsigned>(info.versionNumber);
      info.versionHundredths = Block()[4];
      info.revisionInteger = static_cast<unsigned>(info.revisionNumber);
      info.revisionHundredths = Block()[6];
    }
    EXPECT_EQ(back, info);
  }
}

TEST_F(DiExtRoundTripTest, FormatAndClock) {
  for (int round = 0; round < kRounds; ++round) {
    Scramble();
    DiExtBlock model = Model();
    DiFormatAndClock format{Flip(),   Flip(),   Draw(4),   Flip(),     Flip(),
                            Flip(),   Draw(5),  Draw(256), Draw(65536), Draw(65536)};
    model.SetFormatAndClock(format);
    ExpectOnlyWritable({{7, 0xFE}, {8, 0xFF}, {9, 0xFF}, {10, 0xFF}, {11, 0xFF}, {12, 0xFF}, {13, 0xFF}});
    DiFormatAndClock back;
    model.GetFormatAndClock(back);
    format.dataFormatCode = static_cast<unsigned>(DiExtBlock::DataFormatCode(format.dataFormatIndex));
    EXPECT_EQ(back, format);
  }
}

TEST_F(DiExtRoundTripTest, DisplayDevice) {
  for (int round = 0; round < kRounds; ++round) {
    Scramble();
    DiExtBlock model = Model();
    DiDisplayDevice device{Draw(256), Draw(256), Draw(256), Draw(256) * 10, Draw(256) * 10,
                           Flip(),    Draw(4),   Flip(),    Draw(4),        Flip()};
    model.SetDisplayDevice(device);
    ExpectOnlyWritable({{14, 0xFF}, {15, 0xFF}, {16, 0xFF}, {17, 0xFF}, {18, 0xFF}, {19, 0xFE}});
    DiDisplayDevice back;
    model.GetDisplayDevice(back);
    EXPECT_EQ(back, device);
  }
}

TEST_F(DiExtRoundTripTest, DisplayCaps) {
  for (int round = 0; round < kRounds; ++round) {
    Scramble();
    DiExtBlock model = Model();
    DiDisplayCaps caps{Flip(),  Draw(8), Flip(),  Flip(),  Flip(),  Flip(), Flip(),
                       Draw(4), Draw(65536) / 100.0, Draw(65536) / 100.0,
                       Draw(4), Flip(),  Draw(4), Draw(4), Flip(),  Flip(), Flip(), Flip(), Flip()};
    model.SetDisplayCaps(caps);
    ExpectOnlyWritable(
        {{20, 0xFF}, {21, 0xE0}, {22, 0xFF}, {23, 0xFF}, {24, 0xFF}, {25, 0xFF}, {26, 0xFF}, {38, 0xF0}});
    DiDisplayCaps back;
    model.GetDisplayCaps(back);
    EXPECT_EQ(back, caps);
  }
}

TEST_F(DiExtRoundTripTest, ColorProperties) {
  for (int round = 0; round < kRounds; ++round) {
    Scramble();
    DiExtBlock model = Model();
    DiColorProperties color;
    color.defaultDecoding = Draw(256);
    color.preferredDecoding = Draw(256);
    for (bool& flag : color.decodings) flag = Flip();
    color.dithering = Flip();
    for (unsigned& depth : color.colorDepths) depth = Draw(256);
    model.SetColorProperties(color);
    ExpectOnlyWritable({{27, 0xFF}, {28, 0xFF}, {29, 0xFF}, {30, 0xFC}, {31, 0x80}, {32, 0xFF}, {33, 0xFF},
                        {34, 0xFF}, {35, 0xFF}, {36, 0xFF}, {37, 0xFF}});
    DiColorProperties back;
    model.GetColorProperties(back);
    EXPECT_EQ(back, color);
  }
}

TEST_F(DiExtRoundTripTest, Gamma) {
  for (int round = 0; round < kRounds; ++round) {
    Scramble();
    DiExtBlock model = Model();
    DiGamma gamma;
    gamma.curveType = Draw(4);
    gamma.pointCount = Draw(64);
    for (unsigned& point : gamma.points) point = Draw(256);
    model.SetGamma(gamma);
    ExpectOnlyWritable({}, 81);
    DiGamma back;
    model.GetGamma(back);
    EXPECT_EQ(back, gamma);
  }
}

TEST_F(DiExtRoundTripTest, FlagsLandOnTheirBits) {
  Scramble();
  DiExtBlock model = Model();
  DiColorProperties color;
  color.decodings[0] = true;   // BGR: byte 29 bit 7
  color.decodings[8] = true;   // YPbPr (SMPTE 240M): byte 30 bit 7
  color.decodings[13] = true;  // monochrome: byte 30 bit 2
  model.SetColorProperties(color);
  EXPECT_EQ(Block()[29], 0x80);
  EXPECT_EQ(Block()[30] & 0xFC, 0x84);
  DiDisplayCaps caps;
  caps.frequencyConversion = 1;  // vertical conversion: byte 21 bit 5
  caps.zoomMode = true;
  model.SetDisplayCaps(caps);
  EXPECT_EQ(Block()[21] & 0xE0, 0x20);
  EXPECT_EQ(Block()[38] & 0xF0, 0x40);
  DiGamma gamma;
  gamma.curveType = 2;
  gamma.pointCount = 5;
  model.SetGamma(gamma);
  EXPECT_EQ(Block()[81], 0x85);
}

TEST_F(DiExtBlockTest, WritesNotifyOnceAndOnlyWhenSomethingChanged) {
  DiExtBlock model = Model();
  DiDisplayDevice device;
  device.layout = 1;
  model.SetDisplayDevice(device);
  EXPECT_EQ(context.modifiedCalls, 1u);
  model.SetDisplayDevice(device);  // the same values again
  EXPECT_EQ(context.modifiedCalls, 1u);
  model.UpdateChecksum();
  EXPECT_EQ(context.modifiedCalls, 1u);
  Block()[127] ^= 0x5A;  // a wrong checksum is put right, and that is a change
  model.UpdateChecksum();
  EXPECT_TRUE(ChecksumHolds());
  EXPECT_EQ(context.modifiedCalls, 2u);
  DiGeneralInfo info;  // to analog: one write even though the format section is reset too
  info.interfaceStandard = 0;
  Block()[2] = 1;
  Block()[9] = 7;
  model.SetGeneralInfo(info);
  EXPECT_EQ(context.modifiedCalls, 3u);
}

TEST_F(DiExtBlockTest, EmptyModelReadsAndWritesNothing) {
  Block()[0] = 0x41;
  const std::vector<uint8_t> snapshot = image;
  DiExtBlock model = Model();
  ASSERT_TRUE(model.IsEmpty());
  DiGeneralInfo info;
  info.version = 9;
  model.GetGeneralInfo(info);
  EXPECT_EQ(info.version, 9u);
  DiGamma gamma;
  gamma.points[3] = 77;
  model.GetGamma(gamma);
  EXPECT_EQ(gamma.points[3], 77u);
  model.SetGeneralInfo(DiGeneralInfo());
  model.SetFormatAndClock(DiFormatAndClock());
  model.SetDisplayDevice(DiDisplayDevice());
  model.SetDisplayCaps(DiDisplayCaps());
  model.SetColorProperties(DiColorProperties());
  model.SetGamma(DiGamma());
  model.UpdateChecksum();
  EXPECT_EQ(image, snapshot);
  EXPECT_EQ(context.modifiedCalls, 0u);
  std::string name, group, label;
  model.DescribeByte(130, name, group, label);
  model.DescribeGammaByte(3, name, group);
  EXPECT_EQ(name + group + label, "");
  EXPECT_EQ(model.GetSize(), 0u);
  EXPECT_EQ(model.GetChecksum(), 0);
}

// --- Byte map ----------------------------------------------------------------

struct ByteName {
  unsigned byte;
  const char* name;
  const char* group;
};

TEST_F(DiExtBlockTest, EveryByteHasItsNameAndGroup) {
  Block()[1] = 2;
  const ByteName expected[] = {
      {0, "Extension Tag", ""},
      {1, "Version Number", ""},
      {2, "Digital Interface Specification", "(Digital Interface Section)"},
      {3, "Type Definition/Version Number (Integer)", "(Digital Interface Section)"},
      {4, "Version Number (Decimal)/Letter Designation/Year Code", "(Digital Interface Section)"},
      {5, "Revision Number (Integer)/Month Code", "(Digital Interface Section)"},
      {6, "Revision Number (Decimal)/Day Code", "(Digital Interface Section)"},
      {7, "Data Format Description", "(Digital Interface Section)"},
      {8, "Color Depth Format", "(Digital Interface Section)"},
      {9, "Minimum Pixel Clock Per Link", "(Digital Interface Section)"},
      {10, "Maximum Pixel Clock Per Link. Low Order Bits", "(Digital Interface Section)"},
      {11, "Maximum Pixel Clock Per Link. High Order Bits", "(Digital Interface Section)"},
      {12, "Crossover Frequency. Low Order Bits", "(Digital Interface Section)"},
      {13, "Crossover Frequency. High Order Bits", "(Digital Interface Section)"},
      {14, "Sub-Pixel Layout", "(Display Device Section)"},
      {15, "Sub-Pixel Configuration", "(Display Device Section)"},
      {16, "Sub-Pixel Shape", "(Display Device Section)"},
      {17, "Horizontal Pixel Pitch", "(Display Device Section)"},
      {18, "Vertical Pixel Pitch", "(Display Device Section)"},
      {19, "Major Display Device Characteristics", "(Display Device Section)"},
      {20, "Miscellaneous Display Capabilities", "(Display Capabilities Section)"},
      {21, "Frame Rate Conversion", "(Display Capabilities Section)"},
      {22, "Vertical Frequency Conversion. Low Order Bits", "(Display Capabilities Section)"},
      {23, "Vertical Frequency Conversion. High Order Bits", "(Display Capabilities Section)"},
      {24, "Horizontal Frequency Conversion. Low Order Bits", "(Display Capabilities Section)"},
      {25, "Horizontal Frequency Conversion. High Order Bits", "(Display Capabilities Section)"},
      {26, "Display/Scan Orientation", "(Display Capabilities Section)"},
      {27, "Default Color/Luminance Decoding", "(Display Capabilities Section)"},
      {28, "Preferred Color/Luminance Decoding", "(Display Capabilities Section)"},
      {29, "Color/Luminance Decoding Caps. Low Order Bits", "(Display Capabilities Section)"},
      {30, "Color/Luminance Decoding Caps. High Order Bits", "(Display Capabilities Section)"},
      {31, "Dithering", "(Display Capabilities Section)"},
      {32, "Monitor Color Depth for Blue (Sub-Channel 0)", "(Display Capabilities Section)"},
      {33, "Monitor Color Depth for Green (Sub-Channel 1)", "(Display Capabilities Section)"},
      {34, "Monitor Color Depth for Red (Sub-Channel 2)", "(Display Capabilities Section)"},
      {35, "Monitor Color Depth for Cb/Pb (Sub-Channel 0)", "(Display Capabilities Section)"},
      {36, "Monitor Color Depth for Y (Sub-Channel 1)", "(Display Capabilities Section)"},
      {37, "Monitor Color Depth for Cr/Pr (Sub-Channel 2)", "(Display Capabilities Section)"},
      {38, "Aspect Ratio Conversion Modes", "(Display Capabilities Section)"},
      {39, "Byte[0] of Packetized Digital Video Information", "(Display Capabilities Section)"},
      {54, "Byte[15] of Packetized Digital Video Information", "(Display Capabilities Section)"},
      {55, "Reserved (Unused)", "Byte[0] of Unused Section"},
      {60, "Reserved (Unused)", "Byte[5] of Unused Section"},
      {71, "Reserved (Unused)", "Byte[16] of Unused Section"},
      {72, "Reserved (Unused)", "Byte[0] of Audio Support Section"},
      {80, "Reserved (Unused)", "Byte[8] of Audio Support Section"},
      {81, "Gamma Control", "(Gamma Section)"},
      {82, "Unused/Empty Data Point[0]", "(Gamma Section)"},
      {126, "Unused/Empty Data Point[44]", "(Gamma Section)"},
      {127, "Checksum", ""},
  };
  DiExtBlock model = Model();
  for (const ByteName& row : expected) {
    std::string name, group, label;
    model.DescribeByte(128 + row.byte, name, group, label);
    EXPECT_EQ(name, row.name) << row.byte;
    EXPECT_EQ(group, row.group) << row.byte;
    EXPECT_EQ(label, "DI-v2") << row.byte;
  }
  for (unsigned outside : {0u, 127u, 256u, 511u, 0xFFFFFFFFu}) {
    std::string name, group, label;
    model.DescribeByte(outside, name, group, label);
    EXPECT_EQ(name + group + label, "") << outside;
  }
  // Positions past a section's end name nothing.
  std::string name, group;
  model.DescribeInterfaceByte(12, name, group);
  model.DescribeDeviceByte(6, name, group);
  model.DescribeCapsByte(35, name, group);
  model.DescribeGammaByte(46, name, group);
  EXPECT_EQ(name + group, "");
}

TEST_F(DiExtBlockTest, GammaPointsAreNamedByCurveType) {
  DiExtBlock model = Model();
  auto nameOf = [&](unsigned byte) {
    std::string name, group, label;
    model.DescribeByte(128 + byte, name, group, label);
    return name;
  };
  Block()[81] = 0x85;  // three curves, 5 points each
  EXPECT_EQ(nameOf(89), "Unused/Empty Blue Data Point[7]");
  EXPECT_EQ(nameOf(86), "Blue Data Point[4]");
  EXPECT_EQ(nameOf(97), "Green Data Point[0]");
  EXPECT_EQ(nameOf(111), "Unused/Empty Green Data Point[14]");
  EXPECT_EQ(nameOf(116), "Red Data Point[4]");
  EXPECT_EQ(nameOf(117), "Unused/Empty Red Data Point[5]");
  Block()[81] = 0x4A;  // one white curve, 10 points
  EXPECT_EQ(nameOf(89), "White Data Point[7]");
  EXPECT_EQ(nameOf(91), "White Data Point[9]");
  EXPECT_EQ(nameOf(92), "Unused/Empty White Data Point[10]");
  EXPECT_EQ(nameOf(126), "Unused/Empty White Data Point[44]");
  Block()[81] = 0xFF;  // type 3 is not used
  EXPECT_EQ(nameOf(89), "Unused/Empty Data Point[7]");
}

}  // namespace
}  // namespace velmar
