#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velmar {

class CallbackContext;
class CallbackFillContentTgt;
struct DetailedTiming;

// Image-wide limits.
inline constexpr unsigned kMaxEdidSize = 512;
inline constexpr unsigned kMaxBlocks = 8;
inline constexpr unsigned kBlockSize = 128;

// The model of one block of the image. A model never copies its block: it
// reads and writes the bytes in place inside the image's buffer. A model
// constructed over bytes that are not of its kind is empty: every query
// answers 0, false or empty text and every write is ignored.
//
// Checksum rule: the last byte of a block makes all of its bytes sum to 0
// modulo 256. Every write through a model recomputes it and, when any byte of
// the block changed, tells the listener through SetModified.
class DataBlock {
 public:
  DataBlock(unsigned blockOffset, CallbackContext* blockListener)
      : offset(blockOffset), listener(blockListener) {}
  virtual ~DataBlock() = default;
  DataBlock(const DataBlock&) = delete;
  DataBlock& operator=(const DataBlock&) = delete;

  virtual unsigned GetExtensionCount() const { return 0; }
  virtual bool IsBaseBlock() const { return false; }
  virtual uint8_t GetChecksum() const { return 0; }
  virtual unsigned GetSize() const { return 0; }
  virtual unsigned GetOffset() const { return offset; }
  virtual unsigned GetVersion() const { return 0; }
  // Calls sink->AddMode once per mode the block announces.
  virtual void CollectModes(CallbackFillContentTgt* sink) const { (void)sink; }
  // Names the image byte `index`; leaves all three texts empty outside the block.
  virtual void DescribeByte(unsigned index, std::string& name, std::string& group,
                            std::string& blockLabel) const {
    (void)index, (void)name, (void)group, (void)blockLabel;
  }
  // Appends the block's findings to the report; returns their number.
  virtual unsigned Validate(CallbackFillContentTgt* report) const {
    (void)report;
    return 0;
  }
  // Out-of-range indexes leave `timing` untouched / write nothing.
  virtual void GetDetailedTiming(unsigned index, DetailedTiming& timing) const {
    (void)index, (void)timing;
  }
  virtual void SetDetailedTiming(unsigned index, const DetailedTiming& timing) {
    (void)index, (void)timing;
  }

  bool IsEmpty() const { return bytes == nullptr; }
  bool BordersOutsideBlanking() const { return bordersOutsideBlanking; }
  // The block's first byte inside the image, or null for an empty model.
  const uint8_t* Bytes() const { return bytes; }

  // The checksum byte that makes `length` bytes followed by it sum to 0 mod 256.
  static uint8_t ComputeChecksum(const uint8_t* data, unsigned length);

 protected:
  // Rewrites the checksum byte(s) after a write. The default rule puts the
  // block checksum into the last of GetSize() bytes.
  virtual void WriteChecksum();

  // Brackets one write operation: it snapshots the block's bytes, and when it
  // ends recomputes the checksum and notifies the listener when any byte of the
  // block differs from the snapshot. A write that changes nothing notifies nobody.
  class Write {
   public:
    explicit Write(DataBlock& block);
    ~Write();
    Write(const Write&) = delete;
    Write& operator=(const Write&) = delete;

   private:
    DataBlock& block_;
    std::array<uint8_t, 2 * kBlockSize> before_{};
    unsigned size_ = 0;
  };

  bool bordersOutsideBlanking = false;
  unsigned offset = 0;
  CallbackContext* listener = nullptr;
  uint8_t* bytes = nullptr;
};

}  // namespace velmar
