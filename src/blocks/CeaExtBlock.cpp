#include "blocks/CeaExtBlock.h"

#include <algorithm>
#include <cstring>

#include "common/Callbacks.h"
#include "blocks/DetailedTiming.h"
#include "blocks/HdmiVicTable.h"
#include "blocks/VideoFormatTable.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kArea = CeaExtBlock::kDataAreaSize;
constexpr unsigned kDtd = kDetailedTimingLength;
// The end of the block (its byte 128) counted from byte 4: no data block reads past it.
constexpr unsigned kBlockEnd = kBlockSize - CeaExtBlock::kDataAreaStart;

using BlockImage = std::array<uint8_t, kMaxDataBlockLength>;

}  // namespace

CeaExtBlock::CeaExtBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener)
    : DataBlock(blockOffset, blockListener) {
  if (Accepts(data, available)) bytes = data;
  Parse();
}

bool CeaExtBlock::Accepts(const uint8_t* data, unsigned available) {
  return data != nullptr && available >= kBlockSize && data[0] == kTag;
}

bool CeaExtBlock::InitDefaultBytes(uint8_t* data, unsigned room) {
  if (data == nullptr || room < kBlockSize) return false;
  std::memset(data, 0, kBlockSize);
  data[0] = kTag;
  data[1] = 3;
  data[kBlockSize - 1] = ComputeChecksum(data, kBlockSize - 1);
  return true;
}

bool CeaExtBlock::CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                                 CallbackFillContentTgt* report) {
  if (image == nullptr || available < kBlockSize) {
    report->AppendFormatted("  CEA Ext Block...: %u - unsufficient size. Required %u bytes\r\n", available,
                          kBlockSize);
    return false;
  }
  if (image[position] != kTag) {
    report->AppendFormatted("  CEA Ext Block...: Byte[%u] = 0x%02X does not match CEA extension tag (0x%02X)\r\n",
                          position, image[position], kTag);
    return false;
  }
  return true;
}

uint8_t CeaExtBlock::GetChecksum() const { return bytes != nullptr ? bytes[kBlockSize - 1] : 0; }

unsigned CeaExtBlock::GetSize() const { return bytes != nullptr ? kBlockSize : 0; }

unsigned CeaExtBlock::GetVersion() const { return bytes != nullptr ? bytes[1] : 0; }

// ---------------------------------------------------------------------------
// Parsing

void CeaExtBlock::Parse() {
  dataBlocks.fill(DataBlockEntry{});
  vic3DFlags.fill(0);
  dataBlockCount = dtdCount = dtdPosition = freeInCollection = freeAfterDtds = collectionEnd = 0;
  if (bytes == nullptr) return;

  const uint8_t* area = Area();
  const unsigned d = bytes[2];
  // Byte 2 bounds the collection; a value past the data area bounds it at the area's end.
  const unsigned scanEnd = d >= 4 ? std::min(d - 4, kArea) : kArea;
  dtdPosition = d >= 4 ? scanEnd : 0;

  unsigned pos = 0;
  while (pos < scanEnd && dataBlockCount < kMaxDataBlockEntries) {
    const uint8_t header = area[pos];
    const unsigned tag = header >> 5;
    if (tag == 0 || tag == kCeaTagReserved6) break;
    // A block keeps its stated length even when it runs past the end of the
    // collection; only the end of the block cuts it. Writes through it stay
    // inside its room (RoomOf).
    const unsigned length = std::min((header & 31u) + 1, kBlockEnd - pos);
    DataBlockEntry entry;
    entry.tag = static_cast<uint8_t>(tag);
    entry.position = pos;
    entry.length = length;
    entry.headerLength = 1;
    bool hasExtTag = false;
    if (tag == kCeaTagVendorSpecific && length >= 4) {
      entry.oui = area[pos + 1] | (area[pos + 2] << 8) | (static_cast<uint32_t>(area[pos + 3]) << 16);
      entry.headerLength = 4;
    } else if (tag == kCeaTagExtended && length >= 2) {
      hasExtTag = true;
      entry.extTag = area[pos + 1];
      entry.headerLength = 2;
      if ((entry.extTag == 1 || entry.extTag == 17) && length >= 5) {
        entry.oui = area[pos + 2] | (area[pos + 3] << 8) | (static_cast<uint32_t>(area[pos + 4]) << 16);
        entry.headerLength = 5;
      }
    }
    entry.payloadPosition = pos + entry.headerLength;
    entry.kind = CeaDataBlockKindOf(tag, hasExtTag, entry.extTag, entry.oui);
    entry.minLength = CeaDataBlockMinLength(entry.kind);
    dataBlocks[dataBlockCount++] = entry;
    pos += length;
  }
  collectionEnd = pos;

  if (d >= 4) {
    while (true) {
      const unsigned at = dtdPosition + kDtd * dtdCount;
      if (at + kDtd > kArea || (area[at] == 0 && area[at + 1] == 0)) break;
      ++dtdCount;
    }
  }
  freeAfterDtds = dtdCount > 0 ? kArea - (dtdPosition + kDtd * dtdCount) : 0;
  // Without DTDs, all room up to the end of the data area belongs to the collection.
  const unsigned limit = dtdCount > 0 ? dtdPosition : kArea;
  freeInCollection = limit > collectionEnd ? limit - collectionEnd : 0;
  Derive3DFlags();
}

void CeaExtBlock::Derive3DFlags() {
  vic3DFlags.fill(0);
  if (bytes == nullptr || dataBlockCount == 0) return;
  ShortVideoDescriptorList all;
  GetAllShortVideoDescriptors(all);
  if (all.count == 0) return;
  auto flagsOf = [&](unsigned vic) -> uint8_t* {
    return vic >= 1 && vic <= vic3DFlags.size() ? &vic3DFlags[vic - 1] : nullptr;
  };
  for (unsigned j = 0; j < dataBlockCount; ++j) {
    if (dataBlocks[j].kind != kCeaKindHdmiVsdb) continue;
    HdmiVsdb vsdb;
    HdmiVsdbOf(j, vsdb);
    if (vsdb.present3D) {
      for (unsigned i = 0; i < all.count; ++i) {
        if (uint8_t* flags = flagsOf(all.entries[i].vic)) *flags = static_cast<uint8_t>(Mandatory3DFormats(all.entries[i].vic));
      }
    }
    if (vsdb.multi3D == 1 || vsdb.multi3D == 2) {
      for (unsigned i = 0; i < 16 && i < all.count; ++i) {
        if (vsdb.multi3D == 2 && ((vsdb.mask3D >> i) & 1u) == 0) continue;
        if (uint8_t* flags = flagsOf(all.entries[i].vic)) *flags = static_cast<uint8_t>(vsdb.structureAll3D & 7);
      }
    }
    for (unsigned e = 0; e < vsdb.detailed3DCount; ++e) {
      const Hdmi3DEntry& entry = vsdb.detailed3D[e];
      if (entry.vicIndex >= all.count) continue;
      uint8_t* flags = flagsOf(all.entries[entry.vicIndex].vic);
      if (flags == nullptr) continue;
      if (entry.kind == k3DKindFramePacking) *flags |= k3DFramePacking;
      if (entry.kind == k3DKindSideBySide) *flags |= k3DSideBySide;
      if (entry.kind == k3DKindTopAndBottom) *flags |= k3DTopAndBottom;
    }
  }
}

const DataBlockEntry* CeaExtBlock::Entry(unsigned index) const {
  return bytes != nullptr && index < dataBlockCount ? &dataBlocks[index] : nullptr;
}

unsigned CeaExtBlock::GetDataBlockKind(unsigned index) const {
  return bytes != nullptr && index < dataBlockCount ? dataBlocks[index].kind : kCeaKindDummy;
}

// ---------------------------------------------------------------------------
// Byte moves

void CeaExtBlock::MoveArea(unsigned to, unsigned from, unsigned count) {
  if (to >= kArea || from >= kArea) return;
  count = std::min({count, kArea - to, kArea - from});
  if (count > 0) std::memmove(Area() + to, Area() + from, count);
}

void CeaExtBlock::ZeroArea(unsigned at, unsigned count) {
  if (at >= kArea) return;
  count = std::min(count, kArea - at);
  if (count > 0) std::memset(Area() + at, 0, count);
}

void CeaExtBlock::MoveDtdsUp(unsigned distance) {
  distance = std::min(distance, freeAfterDtds);
  if (distance == 0 || dtdCount == 0) return;
  MoveArea(dtdPosition + distance, dtdPosition, kDtd * dtdCount);
  ZeroArea(dtdPosition, distance);
  dtdPosition += distance;
  ClearAfterDtds();
  bytes[2] = static_cast<uint8_t>(dtdPosition + kDataAreaStart);
  freeInCollection += distance;
  freeAfterDtds -= distance;
}

unsigned CeaExtBlock::RoomOf(unsigned index) const {
  if (bytes == nullptr || index >= dataBlockCount) return 0;
  const DataBlockEntry& entry = dataBlocks[index];
  // Only the last block can run past the collection: into the DTDs, or past
  // the data area into the checksum.
  const unsigned limit = dtdCount > 0 ? dtdPosition : kArea;
  return std::min(entry.length, limit > entry.position ? limit - entry.position : 0u);
}

void CeaExtBlock::RepairOverrun() {
  // A last data block whose stated length runs past its room is read with
  // that length, over bytes that belong to the DTDs or the checksum. Once the
  // collection or the DTDs move, those bytes would become other bytes: the
  // header first shrinks to the room, so the block keeps what is its own.
  if (dataBlockCount == 0) return;
  const unsigned last = dataBlockCount - 1;
  const unsigned room = RoomOf(last);
  if (room == 0 || room >= dataBlocks[last].length) return;
  uint8_t& header = Area()[dataBlocks[last].position];
  header = static_cast<uint8_t>((header & 0xE0) | (room - 1));
  Parse();
}

void CeaExtBlock::EndCollection() {
  // The room between the collection and the DTDs is free space that may hold
  // anything; a zero header right after the last data block keeps it from
  // being read as data blocks.
  if (dtdCount > 0 && collectionEnd < dtdPosition) Area()[collectionEnd] = 0;
}

void CeaExtBlock::ClearAfterDtds() {
  // Padding after the last DTD: left as it was, a stray non-zero pixel clock
  // there would be taken for one more DTD once the run ends next to it.
  const unsigned end = dtdPosition + kDtd * dtdCount;
  if (dtdCount > 0 && end < kArea) ZeroArea(end, kArea - end);
}

void CeaExtBlock::AlignDtdOffset() {
  if (dtdCount > 0) return;
  bytes[2] = static_cast<uint8_t>(collectionEnd > 0 ? collectionEnd + kDataAreaStart : 0);
  // What follows the collection is free room up to byte 126; anything left
  // there would now be read as DTDs.
  if (collectionEnd > 0) ZeroArea(collectionEnd, kArea - collectionEnd);
}

// ---------------------------------------------------------------------------
// Structure

bool CeaExtBlock::CanAddDataBlockOfKind(unsigned kind) const {
  return bytes != nullptr && GetVersion() > 2 && kind >= 1 && kind < kCeaKindCount &&
         dataBlockCount < kMaxAddableDataBlocks && FreeSpace() >= CeaDataBlockMinLength(kind);
}

bool CeaExtBlock::CanAddDataBlock() const {
  return bytes != nullptr && GetVersion() > 2 && FreeSpace() > 1 && dataBlockCount < kMaxAddableDataBlocks;
}

bool CeaExtBlock::CanAddDetailedTiming() const {
  return bytes != nullptr && FreeSpace() > kDtd - 1 && dtdCount < kMaxDtds;
}

void CeaExtBlock::AddDetailedTiming() {
  if (!CanAddDetailedTiming()) return;
  Write write(*this);
  RepairOverrun();
  if (dtdCount == 0) {
    // The DTD area goes to the end of the block, as many whole DTDs as the room holds.
    const unsigned area = freeInCollection / kDtd * kDtd;
    ZeroArea(collectionEnd, kArea - collectionEnd);
    dtdPosition = kArea - area;
    bytes[2] = static_cast<uint8_t>(dtdPosition + kDataAreaStart);
  } else if (freeAfterDtds < kDtd) {
    // Leave exactly one DTD's room before byte 127.
    const unsigned run = kDtd * dtdCount;
    const unsigned newPosition = kArea - kDtd - run;
    MoveArea(newPosition, dtdPosition, run);
    dtdPosition = newPosition;
    bytes[2] = static_cast<uint8_t>(dtdPosition + kDataAreaStart);
  }
  const unsigned at = dtdPosition + kDtd * dtdCount;
  ZeroArea(at, kDtd);
  Area()[at] = kNewDtdPixelClock & 0xFF;
  Area()[at + 1] = kNewDtdPixelClock >> 8;
  ++dtdCount;
  ClearAfterDtds();
  bytes[3] = static_cast<uint8_t>((bytes[3] & 0xF0) | dtdCount);
  Parse();
}

void CeaExtBlock::RemoveDetailedTiming(unsigned index) {
  if (bytes == nullptr || index >= dtdCount) return;
  Write write(*this);
  RepairOverrun();
  const unsigned at = dtdPosition + kDtd * index;
  const unsigned runEnd = dtdPosition + kDtd * dtdCount;
  MoveArea(at, at + kDtd, runEnd - at - kDtd);
  ZeroArea(runEnd - kDtd, kDtd);
  const unsigned remaining = dtdCount - 1;
  bytes[3] = static_cast<uint8_t>((bytes[3] & 0xF0) | remaining);
  if (remaining == 0) {
    // Byte 2 = 0 would make readers skip the data blocks: it marks the end of
    // the collection instead, and is 0 only when the block holds nothing.
    dtdCount = 0;
    AlignDtdOffset();
  }
  Parse();
}

void CeaExtBlock::AddDataBlock(unsigned kind) {
  if (!CanAddDataBlockOfKind(kind)) return;
  Write write(*this);
  RepairOverrun();
  const unsigned length = CeaDataBlockMinLength(kind);
  // Move the DTDs only by what the collection lacks.
  if (freeInCollection < length && dtdCount > 0) MoveDtdsUp(length - freeInCollection);
  const unsigned at = collectionEnd;
  uint8_t* area = Area();
  ZeroArea(at, length);
  const unsigned tag = CeaDataBlockTag(kind);
  area[at] = static_cast<uint8_t>((tag << 5) | (length - 1));
  auto putOui = [&](unsigned where, uint32_t oui) {
    area[where] = static_cast<uint8_t>(oui);
    area[where + 1] = static_cast<uint8_t>(oui >> 8);
    area[where + 2] = static_cast<uint8_t>(oui >> 16);
  };
  if (tag == kCeaTagExtended) {
    const unsigned extTag = CeaDataBlockExtendedTag(kind);
    area[at + 1] = static_cast<uint8_t>(extTag);
    if (extTag == 1 || extTag == 17) putOui(at + 2, kDefaultVendorOui);
  } else if (tag == kCeaTagVendorSpecific) {
    putOui(at + 1, kind == kCeaKindHdmiVsdb ? kHdmiOui : kDefaultVendorOui);
  } else if (kind == kCeaKindAudio) {
    area[at + 1] = 0x08;  // LPCM, 1 channel
  } else if (kind == kCeaKindVideo) {
    area[at + 1] = 0x01;  // VIC 1
  }
  collectionEnd = at + length;
  EndCollection();
  AlignDtdOffset();
  Parse();
}

void CeaExtBlock::RemoveDataBlock(unsigned index) {
  if (bytes == nullptr || index >= dataBlockCount) return;
  Write write(*this);
  RepairOverrun();
  const DataBlockEntry entry = dataBlocks[index];
  const unsigned end = entry.position + entry.length;
  MoveArea(entry.position, end, collectionEnd - end);
  ZeroArea(collectionEnd - entry.length, entry.length);
  collectionEnd -= entry.length;
  AlignDtdOffset();
  Parse();
}

bool CeaExtBlock::CanResize(unsigned index, unsigned newLength) const {
  if (bytes == nullptr || index >= dataBlockCount) return false;
  const DataBlockEntry& entry = dataBlocks[index];
  if (newLength == entry.length) return true;
  const unsigned smallest = std::max({entry.minLength, entry.headerLength, 1u});
  if (newLength < smallest || newLength > kMaxDataBlockLength) return false;
  // A block running past its room changes length from what its room holds;
  // one whose own header does not fit there cannot change at all.
  const unsigned room = RoomOf(index);
  if (room < entry.headerLength) return false;
  return newLength <= room || newLength - room <= FreeSpace();
}

bool CeaExtBlock::ResizeDataBlock(unsigned index, unsigned newLength) {
  if (!CanResize(index, newLength)) return false;
  if (newLength == dataBlocks[index].length) return true;
  Write write(*this);
  DoResize(index, newLength);
  return true;
}

void CeaExtBlock::DoResize(unsigned index, unsigned newLength) {
  if (newLength == dataBlocks[index].length) return;
  RepairOverrun();
  const DataBlockEntry entry = dataBlocks[index];
  const unsigned end = entry.position + entry.length;
  const bool last = index + 1 == dataBlockCount;
  if (newLength > entry.length) {
    const unsigned growth = newLength - entry.length;
    // Move the DTDs only by what the collection lacks.
    if (growth > freeInCollection && dtdCount > 0) MoveDtdsUp(growth - freeInCollection);
    if (!last) MoveArea(end + growth, end, collectionEnd - end);
    ZeroArea(end, growth);
    collectionEnd += growth;
    EndCollection();
  } else {
    const unsigned shrink = entry.length - newLength;
    if (!last) {
      MoveArea(end - shrink, end, collectionEnd - end);
      ZeroArea(collectionEnd - shrink, shrink);
    } else {
      ZeroArea(end - shrink, shrink);
    }
    collectionEnd -= shrink;
  }
  uint8_t& header = Area()[entry.position];
  header = static_cast<uint8_t>((header & 0xE0) | (newLength - 1));
  AlignDtdOffset();
  Parse();
}

void CeaExtBlock::ImageOf(unsigned index, BlockImage& image) const {
  image.fill(0);
  if (bytes == nullptr || index >= dataBlockCount) return;
  const DataBlockEntry& entry = dataBlocks[index];
  std::memcpy(image.data(), Area() + entry.position, std::min<size_t>(entry.length, image.size()));
}

bool CeaExtBlock::StoreDataBlock(unsigned index, const BlockImage& image, unsigned newLength) {
  if (!CanResize(index, newLength) || newLength == 0) return false;
  const DataBlockEntry& entry = dataBlocks[index];
  uint8_t* area = Area();
  if (newLength == entry.length) {
    // The block keeps its length. Bytes past its room are the DTDs' or the
    // checksum: a record that would change them is refused, not half written.
    const unsigned room = RoomOf(index);
    for (unsigned i = room; i < newLength; ++i) {
      if (image[i] != area[entry.position + i]) return false;
    }
    if (room <= 1) return true;
    Write write(*this);
    std::memcpy(area + entry.position + 1, image.data() + 1, room - 1);
    Parse();
    return true;
  }
  Write write(*this);
  DoResize(index, newLength);
  const DataBlockEntry& resized = dataBlocks[index];
  const unsigned count = std::min(resized.length, newLength);
  if (count > 1) std::memcpy(area + resized.position + 1, image.data() + 1, count - 1);
  Parse();
  return true;
}

// ---------------------------------------------------------------------------
// General info and detailed timings

void CeaExtBlock::GetGeneralInfo(CeaGeneralInfo& info) const {
  if (bytes == nullptr) return;
  info.dtdOffset = bytes[2];
  info.reportedDtdCount = bytes[3] & 0x0F;
  info.dtdCount = dtdCount;
  info.dataBlockCount = dataBlockCount;
  info.freeInCollection = freeInCollection;
  info.freeAfterDtds = freeAfterDtds;
  info.ycbcr422 = (bytes[3] & 0x10) != 0;
  info.ycbcr444 = (bytes[3] & 0x20) != 0;
  info.basicAudio = (bytes[3] & 0x40) != 0;
  info.underscan = (bytes[3] & 0x80) != 0;
}

void CeaExtBlock::SetGeneralInfo(const CeaGeneralInfo& info) {
  if (bytes == nullptr) return;
  Write write(*this);
  bytes[3] = static_cast<uint8_t>((bytes[3] & 0x0F) | (info.ycbcr422 ? 0x10 : 0) | (info.ycbcr444 ? 0x20 : 0) |
                                  (info.basicAudio ? 0x40 : 0) | (info.underscan ? 0x80 : 0));
}

void CeaExtBlock::GetDetailedTiming(unsigned index, DetailedTiming& timing) const {
  if (bytes == nullptr || index >= dtdCount) return;
  timing = DetailedTiming::Decode(Area() + dtdPosition + kDtd * index, bordersOutsideBlanking);
}

void CeaExtBlock::SetDetailedTiming(unsigned index, const DetailedTiming& timing) {
  // A zero pixel clock would end the DTD list there and hide the DTDs after it.
  if (bytes == nullptr || index >= dtdCount || (timing.pixelClock & 0xFFFF) == 0) return;
  Write write(*this);
  timing.Encode(Area() + dtdPosition + kDtd * index);
  Parse();
}

// ---------------------------------------------------------------------------
// Data block codecs

unsigned CeaExtBlock::CapacityOf(unsigned index, unsigned current, unsigned unit, unsigned maximum) const {
  const DataBlockEntry& entry = dataBlocks[index];
  const unsigned room = RoomOf(index);
  if (room >= entry.length) return CeaCapacity(current, FreeSpace() / unit, maximum);
  // A block running past its room keeps what it holds, or holds what its
  // room and the free space take.
  const unsigned fitting = room > entry.headerLength ? (room - entry.headerLength) / unit : 0;
  return std::max(current, CeaCapacity(fitting, FreeSpace() / unit, maximum));
}

const uint8_t* CeaExtBlock::Payload(unsigned index, unsigned kind, unsigned& size) const {
  size = 0;
  if (bytes == nullptr || index >= dataBlockCount || dataBlocks[index].kind != kind) return nullptr;
  const DataBlockEntry& entry = dataBlocks[index];
  size = entry.length - entry.headerLength;
  return Area() + entry.payloadPosition;
}

void CeaExtBlock::GetAllShortVideoDescriptors(ShortVideoDescriptorList& list) const {
  list.count = 0;
  list.capacity = kMaxAllShortVideoDescriptors;
  for (unsigned j = 0; j < dataBlockCount; ++j) {
    unsigned size = 0;
    const uint8_t* payload = Payload(j, kCeaKindVideo, size);
    for (unsigned i = 0; payload != nullptr && i < size && list.count < kMaxAllShortVideoDescriptors; ++i) {
      list.entries[list.count].vic = payload[i] & 0x7F;
      list.entries[list.count].native = (payload[i] & 0x80) != 0;
      ++list.count;
    }
  }
}

unsigned CeaExtBlock::Get3DSupportOfVic(unsigned vic) const {
  return bytes != nullptr && vic >= 1 && vic <= vic3DFlags.size() ? vic3DFlags[vic - 1] : 0;
}

void CeaExtBlock::GetVideoDataBlock(unsigned index, ShortVideoDescriptorList& list) const {
  unsigned size = 0;
  const uint8_t* payload = Payload(index, kCeaKindVideo, size);
  if (payload == nullptr) return;
  DecodeShortVideoDescriptors(payload, std::min(size, kMaxShortVideoDescriptors), list);
  list.capacity = CapacityOf(index, list.count, 1, kMaxShortVideoDescriptors);
}

void CeaExtBlock::SetVideoDataBlock(unsigned index, const ShortVideoDescriptorList& list) {
  if (GetDataBlockKind(index) != kCeaKindVideo || list.count > kMaxShortVideoDescriptors) return;
  const unsigned h = dataBlocks[index].headerLength;
  const unsigned newLength = h + list.count;
  if (newLength > kMaxDataBlockLength) return;
  BlockImage image;
  ImageOf(index, image);
  for (unsigned i = 0; i < list.count; ++i) image[h + i] = EncodeShortVideoDescriptor(list.entries[i]);
  StoreDataBlock(index, image, newLength);
}

void CeaExtBlock::GetAudioDataBlock(unsigned index, ShortAudioDescriptorList& list) const {
  unsigned size = 0;
  const uint8_t* payload = Payload(index, kCeaKindAudio, size);
  if (payload == nullptr) return;
  list.count = std::min(size / 3, kMaxShortAudioDescriptors);
  for (unsigned i = 0; i < list.count; ++i) DecodeShortAudioDescriptor(payload + 3 * i, list.entries[i]);
  list.capacity = CapacityOf(index, list.count, 3, kMaxShortAudioDescriptors);
}

void CeaExtBlock::SetAudioDataBlock(unsigned index, const ShortAudioDescriptorList& list) {
  if (GetDataBlockKind(index) != kCeaKindAudio || list.count > kMaxShortAudioDescriptors) return;
  const unsigned h = dataBlocks[index].headerLength;
  const unsigned newLength = h + 3 * list.count;
  if (newLength > kMaxDataBlockLength) return;
  BlockImage image;
  ImageOf(index, image);
  std::fill(image.begin() + h, image.end(), 0);
  for (unsigned i = 0; i < list.count; ++i) EncodeShortAudioDescriptor(list.entries[i], image.data() + h + 3 * i);
  StoreDataBlock(index, image, newLength);
}

void CeaExtBlock::GetGenericDataBlock(unsigned index, GenericDataBlock& generic) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  const DataBlockEntry& entry = dataBlocks[index];
  const uint8_t* area = Area();
  generic.hasOui = CeaKindHasOui(entry.kind);
  generic.oui = {};
  if (entry.headerLength >= 4) {
    const unsigned at = entry.payloadPosition - 3;
    generic.oui = {area[at], area[at + 1], area[at + 2]};
  }
  generic.length = entry.length - entry.headerLength;
  generic.data.fill(0);
  std::memcpy(generic.data.data(), area + entry.payloadPosition, std::min<size_t>(generic.length, generic.data.size()));
  generic.capacity = CapacityOf(index, generic.length, 1, kMaxDataBlockLength - entry.headerLength);
}

void CeaExtBlock::SetGenericDataBlock(unsigned index, const GenericDataBlock& generic) {
  if (bytes == nullptr || index >= dataBlockCount || generic.length > generic.data.size()) return;
  const DataBlockEntry& entry = dataBlocks[index];
  const unsigned h = entry.headerLength;
  const unsigned newLength = h + generic.length;
  if (newLength > kMaxDataBlockLength) return;
  BlockImage image;
  ImageOf(index, image);
  // The OUI is written only where the block has its bytes.
  if (CeaKindHasOui(entry.kind) && h >= 4) std::copy(generic.oui.begin(), generic.oui.end(), image.begin() + h - 3);
  std::fill(image.begin() + h, image.end(), 0);
  std::copy_n(generic.data.begin(), generic.length, image.begin() + h);
  StoreDataBlock(index, image, newLength);
}

void CeaExtBlock::GetSpeakerAllocation(unsigned index, SpeakerAllocation& speakers) const {
  unsigned size = 0;
  const uint8_t* payload = Payload(index, kCeaKindSpeakerAllocation, size);
  if (payload != nullptr) DecodeSpeakerAllocation(payload, size, speakers);
}

void CeaExtBlock::SetSpeakerAllocation(unsigned index, const SpeakerAllocation& speakers) {
  if (GetDataBlockKind(index) != kCeaKindSpeakerAllocation) return;
  const DataBlockEntry& entry = dataBlocks[index];
  BlockImage image;
  ImageOf(index, image);
  EncodeSpeakerAllocation(speakers, image.data() + entry.headerLength, entry.length - entry.headerLength);
  StoreDataBlock(index, image, entry.length);
}

void CeaExtBlock::GetColorimetry(unsigned index, ColorimetryFlags& flags) const {
  unsigned size = 0;
  const uint8_t* payload = Payload(index, kCeaKindColorimetry, size);
  if (payload != nullptr) DecodeColorimetry(payload, size, flags);
}

void CeaExtBlock::SetColorimetry(unsigned index, const ColorimetryFlags& flags) {
  if (GetDataBlockKind(index) != kCeaKindColorimetry) return;
  const DataBlockEntry& entry = dataBlocks[index];
  BlockImage image;
  ImageOf(index, image);
  EncodeColorimetry(flags, image.data() + entry.headerLength, entry.length - entry.headerLength);
  StoreDataBlock(index, image, entry.length);
}

void CeaExtBlock::GetVideoCapability(unsigned index, VideoCapability& caps) const {
  unsigned size = 0;
  const uint8_t* payload = Payload(index, kCeaKindVideoCapability, size);
  if (payload != nullptr) DecodeVideoCapability(payload, size, caps);
}

void CeaExtBlock::SetVideoCapability(unsigned index, const VideoCapability& caps) {
  if (GetDataBlockKind(index) != kCeaKindVideoCapability) return;
  const DataBlockEntry& entry = dataBlocks[index];
  BlockImage image;
  ImageOf(index, image);
  EncodeVideoCapability(caps, image.data() + entry.headerLength, entry.length - entry.headerLength);
  StoreDataBlock(index, image, entry.length);
}

unsigned CeaExtBlock::HdmiVsdbOf(unsigned index, HdmiVsdb& vsdb) const {
  unsigned size = 0;
  const uint8_t* payload = Payload(index, kCeaKindHdmiVsdb, size);
  if (payload == nullptr) return 0;
  DecodeHdmiVsdb(payload, size, vsdb);
  return 1;
}

void CeaExtBlock::GetHdmiVsdb(unsigned index, HdmiVsdb& vsdb) const {
  if (HdmiVsdbOf(index, vsdb) == 0) return;
  vsdb.capacity = CapacityOf(index, vsdb.payloadSize, 1, kMaxHdmiVsdbPayload);
}

void CeaExtBlock::SetHdmiVsdb(unsigned index, const HdmiVsdb& vsdb) {
  if (GetDataBlockKind(index) != kCeaKindHdmiVsdb) return;
  const unsigned newLength = dataBlocks[index].headerLength + vsdb.payloadSize;
  if (vsdb.payloadSize > kMaxHdmiVsdbPayload || !CanResize(index, newLength)) return;
  // A record whose sections do not fit its own payload would leave lengths
  // and presence bits that promise bytes the block does not hold.
  if (HdmiVsdbContentSize(vsdb) > vsdb.payloadSize) return;
  const unsigned h = dataBlocks[index].headerLength;
  if (newLength > kMaxDataBlockLength) return;
  BlockImage image;
  ImageOf(index, image);
  EncodeHdmiVsdb(vsdb, image.data() + h, vsdb.payloadSize);
  StoreDataBlock(index, image, newLength);
}

uint8_t CeaExtBlock::EncodeLatency(const HdmiVsdb& vsdb, unsigned which) const {
  return which < vsdb.latencyKind.size() ? EncodeLatencyByte(vsdb.latencyKind[which], vsdb.latencyMs[which]) : 0;
}

void CeaExtBlock::DecodeLatency(HdmiVsdb& vsdb, unsigned which, uint8_t value) const {
  if (which < vsdb.latencyKind.size()) DecodeLatencyByte(value, vsdb.latencyKind[which], vsdb.latencyMs[which]);
}

// ---------------------------------------------------------------------------
// Modes

void CeaExtBlock::GetLargestMode(unsigned& width, unsigned& height) const {
  if (bytes == nullptr) return;
  auto offer = [&](unsigned w, unsigned h) {
    if (w > width || (w == width && h > height)) {
      width = w;
      height = h;
    }
  };
  for (unsigned i = 0; i < dtdCount; ++i) {
    DetailedTiming timing;
    GetDetailedTiming(i, timing);
    if (timing.pixelClock != 0) offer(timing.hActive, timing.interlaced ? 2 * timing.vActive : timing.vActive);
  }
  ShortVideoDescriptorList all;
  GetAllShortVideoDescriptors(all);
  for (unsigned i = 0; i < all.count; ++i) {
    if (const VideoFormat* format = VideoFormatTable::Find(all.entries[i].vic)) offer(format->width, format->height);
  }
  for (unsigned j = 0; j < dataBlockCount; ++j) {
    HdmiVsdb vsdb;
    if (HdmiVsdbOf(j, vsdb) == 0) continue;
    for (unsigned i = 0; i < vsdb.hdmiVicCount; ++i) {
      if (const HdmiVicFormat* format = HdmiVicTable::Find(vsdb.hdmiVics[i].vic)) offer(format->width, format->height);
    }
  }
}

void CeaExtBlock::CollectModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  CollectDetailedModes(sink);
  CollectShortVideoModes(sink);
  CollectHdmiVicModes(sink);
}

void CeaExtBlock::CollectDetailedModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  for (unsigned i = 0; i < dtdCount; ++i) {
    DetailedTiming timing;
    GetDetailedTiming(i, timing);
    sink->AddMode(timing.ToModeEntry(ModeBlockKind::CeaExtension));
  }
}

void CeaExtBlock::CollectShortVideoModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  for (unsigned j = 0; j < dataBlockCount; ++j) {
    unsigned size = 0;
    const uint8_t* payload = Payload(j, kCeaKindVideo, size);
    for (unsigned i = 0; payload != nullptr && i < size; ++i) AddShortVideoMode(sink, payload[i]);
  }
}

void CeaExtBlock::AddShortVideoMode(CallbackFillContentTgt* sink, uint8_t descriptor) const {
  if (sink == nullptr) return;
  const unsigned vic = descriptor & 0x7F;
  const VideoFormat* format = VideoFormatTable::Find(vic);
  if (format == nullptr) return;
  const bool native = (descriptor & 0x80) != 0;
  AddModeSet(sink, vic, native, false);
  if (format->HasFractionalRate()) AddModeSet(sink, vic, native, true);
}

void CeaExtBlock::AddModeSet(CallbackFillContentTgt* sink, unsigned vic, bool native, bool fractional) const {
  const VideoFormat* format = VideoFormatTable::Find(vic);
  if (format == nullptr) return;
  ModeEntry mode;
  mode.hActive = format->DisplayedWidth();
  mode.vActive = format->height;
  mode.repetition = format->repetition;
  mode.refreshHz = format->refreshHz;
  mode.interlaced = format->progressive ? 0 : 1;
  mode.fractional = fractional ? 1 : 0;
  mode.pixelClockKHz = fractional ? format->clock1001KHz : format->clockKHz;
  mode.source = ModeSource::CeaShortVideo;
  mode.blockKind = ModeBlockKind::CeaExtension;
  mode.vic = vic;
  mode.format3D = Stereo3DFormat::None2D;
  if (native) mode.flags |= kModeFlagNative;
  mode.present = kPresentHActive | kPresentVActive | kPresentPixelClock | kPresentRepetition | kPresentRefresh |
                 kPresentSource | kPresentBlockKind | kPresentVic | kPresentFormat3D | kPresentNative;
  sink->AddMode(mode);
  const unsigned flags = Get3DSupportOfVic(vic);
  const std::pair<unsigned, Stereo3DFormat> structures[] = {{k3DFramePacking, Stereo3DFormat::FramePacking},
                                                            {k3DSideBySide, Stereo3DFormat::SideBySide},
                                                            {k3DTopAndBottom, Stereo3DFormat::TopBottom}};
  for (const auto& [bit, structure] : structures) {
    if ((flags & bit) == 0) continue;
    mode.format3D = structure;
    sink->AddMode(mode);
  }
}

void CeaExtBlock::CollectHdmiVicModes(CallbackFillContentTgt* sink) const {
  if (bytes == nullptr || sink == nullptr) return;
  for (unsigned j = 0; j < dataBlockCount; ++j) {
    HdmiVsdb vsdb;
    if (HdmiVsdbOf(j, vsdb) == 0) continue;
    for (unsigned i = 0; i < vsdb.hdmiVicCount; ++i) AddHdmiVicMode(sink, vsdb.hdmiVics[i].vic);
  }
}

void CeaExtBlock::AddHdmiVicMode(CallbackFillContentTgt* sink, unsigned hdmiVic) const {
  const HdmiVicFormat* format = HdmiVicTable::Find(hdmiVic);
  if (sink == nullptr || format == nullptr) return;
  ModeEntry mode;
  mode.hActive = format->width;
  mode.vActive = format->height;
  mode.hTotal = format->width + format->hBlank;
  mode.vTotal = format->height + format->vBlank;
  mode.hFrontPorch = format->hFrontPorch;
  mode.hSync = format->hSync;
  mode.vFrontPorch = format->vFrontPorch;
  mode.vSync = format->vSync;
  mode.pixelClockKHz = format->clockKHz;
  mode.refreshHz = format->refreshHz;
  mode.source = ModeSource::CeaHdmiVic;
  mode.blockKind = ModeBlockKind::CeaExtension;
  mode.format3D = Stereo3DFormat::None2D;
  mode.present = kPresentHActive | kPresentVActive | kPresentHTotal | kPresentVTotal | kPresentHFrontPorch |
                 kPresentHSync | kPresentVFrontPorch | kPresentVSync | kPresentPixelClock | kPresentRefresh |
                 kPresentSource | kPresentBlockKind | kPresentFormat3D;
  sink->AddMode(mode);
  if (format->HasFractionalRate()) {
    mode.pixelClockKHz = format->clock1001KHz;
    mode.fractional = 1;
    sink->AddMode(mode);
  }
}

// ---------------------------------------------------------------------------
// Validation

unsigned CeaExtBlock::CheckGeneralInfo(CallbackFillContentTgt* report) const {
  (void)report;
  return 0;
}

unsigned CeaExtBlock::CheckDetailedTiming(CallbackFillContentTgt* report, unsigned index) const {
  (void)report, (void)index;
  return 0;
}

unsigned CeaExtBlock::CheckDataBlock(CallbackFillContentTgt* report, unsigned index) const {
  (void)report, (void)index;
  return 0;
}

unsigned CeaExtBlock::Validate(CallbackFillContentTgt* report) const {
  if (bytes == nullptr || report == nullptr) return 0;
  report->AppendFormatted("\r\nValidating CEA%u Extension Block. Data Range: Byte[%u] --> Byte[%u]\r\n", bytes[1],
                        offset, offset + kBlockSize - 1);
  unsigned findings = CheckGeneralInfo(report);
  for (unsigned i = 0; i < dtdCount; ++i) findings += CheckDetailedTiming(report, i);
  for (unsigned j = 0; j < dataBlockCount; ++j) findings += CheckDataBlock(report, j);
  if (findings == 0) report->Append("  Block is valid\r\n");
  return findings;
}

// ---------------------------------------------------------------------------
// Byte map

void CeaExtBlock::DescribeByte(unsigned index, std::string& name, std::string& group,
                               std::string& blockLabel) const {
  if (bytes == nullptr || index < offset || index - offset >= kBlockSize) return;
  static const FormatTable kLabels("CEA-v%u", 256);
  static const FormatTable kPlainGroups("Byte[%u] of Extension Block", kBlockSize);
  kLabels.Assign(blockLabel, bytes[1]);
  const unsigned r = index - offset;
  static const char* const kHeaderNames[4] = {"Extension Tag", "Revision Number", "DTD Offset inside Extension Block",
                                              "Number of DTDs/Basic Features"};
  if (r < kDataAreaStart) {
    name = kHeaderNames[r];
    kPlainGroups.Assign(group, r);
    return;
  }
  if (r == kBlockSize - 1) {
    name = "Checksum";
    return;
  }
  const unsigned p = r - kDataAreaStart;
  const unsigned dtdStart = dtdCount > 0 ? dtdPosition : kArea;
  if (p < dtdStart) {
    for (unsigned j = 0; j < dataBlockCount; ++j) {
      const DataBlockEntry& entry = dataBlocks[j];
      if (p >= entry.position && p < entry.position + entry.length) {
        DescribeDataBlockByte(p - entry.position, j, name, group);
        return;
      }
    }
  } else if (p < dtdPosition + kDtd * dtdCount) {
    const unsigned inRun = p - dtdPosition;
    DetailedTiming::DescribeByte(inRun % kDtd, inRun / kDtd, name, group);
    return;
  }
  name = "Padding (Unused)";
  kPlainGroups.Assign(group, r);
}

void CeaExtBlock::DescribeDataBlockByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                        std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  const DataBlockEntry& entry = dataBlocks[index];
  const unsigned a = offsetInBlock;
  const unsigned h = entry.headerLength;
  if (a == 0) {
    name = "Data Block Tag/Data Block Length";
  } else if (entry.tag == kCeaTagExtended) {
    if (a == 1) {
      name = "Data Block Extended Tag";
    } else if (h == 5 && a >= 2 && a <= 4) {
      AssignFormat(name, "Byte[%u] of IEEE Registration Identifier", a - 2);
    }
  } else if (entry.tag == kCeaTagVendorSpecific && a >= 1 && a <= 3) {
    AssignFormat(name, "Byte[%u] of IEEE Registration Identifier", a - 1);
  }

  const char* genericGroup = nullptr;
  switch (entry.kind) {
    case kCeaKindAudio: DescribeAudioByte(a, index, name, group); return;
    case kCeaKindVideo: DescribeVideoByte(a, index, name, group); return;
    case kCeaKindHdmiVsdb: DescribeHdmiVsdbByte(a, index, name, group); return;
    case kCeaKindSpeakerAllocation: DescribeSpeakerByte(a, index, name, group); return;
    case kCeaKindVideoCapability: DescribeVideoCapabilityByte(a, index, name, group); return;
    case kCeaKindColorimetry: DescribeColorimetryByte(a, index, name, group); return;
    case kCeaKindVendorSpecific: genericGroup = "(Vendor Specific Data Block)"; break;
    case kCeaKindVendorSpecificVideo: genericGroup = "(Vendor Specific Video Data Block)"; break;
    case kCeaKindVendorSpecificAudio: genericGroup = "(Vendor Specific Audio Data Block)"; break;
    case kCeaKindVesaDtc: genericGroup = "(VESA DTC Data Block)"; break;
    case kCeaKindVesaDisplayDevice: genericGroup = "(VESA Video Display Device Data Block)"; break;
    case kCeaKindVesaVideo: genericGroup = "(VESA Video Data Block)"; break;
    case kCeaKindHdmiVideo: genericGroup = "(HDMI Video Data Block)"; break;
    case kCeaKindMiscAudio: genericGroup = "(CEA Misc. Audio Data Block)"; break;
    case kCeaKindHdmiAudio: genericGroup = "(HDMI Audio Data Block)"; break;
    default: return;
  }
  static const FormatTable kDataNames("Data Byte[%u]", kBlockSize);
  if (a >= h) kDataNames.Assign(name, a - h);
  group = genericGroup;
}

void CeaExtBlock::DescribeAudioByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                    std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  const unsigned h = dataBlocks[index].headerLength;
  if (offsetInBlock < h) {
    group = "(Audio Data Block)";
    return;
  }
  const unsigned k = offsetInBlock - h;
  static const char* const kNames[3] = {"Audio Format Code/Max Number of Channels", "Supported Audio Rates",
                                        "Audio Format Specific Value"};
  name = kNames[k % 3];
  static const FormatTable kGroups("(Audio Data Block). Short Audio Descriptor[%u]", kBlockSize / 3);
  kGroups.Assign(group, k / 3);
}

void CeaExtBlock::DescribeVideoByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                    std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  const unsigned h = dataBlocks[index].headerLength;
  if (offsetInBlock < h) {
    group = "(Video Data Block)";
    return;
  }
  name = "Video Format Code/Native Flag";
  static const FormatTable kGroups("(Video Data Block). Short Video Descriptor[%u]", kBlockSize);
  kGroups.Assign(group, offsetInBlock - h);
}

void CeaExtBlock::DescribeSpeakerByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                      std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  const unsigned h = dataBlocks[index].headerLength;
  group = "(Speaker Allocation Data Block)";
  if (offsetInBlock < h) return;
  static const char* const kNames[3] = {"Front/Front-Center/Front-Wide/Rear/Rear-Center/Low Frequency",
                                        "Top-Center/Front-High/Front-Center-High", "Reserved"};
  const unsigned k = offsetInBlock - h;
  if (k < 3) name = kNames[k];
}

void CeaExtBlock::DescribeVideoCapabilityByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                              std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  group = "(Video Capability Data Block)";
  if (offsetInBlock >= dataBlocks[index].headerLength) name = "OverScan Behavior/Quantization Range";
}

void CeaExtBlock::DescribeColorimetryByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                          std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  const unsigned h = dataBlocks[index].headerLength;
  group = "(Colorimetry Data Block)";
  if (offsetInBlock < h) return;
  const unsigned k = offsetInBlock - h;
  if (k == 0) name = "ColorSpace Flags";
  if (k == 1) name = "MetaData Profiles";
}

void CeaExtBlock::DescribeHdmiVsdbByte(unsigned offsetInBlock, unsigned index, std::string& name,
                                       std::string& group) const {
  if (bytes == nullptr || index >= dataBlockCount) return;
  static const char kGroup[] = "(HDMI Vendor Specific Data Block)";
  group = kGroup;
  HdmiVsdb vsdb;
  const unsigned h = dataBlocks[index].headerLength;
  if (HdmiVsdbOf(index, vsdb) == 0 || offsetInBlock < h) return;
  const unsigned k = offsetInBlock - h;
  static const char* const kFixed[5] = {"Source Physical Address A/B", "Source Physical Address C/D",
                                        "Deep Color Support/Other Flags", "Maximum TMDS Clock Rate",
                                        "Latency Presence/Video Bytes Presence/Content Type"};
  if (k < 5) {
    name = kFixed[k];
    return;
  }
  unsigned pos = 5;
  auto pair = [&](const char* first, const char* second) {
    if (k == pos) name = first;
    if (k == pos + 1) name = second;
    pos += 2;
  };
  if (vsdb.hasLatency) pair("Video Latency", "Audio Latency");
  if (vsdb.hasInterlacedLatency) pair("Interlaced Video Latency", "Interlaced Audio Latency");
  if (!vsdb.hasHdmiVideo) return;
  pair("Image Size/3D Capabilities", "Number of HDMI VIC Desc./Number of Detailed 3D Desc.");
  for (unsigned i = 0; i < vsdb.hdmiVicCount; ++i, ++pos) {
    if (k == pos) {
      name = "HDMI Video Format Code";
      AssignFormat(group, "%s. HDMI Short Video Descriptor[%u]", kGroup, i);
    }
  }
  if (vsdb.multi3D == 1) {
    pair("3D Formats Supported by First 16 VICs", "3D Formats Supported by First 16 VICs");
  } else if (vsdb.multi3D == 2) {
    pair("3D Formats Supported by Subset of First 16 VICs", "3D Formats Supported by Subset of First 16 VICs");
    pair("Subset of First 16 VICs which support 3D Formats", "Subset of First 16 VICs which support 3D Formats");
  }
  for (unsigned e = 0; e < vsdb.detailed3DCount; ++e) {
    const Hdmi3DEntry& entry = vsdb.detailed3D[e];
    if (k == pos || (entry.size == 2 && k == pos + 1)) {
      name = k == pos ? "3D Structure/3D VIC Index" : "3D Parameter";
      AssignFormat(group, "%s. Detailed 3D Descriptor[%u]", kGroup, e);
    }
    pos += entry.size;
  }
}

}  // namespace velmar
