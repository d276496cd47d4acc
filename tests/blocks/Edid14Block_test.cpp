#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/DetailedTiming.h"
#include "blocks/Edid14Block.h"
#include "blocks/MonitorInfo.h"
#include "support/RecordingContext.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::RandomBytes;
using testing::RecordingContext;

struct Base14 {
  Base14() : data(128) {
    Edid14Block::InitDefaultBytes(data.data(), 128);
    block = std::make_unique<Edid14Block>(0, data.data(), 128, &context);
  }
  uint8_t* Slot(unsigned slot) { return data.data() + 54 + 18 * slot; }
  void SetSlot(unsigned slot, const std::vector<uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), Slot(slot));
    FixChecksum(data.data());
  }
  bool ChecksumOk() const { return DataBlock::ComputeChecksum(data.data(), 127) == data[127]; }

  std::vector<uint8_t> data;
  RecordingContext context;
  std::unique_ptr<Edid14Block> block;
};

TEST(Edid14BlockTest, AspectRatioBytes) {
  Base14 b;
  b.data[21] = 79;
  b.data[22] = 0;
  BasicParams p;
  b.block->GetBasicParams(p);
  EXPECT_EQ(p.sizeMode, BasicParams::kLandscape16x9);
  EXPECT_EQ(p.hSizeCm, 0u);
  EXPECT_EQ(p.vSizeCm, 0u);

  const struct {
    uint8_t h, v;
    uint32_t mode;
  } cases[] = {{61, 0, 3}, {34, 0, 4}, {26, 0, 5}, {0, 79, 6}, {0, 61, 7}, {0, 34, 8}, {0, 26, 9}, {0, 0, 1}, {60, 34, 0}};
  for (const auto& c : cases) {
    b.data[21] = c.h;
    b.data[22] = c.v;
    b.block->GetBasicParams(p);
    EXPECT_EQ(p.sizeMode, c.mode) << int(c.h) << " " << int(c.v);
  }

  p.sizeMode = BasicParams::kPortrait9x16;
  b.block->SetBasicParams(p);
  EXPECT_EQ(b.data[21], 0x00);
  EXPECT_EQ(b.data[22], 0x4F);
  p.sizeMode = BasicParams::kLandscape5x4;
  b.block->SetBasicParams(p);
  EXPECT_EQ(b.data[21], 26);
  EXPECT_EQ(b.data[22], 0);
  EXPECT_TRUE(b.ChecksumOk());
}

TEST(Edid14BlockTest, UnknownAspectByteIsKeptAsStored) {
  Base14 b;
  b.data[21] = 100;  // an aspect ratio of 1.99, none of the four known ones
  b.data[22] = 0;
  BasicParams p;
  b.block->GetBasicParams(p);
  EXPECT_EQ(p.sizeMode, BasicParams::kSizeInCm);
  EXPECT_EQ(p.hSizeCm, 100u);
  EXPECT_EQ(p.vSizeCm, 0u);
  p.gamma = 2.2;
  b.block->SetBasicParams(p);
  EXPECT_EQ(b.data[21], 100);
  EXPECT_EQ(b.data[22], 0);

  b.data[21] = 0;
  b.data[22] = 5;
  b.block->GetBasicParams(p);
  EXPECT_EQ(p.sizeMode, BasicParams::kSizeInCm);
  EXPECT_EQ(p.vSizeCm, 5u);
}

TEST(Edid14BlockTest, DigitalInputFields) {
  Base14 b;
  b.data[20] = 0xA5;  // digital, 8 bits per colour, DisplayPort
  b.data[24] = 0x1B;  // RGB & YCrCb 4:4:4 & 4:2:2, preferred native, continuous
  BasicParams p;
  b.block->GetBasicParams(p);
  EXPECT_TRUE(p.digital);
  EXPECT_EQ(p.colorDepth, 2u);
  EXPECT_EQ(p.digitalInterface, 5u);
  EXPECT_EQ(p.displayType, 7u);
  EXPECT_TRUE(p.continuousFrequency);
  EXPECT_FALSE(p.defaultGtf);
  EXPECT_TRUE(p.preferredTimingNative);

  p.colorDepth = 4;
  p.digitalInterface = 2;
  p.displayType = 5;
  p.continuousFrequency = false;
  b.block->SetBasicParams(p);
  EXPECT_EQ(b.data[20], 0xC2);
  EXPECT_EQ(b.data[24], 0x0A);
}

TEST(Edid14BlockTest, BasicParamsRoundTripOverManyPatterns) {
  Base14 b;
  std::mt19937 random(29);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes = RandomBytes(random, 5);
    // Aspect ratio bytes now and then.
    if (round % 3 == 0) bytes[1 + round % 2] = 0;
    if (round % 5 == 0) bytes[1] = round % 2 ? 79 : 34;
    std::copy(bytes.begin(), bytes.end(), b.data.begin() + 20);
    BasicParams p;
    b.block->GetBasicParams(p);
    b.block->SetBasicParams(p);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.data.begin() + 20)) << round;
  }
}

TEST(Edid14BlockTest, CvtCodes) {
  CvtCode code;
  const uint8_t bytes[3] = {0x1B, 0x28, 0x10};
  Edid14Block::DecodeCvtCode(bytes, code);
  EXPECT_TRUE(code.used);
  EXPECT_EQ(code.lines, 1080u);
  EXPECT_EQ(code.aspect, kAspect16x10);
  EXPECT_EQ(code.preferredRate, 0u);
  EXPECT_TRUE(code.rate50);
  EXPECT_FALSE(code.rate60 || code.rate75 || code.rate85 || code.rate60Rb);
  EXPECT_EQ(code.Width(), 1728u);

  const uint8_t zero[3] = {0, 0, 0};
  Edid14Block::DecodeCvtCode(zero, code);
  EXPECT_FALSE(code.used);
  const uint8_t reserved[3] = {0x1B, 0x2C, 0x10};
  Edid14Block::DecodeCvtCode(reserved, code);
  EXPECT_FALSE(code.used);

  CvtCode wide{true, 1080, kAspect16x9, 1, false, true, false, false, false};
  EXPECT_EQ(wide.Width(), 1920u);
  CvtCode square{true, 1024, kAspect4x3, 0, true, false, false, false, false};
  EXPECT_EQ(square.Width(), 1360u);
}

TEST(Edid14BlockTest, CvtCodesOnlyInTheirDescriptor) {
  Base14 b;
  CvtCode code{true, 1080, kAspect16x9, 1, false, true, false, false, true};
  CvtCode out;
  EXPECT_FALSE(b.block->GetCvtCode(1, 0, out));
  const std::vector<uint8_t> before = b.data;
  b.block->SetCvtCode(1, 0, code);
  EXPECT_EQ(b.data, before);

  b.block->CreateDescriptor(kDescriptorCvtCodes, 0);
  EXPECT_EQ(b.Slot(0)[3], 0xF8);
  EXPECT_EQ(b.Slot(0)[5], 1);
  b.block->SetCvtCode(1, 3, code);
  EXPECT_EQ(b.Slot(0)[15], 0x1B);
  EXPECT_EQ(b.Slot(0)[16], 0x24);
  EXPECT_EQ(b.Slot(0)[17], 0x29);
  ASSERT_TRUE(b.block->GetCvtCode(1, 3, out));
  EXPECT_EQ(out.lines, 1080u);
  EXPECT_EQ(out.aspect, kAspect16x9);
  EXPECT_FALSE(b.block->GetCvtCode(1, 4, out));
  EXPECT_TRUE(b.ChecksumOk());

  std::mt19937 random(31);
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> c = RandomBytes(random, 3);
    if (((c[1] >> 2) & 3) == 3) c[1] ^= 0x04;  // aspect 11 is reserved: such a code is unused
    if (c[0] == 0 && c[1] == 0 && c[2] == 0) c[2] = 1;
    std::copy(c.begin(), c.end(), b.Slot(0) + 6);
    b.block->GetCvtCode(1, 0, out);
    b.block->SetCvtCode(1, 0, out);
    ASSERT_TRUE(std::equal(c.begin(), c.end(), b.Slot(0) + 6)) << round;
  }
}

TEST(Edid14BlockTest, RangeLimitsOffsetsAndSupport) {
  Base14 b;
  b.block->CreateDescriptor(kDescriptorRangeLimits, 1);
  RangeLimits r;
  ASSERT_TRUE(b.block->GetRangeLimits(2, r));
  EXPECT_TRUE(r.offsetsAvailable);
  EXPECT_TRUE(r.extendedSupport);
  EXPECT_EQ(r.timingSupport, RangeLimits::kSupportDefaultGtf);  // byte 10 = 0

  r.hOffsetMode = 1;
  r.vOffsetMode = 0;
  b.block->SetRangeLimits(2, r);
  EXPECT_EQ(b.Slot(1)[4], 0x08);
  RangeLimits back;
  b.block->GetRangeLimits(2, back);
  EXPECT_EQ(back.hOffsetMode, 1u);
  EXPECT_EQ(back.vOffsetMode, 0u);
  back.vOffsetMode = 2;
  b.block->SetRangeLimits(2, back);
  EXPECT_EQ(b.Slot(1)[4], 0x0B);
  b.block->GetRangeLimits(2, back);
  EXPECT_EQ(back.hOffsetMode, 1u);
  EXPECT_EQ(back.vOffsetMode, 2u);

  back.timingSupport = RangeLimits::kSupportNone;
  b.block->SetRangeLimits(2, back);
  EXPECT_EQ(b.Slot(1)[10], 1);
  b.block->GetRangeLimits(2, back);
  EXPECT_EQ(back.timingSupport, RangeLimits::kSupportNone);
  back.timingSupport = RangeLimits::kSupportDefaultGtf;
  b.block->SetRangeLimits(2, back);
  EXPECT_EQ(b.Slot(1)[10], 0);
  EXPECT_EQ(b.Slot(1)[11], 0x0A);
}

TEST(Edid14BlockTest, RangeLimitsKeepAByte10TheRecordCannotName) {
  // Byte 10 = 3 reads as default GTF; writing default GTF back keeps it.
  Base14 b;
  b.block->CreateDescriptor(kDescriptorRangeLimits, 0);
  b.Slot(0)[10] = 3;
  FixChecksum(b.data.data());
  RangeLimits r;
  b.block->GetRangeLimits(1, r);
  ASSERT_EQ(r.timingSupport, RangeLimits::kSupportDefaultGtf);
  r.minHRate = 30;
  b.block->SetRangeLimits(1, r);
  EXPECT_EQ(b.Slot(0)[7], 30);
  EXPECT_EQ(b.Slot(0)[10], 3);
}

TEST(Edid14BlockTest, RangeLimitsCvtRoundTrip) {
  Base14 b;
  const std::vector<uint8_t> cvt = {0, 0, 0, 0xFD, 0x00, 48, 144, 30, 160, 45, 0x04, 0x11, 0x6D, 0xB4, 0xF8, 0x38, 0xF0, 60};
  b.SetSlot(0, cvt);
  RangeLimits r;
  b.block->GetRangeLimits(1, r);
  EXPECT_EQ(r.timingSupport, RangeLimits::kSupportCvt);
  EXPECT_EQ(r.cvtVersion, 0x11u);
  EXPECT_EQ(r.cvtClockPrecisionKHz, 27u * 250);
  EXPECT_EQ(r.cvtMaxLineLength, 0x1B4u);
  EXPECT_TRUE(r.cvtAspect4x3 && r.cvtAspect16x9 && r.cvtAspect16x10 && r.cvtAspect5x4 && r.cvtAspect15x9);
  EXPECT_EQ(r.cvtPreferredAspect, kAspect16x9);
  EXPECT_TRUE(r.cvtReducedBlanking);
  EXPECT_TRUE(r.cvtStandardBlanking);
  EXPECT_TRUE(r.cvtHShrink && r.cvtHStretch && r.cvtVShrink && r.cvtVStretch);
  EXPECT_EQ(r.cvtPreferredRate, 60u);
  b.block->SetRangeLimits(1, r);
  EXPECT_TRUE(std::equal(cvt.begin(), cvt.end(), b.Slot(0)));

  // A reserved preferred aspect leaves the field as the caller had it.
  b.Slot(0)[15] = 0xBC;
  RangeLimits kept;
  kept.cvtPreferredAspect = kAspect5x4;
  b.block->GetRangeLimits(1, kept);
  EXPECT_EQ(kept.cvtPreferredAspect, kAspect5x4);
}

TEST(Edid14BlockTest, ColorManagementRoundTrip) {
  Base14 b;
  b.block->CreateDescriptor(kDescriptorColorManagement, 2);
  EXPECT_EQ(b.Slot(2)[5], 3);
  ColorManagement m;
  ASSERT_TRUE(b.block->GetColorManagement(3, m));
  EXPECT_EQ(m.version, 3u);
  m.redA3 = -1.5;
  m.redA2 = 327.67;
  m.greenA3 = 0.01;
  m.blueA2 = -327.68;
  b.block->SetColorManagement(3, m);
  EXPECT_EQ(b.Slot(2)[6], 0x6A);  // -150
  EXPECT_EQ(b.Slot(2)[7], 0xFF);
  EXPECT_EQ(b.Slot(2)[8], 0xFF);  // 32767
  EXPECT_EQ(b.Slot(2)[9], 0x7F);
  EXPECT_EQ(b.Slot(2)[16], 0x00);  // -32768
  EXPECT_EQ(b.Slot(2)[17], 0x80);
  EXPECT_EQ(b.Slot(2)[5], 3);

  std::mt19937 random(37);
  for (int round = 0; round < 500; ++round) {
    const std::vector<uint8_t> bytes = RandomBytes(random, 12);
    std::copy(bytes.begin(), bytes.end(), b.Slot(2) + 6);
    b.block->GetColorManagement(3, m);
    b.block->SetColorManagement(3, m);
    ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), b.Slot(2) + 6)) << round;
  }
}

TEST(Edid14BlockTest, EstablishedTimingsIII) {
  Base14 b;
  EXPECT_TRUE(b.block->CanAddDescriptor(kDescriptorEstablishedTimingsIII));
  b.block->CreateDescriptor(kDescriptorEstablishedTimingsIII, 3);
  EXPECT_TRUE(b.ChecksumOk());
  EXPECT_EQ(b.Slot(3)[5], 0x0A);
  EXPECT_FALSE(b.block->CanAddDescriptor(kDescriptorEstablishedTimingsIII));
  EXPECT_EQ(b.block->GetDescriptorKind(3), kDescriptorEstablishedTimingsIII);

  EXPECT_EQ(b.block->GetEstablishedTimingLabel(4, 8), "1280 x 768  at 60Hz(RB)");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(1, 43), "1920 x 1440 at 75Hz");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(1, 44), "");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(5, 0), "");
  EXPECT_EQ(b.block->GetEstablishedTimingLabel(0, 11), "1024 x 768  at 87Hz(I)");

  const unsigned before = b.context.modifiedCalls;
  b.block->SetEstablishedTiming(4, 8, false);  // already clear
  EXPECT_EQ(b.context.modifiedCalls, before);
  b.block->SetEstablishedTiming(4, 8, true);
  b.block->SetEstablishedTiming(4, 43, true);
  EXPECT_EQ(b.Slot(3)[7], 0x80);
  EXPECT_EQ(b.Slot(3)[11], 0x10);
  EXPECT_TRUE(b.block->IsEstablishedTimingSet(4, 8));
  EXPECT_FALSE(b.block->IsEstablishedTimingSet(3, 8));  // slot 3 has no such descriptor
  b.block->SetEstablishedTiming(3, 8, true);
  EXPECT_FALSE(b.block->IsEstablishedTimingSet(3, 8));

  ContentCollector sink;
  b.block->CollectModes(&sink);
  ASSERT_EQ(sink.modes.size(), 2u);
  EXPECT_EQ(sink.modes[0].hActive, 1280u);
  EXPECT_EQ(sink.modes[0].flags & kModeFlagReducedBlanking, kModeFlagReducedBlanking);
  EXPECT_EQ(sink.modes[0].source, ModeSource::Established);
  EXPECT_EQ(sink.modes[0].blockKind, ModeBlockKind::EdidDescriptor3);
  unsigned width = 0, height = 0;
  b.block->GetLargestMode(width, height);
  EXPECT_EQ(width, 1920u);
  EXPECT_EQ(height, 1440u);
}

TEST(Edid14BlockTest, ModesComeInTheirOrder) {
  Base14 b;
  b.data[35] = 0x20;  // 640x480@60
  b.data[38] = 0xD1;  // 1920x1080@60
  b.data[39] = 0xC0;
  b.SetSlot(0, {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0xA0, 0x5A, 0x00, 0x00, 0x00, 0x1E});
  b.SetSlot(1, {0, 0, 0, 0xF8, 0, 0x01, 0x1B, 0x28, 0x5F, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  b.SetSlot(2, {0, 0, 0, 0xF7, 0, 0x0A, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  ContentCollector sink;
  b.block->CollectModes(&sink);
  ASSERT_EQ(sink.modes.size(), 9u);
  EXPECT_EQ(sink.modes[0].hActive, 640u);                       // established I/II
  EXPECT_EQ(sink.modes[1].hActive, 640u);                       // established III: 640x350
  EXPECT_EQ(sink.modes[1].vActive, 350u);
  EXPECT_EQ(sink.modes[1].blockKind, ModeBlockKind::EdidDescriptor2);
  EXPECT_EQ(sink.modes[2].source, ModeSource::Standard);
  EXPECT_EQ(sink.modes[3].source, ModeSource::Detailed);
  const uint32_t rates[5] = {50, 60, 60, 75, 85};
  for (unsigned i = 0; i < 5; ++i) {
    const ModeEntry& mode = sink.modes[4 + i];
    EXPECT_EQ(mode.source, ModeSource::Cvt3Byte);
    EXPECT_EQ(mode.blockKind, ModeBlockKind::EdidDescriptor1);
    EXPECT_EQ(mode.hActive, 1728u);
    EXPECT_EQ(mode.vActive, 1080u);
    EXPECT_EQ(mode.refreshHz, rates[i]);
    EXPECT_EQ((mode.flags & kModeFlagReducedBlanking) != 0, i == 2);
  }
  // 1.4 border rule in the detailed timing.
  DetailedTiming t;
  b.block->GetDetailedTiming(1, t);
  EXPECT_TRUE(t.bordersOutsideBlanking);
}

TEST(Edid14BlockTest, DescriptorKindsAndCreation) {
  Base14 b;
  for (unsigned kind = 1; kind <= 10; ++kind) EXPECT_TRUE(b.block->CanAddDescriptor(kind)) << kind;
  EXPECT_FALSE(b.block->CanAddDescriptor(11));
  b.block->CreateDescriptor(kDescriptorColorManagement, 0);
  b.block->CreateDescriptor(kDescriptorCvtCodes, 1);
  EXPECT_EQ(b.block->GetDescriptorKind(0), kDescriptorColorManagement);
  EXPECT_EQ(b.block->GetDescriptorKind(1), kDescriptorCvtCodes);
  EXPECT_FALSE(b.block->CanAddDescriptor(kDescriptorColorManagement));
  EXPECT_FALSE(b.block->CanAddDescriptor(kDescriptorCvtCodes));
  b.block->CreateDescriptor(kDescriptorAsciiString, 1);
  EXPECT_EQ(b.Slot(1)[5], 0x0A);  // the text default, no version byte
  EXPECT_TRUE(b.ChecksumOk());
}

TEST(Edid14BlockTest, MonitorInfoAppliesRateOffsets) {
  Base14 b;
  b.SetSlot(0, {0, 0, 0, 0xFD, 0x0E, 50, 75, 30, 83, 17, 0, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  MonitorInfo info;
  b.block->GetMonitorInfo(info);
  EXPECT_EQ(info.minHRate, 30 + 254);
  EXPECT_EQ(info.maxHRate, 83 + 255);
  EXPECT_EQ(info.minVRate, 50);
  EXPECT_EQ(info.maxVRate, 75 + 255);
}

TEST(Edid14BlockTest, ArbitraryDescriptorsStayInsideTheBlock) {
  std::mt19937 random(41);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> data = RandomBytes(random, 128);
    std::memcpy(data.data(), kEdidHeader, 8);
    data[18] = 1;
    data[19] = 4;
    for (unsigned slot = 0; slot < 4; ++slot) {
      uint8_t* s = data.data() + 54 + 18 * slot;
      if ((round + slot) % 3 == 0) continue;
      s[0] = s[1] = s[2] = 0;
      s[3] = static_cast<uint8_t>(0xF7 + (round + slot) % 9);
    }
    Edid14Block block(0, data.data(), 128, nullptr);
    ASSERT_FALSE(block.IsEmpty());
    ContentCollector sink;
    block.CollectModes(&sink);
    unsigned width = 0, height = 0;
    block.GetLargestMode(width, height);
    for (unsigned i = 0; i < 128; ++i) {
      std::string name, group, label;
      block.DescribeByte(i, name, group, label);
      EXPECT_EQ(label, "EDID-v1.4");
    }
    for (unsigned slot = 0; slot <= 5; ++slot) {
      RangeLimits r;
      block.GetRangeLimits(slot, r);
      ColorManagement m;
      block.GetColorManagement(slot, m);
      for (unsigned code = 0; code < 5; ++code) {
        CvtCode c;
        block.GetCvtCode(slot, code, c);
      }
      for (unsigned i = 0; i < 45; ++i) block.IsEstablishedTimingSet(slot, i);
    }
  }
}

}  // namespace
}  // namespace velmar
