#include <gtest/gtest.h>

#include <cstdint>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/DetailedTiming.h"
#include "blocks/Edid13Block.h"
#include "blocks/MonitorInfo.h"
#include "support/RecordingContext.h"
#include "support/TestData.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;
using testing::RandomBytes;
using testing::RecordingContext;

// A 1.x base block over its own bytes, with a listener that counts notifications.
struct Base13 {
  explicit Base13(uint8_t revision = 3) : data(MakeBase13()) {
    data[19] = revision;
    FixChecksum(data.data());
    block = std::make_unique<Edid13Block>(0, data.data(), 128, &context);
  }
  uint8_t* Slot(unsigned slot) { return data.data() + 54 + 18 * slot; }
  void SetSlot(unsigned slot, const std::vector<uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), Slot(slot));
    FixChecksum(data.data());
  }
  bool ChecksumOk() const { return DataBlock::ComputeChecksum(data.data(), 127) == data[127]; }

  std::vector<uint8_t> data;
  RecordingContext context;
  std::unique_ptr<Edid13Block> block;
};

TEST(Edid13BlockTest, VendorProductDecodesAndRoundTrips) {
  Base13 b;
  const uint8_t vendor[10] = {0x10, 0xAC, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 22, 255};
  std::memcpy(b.data.data() + 8, vendor, sizeof vendor);
  VendorProductInfo info;
  ASSERT_TRUE(b.block->GetVendorProduct(info));
  EXPECT_EQ(info.letter1, 4u);  // D
  EXPECT_EQ(info.letter2, 5u);  // E
  EXPECT_EQ(info.letter3, 12u); // L
  EXPECT_EQ(info.productCode, 0x1234u);
  EXPECT_EQ(info.serialNumber, 0x12345678u);
  EXPECT_EQ(info.week, 22u);
  EXPECT_EQ(info.year, 2245);

  info.year = 1989;
  b.block->SetVendorProduct(info);
  EXPECT_EQ(b.data[17], 255);
  EXPECT_TRUE(b.ChecksumOk());
  // Any year wraps modulo 256, even one at the far end of the integer range.
  info.year = INT32_MIN + 10;
  b.block->SetVendorProduct(info);
  EXPECT_EQ(b.data[17], static_cast<uint8_t>(10 - 1990));

  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> bytes = RandomBytes(random, 10);
    bytes[0] &= 0x7F;  // bit 7 of the name is always written as 0
    std::copy(bytes.begin(), bytes.end(), b.data.begin() + 8);
    b.block->GetVendorProduct(info);
    b.block->SetVendorProduct(info);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.data.begin() + 8)) << round;
  }
}

TEST(Edid13BlockTest, GammaCodes) {
  Base13 b;
  BasicParams params;
  b.data[23] = 0xFF;
  b.block->GetBasicParams(params);
  EXPECT_FALSE(params.gammaDefined);
  b.data[23] = 0;
  b.block->GetBasicParams(params);
  EXPECT_TRUE(params.gammaDefined);
  EXPECT_DOUBLE_EQ(params.gamma, 1.0);
  params.gamma = 2.2;
  b.block->SetBasicParams(params);
  EXPECT_EQ(b.data[23], 120);
  params.gamma = 1.0;
  b.block->SetBasicParams(params);
  EXPECT_EQ(b.data[23], 0);
  // A defined gamma never turns into the "not defined" mark.
  params.gamma = 3.6;
  b.block->SetBasicParams(params);
  EXPECT_EQ(b.data[23], 254);
  params.gamma = 0.5;
  b.block->SetBasicParams(params);
  EXPECT_EQ(b.data[23], 0);
}

TEST(Edid13BlockTest, BasicParamsDecode) {
  Base13 b;
  b.data[20] = 0x6F;  // analog, level 3, setup, separate, composite on H, on green, serration
  b.data[21] = 52;
  b.data[22] = 29;
  b.data[24] = 0xEF;
  BasicParams p;
  b.block->GetBasicParams(p);
  EXPECT_FALSE(p.digital);
  EXPECT_EQ(p.signalLevel, 3u);
  EXPECT_FALSE(p.blankToBlack);
  EXPECT_TRUE(p.separateSync && p.compositeSyncOnH && p.syncOnGreen && p.serrationOnVSync);
  EXPECT_EQ(p.sizeMode, BasicParams::kSizeInCm);
  EXPECT_EQ(p.hSizeCm, 52u);
  EXPECT_EQ(p.vSizeCm, 29u);
  EXPECT_EQ(p.displayType, 1u);
  EXPECT_TRUE(p.standby && p.suspend && p.activeOff && p.srgbDefault && p.preferredTimingNative && p.defaultGtf);

  b.data[21] = b.data[22] = 0;
  b.data[20] = 0x81;
  b.block->GetBasicParams(p);
  EXPECT_TRUE(p.digital);
  EXPECT_EQ(p.sizeMode, BasicParams::kSizeUndefined);
  EXPECT_EQ(p.signalLevel, 0u);
  EXPECT_FALSE(p.serrationOnVSync);
}

TEST(Edid13BlockTest, BasicParamsRoundTripOverManyPatterns) {
  Base13 b;
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    const std::vector<uint8_t> bytes = RandomBytes(random, 5);
    std::copy(bytes.begin(), bytes.end(), b.data.begin() + 20);
    BasicParams p;
    b.block->GetBasicParams(p);
    b.block->SetBasicParams(p);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.data.begin() + 20))
        << round << ": " << int(bytes[0]) << " " << int(bytes[4]);
  }
}

TEST(Edid13BlockTest, SwitchingToDigitalDropsTheAnalogSyncBits) {
  Base13 b;
  b.data[20] = 0x3F;
  BasicParams p;
  b.block->GetBasicParams(p);
  p.digital = true;
  b.block->SetBasicParams(p);
  EXPECT_EQ(b.data[20], 0xA0);  // bits 6-5 kept, 4-0 cleared
  p = BasicParams();
  p.signalLevel = 2;
  p.syncOnGreen = true;
  b.block->SetBasicParams(p);
  EXPECT_EQ(b.data[20], 0x42);
}

TEST(Edid13BlockTest, ColorCharacteristicsRoundTrip) {
  Base13 b;
  const uint8_t colors[10] = {0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54};
  std::memcpy(b.data.data() + 25, colors, sizeof colors);
  ColorCharacteristics c;
  b.block->GetColorCharacteristics(c);
  EXPECT_EQ(c.codes[ColorCharacteristics::kRedX], 0xA3u * 4 + 3);
  EXPECT_EQ(c.codes[ColorCharacteristics::kRedY], 0x54u * 4 + 2);
  EXPECT_EQ(c.codes[ColorCharacteristics::kGreenY], 0x99u * 4 + 2);
  EXPECT_EQ(c.codes[ColorCharacteristics::kWhiteY], 0x54u * 4 + 1);

  std::mt19937 random(3);
  for (int round = 0; round < 500; ++round) {
    const std::vector<uint8_t> bytes = RandomBytes(random, 10);
    std::copy(bytes.begin(), bytes.end(), b.data.begin() + 25);
    b.block->GetColorCharacteristics(c);
    b.block->SetColorCharacteristics(c);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.data.begin() + 25)) << round;
  }
}

TEST(Edid13BlockTest, EstablishedTimings) {
  Base13 b;
  b.data[35] = 0x21;  // 640x480@60 ... bit 0: 800x600@60
  b.data[37] = 0x80;  // 1152x870@75
  FixChecksum(b.data.data());
  EXPECT_TRUE(b.block->IsEstablishedTimingSet(0, 2));
  EXPECT_TRUE(b.block->IsEstablishedTimingSet(0, 7));
  EXPECT_TRUE(b.block->IsEstablishedTimingSet(0, 16));
  EXPECT_FALSE(b.block->IsEstablishedTimingSet(0, 0));
  EXPECT_FALSE(b.block->IsEstablishedTimingSet(0, 17));
  EXPECT_FALSE(b.block->IsEstablishedTimingSet(1, 0));
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(0, 0), " 720 x 400  at 70Hz");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(0, 11), "1024 x 768  at 87Hz(I)");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(0, 15), "1280 x 1024 at 75Hz");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(0, 16), "1152 x 872  at 75Hz");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(0, 17), "");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(1, 0), "");

  b.block->SetEstablishedTiming(0, 2, true);  // already set
  EXPECT_EQ(b.context.modifiedCalls, 0u);
  b.block->SetEstablishedTiming(0, 2, false);
  EXPECT_EQ(b.context.modifiedCalls, 1u);
  EXPECT_EQ(b.data[35], 0x01);
  b.block->SetEstablishedTiming(0, 16, false);
  EXPECT_EQ(b.data[37], 0x00);
  b.block->SetEstablishedTiming(0, 17, true);
  EXPECT_EQ(b.context.modifiedCalls, 2u);
  EXPECT_TRUE(b.ChecksumOk());
}

TEST(Edid13BlockTest, StandardTimingDecodeAndHeightRule) {
  Base13 b;
  const uint8_t codes[16] = {0xD1, 0xC0, 0x81, 0x80, 0x81, 0x40, 0x00, 0x00, 0x01, 0x01, 0xA9, 0x40, 0x71, 0x4F, 0xB3, 0x00};
  std::memcpy(b.data.data() + 38, codes, sizeof codes);
  FixChecksum(b.data.data());
  StandardTiming t;
  ASSERT_TRUE(b.block->GetStandardTiming(0, 0, t));
  EXPECT_TRUE(t.used);
  EXPECT_EQ(t.width, 1920u);
  EXPECT_EQ(t.refresh, 60u);
  EXPECT_EQ(t.aspect, kAspect16x9);
  b.block->GetStandardTiming(0, 1, t);
  EXPECT_EQ(t.aspect, kAspect5x4);
  b.block->GetStandardTiming(0, 2, t);
  EXPECT_EQ(t.aspect, kAspect4x3);
  b.block->GetStandardTiming(0, 3, t);  // 00 00 is used: 248 wide at 60 Hz
  EXPECT_TRUE(t.used);
  EXPECT_EQ(t.width, 248u);
  EXPECT_EQ(t.aspect, kAspect16x10);
  b.block->GetStandardTiming(0, 4, t);
  EXPECT_FALSE(t.used);

  ContentCollector modes;
  b.block->CollectModes(&modes);
  ASSERT_EQ(modes.modes.size(), 7u);
  EXPECT_EQ(modes.modes[3].hActive, 248u);
  EXPECT_EQ(modes.modes[3].vActive, 155u);
  EXPECT_EQ(modes.modes[3].refreshHz, 60u);

  // Aspect bits 00 are 1:1 below revision 3.
  Base13 old(2);
  std::memcpy(old.data.data() + 38, codes, sizeof codes);
  ContentCollector oldModes;
  old.block->CollectModes(&oldModes);
  EXPECT_EQ(oldModes.modes[3].vActive, 248u);
  EXPECT_EQ(oldModes.modes[6].hActive, 1680u);
  EXPECT_EQ(oldModes.modes[6].vActive, 1680u);
  EXPECT_EQ(modes.modes[6].vActive, 1050u);
}

TEST(Edid13BlockTest, StandardTimingEncode) {
  Base13 b;
  StandardTiming t{true, 1280, 75, kAspect5x4};
  b.block->SetStandardTiming(0, 7, t);
  EXPECT_EQ(b.data[52], 0x81);
  EXPECT_EQ(b.data[53], 0x8F);
  t.aspect = kAspect15x9;  // not a standard timing aspect: the old bits stay
  t.refresh = 60;
  b.block->SetStandardTiming(0, 7, t);
  EXPECT_EQ(b.data[53], 0x80);
  t.used = false;
  b.block->SetStandardTiming(0, 7, t);
  EXPECT_EQ(b.data[52], 0x01);
  EXPECT_EQ(b.data[53], 0x01);
  EXPECT_TRUE(b.ChecksumOk());

  std::mt19937 random(5);
  for (int round = 0; round < 1000; ++round) {
    const std::vector<uint8_t> code = RandomBytes(random, 2);
    std::copy(code.begin(), code.end(), b.data.begin() + 40);
    b.block->GetStandardTiming(0, 1, t);
    b.block->SetStandardTiming(0, 1, t);
    ASSERT_TRUE(std::equal(code.begin(), code.end(), b.data.begin() + 40)) << round;
  }
}

TEST(Edid13BlockTest, StandardTimingsDescriptorOnlyWithItsTag) {
  Base13 b;
  StandardTiming t{true, 1024, 60, kAspect4x3};
  StandardTiming out;
  EXPECT_FALSE(b.block->GetStandardTiming(2, 0, out));
  const std::vector<uint8_t> before = b.data;
  b.block->SetStandardTiming(2, 0, t);  // slot 2 is a dummy descriptor
  EXPECT_EQ(b.data, before);
  b.block->CreateDescriptor(kDescriptorStandardTimings, 1);
  b.block->SetStandardTiming(2, 5, t);
  EXPECT_EQ(b.Slot(1)[15], 0x61);
  EXPECT_EQ(b.Slot(1)[16], 0x40);
  EXPECT_EQ(b.Slot(1)[17], 0x0A);
  EXPECT_FALSE(b.block->GetStandardTiming(2, 6, out));
  EXPECT_FALSE(b.block->GetStandardTiming(0, 8, out));
  EXPECT_FALSE(b.block->GetStandardTiming(5, 0, out));
  ASSERT_TRUE(b.block->GetStandardTiming(2, 5, out));
  EXPECT_EQ(out.width, 1024u);
}

TEST(Edid13BlockTest, DescriptorKinds) {
  Base13 b;
  for (unsigned slot = 0; slot < 4; ++slot) EXPECT_EQ(b.block->GetDescriptorKind(slot), kDescriptorDummy);
  b.Slot(0)[3] = 0xFC;
  b.Slot(1)[3] = 0xF9;  // an EDID 1.4 tag means nothing to a 1.3 block
  b.Slot(2)[2] = 0x01;  // clock 0 but byte 2 set: a detailed timing
  b.Slot(3)[3] = 0xFD;
  b.Slot(3)[1] = 0x01;
  EXPECT_EQ(b.block->GetDescriptorKind(0), kDescriptorProductName);
  EXPECT_EQ(b.block->GetDescriptorKind(1), kDescriptorDummy);
  EXPECT_EQ(b.block->GetDescriptorKind(2), kDescriptorDetailedTiming);
  EXPECT_EQ(b.block->GetDescriptorKind(3), kDescriptorDetailedTiming);
  EXPECT_EQ(b.block->GetDescriptorKind(4), kDescriptorDummy);

  EXPECT_FALSE(b.block->CanAddDescriptor(kDescriptorProductName));
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorAsciiString));
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorDetailedTiming));
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorStandardTimings));
  // The range limits tag of slot 3 sits behind a non-zero byte 1: it does not count.
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorRangeLimits));
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorSerialNumber));
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorColorPoint));
  EXPECT_FALSE(b.block->CanAddDescriptor(kDescriptorDummy));
  for (unsigned kind = 8; kind <= 11; ++kind) EXPECT_FALSE(b.block->CanAddDescriptor(kind)) << kind;

  EXPECT_STREQ(Edid13Block::DescriptorKindName(7), "Standard Timing Identifications");
  EXPECT_STREQ(Edid13Block::DescriptorKindName(10), "Established Timings III");
  EXPECT_STREQ(Edid13Block::DescriptorKindName(11), "");
}

TEST(Edid13BlockTest, CreateDescriptorWritesItsDefaults) {
  Base13 b;
  b.block->CreateDescriptor(kDescriptorRangeLimits, 0);
  const std::vector<uint8_t> range = {0x00, 0x00, 0x00, 0xFD, 0x00, 0x01, 0xFF, 0x01, 0xFF,
                                      0x01, 0x00, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  EXPECT_TRUE(std::equal(range.begin(), range.end(), b.Slot(0)));
  EXPECT_EQ(b.context.modifiedCalls, 1u);
  EXPECT_TRUE(b.ChecksumOk());
  EXPECT_FALSE(b.block->CanAddDescriptor(kDescriptorRangeLimits));

  b.block->CreateDescriptor(kDescriptorDetailedTiming, 1);
  const std::vector<uint8_t> timing = {0x18, 0x15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(timing.begin(), timing.end(), b.Slot(1)));
  EXPECT_EQ(b.block->GetDescriptorKind(1), kDescriptorDetailedTiming);

  b.block->CreateDescriptor(kDescriptorProductName, 2);
  const std::vector<uint8_t> text = {0, 0, 0, 0xFC, 0, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  EXPECT_TRUE(std::equal(text.begin(), text.end(), b.Slot(2)));

  b.block->CreateDescriptor(kDescriptorColorPoint, 3);
  const std::vector<uint8_t> point = {0, 0, 0, 0xFB, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0x0A, 0x20, 0x20};
  EXPECT_TRUE(std::equal(point.begin(), point.end(), b.Slot(3)));

  b.block->CreateDescriptor(kDescriptorStandardTimings, 3);
  const std::vector<uint8_t> standard = {0, 0, 0, 0xFA, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0x0A};
  EXPECT_TRUE(std::equal(standard.begin(), standard.end(), b.Slot(3)));

  // Kinds the block does not know, and slots outside 0-3, write nothing.
  const std::vector<uint8_t> before = b.data;
  b.block->CreateDescriptor(kDescriptorColorManagement, 0);
  b.block->CreateDescriptor(kDescriptorDummy, 0);
  b.block->CreateDescriptor(kDescriptorAsciiString, 4);
  b.block->ClearDescriptor(4);
  EXPECT_EQ(b.data, before);

  b.block->ClearDescriptor(0);
  const std::vector<uint8_t> dummy = {0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(dummy.begin(), dummy.end(), b.Slot(0)));
  EXPECT_TRUE(b.ChecksumOk());
}

TEST(Edid13BlockTest, DescriptorStringCopiesThirteenBytes) {
  Base13 b;
  DescriptorText text;
  const char* name = "DELL U2410\n  ";
  std::memcpy(text.bytes.data(), name, 13);
  b.block->SetDescriptorString(4, text);
  EXPECT_EQ(std::memcmp(b.Slot(3) + 5, name, 13), 0);
  EXPECT_EQ(b.Slot(3)[3], 0x10);  // the tag is not the string's business
  DescriptorText back;
  ASSERT_TRUE(b.block->GetDescriptorString(4, back));
  EXPECT_EQ(back.bytes, text.bytes);
  EXPECT_FALSE(b.block->GetDescriptorString(0, back));
  EXPECT_FALSE(b.block->GetDescriptorString(5, back));
}

TEST(Edid13BlockTest, ColorPointRoundTrip) {
  Base13 b;
  b.SetSlot(0, {0, 0, 0, 0xFB, 0, 0x01, 0x0E, 0x50, 0x54, 0x78, 0x02, 0x05, 0x51, 0x55, 0xFF, 0x0A, 0x20, 0x20});
  ColorPoint p;
  ASSERT_TRUE(b.block->GetColorPoint(1, p));
  EXPECT_EQ(p.whiteIndex1, 1u);
  EXPECT_EQ(p.whiteX1, 0x50u * 4 + 3);
  EXPECT_EQ(p.whiteY1, 0x54u * 4 + 2);
  EXPECT_TRUE(p.gamma1Defined);
  EXPECT_DOUBLE_EQ(p.gamma1, 2.2);
  EXPECT_EQ(p.whiteIndex2, 2u);
  EXPECT_EQ(p.whiteX2, 0x51u * 4 + 1);
  EXPECT_EQ(p.whiteY2, 0x55u * 4 + 1);
  EXPECT_FALSE(p.gamma2Defined);

  std::mt19937 random(13);
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bytes = RandomBytes(random, 18);
    bytes[0] = bytes[1] = bytes[2] = 0;
    bytes[3] = 0xFB;
    // A set with index 0 holds no white point: its bytes are zero.
    if (bytes[5] == 0 || round % 4 == 0) {
      bytes[5] = 0;
      bytes[6] = bytes[7] = bytes[8] = 0;
    }
    if (bytes[10] == 0 || round % 4 == 1) {
      bytes[10] = 0;
      bytes[11] = bytes[12] = bytes[13] = 0;
    }
    b.SetSlot(0, bytes);
    b.block->GetColorPoint(1, p);
    b.block->SetColorPoint(1, p);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.Slot(0))) << round;
  }
}

TEST(Edid13BlockTest, RangeLimitsDecodeAndRoundTrip) {
  Base13 b;
  b.SetSlot(1, {0, 0, 0, 0xFD, 0, 50, 75, 30, 83, 17, 0x02, 0x00, 0x46, 0x50, 0x34, 0x12, 0x80, 0x28});
  RangeLimits r;
  ASSERT_TRUE(b.block->GetRangeLimits(2, r));
  EXPECT_FALSE(r.offsetsAvailable);
  EXPECT_EQ(r.minVRate, 50u);
  EXPECT_EQ(r.maxVRate, 75u);
  EXPECT_EQ(r.minHRate, 30u);
  EXPECT_EQ(r.maxHRate, 83u);
  EXPECT_EQ(r.maxPixelClockMHz, 170u);
  EXPECT_EQ(r.timingSupport, RangeLimits::kSupportSecondaryGtf);
  EXPECT_EQ(r.gtfStartFreqKHz, 140u);
  EXPECT_EQ(r.gtfC, 40u);
  EXPECT_EQ(r.gtfM, 0x1234u);
  EXPECT_EQ(r.gtfK, 128u);
  EXPECT_EQ(r.gtfJ, 20u);

  r.timingSupport = RangeLimits::kSupportNone;
  r.maxPixelClockMHz = 165;  // rounds half away from zero
  b.block->SetRangeLimits(2, r);
  const std::vector<uint8_t> plain = {0, 0, 0, 0xFD, 0, 50, 75, 30, 83, 17, 0x00, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), b.Slot(1)));

  std::mt19937 random(17);
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bytes = RandomBytes(random, 18);
    bytes[0] = bytes[1] = bytes[2] = bytes[4] = 0;
    bytes[3] = 0xFD;
    if (round % 2 == 0) {  // secondary GTF: reserved byte 0, C and J even
      bytes[10] = 2;
      bytes[11] = 0;
      bytes[13] &= 0xFE;
      bytes[17] &= 0xFE;
    } else {
      bytes[10] = 0;
      bytes[11] = 0x0A;
      std::fill(bytes.begin() + 12, bytes.end(), 0x20);
    }
    b.SetSlot(1, bytes);
    b.block->GetRangeLimits(2, r);
    b.block->SetRangeLimits(2, r);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.Slot(1))) << round;
  }
}

TEST(Edid13BlockTest, RangeLimitsKeepTheirTailWhileTheSupportStays) {
  // Byte 10 = 1 (range limits only, read as no secondary formula) and
  // padding other than 0A 20 stay through a change of the rates; a change of
  // the support rewrites them.
  Base13 b;
  const std::vector<uint8_t> odd = {0, 0, 0, 0xFD, 0, 50, 75, 30, 83, 17, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  b.SetSlot(1, odd);
  RangeLimits r;
  b.block->GetRangeLimits(2, r);
  r.maxVRate = 76;
  b.block->SetRangeLimits(2, r);
  EXPECT_EQ(b.Slot(1)[6], 76);
  EXPECT_TRUE(std::equal(odd.begin() + 10, odd.end(), b.Slot(1) + 10));

  r.timingSupport = RangeLimits::kSupportSecondaryGtf;
  b.block->SetRangeLimits(2, r);
  EXPECT_EQ(b.Slot(1)[10], 2);
  r.timingSupport = RangeLimits::kSupportNone;
  b.block->SetRangeLimits(2, r);
  const std::vector<uint8_t> plain = {0x00, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), b.Slot(1) + 10));
}

TEST(Edid13BlockTest, AnUnusedWhitePointKeepsItsBytes) {
  Base13 b;
  const std::vector<uint8_t> point = {0, 0, 0, 0xFB, 0, 1, 0x05, 0x50, 0x54, 0x78, 0x00, 0x0A, 0x20, 0x20, 0xFF, 0x0A, 0x20, 0x20};
  b.SetSlot(2, point);
  ColorPoint p;
  b.block->GetColorPoint(3, p);
  EXPECT_EQ(p.whiteIndex2, 0u);
  p.gamma1 = 2.5;
  b.block->SetColorPoint(3, p);
  EXPECT_EQ(b.Slot(2)[9], 150);
  EXPECT_TRUE(std::equal(point.begin() + 10, point.end(), b.Slot(2) + 10));
  // A point that loses its index clears its bytes.
  p.whiteIndex1 = 0;
  b.block->SetColorPoint(3, p);
  EXPECT_EQ(std::vector<uint8_t>(b.Slot(2) + 5, b.Slot(2) + 9), std::vector<uint8_t>(4, 0));
}

TEST(Edid13BlockTest, DetailedTimingsOfTheSlots) {
  Base13 b;
  b.SetSlot(0, {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0xA0, 0x5A, 0x00, 0x08, 0x00, 0x1E});
  DetailedTiming t;
  b.block->GetDetailedTiming(1, t);
  EXPECT_EQ(t.hActive, 1920u);
  EXPECT_EQ(t.hBorder, 8u);
  EXPECT_FALSE(t.bordersOutsideBlanking);

  DetailedTiming untouched;
  untouched.hActive = 77;
  b.block->GetDetailedTiming(0, untouched);
  b.block->GetDetailedTiming(5, untouched);
  EXPECT_EQ(untouched.hActive, 77u);

  t.hActive = 1280;
  b.block->SetDetailedTiming(4, t);
  EXPECT_EQ(b.Slot(3)[2], 0x00);
  EXPECT_EQ(b.Slot(3)[4], 0x51);
  EXPECT_TRUE(b.ChecksumOk());
  const std::vector<uint8_t> before = b.data;
  b.block->SetDetailedTiming(0, t);
  b.block->SetDetailedTiming(5, t);
  EXPECT_EQ(b.data, before);
}

TEST(Edid13BlockTest, CollectModesInOrderWithKindsAndSources) {
  Base13 b;
  b.data[35] = 0x20;                // 640x480@60
  b.data[38] = 0x81;                // 1280x1024@60 (5:4)
  b.data[39] = 0x80;
  b.SetSlot(0, {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0xA0, 0x5A, 0x00, 0x00, 0x00, 0x1E});
  b.SetSlot(2, {0, 0, 0, 0xFA, 0, 0xD1, 0xC0, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x0A});
  b.SetSlot(3, {0x00, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // clock 0: no mode
  ContentCollector sink;
  b.block->CollectModes(&sink);
  ASSERT_EQ(sink.modes.size(), 4u);
  EXPECT_EQ(sink.modes[0].source, ModeSource::Established);
  EXPECT_EQ(sink.modes[0].blockKind, ModeBlockKind::EdidBase);
  EXPECT_EQ(sink.modes[0].hActive, 640u);
  EXPECT_EQ(sink.modes[1].source, ModeSource::Standard);
  EXPECT_EQ(sink.modes[1].blockKind, ModeBlockKind::EdidBase);
  EXPECT_EQ(sink.modes[1].vActive, 1024u);
  EXPECT_EQ(sink.modes[2].source, ModeSource::Standard);
  EXPECT_EQ(sink.modes[2].blockKind, ModeBlockKind::EdidDescriptor2);
  EXPECT_EQ(sink.modes[2].hActive, 1920u);
  EXPECT_EQ(sink.modes[2].vActive, 1080u);
  EXPECT_EQ(sink.modes[3].source, ModeSource::Detailed);
  EXPECT_EQ(sink.modes[3].blockKind, ModeBlockKind::EdidDescriptor0);
  EXPECT_EQ(sink.modes[3].vic, 16u);
  for (const ModeEntry& mode : sink.modes) {
    EXPECT_TRUE(mode.present & kPresentSource);
    EXPECT_TRUE(mode.present & kPresentBlockKind);
    EXPECT_TRUE(mode.present & kPresentRefresh);
  }
  EXPECT_EQ(sink.modes[0].interlaced, 0);
}

TEST(Edid13BlockTest, LargestMode) {
  Base13 b;
  unsigned width = 0;
  unsigned height = 0;
  b.block->GetLargestMode(width, height);
  EXPECT_EQ(width, 0u);
  b.data[36] = 0x01;  // 1280x1024@75
  b.block->GetLargestMode(width, height);
  EXPECT_EQ(width, 1280u);
  EXPECT_EQ(height, 1024u);
  // An interlaced 1280 x 540 field is 1080 lines high: taller, same width.
  b.SetSlot(1, {0x01, 0x1D, 0x00, 0x72, 0x51, 0x1C, 0x16, 0x20, 0x6E, 0x28, 0x55, 0x00, 0, 0, 0, 0, 0, 0x9E});
  b.block->GetLargestMode(width, height);
  EXPECT_EQ(width, 1280u);
  EXPECT_EQ(height, 1080u);
  // A standard timing in a 0xFA descriptor.
  b.SetSlot(2, {0, 0, 0, 0xFA, 0, 0x01, 0x01, 0xD1, 0xC0, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x0A});
  b.block->GetLargestMode(width, height);
  EXPECT_EQ(width, 1920u);
  EXPECT_EQ(height, 1080u);
  // The caller's larger pair stays.
  width = 4000;
  height = 1;
  b.block->GetLargestMode(width, height);
  EXPECT_EQ(width, 4000u);
  EXPECT_EQ(height, 1u);
}

TEST(Edid13BlockTest, MonitorInfo) {
  Base13 b;
  MonitorInfo info;
  b.block->GetMonitorInfo(info);
  EXPECT_EQ(info.manufacturer, "XXX");
  EXPECT_EQ(info.pnpId, "XXX0");
  EXPECT_EQ(info.monitorName, "Default Monitor");
  EXPECT_FALSE(info.powerManagement);
  VendorProductInfo vendor;
  b.block->GetVendorProduct(vendor);
  EXPECT_EQ(vendor.letter1 + vendor.letter2 + vendor.letter3, 0u);

  b.data[8] = 0x10;  // DEL
  b.data[9] = 0xAC;
  b.data[10] = 0x57;
  b.data[11] = 0x40;
  b.data[24] = 0x20;
  b.SetSlot(0, {0, 0, 0, 0xFD, 0x0E, 50, 75, 30, 83, 17, 0, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  b.SetSlot(1, {0, 0, 0, 0xFC, 0, 'D', 'E', 'L', 'L', ' ', 'U', '2', '4', '1', '0', 0x0A, 0x20, 0x20});
  b.SetSlot(2, {0, 0, 0, 0xFC, 0, 'O', 't', 'h', 'e', 'r', 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  MonitorInfo dell;
  dell.minVRate = -1;
  b.block->GetMonitorInfo(dell);
  EXPECT_EQ(dell.manufacturer, "DEL");
  EXPECT_EQ(dell.pnpId, "DEL4057");
  EXPECT_EQ(dell.monitorName, "DELL U2410");
  EXPECT_TRUE(dell.powerManagement);
  // A 1.3 block ignores the rate offsets of byte 4.
  EXPECT_EQ(dell.minVRate, 50);
  EXPECT_EQ(dell.maxVRate, 75);
  EXPECT_EQ(dell.minHRate, 30);
  EXPECT_EQ(dell.maxHRate, 83);

  // A zero letter leaves no hole in the texts.
  b.data[8] = 0x00;
  b.data[9] = 0x2C;  // letters 0, 1, 12
  MonitorInfo gap;
  b.block->GetMonitorInfo(gap);
  EXPECT_EQ(gap.manufacturer, "AL");
  EXPECT_EQ(gap.pnpId, "AL4057");

  // Without a range limits descriptor the caller's rates stay.
  b.block->ClearDescriptor(0);
  MonitorInfo kept;
  kept.maxHRate = 99;
  b.block->GetMonitorInfo(kept);
  EXPECT_EQ(kept.maxHRate, 99);
}

TEST(Edid13BlockTest, WritesOnAnEmptyModelDoNothing) {
  std::vector<uint8_t> data = MakeBase13();
  data[0] = 0x01;
  const std::vector<uint8_t> before = data;
  RecordingContext context;
  Edid13Block block(0, data.data(), 128, &context);
  ASSERT_TRUE(block.IsEmpty());
  block.CreateDescriptor(kDescriptorAsciiString, 0);
  block.ClearDescriptor(0);
  block.SetExtensionCount(3);
  block.SetVendorProduct(VendorProductInfo{});
  block.SetBasicParams(BasicParams{});
  block.SetColorCharacteristics(ColorCharacteristics{});
  block.SetEstablishedTiming(0, 1, true);
  block.SetStandardTiming(0, 0, StandardTiming{});
  block.SetDescriptorString(1, DescriptorText{});
  block.SetColorPoint(1, ColorPoint{});
  block.SetRangeLimits(1, RangeLimits{});
  block.SetDetailedTiming(1, DetailedTiming{});
  EXPECT_EQ(data, before);
  EXPECT_EQ(context.modifiedCalls, 0u);
  VendorProductInfo vendor;
  vendor.week = 99;
  EXPECT_FALSE(block.GetVendorProduct(vendor));
  EXPECT_EQ(vendor.week, 99u);
  EXPECT_FALSE(block.CanAddDescriptor(kDescriptorAsciiString));
  ContentCollector sink;
  block.CollectModes(&sink);
  EXPECT_TRUE(sink.modes.empty());
  EXPECT_EQ(block.Validate(&sink), 0u);
  EXPECT_TRUE(sink.Text().empty());
  MonitorInfo info;
  block.GetMonitorInfo(info);
  EXPECT_TRUE(info.pnpId.empty());
}

TEST(Edid13BlockTest, ArbitraryBytesStayInsideTheBlock) {
  // Every query over random bytes (header and version kept so the model
  // accepts them); the sanitizers catch any read outside the 128 bytes.
  std::mt19937 random(23);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> data = RandomBytes(random, 128);
    std::memcpy(data.data(), kEdidHeader, 8);
    data[18] = 1;
    data[19] = static_cast<uint8_t>(round % 4);
    if (round % 3 == 0) {
      for (unsigned slot = 0; slot < 4; ++slot) {
        uint8_t* s = data.data() + 54 + 18 * slot;
        s[0] = s[1] = s[2] = 0;
        s[3] = static_cast<uint8_t>(0xF7 + (round + slot) % 9);
      }
    }
    Edid13Block block(0, data.data(), 128, nullptr);
    ASSERT_FALSE(block.IsEmpty());
    ContentCollector sink;
    block.CollectModes(&sink);
    block.Validate(&sink);
    for (unsigned i = 0; i < 130; ++i) {
      std::string name, group, label;
      block.DescribeByte(i, name, group, label);
      if (i < 128) {
        EXPECT_EQ(label, Format("EDID-v1.%u", data[19])) << i;
      } else {
        EXPECT_TRUE(label.empty());
      }
    }
    unsigned width = 0, height = 0;
    block.GetLargestMode(width, height);
    MonitorInfo info;
    block.GetMonitorInfo(info);
    EXPECT_LE(info.monitorName.size(), 26u);
  }
}

}  // namespace
}  // namespace velmar
