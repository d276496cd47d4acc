#pragma once

// Builds CEA-861 extension blocks for the tests, inside an image whose other
// bytes carry a pattern, so that a test can see any write outside the block.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "blocks/DataBlock.h"

namespace velmar::testing {

using Bytes = std::vector<uint8_t>;

// An 18-byte detailed timing, different for every seed (1920x1080p, 148.50 MHz,
// image size seed mm wide).
inline Bytes Dtd(unsigned seed) {
  Bytes d = {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0x40, 0x84, 0x63, 0x00, 0x00, 0x1E};
  d[12] = static_cast<uint8_t>(seed);
  d[13] = static_cast<uint8_t>(seed * 7);
  return d;
}

// A CEA block at offset 128 of a 384-byte image.
struct CeaImage {
  static constexpr unsigned kOffset = 128;
  std::array<uint8_t, 3 * kBlockSize> image{};

  CeaImage() {
    for (unsigned i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(0xA5 ^ i);
  }
  uint8_t* Block() { return image.data() + kOffset; }
  const uint8_t* Block() const { return image.data() + kOffset; }
  uint8_t& operator[](unsigned i) { return Block()[i]; }
  // The bytes before and after the block still hold their pattern.
  bool GuardsIntact() const {
    for (unsigned i = 0; i < image.size(); ++i) {
      if (i >= kOffset && i < kOffset + kBlockSize) continue;
      if (image[i] != static_cast<uint8_t>(0xA5 ^ i)) return false;
    }
    return true;
  }
  bool ChecksumValid() const {
    unsigned sum = 0;
    for (unsigned i = 0; i < kBlockSize; ++i) sum += Block()[i];
    return sum % 256 == 0;
  }
  Bytes Range(unsigned from, unsigned count) const { return Bytes(Block() + from, Block() + from + count); }
  void FixChecksum() { Block()[127] = DataBlock::ComputeChecksum(Block(), 127); }
};

// Data blocks from byte 4, then `dtds` DTDs (seeds 1, 2, ...) right after them,
// or from `byte2` when it is given (4 or more). Byte 2 is the DTD offset
// (4 + collection length) unless `byte2` is given;
// byte 3's low nibble is the DTD count unless `byte3` is given.
inline CeaImage MakeCea(const std::vector<Bytes>& dataBlocks, unsigned dtds, unsigned revision = 3, int byte2 = -1,
                        int byte3 = -1) {
  CeaImage cea;
  std::fill(cea.Block(), cea.Block() + kBlockSize, 0);
  cea[0] = 0x02;
  cea[1] = static_cast<uint8_t>(revision);
  unsigned at = 4;
  for (const Bytes& b : dataBlocks) {
    for (uint8_t v : b) {
      if (at < 127) cea[at++] = v;
    }
  }
  const unsigned dtdStart = at;
  if (byte2 >= 4) at = static_cast<unsigned>(byte2);
  for (unsigned i = 0; i < dtds; ++i) {
    for (uint8_t v : Dtd(i + 1)) {
      if (at < 127) cea[at++] = v;
    }
  }
  cea[2] = static_cast<uint8_t>(byte2 >= 0 ? byte2 : dtdStart);
  cea[3] = static_cast<uint8_t>(byte3 >= 0 ? byte3 : dtds);
  cea.FixChecksum();
  return cea;
}

// A data block of `tag` with the given payload (header length field from its size).
inline Bytes DataBlockBytes(unsigned tag, const Bytes& payload) {
  Bytes b(payload.size() + 1);
  b[0] = static_cast<uint8_t>((tag << 5) | (payload.size() & 31));
  std::copy(payload.begin(), payload.end(), b.begin() + 1);
  return b;
}

}  // namespace velmar::testing
