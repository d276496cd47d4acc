// The edit target reads its input as a program: an optional image to start
// from, then one operation after another (adding and removing blocks, button
// presses on the pages, descriptor and data block changes, every setter with
// records decoded from the bytes and then scrambled, detailed timings, raw byte
// writes followed by a rebuild). After every step it checks what must hold
// whatever the user does:
// - every entry sits right after the previous one, inside the 512 bytes, and
//   the used size ends at the last one;
// - a write through a model leaves every byte outside its block unchanged and
//   the block's checksum right;
// - once a getter's record has been written back, writing back what the
//   getter answers changes nothing (so a setter followed by its getter gives
//   back what was written, within the codec's rounding);
// - after adding or removing a block the base block announces the extensions
//   that follow it, and after removing one the bytes past the used size are zero.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <typeinfo>
#include <type_traits>

#include "app/EdidImage.h"
#include "app/MainWindowCore.h"
#include "blocks/CeaDataBlocks.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DetailedTiming.h"
#include "blocks/DiExtBlock.h"
#include "blocks/DisplayIDBlock.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "pages/BlockPage.h"
#include "pages/CeaExtBlockPage.h"
#include "pages/DiExtBlockPage.h"
#include "pages/DisplayIDBlockPage.h"
#include "pages/EdidBaseBlockPage.h"

namespace velmar::fuzz {

namespace {

// The input, read a byte or a number at a time; zeros once it is used up.
class ByteSource {
 public:
  ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Done() const { return position_ >= size_; }
  uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  uint32_t U32() { return U16() | (static_cast<uint32_t>(U16()) << 16); }
  bool Bit() { return (Byte() & 1) != 0; }
  size_t Remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  const uint8_t* Here() const { return data_ + position_; }
  void Skip(size_t count) { position_ += count; }
  static uint8_t Next(void* source) { return static_cast<ByteSource*>(source)->Byte(); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// Scrambling of record fields: each field keeps its value or takes one from
// the input, small or large, as the next byte says.
void Scramble(ByteSource& in, bool& value) {
  if (in.Byte() % 4 == 0) value = in.Bit();
}
void Scramble(ByteSource& in, uint8_t& value) {
  if (in.Byte() % 4 == 0) value = in.Byte();
}
template <class T>
  requires(std::is_integral_v<T> && sizeof(T) == 4)
void Scramble(ByteSource& in, T& value) {
  switch (in.Byte() % 8) {
    case 0: value = static_cast<T>(in.Byte()); break;
    case 1: value = static_cast<T>(in.U16()); break;
    case 2: value = static_cast<T>(in.U32()); break;
    case 3: value = static_cast<T>(in.Byte() % 8); break;
    default: break;
  }
}
// Real fields take values a dialog can pass on: 0 to 255.99 in hundredths
// (the colour management coefficients, signed, have their own below).
void Scramble(ByteSource& in, double& value) {
  if (in.Byte() % 4 == 0) value = (in.U16() % 25600) / 100.0;
}
void ScrambleSigned(ByteSource& in, double& value) {
  if (in.Byte() % 4 == 0) value = static_cast<int16_t>(in.U16()) / 100.0;
}
template <class T, size_t N>
void Scramble(ByteSource& in, std::array<T, N>& values) {
  if (in.Byte() % 2 != 0) return;
  for (T& value : values) Scramble(in, value);
}

#define SCRAMBLE(...) ScrambleAll(in, __VA_ARGS__)
template <class... Fields>
void ScrambleAll(ByteSource& in, Fields&... fields) {
  (Scramble(in, fields), ...);
}

void Scramble(ByteSource& in, VendorProductInfo& r) {
  SCRAMBLE(r.letter1, r.letter2, r.letter3, r.productCode, r.serialNumber, r.week, r.year);
}
void Scramble(ByteSource& in, BasicParams& r) {
  SCRAMBLE(r.gammaDefined, r.digital, r.displayType, r.sizeMode, r.hSizeCm, r.vSizeCm, r.gamma, r.signalLevel,
           r.blankToBlack, r.separateSync, r.compositeSyncOnH, r.syncOnGreen, r.serrationOnVSync, r.colorDepth,
           r.digitalInterface, r.standby, r.suspend, r.activeOff, r.srgbDefault, r.preferredTimingNative,
           r.defaultGtf, r.continuousFrequency);
}
void Scramble(ByteSource& in, ColorCharacteristics& r) { SCRAMBLE(r.codes); }
void Scramble(ByteSource& in, StandardTiming& r) { SCRAMBLE(r.used, r.width, r.refresh, r.aspect); }
void Scramble(ByteSource& in, DescriptorText& r) { SCRAMBLE(r.bytes); }
void Scramble(ByteSource& in, ColorPoint& r) {
  SCRAMBLE(r.whiteIndex1, r.whiteX1, r.whiteY1, r.gamma1Defined, r.gamma1, r.whiteIndex2, r.whiteX2, r.whiteY2,
           r.gamma2Defined, r.gamma2);
}
void Scramble(ByteSource& in, RangeLimits& r) {
  SCRAMBLE(r.offsetsAvailable, r.extendedSupport, r.hOffsetMode, r.vOffsetMode, r.minVRate, r.maxVRate, r.minHRate,
           r.maxHRate, r.maxPixelClockMHz, r.timingSupport, r.gtfStartFreqKHz, r.gtfC, r.gtfM, r.gtfK, r.gtfJ,
           r.cvtVersion, r.cvtMaxLineLength, r.cvtClockPrecisionKHz, r.cvtPreferredAspect, r.cvtStandardBlanking,
           r.cvtReducedBlanking, r.cvtAspect4x3, r.cvtAspect16x9, r.cvtAspect16x10, r.cvtAspect5x4, r.cvtAspect15x9,
           r.cvtHShrink, r.cvtHStretch, r.cvtVShrink, r.cvtVStretch, r.cvtPreferredRate);
}
void Scramble(ByteSource& in, CvtCode& r) {
  SCRAMBLE(r.used, r.lines, r.aspect, r.preferredRate, r.rate50, r.rate60, r.rate75, r.rate85, r.rate60Rb);
}
void Scramble(ByteSource& in, ColorManagement& r) {
  Scramble(in, r.version);
  for (double* coefficient : {&r.redA2, &r.redA3, &r.greenA2, &r.greenA3, &r.blueA2, &r.blueA3}) {
    ScrambleSigned(in, *coefficient);
  }
}
void Scramble(ByteSource& in, DetailedTiming& r) {
  SCRAMBLE(r.pixelClock, r.hActive, r.vActive, r.hBlank, r.vBlank, r.hSyncOffset, r.hSyncWidth, r.vSyncOffset,
           r.vSyncWidth, r.hBorder, r.vBorder, r.hImageMm, r.vImageMm, r.interlaced, r.syncFlagBit2, r.syncFlagBit1,
           r.stereo, r.syncType);
}
void Scramble(ByteSource& in, CeaGeneralInfo& r) {
  SCRAMBLE(r.dtdOffset, r.reportedDtdCount, r.dtdCount, r.dataBlockCount, r.freeInCollection, r.freeAfterDtds,
           r.ycbcr422, r.ycbcr444, r.basicAudio, r.underscan);
}
void Scramble(ByteSource& in, ShortVideoDescriptorList& r) {
  SCRAMBLE(r.count, r.capacity);
  if (in.Bit()) {
    for (ShortVideoDescriptor& d : r.entries) SCRAMBLE(d.vic, d.native);
  }
}
void Scramble(ByteSource& in, ShortAudioDescriptorList& r) {
  SCRAMBLE(r.count, r.capacity);
  if (in.Bit()) {
    for (ShortAudioDescriptor& d : r.entries) SCRAMBLE(d.channels, d.formatCode, d.sampleRates, d.formatValue);
  }
}
void Scramble(ByteSource& in, GenericDataBlock& r) { SCRAMBLE(r.hasOui, r.oui, r.length, r.capacity, r.data); }
void Scramble(ByteSource& in, SpeakerAllocation& r) {
  SCRAMBLE(r.fc, r.flcFrc, r.fch, r.flhFrh, r.flFr, r.flwFrw, r.lfe, r.rc, r.rlcRrc, r.rlRr, r.tc);
}
void Scramble(ByteSource& in, ColorimetryFlags& r) {
  SCRAMBLE(r.xvYcc601, r.xvYcc709, r.sYcc601, r.adobeYcc601, r.adobeRgb, r.metadataProfile0, r.metadataProfile1,
           r.metadataProfile2, r.metadataProfile3);
}
void Scramble(ByteSource& in, VideoCapability& r) {
  SCRAMBLE(r.ceScan, r.itScan, r.ptScan, r.rgbQuantSelectable, r.yccQuantSelectable);
}
void Scramble(ByteSource& in, HdmiVsdb& r) {
  SCRAMBLE(r.payloadSize, r.capacity, r.hdmiVicCount, r.detailed3DCount, r.hasFeatures, r.hasMaxTmds,
           r.hasContentFlags, r.hasLatency, r.hasInterlacedLatency, r.hasHdmiVideo, r.physB, r.physA, r.physD,
           r.physC, r.dviDual, r.deepColorY444, r.deepColor30, r.deepColor36, r.deepColor48, r.supportsAi,
           r.maxTmdsMHz, r.cnc0, r.cnc1, r.cnc2, r.cnc3, r.latencyKind, r.latencyMs, r.imageSize, r.present3D,
           r.multi3D, r.structureAll3D, r.mask3D);
  if (in.Bit()) {
    for (Hdmi3DEntry& e : r.detailed3D) SCRAMBLE(e.kind, e.vicIndex, e.detail, e.size);
  }
  if (in.Bit()) {
    for (HdmiVicEntry& e : r.hdmiVics) SCRAMBLE(e.vic, e.flag);
  }
}
void Scramble(ByteSource& in, DiGeneralInfo& r) {
  SCRAMBLE(r.version, r.interfaceStandard, r.releaseKind, r.versionNumber, r.revisionNumber, r.versionInteger,
           r.versionHundredths, r.revisionInteger, r.revisionHundredths, r.day, r.month, r.year, r.letter, r.checksum);
}
void Scramble(ByteSource& in, DiFormatAndClock& r) {
  SCRAMBLE(r.dataEnableUsed, r.dataEnableHigh, r.shiftClockEdge, r.hdcp, r.doubleClocking, r.packetizedVideo,
           r.dataFormatIndex, r.minClock, r.maxClock, r.crossover, r.dataFormatCode);
}
void Scramble(ByteSource& in, DiDisplayDevice& r) {
  SCRAMBLE(r.layout, r.configuration, r.shape, r.horizontalPitch, r.verticalPitch, r.fixedPixelFormat,
           r.viewDirection, r.transparentBackground, r.physicalImplementation, r.ddcCi);
}
void Scramble(ByteSource& in, DiDisplayCaps& r) {
  SCRAMBLE(r.legacyTimings, r.stereoVideo, r.scalerOnBoard, r.imageCentering, r.conditionalUpdate,
           r.interlacedScan, r.framelock, r.frequencyConversion, r.verticalConversion, r.horizontalConversion,
           r.orientationType, r.portrait, r.zeroPixelLocation, r.scanDirection, r.projector, r.fullMode, r.zoomMode,
           r.squeezeMode, r.variableMode);
}
void Scramble(ByteSource& in, DiColorProperties& r) {
  SCRAMBLE(r.defaultDecoding, r.preferredDecoding, r.decodings, r.dithering, r.colorDepths);
}
void Scramble(ByteSource& in, DiGamma& r) { SCRAMBLE(r.curveType, r.pointCount, r.points); }

class EditRun {
 public:
  EditRun(const uint8_t* data, size_t size) : in(data, size), ui(&ByteSource::Next, &in), core(ui) {}

  void Run() {
    EdidImage& image = core.Image();
    core.Initialize();
    // An input that starts like an EDID header carries its starting image:
    // the base block and the extensions it announces.
    if (in.Remaining() >= kBlockSize && in.Here()[0] == 0x00) {
      const size_t length =
          std::min<size_t>({in.Remaining(), size_t{kMaxEdidSize}, size_t{(in.Here()[126] + 1u) * kBlockSize}});
      std::memcpy(image.rawData.data(), in.Here(), length);
      in.Skip(length);
      image.Rebuild();
    }
    CheckLayoutInvariants(image);
    for (unsigned step = 0; step < 64 && !in.Done(); ++step) {
      Step();
      CheckLayoutInvariants(image);
    }
    RunAllViews(image);
  }

 private:
  EdidImage& Image() { return core.Image(); }

  BlockPage* PickPage() {
    const unsigned count = Image().BlockCount();
    return count == 0 ? nullptr : Image().GetPage(in.Byte() % count);
  }

  template <class PageType>
  PageType* PickPageOf() {
    return dynamic_cast<PageType*>(PickPage());
  }

  // Runs `write` on the block of `page` and checks the write rules.
  template <class Write>
  void Checked(BlockPage* page, Write&& write) {
    const DataBlock* block = page->GetBlock();
    if (block == nullptr) return;
    const unsigned start = block->GetOffset();
    const unsigned size = block->GetSize();
    const std::array<uint8_t, kMaxEdidSize> before = Image().rawData;
    write();
    // The model may have been replaced when the block changed its size.
    block = page->GetBlock();
    VELMAR_FUZZ_CHECK(block != nullptr);
    const unsigned end = std::max(start + size, block->GetOffset() + block->GetSize());
    for (unsigned i = 0; i < kMaxEdidSize; ++i) {
      if (i < start || i >= end) VELMAR_FUZZ_CHECK(Image().rawData[i] == before[i]);
    }
    const uint8_t* bytes = block->Bytes();
    const unsigned newSize = block->GetSize();
    const bool displayIdSection = dynamic_cast<const DisplayIDBlock*>(block) != nullptr &&
                                  static_cast<const DisplayIDBlock*>(block)->IsBaseSection();
    if (!displayIdSection && newSize > 0 && std::memcmp(before.data() + start, bytes, newSize) != 0) {
      VELMAR_FUZZ_CHECK(DataBlock::ComputeChecksum(bytes, newSize - 1) == bytes[newSize - 1]);
    }
  }

  // Scrambles the record the getter gives, writes it, then checks that
  // writing back what the getter now answers changes nothing.
  template <class Record, class Get, class Set>
  void SetterRoundTrip(BlockPage* page, Get&& get, Set&& set) {
    Record record;
    get(record);
    Scramble(in, record);
    const std::array<uint8_t, kMaxEdidSize> original = Image().rawData;
    Checked(page, [&] { set(record); });
    const std::array<uint8_t, kMaxEdidSize> afterFirst = Image().rawData;
    // A scrambled record may hold values no dialog lets through (an index of
    // 300 in a byte): those only have to be written safely. What the getter
    // then answers is a record the codec can hold; writing it may settle the
    // bytes once (padding, unused fields), after which getting and setting
    // again must change nothing.
    Record settled;
    get(settled);
    Checked(page, [&] { set(settled); });
    Record readBack;
    get(readBack);
    std::array<uint8_t, kMaxEdidSize> before = Image().rawData;
    Checked(page, [&] { set(readBack); });
    // A write may repair a checksum that was wrong before (a block loaded that
    // way, or a refused first write); that is the only change allowed.
    if (const DataBlock* block = page->GetBlock(); block != nullptr && block->GetSize() > 0) {
      const unsigned last = block->GetOffset() + block->GetSize() - 1;
      if (last < kMaxEdidSize) before[last] = Image().rawData[last];
    }
    if (Image().rawData != before) {
      if (std::getenv("VELMAR_FUZZ_DEBUG") != nullptr) {
        const std::array<uint8_t, kMaxEdidSize> after = Image().rawData;
        for (const std::array<uint8_t, kMaxEdidSize>* dump : {&original, &afterFirst, &after}) {
          const unsigned start = page->GetOffset();
          for (unsigned i = start; i < start + 128; ++i) std::fprintf(stderr, "%02X%s", (*dump)[i], i % 16 == 15 ? "\n" : " ");
          std::fprintf(stderr, "--\n");
        }
      }
      for (unsigned i = 0; i < kMaxEdidSize; ++i) {
        if (Image().rawData[i] != before[i]) {
          std::fprintf(stderr, "%s written back changed byte %u: %02X -> %02X\n", typeid(Record).name(), i,
                       before[i], Image().rawData[i]);
        }
      }
    }
    VELMAR_FUZZ_CHECK(Image().rawData == before);
  }

  void Step() {
    switch (in.Byte() % 12) {
      case 0: AddBlock(); break;
      case 1: RemoveBlock(); break;
      case 2: RawWrite(); break;
      case 3: PressButton(); break;
      case 4:
      case 5: BaseBlockEdit(); break;
      case 6:
      case 7: CeaEdit(); break;
      case 8: DiExtEdit(); break;
      case 9: DetailedTimingEdit(); break;
      case 10: DisplayIdEdit(); break;
      default: Relayout(); break;
    }
  }

  void CheckExtensionCount() {
    EdidImage& image = Image();
    if (image.BlockCount() > 0 && image.GetPage(0)->IsBaseBlock()) {
      VELMAR_FUZZ_CHECK(image.GetPage(0)->GetExtensionCount() == image.BlockCount() - 1);
    }
  }

  void CheckZeroTail() {
    for (unsigned i = Image().GetUsedSize(); i < kMaxEdidSize; ++i) VELMAR_FUZZ_CHECK(Image().rawData[i] == 0);
  }

  void AddBlock() {
    // Only what the window lets the user do: the button is disabled otherwise.
    if (!Image().Buttons().addBlock) return;
    const unsigned before = Image().BlockCount();
    core.AddBlock();
    if (Image().BlockCount() != before) CheckExtensionCount();
  }

  void RemoveBlock() {
    if (!Image().Buttons().removeBlock) return;
    Image().SetActivePage(static_cast<int>(in.Byte() % (Image().BlockCount() + 1)) - 1);
    const unsigned before = Image().BlockCount();
    core.RemoveBlock();
    if (Image().BlockCount() != before) {
      CheckExtensionCount();
      CheckZeroTail();
    }
  }

  void RawWrite() {
    const unsigned count = 1 + in.Byte() % 8;
    for (unsigned k = 0; k < count; ++k) Image().rawData[in.U16() % kMaxEdidSize] = in.Byte();
    Image().Rebuild();
  }

  void PressButton() {
    BlockPage* page = PickPage();
    if (page == nullptr) return;
    static constexpr int kBases[4] = {kLeftItemId, kRightItemId, kLeftActionId, kRightActionId};
    const int id = kBases[in.Byte() % 4] + in.Byte() % kGridRows;
    Image().SetActivePage(static_cast<int>(page->GetIndex()));
    if (in.Bit()) {
      page->PressButton(id);
    } else {
      page->PressEnter(id);
    }
  }

  void Relayout() {
    Image().RelayoutBlocks();
    CheckZeroTail();
  }

  void BaseBlockEdit() {
    auto* page = PickPageOf<EdidBaseBlockPage>();
    if (page == nullptr || page->Model() == nullptr) return;
    Edid13Block* model = page->Model();
    auto* model14 = dynamic_cast<Edid14Block*>(model);
    const unsigned slot = in.Byte() % 6;  // 0-4 is valid for most operations; 5 is out of range
    const unsigned index = in.Byte() % 48;
    switch (in.Byte() % 14) {
      case 0: Checked(page, [&] { model->CreateDescriptor(in.Byte() % 12, slot); }); break;
      case 1: Checked(page, [&] { model->ClearDescriptor(slot); }); break;
      case 2:
        SetterRoundTrip<VendorProductInfo>(
            page, [&](auto& r) { model->GetVendorProduct(r); }, [&](const auto& r) { model->SetVendorProduct(r); });
        break;
      case 3:
        SetterRoundTrip<BasicParams>(
            page, [&](auto& r) { model->GetBasicParams(r); }, [&](const auto& r) { model->SetBasicParams(r); });
        break;
      case 4:
        SetterRoundTrip<ColorCharacteristics>(
            page, [&](auto& r) { model->GetColorCharacteristics(r); },
            [&](const auto& r) { model->SetColorCharacteristics(r); });
        break;
      case 5: Checked(page, [&] { model->SetEstablishedTiming(slot, index, in.Bit()); }); break;
      case 6:
        SetterRoundTrip<StandardTiming>(
            page, [&](auto& r) { model->GetStandardTiming(slot, index % 9, r); },
            [&](const auto& r) { model->SetStandardTiming(slot, index % 9, r); });
        break;
      case 7:
        SetterRoundTrip<DescriptorText>(
            page, [&](auto& r) { model->GetDescriptorString(slot, r); },
            [&](const auto& r) { model->SetDescriptorString(slot, r); });
        break;
      case 8:
        SetterRoundTrip<ColorPoint>(
            page, [&](auto& r) { model->GetColorPoint(slot, r); }, [&](const auto& r) { model->SetColorPoint(slot, r); });
        break;
      case 9:
        SetterRoundTrip<RangeLimits>(
            page, [&](auto& r) { model->GetRangeLimits(slot, r); },
            [&](const auto& r) { model->SetRangeLimits(slot, r); });
        break;
      case 10:
        if (model14 != nullptr) {
          SetterRoundTrip<CvtCode>(
              page, [&](auto& r) { model14->GetCvtCode(slot, index % 5, r); },
              [&](const auto& r) { model14->SetCvtCode(slot, index % 5, r); });
        }
        break;
      case 11:
        if (model14 != nullptr) {
          SetterRoundTrip<ColorManagement>(
              page, [&](auto& r) { model14->GetColorManagement(slot, r); },
              [&](const auto& r) { model14->SetColorManagement(slot, r); });
        }
        break;
      case 12: {
        // The descriptor list a page offers only holds kinds that can be added.
        const unsigned kind = in.Byte() % 11;
        if (model->CanAddDescriptor(kind)) Checked(page, [&] { model->CreateDescriptor(kind, slot % 4); });
        break;
      }
      default: Checked(page, [&] { model->SetEstablishedTiming(slot, index, in.Bit()); }); break;
    }
  }

  void CeaEdit() {
    auto* page = PickPageOf<CeaExtBlockPage>();
    if (page == nullptr || page->Model() == nullptr) return;
    CeaExtBlock* model = page->Model();
    const unsigned index = in.Byte() % 12;
    switch (in.Byte() % 13) {
      case 0: Checked(page, [&] { model->AddDetailedTiming(); }); break;
      case 1: Checked(page, [&] { model->RemoveDetailedTiming(index % 8); }); break;
      case 2: Checked(page, [&] { model->AddDataBlock(in.Byte() % 17); }); break;
      case 3: Checked(page, [&] { model->RemoveDataBlock(index); }); break;
      case 4:
        SetterRoundTrip<CeaGeneralInfo>(
            page, [&](auto& r) { model->GetGeneralInfo(r); }, [&](const auto& r) { model->SetGeneralInfo(r); });
        break;
      case 5:
        SetterRoundTrip<ShortVideoDescriptorList>(
            page, [&](auto& r) { model->GetVideoDataBlock(index, r); },
            [&](const auto& r) { model->SetVideoDataBlock(index, r); });
        break;
      case 6:
        SetterRoundTrip<ShortAudioDescriptorList>(
            page, [&](auto& r) { model->GetAudioDataBlock(index, r); },
            [&](const auto& r) { model->SetAudioDataBlock(index, r); });
        break;
      case 7:
        SetterRoundTrip<GenericDataBlock>(
            page, [&](auto& r) { model->GetGenericDataBlock(index, r); },
            [&](const auto& r) { model->SetGenericDataBlock(index, r); });
        break;
      case 8:
        SetterRoundTrip<SpeakerAllocation>(
            page, [&](auto& r) { model->GetSpeakerAllocation(index, r); },
            [&](const auto& r) { model->SetSpeakerAllocation(index, r); });
        break;
      case 9:
        SetterRoundTrip<ColorimetryFlags>(
            page, [&](auto& r) { model->GetColorimetry(index, r); },
            [&](const auto& r) { model->SetColorimetry(index, r); });
        break;
      case 10:
        SetterRoundTrip<VideoCapability>(
            page, [&](auto& r) { model->GetVideoCapability(index, r); },
            [&](const auto& r) { model->SetVideoCapability(index, r); });
        break;
      default:
        SetterRoundTrip<HdmiVsdb>(
            page, [&](auto& r) { model->GetHdmiVsdb(index, r); }, [&](const auto& r) { model->SetHdmiVsdb(index, r); });
        break;
    }
  }

  void DiExtEdit() {
    auto* page = PickPageOf<DiExtBlockPage>();
    if (page == nullptr || page->Model() == nullptr) return;
    DiExtBlock* model = page->Model();
    switch (in.Byte() % 7) {
      case 0:
        SetterRoundTrip<DiGeneralInfo>(
            page, [&](auto& r) { model->GetGeneralInfo(r); }, [&](const auto& r) { model->SetGeneralInfo(r); });
        break;
      case 1:
        // An unknown format byte leaves the index as the caller set it, and an
        // index outside the table leaves the byte alone: start outside it.
        SetterRoundTrip<DiFormatAndClock>(
            page,
            [&](auto& r) {
              r.dataFormatIndex = 5;
              model->GetFormatAndClock(r);
            },
            [&](const auto& r) { model->SetFormatAndClock(r); });
        break;
      case 2:
        SetterRoundTrip<DiDisplayDevice>(
            page, [&](auto& r) { model->GetDisplayDevice(r); }, [&](const auto& r) { model->SetDisplayDevice(r); });
        break;
      case 3:
        SetterRoundTrip<DiDisplayCaps>(
            page, [&](auto& r) { model->GetDisplayCaps(r); }, [&](const auto& r) { model->SetDisplayCaps(r); });
        break;
      case 4:
        SetterRoundTrip<DiColorProperties>(
            page, [&](auto& r) { model->GetColorProperties(r); },
            [&](const auto& r) { model->SetColorProperties(r); });
        break;
      case 5:
        SetterRoundTrip<DiGamma>(
            page, [&](auto& r) { model->GetGamma(r); }, [&](const auto& r) { model->SetGamma(r); });
        break;
      default: Checked(page, [&] { model->UpdateChecksum(); }); break;
    }
  }

  void DetailedTimingEdit() {
    BlockPage* page = PickPage();
    if (page == nullptr || page->GetBlock() == nullptr) return;
    DataBlock* model = page->GetBlock();
    const unsigned index = in.Byte() % 8;
    SetterRoundTrip<DetailedTiming>(
        page, [&](auto& r) { model->GetDetailedTiming(index, r); },
        [&](const auto& r) { model->SetDetailedTiming(index, r); });
  }

  void DisplayIdEdit() {
    auto* page = PickPageOf<DisplayIDBlockPage>();
    if (page == nullptr || page->Model() == nullptr) return;
    // The extension count is the image's to keep (it follows every add and
    // remove), so only the checksum is ours to touch here.
    DisplayIDBlock* model = page->Model();
    Checked(page, [&] { model->UpdateChecksum(); });
  }

  ByteSource in;
  FuzzUserInterface ui;
  MainWindowCore core;
};

}  // namespace

void FuzzEdit(const uint8_t* data, size_t size) {
  EditRun run(data, size);
  run.Run();
}

}  // namespace velmar::fuzz
