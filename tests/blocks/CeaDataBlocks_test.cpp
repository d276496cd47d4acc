#include <gtest/gtest.h>

#include <vector>

#include "blocks/CeaDataBlocks.h"

namespace velmar {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(CeaDataBlocksTest, KindsFollowTagExtendedTagAndOui) {
  EXPECT_EQ(CeaDataBlockKindOf(3, false, 0, kHdmiOui), kCeaKindHdmiVsdb);
  EXPECT_EQ(CeaDataBlockKindOf(3, false, 0, 0x00D046), kCeaKindVendorSpecific);
  EXPECT_EQ(CeaDataBlockKindOf(7, true, 0, 0), kCeaKindVideoCapability);
  EXPECT_EQ(CeaDataBlockKindOf(7, true, 17, 0), kCeaKindVendorSpecificAudio);
  EXPECT_EQ(CeaDataBlockKindOf(7, true, 6, 0), kCeaKindDummy);    // HDR static metadata: no kind of ours
  EXPECT_EQ(CeaDataBlockKindOf(7, false, 0, 0), kCeaKindDummy);   // no extended tag byte at all
  EXPECT_EQ(CeaDataBlockKindOf(5, false, 0, 0), kCeaKindVesaDtc);
  EXPECT_EQ(CeaDataBlockKindOf(0, false, 0, 0), kCeaKindDummy);
  // Every addable kind is written with codes that read back as that kind.
  for (unsigned kind = 1; kind < kCeaKindCount; ++kind) {
    const uint32_t oui = kind == kCeaKindHdmiVsdb ? kHdmiOui : kDefaultVendorOui;
    EXPECT_EQ(CeaDataBlockKindOf(CeaDataBlockTag(kind), true, CeaDataBlockExtendedTag(kind), oui), kind) << kind;
  }
  EXPECT_STREQ(CeaDataBlockKindName(99), "Dummy");
  EXPECT_EQ(CeaDataBlockMinLength(99), 0u);
}

TEST(CeaDataBlocksTest, LatencyCodec) {
  unsigned kind = 9, ms = 9;
  DecodeLatencyByte(0, kind, ms);
  EXPECT_EQ(kind, kLatencyNoData);
  EXPECT_EQ(ms, 0u);
  DecodeLatencyByte(1, kind, ms);
  EXPECT_EQ(kind, kLatencyInMs);
  EXPECT_EQ(ms, 0u);
  DecodeLatencyByte(255, kind, ms);
  EXPECT_EQ(kind, kLatencyNotSupported);
  DecodeLatencyByte(11, kind, ms);
  EXPECT_EQ(ms, 20u);
  EXPECT_EQ(EncodeLatencyByte(kLatencyInMs, 20), 11);
  EXPECT_EQ(EncodeLatencyByte(kLatencyInMs, 21), 12);  // 10.5 rounds away from zero
  EXPECT_EQ(EncodeLatencyByte(kLatencyInMs, 506), 254);
  EXPECT_EQ(EncodeLatencyByte(kLatencyInMs, 9999), 254);  // never reads back as "not supported"
  EXPECT_EQ(EncodeLatencyByte(kLatencyNotSupported, 40), 255);
  EXPECT_EQ(EncodeLatencyByte(kLatencyNoData, 40), 0);
}

TEST(CeaDataBlocksTest, MaxTmdsRoundsToFiveMegahertzSteps) {
  EXPECT_EQ(EncodeMaxTmds(297), 59);
  EXPECT_EQ(EncodeMaxTmds(298), 60);
  EXPECT_EQ(EncodeMaxTmds(1275), 255);
  EXPECT_EQ(EncodeMaxTmds(100000), 255);
  Bytes p = {0x10, 0x00, 0x00, 59};
  HdmiVsdb v;
  DecodeHdmiVsdb(p.data(), static_cast<unsigned>(p.size()), v);
  EXPECT_EQ(v.maxTmdsMHz, 295u);
}

TEST(CeaDataBlocksTest, HdmiVsdbOfMinimumLengthHasOnlyThePhysicalAddress) {
  const Bytes p = {0x12, 0x34};
  HdmiVsdb v;
  DecodeHdmiVsdb(p.data(), 2, v);
  EXPECT_EQ(v.payloadSize, 2u);
  EXPECT_EQ(v.physA, 1u);
  EXPECT_EQ(v.physB, 2u);
  EXPECT_EQ(v.physC, 3u);
  EXPECT_EQ(v.physD, 4u);
  EXPECT_FALSE(v.hasFeatures || v.hasMaxTmds || v.hasContentFlags || v.hasLatency || v.hasInterlacedLatency ||
               v.hasHdmiVideo);
  EXPECT_EQ(v.sizeLatency, 2u);
  EXPECT_EQ(v.sizeMask3D, 2u);
}

HdmiVsdb Multi3DWithOneSideBySide() {
  HdmiVsdb v;
  v.hasFeatures = v.hasMaxTmds = v.hasContentFlags = v.hasHdmiVideo = true;
  v.multi3D = 2;
  v.structureAll3D = k3DFramePacking | k3DTopAndBottom;
  v.mask3D = 0x0003;
  v.detailed3DCount = 1;
  v.detailed3D[0] = Hdmi3DEntry{k3DKindSideBySide, 2, 1, 2};
  v.payloadSize = 5 + 2 + 4 + 2;
  return v;
}

TEST(CeaDataBlocksTest, Multi3DMaskAndOneSideBySideEntryWriteA3DLengthOfSix) {
  const HdmiVsdb v = Multi3DWithOneSideBySide();
  Bytes p(v.payloadSize, 0);
  EncodeHdmiVsdb(v, p.data(), v.payloadSize);
  EXPECT_EQ(p[4], 0x20);  // HDMI video present
  EXPECT_EQ(p[5], 0x40);  // multi 3D = 2
  EXPECT_EQ(p[6], 0x06);  // no HDMI VIC, HDMI_3D_LEN 6
  EXPECT_EQ(Bytes(p.begin() + 7, p.end()), (Bytes{0x00, 0x41, 0x00, 0x03, 0x28, 0x10}));

  HdmiVsdb back;
  DecodeHdmiVsdb(p.data(), v.payloadSize, back);
  EXPECT_EQ(back, v);
}

TEST(CeaDataBlocksTest, DetailedEntriesStayInsideHdmi3DLength) {
  // HDMI_3D_LEN 5 counts the two bytes of 3D_Structure_ALL: after them only
  // three bytes are entries; the bytes after HDMI_3D_LEN are not entries.
  const Bytes p = {0x10, 0x00, 0x00, 0x00, 0x20, 0x20, 0x05, 0x00, 0x01, 0x10, 0x26, 0x00, 0x30, 0x46};
  HdmiVsdb v;
  DecodeHdmiVsdb(p.data(), static_cast<unsigned>(p.size()), v);
  EXPECT_EQ(v.multi3D, 1u);
  EXPECT_EQ(v.structureAll3D, k3DFramePacking);
  ASSERT_EQ(v.detailed3DCount, 3u);
  EXPECT_EQ(v.detailed3D[0], (Hdmi3DEntry{k3DKindFramePacking, 1, 0, 1}));
  EXPECT_EQ(v.detailed3D[1], (Hdmi3DEntry{k3DKindTopAndBottom, 2, 0, 1}));
  EXPECT_EQ(v.detailed3D[2], (Hdmi3DEntry{k3DKindFramePacking, 0, 0, 1}));
  // A no-change write leaves every byte as it was.
  Bytes again = p;
  EncodeHdmiVsdb(v, again.data(), static_cast<unsigned>(again.size()));
  EXPECT_EQ(again, p);
}

TEST(CeaDataBlocksTest, AReservedStructureEndsTheDetailedList) {
  for (unsigned reserved : {1u, 5u, 7u, 9u, 15u}) {
    const Bytes p = {0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x04, 0x10, static_cast<uint8_t>(0x20 | reserved), 0x06, 0x00};
    HdmiVsdb v;
    DecodeHdmiVsdb(p.data(), static_cast<unsigned>(p.size()), v);
    EXPECT_EQ(v.detailed3DCount, 1u) << reserved;
  }
  // A side-by-side entry needs its second byte inside the list.
  const Bytes cut = {0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x02, 0x00, 0x18};
  HdmiVsdb v;
  DecodeHdmiVsdb(cut.data(), static_cast<unsigned>(cut.size()), v);
  EXPECT_EQ(v.detailed3DCount, 1u);
  EXPECT_EQ(v.detailed3D[0].kind, k3DKindFramePacking);
}

TEST(CeaDataBlocksTest, BitsWithoutAFieldAndUnknown3DBytesTravelWithTheRecord) {
  // Latency, then HDMI video flags with reserved bits 101, multi-3D 1 with a
  // reserved bit in 3D_Structure_ALL, one frame packing entry and two bytes
  // of an entry of structure 1, which this program does not decode.
  const Bytes p = {0x10, 0x00, 0x00, 0x00, 0xA0, 0x0B, 0x0B, 0x25, 0x05, 0x80, 0x01, 0x10, 0x21, 0x33};
  HdmiVsdb v;
  DecodeHdmiVsdb(p.data(), static_cast<unsigned>(p.size()), v);
  EXPECT_EQ(v.videoFlagsLowBits, 5u);
  EXPECT_EQ(v.structureAllOtherBits, 0x8000u);
  ASSERT_EQ(v.detailed3DCount, 1u);
  ASSERT_EQ(v.extra3DCount, 2u);
  EXPECT_EQ(HdmiVsdbContentSize(v), p.size());

  // Without the latency everything after it moves up two bytes; the kept
  // bits come from the record, not from the latency bytes now at their place.
  v.hasLatency = false;
  v.payloadSize = 12;
  Bytes q(p.begin(), p.begin() + 12);
  EncodeHdmiVsdb(v, q.data(), 12);
  EXPECT_EQ(q, (Bytes{0x10, 0x00, 0x00, 0x00, 0x20, 0x25, 0x05, 0x80, 0x01, 0x10, 0x21, 0x33}));
}

TEST(CeaDataBlocksTest, HdmiVsdbWriteStaysInsideAShortPayload) {
  HdmiVsdb v = Multi3DWithOneSideBySide();
  v.hasLatency = true;
  Bytes p(8, 0);
  p.push_back(0xEE);  // the neighbour
  EncodeHdmiVsdb(v, p.data(), 8);
  EXPECT_EQ(p[8], 0xEE);
}

TEST(CeaDataBlocksTest, HdmiVsdbKeepsTheBitsItDoesNotOwn) {
  Bytes p = {0x00, 0x00, 0x06, 0x00, 0x1F};
  HdmiVsdb v;
  DecodeHdmiVsdb(p.data(), 5, v);
  v.dviDual = true;
  v.cnc0 = false;
  EncodeHdmiVsdb(v, p.data(), 5);
  EXPECT_EQ(p[2], 0x07);  // bits 1 and 2 kept
  EXPECT_EQ(p[4], 0x1E);  // bit 4 kept
}

TEST(CeaDataBlocksTest, ShortAudioDescriptorsByFormat) {
  struct Case {
    Bytes bytes;
    ShortAudioDescriptor decoded;
  };
  const Case cases[] = {
      {{0x09, 0x07, 0x07}, {2, 1, 7, 7}},
      {{0x15, 0x07, 0x50}, {6, 2, 7, 640}},
      {{0x57, 0x06, 0x03}, {8, 10, 6, 3}},
      {{0x77, 0x04, 0x05}, {8, 14, 4, 5}},
      {{0x7F, 0x1E, 0x1B}, {8, 15, 30, 3, {0x00, 0x00, 0x03}}},
      {{0xFF, 0x9E, 0x1F}, {8, 15, 30, 3, {0x80, 0x80, 0x07}}},
      {{0x00, 0x01, 0x00}, {1, 0, 1, 0}},
  };
  for (const Case& c : cases) {
    ShortAudioDescriptor d;
    DecodeShortAudioDescriptor(c.bytes.data(), d);
    EXPECT_EQ(d, c.decoded);
    // Every bit comes back: extended codes carry their level and their bits 7.
    Bytes out(3, 0xFF);
    EncodeShortAudioDescriptor(d, out.data());
    EXPECT_EQ(out, c.bytes);
  }
  ShortAudioDescriptor ac3{2, 2, 1, 2043};
  Bytes out(3, 0);
  EncodeShortAudioDescriptor(ac3, out.data());
  EXPECT_EQ(out[2], 255);
}

TEST(CeaDataBlocksTest, SpeakerAndColorimetryWriteOnlyTheirBits) {
  Bytes speaker = {0x00, 0xF8, 0xAA};
  SpeakerAllocation s;
  s.flFr = s.fc = s.tc = s.fch = true;
  EncodeSpeakerAllocation(s, speaker.data(), 3);
  EXPECT_EQ(speaker, (Bytes{0x05, 0xFE, 0xAA}));
  SpeakerAllocation back;
  DecodeSpeakerAllocation(speaker.data(), 3, back);
  EXPECT_EQ(back, s);

  Bytes colorimetry = {0xE0, 0xF0};
  ColorimetryFlags c;
  c.adobeRgb = c.metadataProfile3 = true;
  EncodeColorimetry(c, colorimetry.data(), 2);
  EXPECT_EQ(colorimetry, (Bytes{0xF0, 0xF8}));

  // A speaker block without payload reads as nothing set and writes nothing.
  SpeakerAllocation none;
  DecodeSpeakerAllocation(nullptr, 0, none);
  EXPECT_EQ(none, SpeakerAllocation{});
  EncodeSpeakerAllocation(s, nullptr, 0);
}

}  // namespace
}  // namespace velmar
