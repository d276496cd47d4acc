// Random sequences of edits on CEA blocks: real ones from the corpus, built
// ones and random junk. Whatever the bytes, every edit must keep the checksum
// right, stay inside the block, keep every DTD and every data block it does
// not aim at, and leave bytes that parse back to what the model reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "blocks/CeaBlockBuilder.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DetailedTiming.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::Bytes;
using testing::CeaImage;
using testing::MakeCea;

std::vector<Bytes> DataBlocksOf(const CeaExtBlock& block, const CeaImage& cea) {
  std::vector<Bytes> out;
  for (unsigned j = 0; j < block.DataBlockCount(); ++j) {
    const DataBlockEntry* e = block.Entry(j);
    out.push_back(cea.Range(4 + e->position, e->length));
  }
  return out;
}

std::vector<Bytes> DtdsOf(const CeaExtBlock& block, const CeaImage& cea) {
  std::vector<Bytes> out;
  for (unsigned i = 0; i < block.DtdCount(); ++i) out.push_back(cea.Range(4 + block.DtdPosition() + 18 * i, 18));
  return out;
}

// The last data block states more bytes than its room: it reads DTD bytes or
// the checksum as its own.
bool LastOverruns(const CeaExtBlock& block) {
  if (block.DataBlockCount() == 0) return false;
  const unsigned last = block.DataBlockCount() - 1;
  return block.Entry(last)->length > block.RoomOf(last);
}

class Fuzzer {
 public:
  Fuzzer(CeaImage image, unsigned seed) : cea(image), rng(seed) {}

  unsigned Pick(unsigned bound) { return bound == 0 ? 0 : std::uniform_int_distribution<unsigned>(0, bound - 1)(rng); }
  bool Coin() { return Pick(2) == 1; }

  // Runs one random edit and checks everything that must hold after it.
  void Step(CeaExtBlock& block) {
    const std::vector<Bytes> dataBefore = DataBlocksOf(block, cea);
    std::vector<Bytes> dtds = DtdsOf(block, cea);
    std::vector<Bytes> data = dataBefore;
    const unsigned count = block.DataBlockCount();
    const unsigned index = Pick(count + 1);  // sometimes one past the end
    // The data blocks the edit may change: the one it aims at, and a last
    // block that runs past its room (it reads bytes of the DTDs or the
    // checksum, and its header is put right once the collection moves).
    std::vector<unsigned> touched;
    const bool overrun = LastOverruns(block);
    auto mayRepair = [&](unsigned lastIndex) {
      if (overrun) touched.push_back(lastIndex);
    };
    mayRepair(count - 1);
    const unsigned op = Pick(13);
    std::string what;
    switch (op) {
      case 0: {
        what = "AddDetailedTiming";
        const bool can = block.CanAddDetailedTiming();
        block.AddDetailedTiming();
        if (can) {
          Bytes dtd(18, 0);
          dtd[0] = 0x18;
          dtd[1] = 0x15;
          dtds.push_back(dtd);
          mayRepair(count - 1);
        }
        break;
      }
      case 1: {
        what = "RemoveDetailedTiming";
        const unsigned i = Pick(static_cast<unsigned>(dtds.size()) + 1);
        block.RemoveDetailedTiming(i);
        if (i < dtds.size()) dtds.erase(dtds.begin() + i);
        break;
      }
      case 2: {
        const unsigned kind = Pick(17);
        what = "AddDataBlock " + std::to_string(kind);
        const bool can = block.CanAddDataBlockOfKind(kind);
        block.AddDataBlock(kind);
        if (can) {
          EXPECT_EQ(block.DataBlockCount(), count + 1) << what;
          EXPECT_EQ(block.GetDataBlockKind(count), kind) << what;
          mayRepair(count - 1);
          data.push_back(DataBlocksOf(block, cea).back());
        }
        break;
      }
      case 3:
        what = "RemoveDataBlock";
        block.RemoveDataBlock(index);
        if (index < count) {
          data.erase(data.begin() + index);
          if (index + 1 < count) mayRepair(count - 2);
        }
        break;
      case 4:
        what = "ResizeDataBlock";
        block.ResizeDataBlock(index, Pick(35));
        touched.push_back(index);
        mayRepair(count - 1);
        break;
      case 5: {
        what = "SetVideoDataBlock";
        ShortVideoDescriptorList list;
        block.GetVideoDataBlock(index, list);
        list.count = Pick(34);
        for (unsigned i = 0; i < list.count && i < list.entries.size(); ++i) list.entries[i] = {uint8_t(Pick(128)), Coin()};
        block.SetVideoDataBlock(index, list);
        touched.push_back(index);
        mayRepair(count - 1);
        break;
      }
      case 6: {
        what = "SetAudioDataBlock";
        ShortAudioDescriptorList list;
        block.GetAudioDataBlock(index, list);
        list.count = Pick(12);
        for (unsigned i = 0; i < list.count && i < list.entries.size(); ++i) {
          list.entries[i] = {1 + Pick(8), Pick(16), Pick(128), Pick(3000)};
        }
        block.SetAudioDataBlock(index, list);
        touched.push_back(index);
        mayRepair(count - 1);
        break;
      }
      case 7: {
        what = "SetGenericDataBlock";
        GenericDataBlock generic;
        block.GetGenericDataBlock(index, generic);
        generic.length = Pick(34);
        for (uint8_t& b : generic.data) b = uint8_t(Pick(256));
        generic.SetOuiValue(Coin() ? 0x000C03 : Pick(1u << 24));
        block.SetGenericDataBlock(index, generic);
        touched.push_back(index);
        mayRepair(count - 1);
        break;
      }
      case 8: {
        what = "SetHdmiVsdb";
        HdmiVsdb v;
        block.GetHdmiVsdb(index, v);
        v.payloadSize = Pick(30);
        v.hasFeatures = Coin();
        v.hasMaxTmds = Coin();
        v.hasContentFlags = Coin();
        v.hasLatency = Coin();
        v.hasInterlacedLatency = Coin();
        v.hasHdmiVideo = Coin();
        v.maxTmdsMHz = Pick(2000);
        v.multi3D = Pick(4);
        v.structureAll3D = Pick(8);
        v.mask3D = Pick(65536);
        v.hdmiVicCount = Pick(9);
        for (auto& vic : v.hdmiVics) vic.vic = uint8_t(Pick(6));
        v.detailed3DCount = Pick(23);
        for (auto& e : v.detailed3D) e = {3 + Pick(4), Pick(20), Pick(20), 1 + Pick(2)};
        for (unsigned k = 0; k < 4; ++k) {
          v.latencyKind[k] = Pick(4);
          v.latencyMs[k] = Pick(600);
        }
        block.SetHdmiVsdb(index, v);
        touched.push_back(index);
        mayRepair(count - 1);
        break;
      }
      case 9: {
        what = "SetSpeaker/Colorimetry/VideoCapability";
        SpeakerAllocation s;
        s.fc = Coin();
        s.tc = Coin();
        block.SetSpeakerAllocation(index, s);
        ColorimetryFlags c;
        c.adobeRgb = Coin();
        block.SetColorimetry(index, c);
        block.SetVideoCapability(index, VideoCapability{Pick(4), Pick(4), Pick(4), Coin(), Coin()});
        touched.push_back(index);
        break;
      }
      case 10: {
        what = "SetDetailedTiming";
        const unsigned i = Pick(static_cast<unsigned>(dtds.size()) + 1);
        DetailedTiming timing;
        block.GetDetailedTiming(i, timing);
        timing.pixelClock = Pick(70000);
        timing.hActive = Pick(5000);
        timing.stereo = Pick(7);
        block.SetDetailedTiming(i, timing);
        if (i < dtds.size() && timing.pixelClock % 65536 != 0) dtds[i] = cea.Range(cea[2] + 18 * i, 18);
        break;
      }
      case 11: {
        what = "SetGeneralInfo";
        CeaGeneralInfo info;
        info.basicAudio = Coin();
        info.ycbcr444 = Coin();
        block.SetGeneralInfo(info);
        break;
      }
      default: {
        what = "AddDataBlock of the first kind that fits";
        for (unsigned kind = 1; kind < kCeaKindCount; ++kind) {
          if (!block.CanAddDataBlockOfKind(kind)) continue;
          block.AddDataBlock(kind);
          mayRepair(count - 1);
          data.push_back(DataBlocksOf(block, cea).back());
          break;
        }
        break;
      }
    }
    Check(block, what, dtds, data, touched);
  }

  void Check(const CeaExtBlock& block, const std::string& what, const std::vector<Bytes>& dtds,
             const std::vector<Bytes>& data, const std::vector<unsigned>& touched) {
    ASSERT_TRUE(cea.GuardsIntact()) << what;
    ASSERT_TRUE(cea.ChecksumValid()) << what;
    ASSERT_EQ(DtdsOf(block, cea), dtds) << what;
    const std::vector<Bytes> now = DataBlocksOf(block, cea);
    ASSERT_EQ(now.size(), data.size()) << what;
    for (size_t j = 0; j < now.size(); ++j) {
      if (std::find(touched.begin(), touched.end(), j) == touched.end()) {
        ASSERT_EQ(now[j], data[j]) << what << " block " << j;
      }
    }
    ASSERT_LE(block.FreeSpace(), 123u) << what;
    ASSERT_LE(block.CollectionEnd(), 124u) << what;
    if (LastOverruns(block)) {
      ASSERT_EQ(block.FreeInCollection(), 0u) << what;
    } else {
      ASSERT_LE(block.CollectionEnd() + block.FreeInCollection(), 123u) << what;
    }
    if (block.DtdCount() > 0) {
      ASSERT_EQ(cea[2], block.DtdPosition() + 4) << what;
      if (block.DataBlockCount() > 0) {
        ASSERT_LT(block.Entry(block.DataBlockCount() - 1)->position, block.DtdPosition()) << what;
      }
      if (!LastOverruns(block)) {
        ASSERT_LE(block.CollectionEnd(), block.DtdPosition()) << what;
      }
      ASSERT_EQ(block.DtdPosition() + 18 * block.DtdCount() + block.FreeAfterDtds(), 123u) << what;
    }
    // The bytes parse back to what the model reports.
    CeaExtBlock fresh(CeaImage::kOffset, cea.Block(), kBlockSize, nullptr);
    ASSERT_EQ(fresh.DataBlockCount(), block.DataBlockCount()) << what;
    ASSERT_EQ(fresh.DtdCount(), block.DtdCount()) << what;
    ASSERT_EQ(fresh.FreeSpace(), block.FreeSpace()) << what;
    for (unsigned j = 0; j < block.DataBlockCount(); ++j) ASSERT_EQ(*fresh.Entry(j), *block.Entry(j)) << what;
  }

  void Run(unsigned steps) {
    CeaExtBlock block(CeaImage::kOffset, cea.Block(), kBlockSize, nullptr);
    // A loaded block may come with a bad checksum; the first write repairs it.
    block.SetGeneralInfo(CeaGeneralInfo{});
    for (unsigned s = 0; s < steps && !::testing::Test::HasFatalFailure(); ++s) Step(block);
  }

  CeaImage cea;
  std::mt19937 rng;
};

std::vector<CeaImage> CorpusBlocks() {
  std::vector<CeaImage> out;
  for (const std::string& path : testing::CorpusFiles()) {
    const Bytes bytes = testing::ReadBytes(path);
    for (size_t at = kBlockSize; at + kBlockSize <= bytes.size(); at += kBlockSize) {
      if (bytes[at] != CeaExtBlock::kTag) continue;
      CeaImage cea;
      std::copy(bytes.begin() + at, bytes.begin() + at + kBlockSize, cea.Block());
      out.push_back(cea);
    }
  }
  return out;
}

TEST(CeaExtBlockRandomTest, EditsOfRealBlocks) {
  const std::vector<CeaImage> blocks = CorpusBlocks();
  ASSERT_GE(blocks.size(), 30u);
  unsigned seed = 1;
  for (const CeaImage& cea : blocks) {
    for (unsigned round = 0; round < 4; ++round) {
      Fuzzer fuzzer(cea, seed++);
      fuzzer.Run(150);
      ASSERT_FALSE(HasFatalFailure()) << "seed " << seed - 1;
    }
  }
}

TEST(CeaExtBlockRandomTest, EditsOfBuiltBlocks) {
  for (unsigned seed = 1000; seed < 1200; ++seed) {
    std::mt19937 rng(seed);
    std::vector<Bytes> blocks;
    const unsigned n = rng() % 6;
    for (unsigned i = 0; i < n; ++i) {
      Bytes payload(rng() % 12, 0);
      for (uint8_t& b : payload) b = uint8_t(rng());
      blocks.push_back(testing::DataBlockBytes(1 + rng() % 5, payload));
    }
    Fuzzer fuzzer(MakeCea(blocks, rng() % 4), seed);
    fuzzer.Run(150);
    ASSERT_FALSE(HasFatalFailure()) << "seed " << seed;
  }
}

TEST(CeaExtBlockRandomTest, EditsOfJunk) {
  for (unsigned seed = 5000; seed < 5300; ++seed) {
    std::mt19937 rng(seed);
    CeaImage cea;
    for (unsigned i = 0; i < kBlockSize; ++i) cea[i] = uint8_t(rng());
    cea[0] = CeaExtBlock::kTag;
    cea[1] = 3;
    // Byte 2 anywhere, with a bias towards values that point into the block.
    if (seed % 3 == 0) cea[2] = uint8_t(rng() % 128);
    // Zero runs make DTD ends and collection ends likelier.
    if (seed % 2 == 0) std::fill(cea.Block() + 4 + rng() % 100, cea.Block() + 127, 0);
    cea.FixChecksum();
    Fuzzer fuzzer(cea, seed);
    fuzzer.Run(100);
    ASSERT_FALSE(HasFatalFailure()) << "seed " << seed;
  }
}

}  // namespace
}  // namespace velmar
