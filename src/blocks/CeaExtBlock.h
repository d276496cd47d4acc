#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "blocks/CeaDataBlocks.h"
#include "blocks/DataBlock.h"

namespace velmar {

// The model of a CEA-861 extension block (tag 0x02).
//
// Layout: byte 0 tag, 1 revision, 2 DTD offset d (0 when there is no DTD),
// 3 flags and the reported DTD count, 4..d-1 the data block collection, d..
// the 18-byte DTDs, zero padding up to 126, 127 checksum. Positions kept by
// the model count from byte 4 ("the data area", 123 bytes).
//
// Whatever the bytes hold (a corrupt byte 2, lengths that run into the DTDs),
// the model reads and writes only inside the data area, and never moves or
// overwrites a DTD through a data block.
class CeaExtBlock : public DataBlock {
 public:
  // Accepts at least 128 bytes whose byte 0 is 0x02.
  CeaExtBlock(unsigned blockOffset, uint8_t* data, unsigned available, CallbackContext* blockListener);

  static constexpr uint8_t kTag = 0x02;
  // Size of the data area (bytes 4-126) and most figures of the block.
  static constexpr unsigned kDataAreaSize = 123;
  static constexpr unsigned kDataAreaStart = 4;
  static constexpr unsigned kMaxDtds = 6;
  // The page offers adding data blocks below this count; a block read from a
  // display may hold more, and every one of them is recorded.
  static constexpr unsigned kMaxAddableDataBlocks = 9;
  static constexpr unsigned kMaxDataBlockEntries = kDataAreaSize;
  // A new DTD: 54.00 MHz, every other field 0.
  static constexpr unsigned kNewDtdPixelClock = 5400;

  static bool Accepts(const uint8_t* data, unsigned available);
  // Writes a new empty CEA block (revision 3); false when no buffer or less than 128 bytes.
  static bool InitDefaultBytes(uint8_t* data, unsigned room);
  // For bytes no model accepted: true when a CEA block could stand at
  // image[position] with `available` bytes; otherwise appends why and returns false.
  static bool CheckCandidate(const uint8_t* image, unsigned position, unsigned available,
                             CallbackFillContentTgt* report);

  // DataBlock
  uint8_t GetChecksum() const override;
  unsigned GetSize() const override;
  unsigned GetVersion() const override;
  void CollectModes(CallbackFillContentTgt* sink) const override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) const override;
  unsigned Validate(CallbackFillContentTgt* report) const override;
  void GetDetailedTiming(unsigned index, DetailedTiming& timing) const override;
  void SetDetailedTiming(unsigned index, const DetailedTiming& timing) override;

  // Structure.
  virtual unsigned GetDataBlockKind(unsigned index) const;
  virtual void AddDetailedTiming();
  virtual void RemoveDetailedTiming(unsigned index);
  virtual void AddDataBlock(unsigned kind);
  virtual void RemoveDataBlock(unsigned index);
  virtual bool CanAddDataBlockOfKind(unsigned kind) const;
  virtual bool CanAddDataBlock() const;
  virtual bool CanAddDetailedTiming() const;
  // Replaces (width, height) by any mode of the block that is wider, or as wide and taller.
  virtual void GetLargestMode(unsigned& width, unsigned& height) const;
  // Every short video descriptor of every Video Data Block, in block order (at most 62).
  virtual void GetAllShortVideoDescriptors(ShortVideoDescriptorList& list) const;
  // The stereo 3D structures (k3D... bits) the HDMI block announces for `vic`.
  virtual unsigned Get3DSupportOfVic(unsigned vic) const;
  virtual void GetGeneralInfo(CeaGeneralInfo& info) const;

  // Data block codecs; `index` is the data block's position in the collection.
  // A typed read or write of a block of another kind does nothing.
  virtual void GetVideoDataBlock(unsigned index, ShortVideoDescriptorList& list) const;
  virtual void GetAudioDataBlock(unsigned index, ShortAudioDescriptorList& list) const;
  virtual void GetGenericDataBlock(unsigned index, GenericDataBlock& generic) const;
  virtual void GetSpeakerAllocation(unsigned index, SpeakerAllocation& speakers) const;
  virtual void GetColorimetry(unsigned index, ColorimetryFlags& flags) const;
  virtual void GetVideoCapability(unsigned index, VideoCapability& caps) const;
  virtual void GetHdmiVsdb(unsigned index, HdmiVsdb& vsdb) const;
  virtual void SetGeneralInfo(const CeaGeneralInfo& info);
  virtual void SetVideoDataBlock(unsigned index, const ShortVideoDescriptorList& list);
  virtual void SetAudioDataBlock(unsigned index, const ShortAudioDescriptorList& list);
  virtual void SetGenericDataBlock(unsigned index, const GenericDataBlock& generic);
  virtual void SetSpeakerAllocation(unsigned index, const SpeakerAllocation& speakers);
  virtual void SetColorimetry(unsigned index, const ColorimetryFlags& flags);
  virtual void SetVideoCapability(unsigned index, const VideoCapability& caps);
  virtual void SetHdmiVsdb(unsigned index, const HdmiVsdb& vsdb);
  // Latency codec on entry `which` (video, audio, interlaced video, interlaced audio).
  virtual uint8_t EncodeLatency(const HdmiVsdb& vsdb, unsigned which) const;
  virtual void DecodeLatency(HdmiVsdb& vsdb, unsigned which, uint8_t value) const;

  // Modes.
  virtual void CollectDetailedModes(CallbackFillContentTgt* sink) const;
  virtual void CollectShortVideoModes(CallbackFillContentTgt* sink) const;
  virtual void AddShortVideoMode(CallbackFillContentTgt* sink, uint8_t descriptor) const;
  virtual void CollectHdmiVicModes(CallbackFillContentTgt* sink) const;
  virtual void AddHdmiVicMode(CallbackFillContentTgt* sink, unsigned hdmiVic) const;

  // Validation hooks: the CEA block reports no findings of its own.
  virtual unsigned CheckGeneralInfo(CallbackFillContentTgt* report) const;
  virtual unsigned CheckDetailedTiming(CallbackFillContentTgt* report, unsigned index) const;
  virtual unsigned CheckDataBlock(CallbackFillContentTgt* report, unsigned index) const;

  // Byte map of data block `index`; `offset` counts from its header byte.
  virtual void DescribeDataBlockByte(unsigned offset, unsigned index, std::string& name, std::string& group) const;
  virtual void DescribeAudioByte(unsigned offset, unsigned index, std::string& name, std::string& group) const;
  virtual void DescribeVideoByte(unsigned offset, unsigned index, std::string& name, std::string& group) const;
  virtual void DescribeSpeakerByte(unsigned offset, unsigned index, std::string& name, std::string& group) const;
  virtual void DescribeVideoCapabilityByte(unsigned offset, unsigned index, std::string& name,
                                           std::string& group) const;
  virtual void DescribeColorimetryByte(unsigned offset, unsigned index, std::string& name, std::string& group) const;
  virtual void DescribeHdmiVsdbByte(unsigned offset, unsigned index, std::string& name, std::string& group) const;

  // Changes data block `index` to whole length `newLength`, moving the later
  // data blocks and, when the collection lacks room, the DTDs. False (and
  // nothing written) below the kind's minimum, above 32 bytes, or beyond the
  // free space.
  bool ResizeDataBlock(unsigned index, unsigned newLength);

  // What the parse found.
  unsigned DataBlockCount() const { return dataBlockCount; }
  unsigned DtdCount() const { return dtdCount; }
  unsigned DtdPosition() const { return dtdPosition; }
  unsigned FreeInCollection() const { return freeInCollection; }
  unsigned FreeAfterDtds() const { return freeAfterDtds; }
  unsigned FreeSpace() const { return freeInCollection + freeAfterDtds; }
  // Where the last data block ends (relative to byte 4).
  unsigned CollectionEnd() const { return collectionEnd; }
  // The entry of data block `index`, or null. Its length is the stated one:
  // a last block may run past the collection, into the DTDs or up to byte 127.
  const DataBlockEntry* Entry(unsigned index) const;
  // How many bytes of data block `index`, from its header on, writes may
  // change: its length, or for a last block that runs into the DTDs (or past
  // byte 126) the part before them. 0 for an index out of range.
  unsigned RoomOf(unsigned index) const;

 private:
  // Reads the collection and the DTDs again, then the 3D flags.
  void Parse();
  bool CanResize(unsigned index, unsigned newLength) const;
  // The resize itself, inside the caller's write.
  void DoResize(unsigned index, unsigned newLength);
  void Derive3DFlags();
  uint8_t* Area() const { return bytes + kDataAreaStart; }
  // Byte moves inside the data area; counts are cut to the area.
  void MoveArea(unsigned to, unsigned from, unsigned count);
  void ZeroArea(unsigned at, unsigned count);
  // Moves the DTD run `distance` bytes towards the end of the block.
  void MoveDtdsUp(unsigned distance);
  // Without DTDs, byte 2 follows the end of the collection (0 when it is empty),
  // so that every reader finds the data blocks.
  void AlignDtdOffset();
  void EndCollection();
  // Shrinks the header of a last block running past its room to the room.
  void RepairOverrun();
  void ClearAfterDtds();
  // The bytes of data block `index` from its header on (zero past its length).
  void ImageOf(unsigned index, std::array<uint8_t, kMaxDataBlockLength>& image) const;
  // Writes data block `index` from `image` with whole length `newLength`
  // (resizing by ResizeDataBlock's rule; the header byte keeps its tag and
  // takes the length). At its stated length a block running past its room
  // writes only its room, and refuses a record that would change the bytes
  // beyond it. False, with nothing written, when refused.
  bool StoreDataBlock(unsigned index, const std::array<uint8_t, kMaxDataBlockLength>& image, unsigned newLength);
  // A record's capacity in units of `unit` bytes, `current` units held.
  unsigned CapacityOf(unsigned index, unsigned current, unsigned unit, unsigned maximum) const;
  // The payload of entry `index` when it is of `kind`, with its size; null otherwise.
  const uint8_t* Payload(unsigned index, unsigned kind, unsigned& size) const;
  unsigned HdmiVsdbOf(unsigned index, HdmiVsdb& vsdb) const;
  void AddModeSet(CallbackFillContentTgt* sink, unsigned vic, bool native, bool fractional) const;

  std::array<DataBlockEntry, kMaxDataBlockEntries> dataBlocks{};
  std::array<uint8_t, 62> vic3DFlags{};
  unsigned dataBlockCount = 0;
  unsigned dtdCount = 0;
  unsigned dtdPosition = 0;
  unsigned freeInCollection = 0;
  unsigned freeAfterDtds = 0;
  unsigned collectionEnd = 0;
};

}  // namespace velmar
