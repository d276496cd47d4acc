#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DetailedTiming.h"
#include "blocks/CeaBlockBuilder.h"
#include "support/RecordingContext.h"

namespace velmar {
namespace {

using testing::Bytes;
using testing::CeaImage;
using testing::DataBlockBytes;
using testing::Dtd;
using testing::MakeCea;
using testing::RecordingContext;

CeaExtBlock Model(CeaImage& cea, CallbackContext* listener = nullptr) {
  return CeaExtBlock(CeaImage::kOffset, cea.Block(), kBlockSize, listener);
}

// A Video Data Block with VICs first, first + 1, ...
Bytes Video(unsigned count, unsigned first = 1) {
  Bytes payload;
  for (unsigned i = 0; i < count; ++i) payload.push_back(static_cast<uint8_t>(first + i));
  return DataBlockBytes(2, payload);
}

// A vendor specific block with OUI 00-D0-46 and `count` data bytes.
Bytes Vendor(unsigned count) {
  Bytes payload = {0x46, 0xD0, 0x00};
  for (unsigned i = 0; i < count; ++i) payload.push_back(static_cast<uint8_t>(0x60 + i));
  return DataBlockBytes(3, payload);
}

TEST(CeaExtBlockTest, ANewBlockIsEmptyWithAllItsRoomFree) {
  CeaImage cea;
  ASSERT_TRUE(CeaExtBlock::InitDefaultBytes(cea.Block(), kBlockSize));
  CeaExtBlock block = Model(cea);
  EXPECT_EQ(block.GetVersion(), 3u);
  EXPECT_EQ(cea[2], 0);
  EXPECT_EQ(block.FreeSpace(), 123u);
  EXPECT_EQ(block.DataBlockCount(), 0u);
  EXPECT_EQ(block.DtdCount(), 0u);
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(block.CanAddDataBlock());
  EXPECT_TRUE(block.CanAddDetailedTiming());
  EXPECT_FALSE(CeaExtBlock::InitDefaultBytes(cea.Block(), 127));
}

TEST(CeaExtBlockTest, ModelWithoutBytesAnswersDefaults) {
  CeaImage cea = MakeCea({Video(3)}, 1);
  CeaExtBlock shortBlock(0, cea.Block(), 127, nullptr);
  cea[0] = 0x70;
  CeaExtBlock wrongTag = Model(cea);
  for (CeaExtBlock* block : {&shortBlock, &wrongTag}) {
    EXPECT_EQ(block->GetSize(), 0u);
    EXPECT_EQ(block->DataBlockCount(), 0u);
    EXPECT_FALSE(block->CanAddDetailedTiming());
    block->AddDetailedTiming();
    block->AddDataBlock(kCeaKindVideo);
    ContentCollector out;
    EXPECT_EQ(block->Validate(&out), 0u);
    block->CollectModes(&out);
    EXPECT_EQ(out.Text(), "");
    EXPECT_TRUE(out.modes.empty());
  }
  EXPECT_EQ(cea[0], 0x70);
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST(CeaExtBlockTest, ParsesEntriesWithHeaderLengthsAndOui) {
  CeaImage cea = MakeCea({Video(3), Vendor(2), DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00}),
                          DataBlockBytes(7, {0x11, 0x11, 0x1B, 0x00, 0x01}), DataBlockBytes(7, {0x05, 0x03})},
                         1);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.DataBlockCount(), 5u);
  const DataBlockEntry* vendor = block.Entry(1);
  EXPECT_EQ(vendor->position, 4u);
  EXPECT_EQ(vendor->oui, 0x00D046u);
  EXPECT_EQ(vendor->headerLength, 4u);
  EXPECT_EQ(vendor->length, 6u);
  EXPECT_EQ(vendor->kind, kCeaKindVendorSpecific);
  EXPECT_EQ(block.Entry(2)->kind, kCeaKindHdmiVsdb);
  const DataBlockEntry* audioVsdb = block.Entry(3);
  EXPECT_EQ(audioVsdb->extTag, 17);
  EXPECT_EQ(audioVsdb->oui, 0x001B11u);
  EXPECT_EQ(audioVsdb->headerLength, 5u);
  EXPECT_EQ(audioVsdb->payloadPosition, audioVsdb->position + 5);
  EXPECT_EQ(block.GetDataBlockKind(4), kCeaKindColorimetry);
  EXPECT_EQ(block.GetDataBlockKind(5), kCeaKindDummy);
  EXPECT_EQ(block.Entry(5), nullptr);
}

TEST(CeaExtBlockTest, AddingTheFirstDtdPutsItsAreaAtTheEnd) {
  // 23 bytes of data blocks leave 100 bytes free in the collection.
  CeaImage cea = MakeCea({Video(22)}, 0, 3, 0);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.FreeInCollection(), 100u);
  block.AddDetailedTiming();
  EXPECT_EQ(cea[2], 37);
  EXPECT_EQ(block.DtdCount(), 1u);
  EXPECT_EQ(block.FreeInCollection(), 10u);
  EXPECT_EQ(block.FreeAfterDtds(), 72u);
  EXPECT_EQ(cea.Range(37, 2), (Bytes{0x18, 0x15}));  // 54.00 MHz
  EXPECT_EQ(cea[3] & 0x0F, 1);
  EXPECT_EQ(block.DataBlockCount(), 1u);
  EXPECT_TRUE(cea.ChecksumValid());
}

TEST(CeaExtBlockTest, AddingADtdWithoutRoomAfterTheRunMovesTheRunDown) {
  CeaImage cea = MakeCea({Video(5)}, 2, 3, 50);  // 40 bytes free before the DTDs
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.FreeInCollection(), 40u);
  ASSERT_EQ(block.FreeAfterDtds(), 41u);
  block.AddDetailedTiming();
  block.AddDetailedTiming();
  ASSERT_EQ(block.FreeAfterDtds(), 5u);
  block.AddDetailedTiming();
  EXPECT_EQ(block.DtdCount(), 5u);
  EXPECT_EQ(cea[2], 109 - 18 * 4);  // the old run ends at byte 109, the new DTD fills up to 126
  EXPECT_EQ(cea.Range(cea[2], 18), Dtd(1));
  EXPECT_EQ(cea.Range(cea[2] + 18, 18), Dtd(2));
  EXPECT_EQ(cea.Range(109, 2), (Bytes{0x18, 0x15}));
  EXPECT_EQ(block.FreeAfterDtds(), 0u);
  EXPECT_EQ(block.FreeInCollection(), 27u);
  EXPECT_TRUE(cea.ChecksumValid());
}

TEST(CeaExtBlockTest, RemovingTheLastDtdKeepsTheDataBlocksFindable) {
  CeaImage cea = MakeCea({Video(4), Vendor(1)}, 2);
  CeaExtBlock block = Model(cea);
  block.RemoveDetailedTiming(0);
  EXPECT_EQ(cea.Range(14, 18), Dtd(2));
  EXPECT_EQ(cea[3] & 0x0F, 1);
  block.RemoveDetailedTiming(0);
  EXPECT_EQ(block.DtdCount(), 0u);
  EXPECT_EQ(cea[2], 4 + 5 + 5);  // the end of the collection, never 0 while data blocks remain
  EXPECT_EQ(cea[3] & 0x0F, 0);
  EXPECT_EQ(block.FreeSpace(), 123u - 10u);
  CeaExtBlock again = Model(cea);
  EXPECT_EQ(again.DataBlockCount(), 2u);
  // With neither data blocks nor DTDs left, byte 2 is 0.
  block.RemoveDataBlock(0);
  EXPECT_EQ(cea[2], 4 + 5);
  block.RemoveDataBlock(0);
  EXPECT_EQ(cea[2], 0);
  EXPECT_EQ(block.FreeSpace(), 123u);
  EXPECT_TRUE(cea.ChecksumValid());
}

// 42 bytes of data blocks, 1 byte free, 4 DTDs from position 43, 8 bytes after them.
CeaImage TightBlock() { return MakeCea({Video(31), Vendor(6)}, 4, 3, 4 + 43); }

TEST(CeaExtBlockTest, GrowingMovesTheDtdsOnlyByWhatTheCollectionLacks) {
  CeaImage cea = TightBlock();
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.FreeInCollection(), 1u);
  ASSERT_EQ(block.FreeAfterDtds(), 8u);
  std::vector<Bytes> dtds;
  for (unsigned i = 0; i < 4; ++i) dtds.push_back(cea.Range(47 + 18 * i, 18));

  GenericDataBlock vendor;
  block.GetGenericDataBlock(1, vendor);
  EXPECT_EQ(vendor.capacity, 6u + 9u);
  vendor.length = 15;
  vendor.data[14] = 0x77;
  block.SetGenericDataBlock(1, vendor);

  EXPECT_EQ(block.Entry(1)->length, 19u);
  EXPECT_EQ(cea[2], 4 + 51);
  for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(cea.Range(55 + 18 * i, 18), dtds[i]) << i;
  EXPECT_EQ(block.FreeSpace(), 0u);
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST(CeaExtBlockTest, AddingADataBlockMovesTheDtdsByTheShortfall) {
  CeaImage cea = TightBlock();
  CeaExtBlock block = Model(cea);
  const Bytes dtds = cea.Range(47, 72);
  ASSERT_TRUE(block.CanAddDataBlockOfKind(kCeaKindVideoCapability));
  block.AddDataBlock(kCeaKindVideoCapability);
  EXPECT_EQ(block.DataBlockCount(), 3u);
  EXPECT_EQ(cea.Range(46, 3), (Bytes{0xE2, 0x00, 0x00}));
  EXPECT_EQ(cea[2], 4 + 45);
  EXPECT_EQ(cea.Range(49, 72), dtds);
  EXPECT_EQ(block.FreeInCollection(), 0u);
  EXPECT_EQ(block.FreeAfterDtds(), 6u);
}

TEST(CeaExtBlockTest, NewDataBlocksOfEveryKind) {
  const std::vector<std::pair<unsigned, Bytes>> expected = {
      {kCeaKindAudio, {0x23, 0x08, 0x00, 0x00}},
      {kCeaKindVideo, {0x41, 0x01}},
      {kCeaKindHdmiVsdb, {0x65, 0x03, 0x0C, 0x00, 0x00, 0x00}},
      {kCeaKindSpeakerAllocation, {0x83, 0x00, 0x00, 0x00}},
      {kCeaKindVideoCapability, {0xE2, 0x00, 0x00}},
      {kCeaKindColorimetry, {0xE3, 0x05, 0x00, 0x00}},
      {kCeaKindVendorSpecific, {0x63, 0x01, 0x00, 0x00}},
      {kCeaKindVendorSpecificVideo, {0xE4, 0x01, 0x01, 0x00, 0x00}},
      {kCeaKindVendorSpecificAudio, {0xE4, 0x11, 0x01, 0x00, 0x00}},
      {kCeaKindVesaDtc, {0xA1, 0x00}},
      {kCeaKindVesaDisplayDevice, {0xE2, 0x02, 0x00}},
      {kCeaKindVesaVideo, {0xE2, 0x03, 0x00}},
      {kCeaKindHdmiVideo, {0xE2, 0x04, 0x00}},
      {kCeaKindMiscAudio, {0xE2, 0x10, 0x00}},
      {kCeaKindHdmiAudio, {0xE2, 0x12, 0x00}},
  };
  for (const auto& [kind, bytes] : expected) {
    CeaImage cea = MakeCea({Video(2)}, 1);
    CeaExtBlock block = Model(cea);
    block.AddDataBlock(kind);
    ASSERT_EQ(block.DataBlockCount(), 2u) << kind;
    EXPECT_EQ(block.GetDataBlockKind(1), kind);
    EXPECT_EQ(cea.Range(4 + 3, static_cast<unsigned>(bytes.size())), bytes) << kind;
    EXPECT_EQ(cea.Range(cea[2], 18), Dtd(1));
  }
}

TEST(CeaExtBlockTest, ATag6HeaderEndsTheScan) {
  CeaImage cea = MakeCea({Video(2), {0xC3, 0x01, 0x02, 0x03}, Video(1)}, 1);
  CeaExtBlock block = Model(cea);
  EXPECT_EQ(block.DataBlockCount(), 1u);
  EXPECT_EQ(block.CollectionEnd(), 3u);
  EXPECT_EQ(block.FreeInCollection(), 6u);
}

TEST(CeaExtBlockTest, RevisionsBelowThreeTakeDtdsButNoDataBlocks) {
  for (unsigned revision : {1u, 2u}) {
    CeaImage cea = MakeCea({}, 2, revision);
    CeaExtBlock block = Model(cea);
    EXPECT_FALSE(block.CanAddDataBlock());
    EXPECT_FALSE(block.CanAddDataBlockOfKind(kCeaKindVideo));
    const CeaImage before = cea;
    block.AddDataBlock(kCeaKindVideo);
    EXPECT_EQ(cea.image, before.image);
    EXPECT_TRUE(block.CanAddDetailedTiming());
    block.AddDetailedTiming();
    EXPECT_EQ(block.DtdCount(), 3u);
  }
}

TEST(CeaExtBlockTest, TheReportedDtdCountChangesOnlyWithAddOrRemove) {
  CeaImage cea = MakeCea({Video(2)}, 1, 3, -1, 0x72);
  CeaExtBlock block = Model(cea);
  CeaGeneralInfo info;
  block.GetGeneralInfo(info);
  EXPECT_EQ(info.reportedDtdCount, 2u);
  EXPECT_EQ(info.dtdCount, 1u);
  info.ycbcr422 = false;
  info.underscan = true;
  block.SetGeneralInfo(info);
  EXPECT_EQ(cea[3], 0xE2);
  block.AddDataBlock(kCeaKindVesaDtc);
  EXPECT_EQ(cea[3] & 0x0F, 2);
  block.AddDetailedTiming();
  EXPECT_EQ(cea[3], 0xE2);  // now two DTDs, flags kept
  block.RemoveDetailedTiming(1);
  EXPECT_EQ(cea[3], 0xE1);
}

TEST(CeaExtBlockTest, MoreThanNineDataBlocksAreAllRecorded) {
  std::vector<Bytes> blocks;
  for (unsigned i = 0; i < 12; ++i) blocks.push_back(Video(1, i + 1));
  CeaImage cea = MakeCea(blocks, 1);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.DataBlockCount(), 12u);
  EXPECT_EQ(block.FreeInCollection(), 0u);
  EXPECT_EQ(block.FreeSpace(), 123u - 24u - 18u);
  EXPECT_FALSE(block.CanAddDataBlock());
  const CeaImage before = cea;
  block.AddDataBlock(kCeaKindVesaDtc);
  EXPECT_EQ(cea.image, before.image);

  // Growing the tenth block moves the two after it and the DTD, overwriting nothing.
  ShortVideoDescriptorList list;
  block.GetVideoDataBlock(9, list);
  list.entries[list.count++] = {63, false};
  block.SetVideoDataBlock(9, list);
  ASSERT_EQ(block.DataBlockCount(), 12u);
  for (unsigned i = 0; i < 12; ++i) {
    ShortVideoDescriptorList got;
    block.GetVideoDataBlock(i, got);
    EXPECT_EQ(got.entries[0].vic, i + 1) << i;
  }
  EXPECT_EQ(cea.Range(cea[2], 18), Dtd(1));
  ShortVideoDescriptorList all;
  block.GetAllShortVideoDescriptors(all);
  EXPECT_EQ(all.count, 13u);
  EXPECT_EQ(all.capacity, 62u);
}

TEST(CeaExtBlockTest, AnExtendedHeaderWithoutPayloadIsADummyOfOneByte) {
  CeaImage cea = MakeCea({{0xE0}, Video(2)}, 0);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.DataBlockCount(), 2u);
  EXPECT_EQ(block.GetDataBlockKind(0), kCeaKindDummy);
  EXPECT_EQ(block.Entry(0)->headerLength, 1u);
  EXPECT_EQ(block.Entry(0)->length, 1u);
  ShortVideoDescriptorList list;
  block.GetVideoDataBlock(1, list);
  EXPECT_EQ(list.count, 2u);
}

TEST(CeaExtBlockTest, ADataBlockRunningIntoTheDtdsNeverWritesThem) {
  // As in a real monitor's block: an extended block of stated length 32 starts
  // 14 bytes before the DTDs.
  Bytes overrun = {0xFF, 0xFF};
  for (unsigned i = 0; i < 12; ++i) overrun.push_back(static_cast<uint8_t>(i + 1));
  CeaImage cea = MakeCea({Video(15), overrun}, 5);
  RecordingContext listener;
  CeaExtBlock block = Model(cea, &listener);
  ASSERT_EQ(block.DataBlockCount(), 2u);
  // Read with its stated length, over the first DTD; written only in its room.
  EXPECT_EQ(block.Entry(1)->length, 32u);
  EXPECT_EQ(block.RoomOf(1), 14u);
  EXPECT_EQ(block.FreeInCollection(), 0u);
  EXPECT_EQ(block.FreeAfterDtds(), 3u);
  const Bytes dtds = cea.Range(34, 90);

  GenericDataBlock generic;
  block.GetGenericDataBlock(1, generic);
  EXPECT_EQ(generic.length, 30u);
  EXPECT_EQ(Bytes(generic.data.begin() + 12, generic.data.begin() + 30), cea.Range(34, 18));
  // It keeps its 30 bytes, or holds what its room and the free space take.
  EXPECT_EQ(generic.capacity, 30u);
  block.SetGenericDataBlock(1, generic);  // no change
  EXPECT_EQ(cea.Range(34, 90), dtds);
  EXPECT_EQ(cea[20], 0xFF);  // the header is left as it stands

  GenericDataBlock intoTheDtd = generic;
  intoTheDtd.data[0] = 0x99;   // in the room
  intoTheDtd.data[20] ^= 1;    // a byte of the first DTD
  block.SetGenericDataBlock(1, intoTheDtd);
  EXPECT_EQ(cea.Range(34, 90), dtds);
  EXPECT_EQ(cea[22], 1);  // refused whole
  EXPECT_EQ(listener.modifiedCalls, 0u);

  generic.data[0] = 0x99;
  block.SetGenericDataBlock(1, generic);
  EXPECT_EQ(cea[22], 0x99);
  EXPECT_EQ(cea.Range(34, 90), dtds);
  generic.length = 20;  // more than the room and the free space hold
  block.SetGenericDataBlock(1, generic);
  EXPECT_EQ(cea[20], 0xFF);

  generic.length = 10;
  block.SetGenericDataBlock(1, generic);
  EXPECT_EQ(cea.Range(34, 90), dtds);
  EXPECT_EQ(cea[20], 0xEB);
  EXPECT_EQ(block.FreeInCollection(), 2u);

  block.RemoveDataBlock(1);
  EXPECT_EQ(cea.Range(34, 90), dtds);
  EXPECT_EQ(block.DataBlockCount(), 1u);
  EXPECT_TRUE(cea.ChecksumValid());
}

TEST(CeaExtBlockTest, ALastDataBlockPastByte126IsCutAtTheBlocksEnd) {
  // No DTD; a 32-byte block starts 10 bytes before the checksum.
  Bytes filler = DataBlockBytes(2, Bytes(30, 0x01));
  Bytes second = DataBlockBytes(2, Bytes(30, 0x02));
  Bytes third = DataBlockBytes(2, Bytes(30, 0x03));
  Bytes last = {0x5F};  // tag 2, 31 payload bytes stated
  for (unsigned i = 0; i < 31; ++i) last.push_back(0x44);
  CeaImage cea = MakeCea({filler, second, third, last}, 0, 3, 0);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.DataBlockCount(), 4u);
  EXPECT_EQ(block.Entry(3)->position, 93u);
  EXPECT_EQ(block.Entry(3)->length, 31u);  // up to and with byte 127
  EXPECT_EQ(block.RoomOf(3), 30u);
  EXPECT_EQ(block.FreeSpace(), 0u);
  ShortVideoDescriptorList list;
  block.GetVideoDataBlock(3, list);
  EXPECT_EQ(list.count, 30u);
  EXPECT_EQ(list.entries[29].vic, cea[127] & 0x7F);
  block.SetVideoDataBlock(3, list);  // no change
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(cea.GuardsIntact());
  list.count = 20;
  block.SetVideoDataBlock(3, list);
  EXPECT_EQ(block.Entry(3)->length, 21u);
  EXPECT_EQ(block.FreeSpace(), 9u);
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST(CeaExtBlockTest, AnEmptySpeakerBlockReadsNothingAfterIt) {
  CeaImage cea = MakeCea({{0x80}, DataBlockBytes(4, {0xFF, 0xFF, 0xFF})}, 0);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.GetDataBlockKind(0), kCeaKindSpeakerAllocation);
  SpeakerAllocation speakers;
  block.GetSpeakerAllocation(0, speakers);
  EXPECT_EQ(speakers, SpeakerAllocation{});
}

TEST(CeaExtBlockTest, RoomAfterByte2WithoutDtdsBelongsToTheCollection) {
  // Byte 2 = 15 with no DTD: the room up to byte 126 is free space.
  CeaImage cea = MakeCea({DataBlockBytes(7, {0x05, 0x01, 0x00}), DataBlockBytes(7, {0x06, 1, 2, 3, 4, 5})}, 0);
  ASSERT_EQ(cea[2], 15);
  CeaExtBlock block = Model(cea);
  EXPECT_EQ(block.FreeInCollection(), 112u);
  block.AddDataBlock(kCeaKindVideo);
  EXPECT_EQ(cea[2], 17);  // byte 2 follows the collection
  EXPECT_EQ(Model(cea).DataBlockCount(), 3u);
  block.AddDetailedTiming();
  EXPECT_EQ(block.DtdCount(), 1u);
  EXPECT_EQ(cea[2], 4 + 123 - 108);
  EXPECT_EQ(block.FreeInCollection(), 2u);
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST(CeaExtBlockTest, AByte2PastTheBlockIsReadSafely) {
  CeaImage cea = MakeCea({DataBlockBytes(4, Bytes(16, 0x7F))}, 0, 3, 193);
  CeaExtBlock block = Model(cea);
  EXPECT_EQ(block.DataBlockCount(), 1u);
  EXPECT_EQ(block.DtdCount(), 0u);
  EXPECT_EQ(block.FreeSpace(), 123u - 17u);
  SpeakerAllocation speakers;
  block.GetSpeakerAllocation(0, speakers);
  EXPECT_TRUE(speakers.rlcRrc);
  block.AddDetailedTiming();
  EXPECT_EQ(block.DtdCount(), 1u);
  EXPECT_LT(cea[2], 128);
  EXPECT_TRUE(cea.GuardsIntact());
}

TEST(CeaExtBlockTest, ResizeLimits) {
  CeaImage cea = MakeCea({Video(3), Vendor(0)}, 0);
  CeaExtBlock block = Model(cea);
  EXPECT_FALSE(block.ResizeDataBlock(0, 1));   // below the kind's minimum
  EXPECT_FALSE(block.ResizeDataBlock(0, 33));  // above 32
  EXPECT_FALSE(block.ResizeDataBlock(1, 3));   // vendor blocks keep their OUI
  EXPECT_FALSE(block.ResizeDataBlock(2, 3));   // no such block
  EXPECT_TRUE(block.ResizeDataBlock(0, 4));    // nothing to do
  EXPECT_TRUE(block.ResizeDataBlock(0, 32));
  EXPECT_EQ(block.Entry(1)->position, 32u);
  EXPECT_EQ(block.Entry(1)->oui, 0x00D046u);
  EXPECT_TRUE(block.ResizeDataBlock(0, 2));
  EXPECT_EQ(block.Entry(1)->position, 2u);
  EXPECT_EQ(cea.Range(4, 6), (Bytes{0x41, 0x01, 0x63, 0x46, 0xD0, 0x00}));
  EXPECT_EQ(cea[2], 4 + 6);
}

TEST(CeaExtBlockTest, ARefusedWriteChangesNothingAndTellsNobody) {
  CeaImage cea = MakeCea({Video(10)}, 6);  // 11 + 108 bytes used, 4 free
  cea[127] ^= 0x55;                         // even a bad checksum stays as it is
  RecordingContext context;
  CeaExtBlock block = Model(cea, &context);
  const CeaImage before = cea;
  ShortVideoDescriptorList list;
  block.GetVideoDataBlock(0, list);
  EXPECT_EQ(list.capacity, 14u);
  list.count = 15;
  block.SetVideoDataBlock(0, list);
  block.AddDetailedTiming();
  block.AddDataBlock(kCeaKindHdmiVsdb);
  block.RemoveDetailedTiming(6);
  block.RemoveDataBlock(1);
  block.SetAudioDataBlock(0, ShortAudioDescriptorList{});  // a video block is not an audio block
  DetailedTiming timing;
  block.GetDetailedTiming(0, timing);
  timing.pixelClock = 0;
  block.SetDetailedTiming(0, timing);
  EXPECT_EQ(cea.image, before.image);
  EXPECT_EQ(context.modifiedCalls, 0u);
  block.SetGeneralInfo(CeaGeneralInfo{});
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_EQ(context.modifiedCalls, 1u);
}

TEST(CeaExtBlockTest, EverySetterIsReadBackAsWritten) {
  CeaImage full = MakeCea({}, 1);
  CeaExtBlock all = Model(full);
  for (unsigned kind : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u}) all.AddDataBlock(kind);

  ShortAudioDescriptorList audio;
  all.GetAudioDataBlock(0, audio);
  audio.count = 2;
  audio.entries[0] = {2, 1, 0x7F, 7};
  audio.entries[1] = {6, 7, 0x06, 1536};
  all.SetAudioDataBlock(0, audio);
  ShortAudioDescriptorList audioBack;
  all.GetAudioDataBlock(0, audioBack);
  audioBack.capacity = audio.capacity;
  EXPECT_EQ(audioBack, audio);

  ShortVideoDescriptorList video;
  all.GetVideoDataBlock(1, video);
  video.count = 3;
  video.entries[0] = {16, true};
  video.entries[1] = {4, false};
  video.entries[2] = {100, false};
  all.SetVideoDataBlock(1, video);
  ShortVideoDescriptorList videoBack;
  all.GetVideoDataBlock(1, videoBack);
  videoBack.capacity = video.capacity;
  EXPECT_EQ(videoBack, video);

  HdmiVsdb hdmi;
  all.GetHdmiVsdb(2, hdmi);
  EXPECT_EQ(hdmi.payloadSize, 2u);
  hdmi.physA = 2;
  hdmi.physC = 1;
  hdmi.hasFeatures = hdmi.hasMaxTmds = hdmi.hasContentFlags = hdmi.hasLatency = hdmi.hasInterlacedLatency = true;
  hdmi.hasHdmiVideo = true;
  hdmi.dviDual = hdmi.deepColor36 = hdmi.supportsAi = true;
  hdmi.maxTmdsMHz = 340;
  hdmi.cnc3 = true;
  hdmi.latencyKind = {kLatencyInMs, kLatencyNotSupported, kLatencyNoData, kLatencyInMs};
  hdmi.latencyMs = {20, 0, 0, 506};
  hdmi.imageSize = 2;
  hdmi.present3D = true;
  hdmi.multi3D = 1;
  hdmi.structureAll3D = k3DSideBySide;
  hdmi.hdmiVicCount = 2;
  hdmi.hdmiVics[0] = {1, 1};
  hdmi.hdmiVics[1] = {3, 1};
  hdmi.detailed3DCount = 2;
  hdmi.detailed3D[0] = {k3DKindTopAndBottom, 1, 0, 1};
  hdmi.detailed3D[1] = {k3DKindSideBySide, 0, 4, 2};
  hdmi.payloadSize = 5 + 2 + 2 + 2 + 2 + 2 + 3;
  all.SetHdmiVsdb(2, hdmi);
  HdmiVsdb hdmiBack;
  all.GetHdmiVsdb(2, hdmiBack);
  hdmiBack.capacity = hdmi.capacity;
  EXPECT_EQ(hdmiBack, hdmi);
  EXPECT_EQ(all.Get3DSupportOfVic(4), k3DSideBySide | k3DTopAndBottom);

  SpeakerAllocation speakers;
  speakers.flFr = speakers.lfe = speakers.rlcRrc = speakers.tc = true;
  all.SetSpeakerAllocation(3, speakers);
  SpeakerAllocation speakersBack;
  all.GetSpeakerAllocation(3, speakersBack);
  EXPECT_EQ(speakersBack, speakers);

  VideoCapability caps{3, 2, 1, true, false};
  all.SetVideoCapability(4, caps);
  VideoCapability capsBack;
  all.GetVideoCapability(4, capsBack);
  EXPECT_EQ(capsBack, caps);

  ColorimetryFlags colorimetry;
  colorimetry.xvYcc709 = colorimetry.adobeRgb = colorimetry.metadataProfile2 = true;
  all.SetColorimetry(5, colorimetry);
  ColorimetryFlags colorimetryBack;
  all.GetColorimetry(5, colorimetryBack);
  EXPECT_EQ(colorimetryBack, colorimetry);

  for (unsigned index : {6u, 7u, 8u}) {
    GenericDataBlock generic;
    all.GetGenericDataBlock(index, generic);
    EXPECT_TRUE(generic.hasOui);
    generic.SetOuiValue(0x00D046 + index);
    generic.length = 3;
    generic.data[0] = 0xAB;
    generic.data[2] = 0xCD;
    all.SetGenericDataBlock(index, generic);
    GenericDataBlock genericBack;
    all.GetGenericDataBlock(index, genericBack);
    genericBack.capacity = generic.capacity;
    EXPECT_EQ(genericBack, generic);
    EXPECT_EQ(all.Entry(index)->oui, 0x00D046u + index);
  }
  EXPECT_EQ(full.Range(full[2], 18), Dtd(1));
  EXPECT_TRUE(full.ChecksumValid());

  DetailedTiming timing;
  all.GetDetailedTiming(0, timing);
  timing.hActive = 1280;
  timing.interlaced = true;
  all.SetDetailedTiming(0, timing);
  DetailedTiming timingBack;
  all.GetDetailedTiming(0, timingBack);
  EXPECT_EQ(timingBack.hActive, 1280u);
  EXPECT_TRUE(timingBack.interlaced);
}

TEST(CeaExtBlockTest, CapacitiesAndListsLongerThanABlockHolds) {
  CeaImage tight = MakeCea({Video(20), Vendor(3)}, 5);  // 5 bytes free
  ShortVideoDescriptorList list;
  Model(tight).GetVideoDataBlock(0, list);
  EXPECT_EQ(list.count, 20u);
  EXPECT_EQ(list.capacity, 25u);

  CeaImage roomy = MakeCea({Video(20), DataBlockBytes(1, {0x09, 0x07, 0x07})}, 3);  // 44 bytes free
  CeaExtBlock block = Model(roomy);
  block.GetVideoDataBlock(0, list);
  EXPECT_EQ(list.capacity, 31u);
  ShortAudioDescriptorList audio;
  block.GetAudioDataBlock(1, audio);
  EXPECT_EQ(audio.capacity, 10u);

  const CeaImage before = roomy;
  list.count = 32;
  block.SetVideoDataBlock(0, list);
  audio.count = 11;
  block.SetAudioDataBlock(1, audio);
  EXPECT_EQ(roomy.image, before.image);
  audio.count = 10;
  block.SetAudioDataBlock(1, audio);
  EXPECT_EQ(block.Entry(1)->length, 31u);
}

TEST(CeaExtBlockTest, ASetterWritesOnlyInsideItsDataBlock) {
  // A vendor block without its OUI, an HDMI block shorter than its minimum and
  // a speaker block without payload, each followed by a neighbour.
  CeaImage cea = MakeCea({{0x61, 0x11}, Video(1), DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10}), Video(1, 2),
                          {0x80}, Video(1, 3)},
                         1);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.DataBlockCount(), 6u);
  EXPECT_EQ(block.GetDataBlockKind(0), kCeaKindVendorSpecific);
  EXPECT_EQ(block.GetDataBlockKind(2), kCeaKindHdmiVsdb);
  EXPECT_EQ(block.GetDataBlockKind(4), kCeaKindSpeakerAllocation);
  const CeaImage before = cea;

  GenericDataBlock generic;
  block.GetGenericDataBlock(0, generic);
  EXPECT_EQ(generic.length, 1u);
  EXPECT_EQ(generic.OuiValue(), 0u);
  generic.SetOuiValue(0x123456);
  block.SetGenericDataBlock(0, generic);

  HdmiVsdb hdmi;
  block.GetHdmiVsdb(2, hdmi);
  EXPECT_EQ(hdmi.payloadSize, 1u);
  EXPECT_EQ(hdmi.physA, 1u);
  hdmi.physA = 1;
  hdmi.hasFeatures = hdmi.hasLatency = true;
  block.SetHdmiVsdb(2, hdmi);

  SpeakerAllocation all;
  all.flFr = all.fch = true;
  block.SetSpeakerAllocation(4, all);
  EXPECT_EQ(cea.image, before.image);
}

TEST(CeaExtBlockTest, ThreeDFlagsFromTheHdmiBlock) {
  const Bytes svds = Video(3, 4);  // VICs 4, 5, 6
  // present3D only: the mandatory formats.
  CeaImage mandatory = MakeCea({svds, DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x80, 0x00})}, 0);
  CeaExtBlock block = Model(mandatory);
  EXPECT_EQ(block.Get3DSupportOfVic(4), k3DFramePacking | k3DTopAndBottom);
  EXPECT_EQ(block.Get3DSupportOfVic(5), k3DSideBySide);
  EXPECT_EQ(block.Get3DSupportOfVic(6), 0u);
  EXPECT_EQ(block.Get3DSupportOfVic(0), 0u);
  EXPECT_EQ(block.Get3DSupportOfVic(63), 0u);

  // multi3D = 1 with side-by-side: the first 16 descriptors take exactly that.
  CeaImage multi = MakeCea(
      {svds, DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0xA0, 0x02, 0x01, 0x00})}, 0);
  CeaExtBlock multiBlock = Model(multi);
  EXPECT_EQ(multiBlock.Get3DSupportOfVic(4), k3DSideBySide);
  EXPECT_EQ(multiBlock.Get3DSupportOfVic(6), k3DSideBySide);

  // multi3D = 2 with a mask, and a detailed top-and-bottom entry for descriptor 2.
  CeaImage masked = MakeCea({svds, DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x40, 0x05,
                                                      0x00, 0x01, 0x00, 0x02, 0x26})},
                            0);
  CeaExtBlock maskedBlock = Model(masked);
  EXPECT_EQ(maskedBlock.Get3DSupportOfVic(4), 0u);
  EXPECT_EQ(maskedBlock.Get3DSupportOfVic(5), k3DFramePacking);
  EXPECT_EQ(maskedBlock.Get3DSupportOfVic(6), k3DTopAndBottom);

  // Without any short video descriptor nothing is derived.
  CeaImage noSvd = MakeCea({DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x80, 0x00})}, 0);
  EXPECT_EQ(Model(noSvd).Get3DSupportOfVic(4), 0u);
}

TEST(CeaExtBlockTest, ModesInOrderWithThreeDAndFractionalRates) {
  CeaImage cea = MakeCea({DataBlockBytes(2, {0x84, 0x05, 0x11, 0x00, 0x7F}),
                          DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x80, 0x20, 0x01})},
                         1);
  CeaExtBlock block = Model(cea);
  ContentCollector sink;
  block.CollectModes(&sink);
  struct Expected {
    ModeSource source;
    unsigned vic;
    unsigned clock;
    Stereo3DFormat format;
    bool fractional;
  };
  using S = Stereo3DFormat;
  const Expected expected[] = {
      {ModeSource::Detailed, 16, 148500, S::None2D, false},
      {ModeSource::CeaShortVideo, 4, 74250, S::None2D, false},
      {ModeSource::CeaShortVideo, 4, 74250, S::FramePacking, false},
      {ModeSource::CeaShortVideo, 4, 74250, S::TopBottom, false},
      {ModeSource::CeaShortVideo, 4, 74176, S::None2D, true},
      {ModeSource::CeaShortVideo, 4, 74176, S::FramePacking, true},
      {ModeSource::CeaShortVideo, 4, 74176, S::TopBottom, true},
      {ModeSource::CeaShortVideo, 5, 74250, S::None2D, false},
      {ModeSource::CeaShortVideo, 5, 74250, S::SideBySide, false},
      {ModeSource::CeaShortVideo, 5, 74176, S::None2D, true},
      {ModeSource::CeaShortVideo, 5, 74176, S::SideBySide, true},
      {ModeSource::CeaShortVideo, 17, 27000, S::None2D, false},
      {ModeSource::CeaHdmiVic, 0, 297000, S::None2D, false},
      {ModeSource::CeaHdmiVic, 0, 296703, S::None2D, true},
  };
  ASSERT_EQ(sink.modes.size(), std::size(expected));
  for (size_t i = 0; i < sink.modes.size(); ++i) {
    const ModeEntry& mode = sink.modes[i];
    EXPECT_EQ(mode.source, expected[i].source) << i;
    EXPECT_EQ(mode.blockKind, ModeBlockKind::CeaExtension) << i;
    EXPECT_EQ(mode.vic, expected[i].vic) << i;
    EXPECT_EQ(mode.pixelClockKHz, expected[i].clock) << i;
    EXPECT_EQ(mode.format3D, expected[i].format) << i;
    EXPECT_EQ(mode.fractional != 0, expected[i].fractional) << i;
  }
  const ModeEntry& vic4 = sink.modes[1];
  EXPECT_EQ(vic4.flags & kModeFlagNative, kModeFlagNative);
  EXPECT_EQ(vic4.hActive, 1280u);
  EXPECT_EQ(vic4.refreshHz, 60u);
  const ModeEntry& vic5 = sink.modes[7];
  EXPECT_EQ(vic5.vActive, 1080u);
  EXPECT_EQ(vic5.interlaced, 1);
  EXPECT_EQ(vic5.flags & kModeFlagNative, 0u);
  const ModeEntry& hdmi = sink.modes[12];
  EXPECT_EQ(hdmi.hActive, 3840u);
  EXPECT_EQ(hdmi.hTotal, 4400u);
  EXPECT_EQ(hdmi.vTotal, 2250u);
  EXPECT_EQ(hdmi.hFrontPorch, 176u);
  EXPECT_EQ(hdmi.refreshHz, 30u);
  EXPECT_TRUE(hdmi.present & kPresentHTotal);
  EXPECT_FALSE(hdmi.present & kPresentVic);
}

TEST(CeaExtBlockTest, RepeatedPixelsShowTheDisplayedWidth) {
  CeaImage cea = MakeCea({Video(1, 6)}, 0);  // 1440x480i with pixel repetition 2
  ContentCollector sink;
  Model(cea).CollectModes(&sink);
  ASSERT_EQ(sink.modes.size(), 2u);
  EXPECT_EQ(sink.modes[0].hActive, 720u);
  EXPECT_EQ(sink.modes[0].repetition, 2u);
  unsigned width = 700, height = 0;
  Model(cea).GetLargestMode(width, height);
  EXPECT_EQ(width, 1440u);  // the largest mode keeps the repeated pixels
  EXPECT_EQ(height, 480u);
}

TEST(CeaExtBlockTest, LargestModeAcrossDtdsSvdsAndHdmiVics) {
  CeaImage cea = MakeCea({Video(1, 16), DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x00,
                                                           0x40, 0x01, 0x04})},
                         1);
  CeaExtBlock block = Model(cea);
  unsigned width = 0, height = 0;
  block.GetLargestMode(width, height);
  EXPECT_EQ(width, 4096u);
  EXPECT_EQ(height, 2160u);
  width = 5000;
  height = 1;
  block.GetLargestMode(width, height);
  EXPECT_EQ(width, 5000u);

  // An interlaced DTD counts with its frame height; equal widths take the taller.
  CeaImage interlaced = MakeCea({Video(1, 4)}, 1);
  interlaced[4 + 2 + 17] |= 0x80;
  interlaced.FixChecksum();
  width = 1920;
  height = 1000;
  Model(interlaced).GetLargestMode(width, height);
  EXPECT_EQ(height, 2160u);
}

TEST(CeaExtBlockTest, ByteMapNamesEveryPart) {
  CeaImage cea = MakeCea({Video(3), Vendor(2), DataBlockBytes(7, {0x01, 0x46, 0xD0, 0x00, 0x09})}, 1);
  CeaExtBlock block = Model(cea);
  auto describe = [&](unsigned r) {
    std::string name, group, label;
    block.DescribeByte(CeaImage::kOffset + r, name, group, label);
    return name + "|" + group + "|" + label;
  };
  EXPECT_EQ(describe(0), "Extension Tag|Byte[0] of Extension Block|CEA-v3");
  EXPECT_EQ(describe(2), "DTD Offset inside Extension Block|Byte[2] of Extension Block|CEA-v3");
  EXPECT_EQ(describe(4), "Data Block Tag/Data Block Length|(Video Data Block)|CEA-v3");
  EXPECT_EQ(describe(6), "Video Format Code/Native Flag|(Video Data Block). Short Video Descriptor[1]|CEA-v3");
  EXPECT_EQ(describe(10), "Byte[1] of IEEE Registration Identifier|(Vendor Specific Data Block)|CEA-v3");
  EXPECT_EQ(describe(12), "Data Byte[0]|(Vendor Specific Data Block)|CEA-v3");
  EXPECT_EQ(describe(15), "Data Block Extended Tag|(Vendor Specific Video Data Block)|CEA-v3");
  EXPECT_EQ(describe(18), "Byte[2] of IEEE Registration Identifier|(Vendor Specific Video Data Block)|CEA-v3");
  EXPECT_EQ(describe(19), "Data Byte[0]|(Vendor Specific Video Data Block)|CEA-v3");
  EXPECT_EQ(describe(20), "Pixel Clock. Low Order Bits|(Detailed Timing). 0th Byte of Entry[0]|CEA-v3");
  EXPECT_EQ(describe(37), "Flags (Interlace, Stereo, Polarity, etc.)|(Detailed Timing). 17th Byte of Entry[0]|CEA-v3");
  EXPECT_EQ(describe(38), "Padding (Unused)|Byte[38] of Extension Block|CEA-v3");
  EXPECT_EQ(describe(127), "Checksum||CEA-v3");
  EXPECT_EQ(describe(128), "||");

  // Without DTDs everything after the collection is padding.
  CeaImage noDtd = MakeCea({Video(3)}, 0);
  CeaExtBlock plain = Model(noDtd);
  std::string name, group, label;
  plain.DescribeByte(CeaImage::kOffset + 126, name, group, label);
  EXPECT_EQ(name, "Padding (Unused)");
  EXPECT_EQ(group, "Byte[126] of Extension Block");
}

TEST(CeaExtBlockTest, ByteMapOfAudioSpeakerAndHdmiBlocks) {
  CeaImage cea = MakeCea({DataBlockBytes(1, {0x09, 0x07, 0x07, 0x15, 0x07, 0x50}), DataBlockBytes(4, {0x01, 0x00, 0x00}),
                          DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0xE0, 0x05, 0x06, 0x07,
                                             0x08, 0xA0, 0x44, 0x01, 0x00, 0x00, 0x00, 0x08, 0x10}),
                          DataBlockBytes(7, {0x00, 0x0F}), DataBlockBytes(7, {0x05, 0x03, 0x01})},
                         0);
  CeaExtBlock block = Model(cea);
  ASSERT_EQ(block.DataBlockCount(), 5u);
  auto describe = [&](unsigned r) {
    std::string name, group, label;
    block.DescribeByte(CeaImage::kOffset + r, name, group, label);
    return name + "|" + group;
  };
  EXPECT_EQ(describe(4), "Data Block Tag/Data Block Length|(Audio Data Block)");
  EXPECT_EQ(describe(9), "Supported Audio Rates|(Audio Data Block). Short Audio Descriptor[1]");
  EXPECT_EQ(describe(10), "Audio Format Specific Value|(Audio Data Block). Short Audio Descriptor[1]");
  EXPECT_EQ(describe(12), "Front/Front-Center/Front-Wide/Rear/Rear-Center/Low Frequency|(Speaker Allocation Data Block)");
  EXPECT_EQ(describe(14), "Reserved|(Speaker Allocation Data Block)");
  const unsigned h = 15;  // the HDMI block's header byte
  EXPECT_EQ(describe(h + 2), "Byte[1] of IEEE Registration Identifier|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 4), "Source Physical Address A/B|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 8), "Latency Presence/Video Bytes Presence/Content Type|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 9), "Video Latency|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 12), "Interlaced Audio Latency|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 13), "Image Size/3D Capabilities|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 14),
            "Number of HDMI VIC Desc./Number of Detailed 3D Desc.|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 16),
            "HDMI Video Format Code|(HDMI Vendor Specific Data Block). HDMI Short Video Descriptor[1]");
  EXPECT_EQ(describe(h + 17), "3D Formats Supported by First 16 VICs|(HDMI Vendor Specific Data Block)");
  EXPECT_EQ(describe(h + 19),
            "3D Structure/3D VIC Index|(HDMI Vendor Specific Data Block). Detailed 3D Descriptor[0]");
  EXPECT_EQ(describe(h + 20), "3D Parameter|(HDMI Vendor Specific Data Block). Detailed 3D Descriptor[0]");
  EXPECT_EQ(describe(36), "Data Block Tag/Data Block Length|(Video Capability Data Block)");
  EXPECT_EQ(describe(38), "OverScan Behavior/Quantization Range|(Video Capability Data Block)");
  EXPECT_EQ(describe(41), "ColorSpace Flags|(Colorimetry Data Block)");
  EXPECT_EQ(describe(42), "MetaData Profiles|(Colorimetry Data Block)");
}

TEST(CeaExtBlockTest, ValidateReportsTheRangeAndNoFinding) {
  CeaImage cea = MakeCea({Video(2)}, 1);
  cea[127] ^= 1;  // not even a bad checksum is a finding of this block
  ContentCollector report;
  EXPECT_EQ(Model(cea).Validate(&report), 0u);
  EXPECT_EQ(report.Text(),
            "\r\nValidating CEA3 Extension Block. Data Range: Byte[128] --> Byte[255]\r\n  Block is valid\r\n");
}

TEST(CeaExtBlockTest, CandidateCheck) {
  CeaImage cea = MakeCea({}, 0);
  ContentCollector report;
  EXPECT_FALSE(CeaExtBlock::CheckCandidate(cea.image.data(), 128, 72, &report));
  EXPECT_EQ(report.Text(), "  CEA Ext Block...: 72 - unsufficient size. Required 128 bytes\r\n");
  ContentCollector wrongTag;
  cea[0] = 0x40;
  EXPECT_FALSE(CeaExtBlock::CheckCandidate(cea.image.data(), 128, 256, &wrongTag));
  EXPECT_EQ(wrongTag.Text(), "  CEA Ext Block...: Byte[128] = 0x40 does not match CEA extension tag (0x02)\r\n");
}

}  // namespace
}  // namespace velmar

namespace velmar::testing {
namespace {

// A record announcing more HDMI VICs than its own payload holds would write a
// VIC count that promises bytes the block does not have; it is refused whole.
TEST(CeaExtBlockTest, HdmiRecordWhoseSectionsOverrunItsPayloadIsRefused) {
  CeaImage cea = MakeCea(
      {DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x08, 0x3C, 0x20, 0x00, 0x80, 0x01, 0x02, 0x03, 0x04})}, 0);
  CeaExtBlock block = Model(cea);
  HdmiVsdb hdmi;
  block.GetHdmiVsdb(0, hdmi);
  ASSERT_EQ(hdmi.hdmiVicCount, 4u);
  EXPECT_EQ(HdmiVsdbContentSize(hdmi), hdmi.payloadSize);
  const Bytes before = cea.Range(0, 128);
  hdmi.hdmiVicCount = 7;
  block.SetHdmiVsdb(0, hdmi);
  EXPECT_EQ(cea.Range(0, 128), before);
  // With a payload large enough for the seven VICs the same record is written.
  hdmi.payloadSize += 3;
  hdmi.hdmiVics[4].vic = 1;
  block.SetHdmiVsdb(0, hdmi);
  HdmiVsdb written;
  block.GetHdmiVsdb(0, written);
  EXPECT_EQ(written.hdmiVicCount, 7u);
  EXPECT_TRUE(cea.ChecksumValid());
  EXPECT_TRUE(cea.GuardsIntact());
}

}  // namespace
}  // namespace velmar::testing
