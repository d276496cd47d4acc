#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "common/Callbacks.h"
#include "blocks/DetailedTiming.h"

namespace velmar {
namespace {

using Bytes = std::array<uint8_t, kDetailedTimingLength>;

// 1920x1080p, 148.50 MHz, totals 2200 x 1125, 160 x 90 mm, digital separate +/+.
constexpr Bytes k1080p60 = {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58,
                            0x2C, 0x45, 0x00, 0xA0, 0x5A, 0x00, 0x00, 0x00, 0x1E};
// 720x480p, 27.00 MHz, totals 858 x 525, digital separate -/-.
constexpr Bytes k480p = {0x8C, 0x0A, 0xD0, 0x8A, 0x20, 0xE0, 0x2D, 0x10, 0x10,
                         0x3E, 0x96, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18};
// 1920x540 per field, interlaced, 74.25 MHz, field totals 2200 x 562.
constexpr Bytes k1080i60 = {0x01, 0x1D, 0x80, 0x18, 0x71, 0x1C, 0x16, 0x20, 0x58,
                            0x2C, 0x25, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9E};

// A progressive timing with the given active size, blanking and clock.
Bytes MakeTiming(unsigned clock, unsigned hActive, unsigned hBlank, unsigned vActive, unsigned vBlank,
                 bool interlaced = false) {
  DetailedTiming t;
  t.pixelClock = clock;
  t.hActive = hActive;
  t.hBlank = hBlank;
  t.vActive = vActive;
  t.vBlank = vBlank;
  t.hSyncOffset = 16;
  t.hSyncWidth = 40;
  t.vSyncOffset = 3;
  t.vSyncWidth = 5;
  t.interlaced = interlaced;
  t.syncType = DetailedTiming::kSyncDigitalSeparate;
  Bytes bytes{};
  t.Encode(bytes.data());
  return bytes;
}

std::string FirstLine(const Bytes& bytes, bool outside = true) {
  const std::string text = DetailedTiming::Decode(bytes.data(), outside).SummaryText();
  return text.substr(0, text.find("\r\n") + 2);
}

TEST(DetailedTimingTest, DecodesEveryField) {
  const DetailedTiming t = DetailedTiming::Decode(k1080p60.data(), false);
  EXPECT_EQ(t.pixelClock, 14850u);
  EXPECT_EQ(t.hActive, 1920u);
  EXPECT_EQ(t.hBlank, 280u);
  EXPECT_EQ(t.vActive, 1080u);
  EXPECT_EQ(t.vBlank, 45u);
  EXPECT_EQ(t.hSyncOffset, 88u);
  EXPECT_EQ(t.hSyncWidth, 44u);
  EXPECT_EQ(t.vSyncOffset, 4u);
  EXPECT_EQ(t.vSyncWidth, 5u);
  EXPECT_EQ(t.hImageMm, 160u);
  EXPECT_EQ(t.vImageMm, 90u);
  EXPECT_FALSE(t.interlaced);
  EXPECT_EQ(t.syncType, 3u);
  EXPECT_TRUE(t.syncFlagBit2);
  EXPECT_TRUE(t.syncFlagBit1);
  EXPECT_EQ(t.stereo, 0u);
  EXPECT_FALSE(t.bordersOutsideBlanking);
  EXPECT_TRUE(DetailedTiming::Decode(k1080p60.data(), true).bordersOutsideBlanking);
}

TEST(DetailedTimingTest, HighBitsOfSharedBytesGoToTheirFields) {
  const Bytes bytes = {0x34, 0x12, 0x01, 0x02, 0xAB, 0x03, 0x04, 0xCD, 0x05,
                       0x06, 0x7E, 0xE4, 0x07, 0x08, 0x9F, 0x0B, 0x0C, 0x00};
  const DetailedTiming t = DetailedTiming::Decode(bytes.data(), true);
  EXPECT_EQ(t.pixelClock, 0x1234u);
  EXPECT_EQ(t.hActive, 0xA01u);
  EXPECT_EQ(t.hBlank, 0xB02u);
  EXPECT_EQ(t.vActive, 0xC03u);
  EXPECT_EQ(t.vBlank, 0xD04u);
  EXPECT_EQ(t.hSyncOffset, 0x305u);  // 0xE4 bits 7-6 = 11
  EXPECT_EQ(t.hSyncWidth, 0x206u);   // bits 5-4 = 10
  EXPECT_EQ(t.vSyncOffset, 0x17u);   // bits 3-2 = 01, low nibble 7
  EXPECT_EQ(t.vSyncWidth, 0x0Eu);    // bits 1-0 = 00, low nibble E
  EXPECT_EQ(t.hImageMm, 0x907u);
  EXPECT_EQ(t.vImageMm, 0xF08u);
  EXPECT_EQ(t.hBorder, 11u);
  EXPECT_EQ(t.vBorder, 12u);
  Bytes back{};
  t.Encode(back.data());
  EXPECT_EQ(back, bytes);
}

TEST(DetailedTimingTest, StereoBitsDecode) {
  // (bits 6-5, bit 0) -> stereo
  const struct {
    uint8_t flags;
    uint32_t stereo;
  } cases[] = {{0x00, 0}, {0x01, 0}, {0x20, 1}, {0x21, 2}, {0x40, 3}, {0x41, 4}, {0x60, 5}, {0x61, 6}};
  for (const auto& c : cases) {
    Bytes bytes = k1080p60;
    bytes[17] = c.flags;
    EXPECT_EQ(DetailedTiming::Decode(bytes.data(), false).stereo, c.stereo) << int(c.flags);
  }
}

TEST(DetailedTimingTest, EncodeKeepsTheOld2DBitOnlyForA2DTiming) {
  Bytes bytes = k1080p60;
  bytes[17] = 0x1F;  // 2D with bit 0 set
  DetailedTiming t = DetailedTiming::Decode(bytes.data(), false);
  EXPECT_EQ(t.stereo, 0u);
  t.Encode(bytes.data());
  EXPECT_EQ(bytes[17], 0x1F);

  // A stereo descriptor turned 2D gets bits 00 and bit 0 set.
  bytes[17] = 0x7E;
  t = DetailedTiming::Decode(bytes.data(), false);
  t.stereo = 0;
  t.Encode(bytes.data());
  EXPECT_EQ(bytes[17], 0x1F);

  for (uint32_t stereo = 1; stereo <= 6; ++stereo) {
    t.stereo = stereo;
    t.Encode(bytes.data());
    EXPECT_EQ(DetailedTiming::Decode(bytes.data(), false).stereo, stereo);
    EXPECT_EQ(bytes[17] & 0x1E, 0x1E);  // sync bits untouched by the stereo rule
  }
}

TEST(DetailedTimingTest, DecodeThenEncodeNeverChangesAByte) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 5000; ++round) {
    Bytes bytes{};
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(byte(random));
    Bytes copy = bytes;
    DetailedTiming::Decode(bytes.data(), round % 2 == 0).Encode(copy.data());
    ASSERT_EQ(copy, bytes) << "round " << round;
  }
}

TEST(DetailedTimingTest, EncodeCutsValuesToTheirFields) {
  DetailedTiming t;
  t.pixelClock = 0x12345;
  t.hActive = 0x1FFF;
  t.vSyncOffset = 0x7F;
  t.hBorder = 0x1FF;
  Bytes bytes{};
  t.Encode(bytes.data());
  EXPECT_EQ(bytes[0], 0x45);
  EXPECT_EQ(bytes[1], 0x23);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[4], 0xF0);
  EXPECT_EQ(bytes[10], 0xF0);
  EXPECT_EQ(bytes[11], 0x0C);
  EXPECT_EQ(bytes[15], 0xFF);
}

TEST(DetailedTimingTest, SummaryOf1080p60IsGolden) {
  ContentCollector target;
  DetailedTiming::Decode(k1080p60.data(), false).AppendSummary(&target);
  EXPECT_EQ(target.Text(),
            "  1920 x 1080p at 60Hz, 148.50MHz, CEA[16]\r\n"
            "              Border -> Addressable -> Border -> Sync Start -> Sync End -> Total\r\n"
            "  Line......: 0      -> 1920        -> 1920   -> 2008       -> 2052     -> 2200 \r\n"
            "  Frame.....: 0      -> 1080        -> 1080   -> 1084       -> 1089     -> 1125 \r\n"
            "  Sync......: Digital Separate, VSYNC+, HSYNC+\r\n"
            "  Stereo....: 2D Timing\r\n"
            "  Image Size: 160mm x 90mm\r\n");
  EXPECT_EQ(target.items.size(), 7u);
}

TEST(DetailedTimingTest, SecondClockPrintsTheFractionalRate) {
  EXPECT_EQ(FirstLine(k480p), "   720 x 480p  at 59.94Hz, 27.00MHz, CEA[2]\r\n");
  Bytes notInTable = k1080p60;
  notInTable[0] = 0xF3;  // 14835: 148.35 MHz is neither clock of the row
  notInTable[1] = 0x39;
  EXPECT_EQ(FirstLine(notInTable), "  1920 x 1080p at 60Hz, 148.35MHz\r\n");
}

TEST(DetailedTimingTest, FormatLookupRespectsTheRate) {
  // 1080p50, 720p50, 1080i50 and 1080p24/25/30 are not their 60 Hz cousins.
  EXPECT_EQ(FirstLine(MakeTiming(14850, 1920, 720, 1080, 45)), "  1920 x 1080p at 50Hz, 148.50MHz, CEA[31]\r\n");
  EXPECT_EQ(FirstLine(MakeTiming(7425, 1280, 700, 720, 30)), "  1280 x 720p  at 50Hz, 74.25MHz, CEA[19]\r\n");
  EXPECT_EQ(FirstLine(MakeTiming(7425, 1920, 720, 540, 22, true)), "  1920 x 1080i at 50Hz, 74.25MHz, CEA[20]\r\n");
  EXPECT_EQ(FirstLine(MakeTiming(7425, 1920, 830, 1080, 45)), "  1920 x 1080p at 24Hz, 74.25MHz, CEA[32]\r\n");
  EXPECT_EQ(FirstLine(MakeTiming(7425, 1920, 720, 1080, 45)), "  1920 x 1080p at 25Hz, 74.25MHz, CEA[33]\r\n");
  EXPECT_EQ(FirstLine(MakeTiming(7425, 1920, 280, 1080, 45)), "  1920 x 1080p at 30Hz, 74.25MHz, CEA[34]\r\n");
  // 24 Hz at the 1000/1001 clock.
  EXPECT_EQ(FirstLine(MakeTiming(7418, 1920, 830, 1080, 45)), "  1920 x 1080p at 24Hz, 74.18MHz\r\n");
  // Equal clocks are no fractional variant: 576p at 27.00 MHz runs at 50 Hz.
  EXPECT_EQ(FirstLine(MakeTiming(2700, 720, 144, 576, 49)), "   720 x 576p  at 50Hz, 27.00MHz, CEA[17]\r\n");
}

TEST(DetailedTimingTest, InterlacedTimingPrintsItsFrame) {
  const std::string text = DetailedTiming::Decode(k1080i60.data(), true).SummaryText();
  EXPECT_EQ(text,
            "  1920 x 1080i at 60Hz, 74.25MHz, CEA[5]\r\n"
            "              Border -> Addressable -> Border -> Sync Start -> Sync End -> Total\r\n"
            "  Line......: 0      -> 1920        -> 1920   -> 2008       -> 2052     -> 2200 \r\n"
            "  Frame.....: 0      -> 1080        -> 1080   -> 1085       -> 1095     -> 1125 \r\n"
            "  Sync......: Digital Separate, VSYNC+, HSYNC+\r\n"
            "  Stereo....: 2D Timing\r\n"
            "  Image Size: 0mm x 0mm\r\n");
}

TEST(DetailedTimingTest, BordersComeOutOfTheBlankingUnderThe13Rule) {
  Bytes bytes = k1080p60;
  bytes[15] = 8;
  bytes[16] = 8;
  const ModeEntry m13 = DetailedTiming::Decode(bytes.data(), false).ToModeEntry(ModeBlockKind::EdidDescriptor0);
  const ModeEntry m14 = DetailedTiming::Decode(bytes.data(), true).ToModeEntry(ModeBlockKind::EdidDescriptor0);
  EXPECT_EQ(m13.hTotal, 2200u);
  EXPECT_EQ(m13.vTotal, 1125u);
  EXPECT_EQ(m14.hTotal, 2216u);
  EXPECT_EQ(m14.vTotal, 1141u);
  EXPECT_EQ(m13.hFrontPorch, 80u);
  EXPECT_EQ(m14.hFrontPorch, 88u);
  EXPECT_EQ(m13.hBorderLeft, 8u);
  EXPECT_EQ(m13.vBorderBottom, 8u);

  const std::string text = DetailedTiming::Decode(bytes.data(), false).SummaryText();
  EXPECT_NE(text.find("  Line......: 8      -> 1928        -> 1936   -> 2016       -> 2060     -> 2200 \r\n"),
            std::string::npos)
      << text;
}

TEST(DetailedTimingTest, BorderWiderThanTheBlankingIsAddedBackIntoTheTotals) {
  // Under the 1.3 rule the border leaves the blanking twice and comes back
  // twice: the totals are active + blanking, whatever the border.
  Bytes bytes = MakeTiming(2700, 720, 10, 480, 4);
  bytes[15] = 200;
  bytes[16] = 200;
  const DetailedTiming t = DetailedTiming::Decode(bytes.data(), false);
  const ModeEntry mode = t.ToModeEntry(ModeBlockKind::CeaExtension);
  EXPECT_EQ(mode.hTotal, 730u);
  EXPECT_EQ(mode.vTotal, 484u);
  // Sync offsets 16 and 3 less the border: porches below 0 show as 0.
  EXPECT_EQ(mode.hFrontPorch, 0u);
  EXPECT_EQ(mode.vFrontPorch, 0u);
  const std::string text = t.SummaryText();
  EXPECT_NE(text.find("  Line......: 200    -> 920         -> 1120   -> 936        -> 976      -> 730  \r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  Frame.....: 200    -> 680         -> 880    -> 683        -> 688      -> 484  \r\n"),
            std::string::npos)
      << text;
}

TEST(DetailedTimingTest, ModeEntryOfAProgressiveTiming) {
  const ModeEntry mode = DetailedTiming::Decode(k1080p60.data(), false).ToModeEntry(ModeBlockKind::EdidDescriptor0);
  EXPECT_EQ(mode.hActive, 1920u);
  EXPECT_EQ(mode.vActive, 1080u);
  EXPECT_EQ(mode.pixelClockKHz, 148500u);
  EXPECT_EQ(mode.refreshHz, 60u);
  EXPECT_EQ(mode.hSync, 44u);
  EXPECT_EQ(mode.vFrontPorch, 4u);
  EXPECT_EQ(mode.vSync, 5u);
  EXPECT_EQ(mode.source, ModeSource::Detailed);
  EXPECT_EQ(mode.blockKind, ModeBlockKind::EdidDescriptor0);
  EXPECT_EQ(mode.vic, 16u);
  EXPECT_EQ(mode.fractional, 0);
  EXPECT_EQ(mode.interlaced, 0);
  EXPECT_EQ(mode.format3D, Stereo3DFormat::None2D);
  EXPECT_EQ(mode.flags, kModeFlagHSyncPositive | kModeFlagVSyncPositive);
  EXPECT_TRUE(mode.present & kPresentVic);
  EXPECT_TRUE(mode.present & kPresentHPolarity);
  EXPECT_TRUE(mode.present & kPresentVPolarity);
  EXPECT_FALSE(mode.present & kPresent3DPolarity);
  EXPECT_FALSE(mode.present & kPresentRepetition);

  const ModeEntry fractional = DetailedTiming::Decode(k480p.data(), true).ToModeEntry(ModeBlockKind::CeaExtension);
  EXPECT_EQ(fractional.vic, 2u);
  EXPECT_EQ(fractional.fractional, 1);
  EXPECT_EQ(fractional.refreshHz, 60u);
  EXPECT_EQ(fractional.flags, 0u);
}

TEST(DetailedTimingTest, InterlacedModeEntryCountsTheFrameAndFindsItsFormat) {
  const ModeEntry mode = DetailedTiming::Decode(k1080i60.data(), true).ToModeEntry(ModeBlockKind::CeaExtension);
  EXPECT_EQ(mode.vActive, 1080u);
  EXPECT_EQ(mode.vTotal, 1125u);
  EXPECT_EQ(mode.vFrontPorch, 5u);
  EXPECT_EQ(mode.vSync, 10u);
  EXPECT_EQ(mode.refreshHz, 60u);
  EXPECT_EQ(mode.interlaced, 1);
  EXPECT_EQ(mode.vic, 5u);
  EXPECT_TRUE(mode.present & kPresentVic);
}

TEST(DetailedTimingTest, ModeEntryNoFormatWithoutAMatchingRow) {
  Bytes bytes = k1080p60;
  bytes[0] = 0xF3;
  bytes[1] = 0x39;
  const ModeEntry mode = DetailedTiming::Decode(bytes.data(), true).ToModeEntry(ModeBlockKind::EdidBase);
  EXPECT_EQ(mode.vic, 0u);
  EXPECT_FALSE(mode.present & kPresentVic);
  EXPECT_EQ(mode.refreshHz, 60u);
}

TEST(DetailedTimingTest, ZeroTotalsGiveRateZero) {
  const Bytes zero{};
  const DetailedTiming t = DetailedTiming::Decode(zero.data(), true);
  EXPECT_EQ(t.ToModeEntry(ModeBlockKind::EdidBase).refreshHz, 0u);
  EXPECT_EQ(FirstLine(zero), "     0 x 0p  at 0Hz, 0.00MHz\r\n");
}

TEST(DetailedTimingTest, SyncPolarityAndStereoInTheModeEntry) {
  Bytes bytes = k1080p60;
  bytes[17] = 0x12;  // digital composite, HSync +
  ModeEntry mode = DetailedTiming::Decode(bytes.data(), true).ToModeEntry(ModeBlockKind::EdidBase);
  EXPECT_TRUE(mode.present & kPresentHPolarity);
  EXPECT_FALSE(mode.present & kPresentVPolarity);
  EXPECT_EQ(mode.flags, kModeFlagHSyncPositive);

  bytes[17] = 0x06;  // analog composite: no polarity at all
  mode = DetailedTiming::Decode(bytes.data(), true).ToModeEntry(ModeBlockKind::EdidBase);
  EXPECT_FALSE(mode.present & (kPresentHPolarity | kPresentVPolarity));
  EXPECT_EQ(mode.flags, 0u);

  const struct {
    uint8_t flags;
    Stereo3DFormat format;
    bool polarity;
    bool right;
  } cases[] = {
      {0x20, Stereo3DFormat::FrameAlternate, true, true}, {0x21, Stereo3DFormat::Interleaved, true, true},
      {0x40, Stereo3DFormat::FrameAlternate, true, false}, {0x41, Stereo3DFormat::Interleaved, true, false},
      {0x60, Stereo3DFormat::Interleaved, false, false},   {0x61, Stereo3DFormat::SideBySide, false, false},
  };
  for (const auto& c : cases) {
    bytes[17] = c.flags;
    mode = DetailedTiming::Decode(bytes.data(), true).ToModeEntry(ModeBlockKind::EdidBase);
    EXPECT_EQ(mode.format3D, c.format) << int(c.flags);
    EXPECT_EQ((mode.present & kPresent3DPolarity) != 0, c.polarity) << int(c.flags);
    EXPECT_EQ((mode.flags & kModeFlag3DRightEyeFirst) != 0, c.right) << int(c.flags);
  }
}

TEST(DetailedTimingTest, SyncAndStereoLinesOfTheSummary) {
  const struct {
    uint8_t flags;
    const char* sync;
    const char* stereo;
  } cases[] = {
      {0x00, "  Sync......: Analog Composite, Without Serrations, on Green line only\r\n",
       "  Stereo....: 2D Timing\r\n"},
      {0x0E, "  Sync......: Bipolar Analog Composite, With Serrations, On all 3 RGB lines\r\n",
       "  Stereo....: 2D Timing\r\n"},
      {0x34, "  Sync......: Digital Composite, With Serrations, HSYNC-\r\n",
       "  Stereo....: Field sequential, right image when stereo sync signal = 1\r\n"},
      {0x3A, "  Sync......: Digital Separate, VSYNC-, HSYNC+\r\n",
       "  Stereo....: Field sequential, right image when stereo sync signal = 1\r\n"},
      {0x21, "  Sync......: Analog Composite, Without Serrations, on Green line only\r\n",
       "  Stereo....: 2-way interleaved, right image on even lines\r\n"},
      {0x40, "  Sync......: Analog Composite, Without Serrations, on Green line only\r\n",
       "  Stereo....: Field sequential, left image when stereo sync signal = 1\r\n"},
      {0x41, "  Sync......: Analog Composite, Without Serrations, on Green line only\r\n",
       "  Stereo....: 2-way interleaved, left image on even lines\r\n"},
      {0x60, "  Sync......: Analog Composite, Without Serrations, on Green line only\r\n",
       "  Stereo....: 4-way interleaved\r\n"},
      {0x61, "  Sync......: Analog Composite, Without Serrations, on Green line only\r\n",
       "  Stereo....: Side-by-Side interleaved\r\n"},
  };
  for (const auto& c : cases) {
    Bytes bytes = k1080p60;
    bytes[17] = c.flags;
    const std::string text = DetailedTiming::Decode(bytes.data(), true).SummaryText();
    EXPECT_NE(text.find(std::string(c.sync) + c.stereo), std::string::npos) << int(c.flags) << "\n" << text;
  }
}

TEST(DetailedTimingTest, HeightsFrom999OnHaveNoPadding) {
  EXPECT_EQ(FirstLine(MakeTiming(10000, 1000, 100, 998, 10)).substr(0, 20), "  1000 x 998p  at 90");
  EXPECT_EQ(FirstLine(MakeTiming(10000, 1000, 100, 999, 10)).substr(0, 19), "  1000 x 999p at 90");
}

TEST(DetailedTimingTest, ByteMapNamesAndGroup) {
  std::string name;
  std::string group;
  DetailedTiming::DescribeByte(0, 2, name, group);
  EXPECT_EQ(name, "Pixel Clock. Low Order Bits");
  EXPECT_EQ(group, "(Detailed Timing). 0th Byte of Entry[2]");
  DetailedTiming::DescribeByte(11, 0, name, group);
  EXPECT_EQ(name, "H/V Sync Start/Sync Width. High Order Bits");
  EXPECT_EQ(group, "(Detailed Timing). 11th Byte of Entry[0]");
  DetailedTiming::DescribeByte(17, 3, name, group);
  EXPECT_EQ(name, "Flags (Interlace, Stereo, Polarity, etc.)");
  EXPECT_EQ(group, "(Detailed Timing). 17th Byte of Entry[3]");
  name = "kept";
  group = "kept";
  DetailedTiming::DescribeByte(18, 0, name, group);
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(group, "kept");
}

}  // namespace
}  // namespace velmar
