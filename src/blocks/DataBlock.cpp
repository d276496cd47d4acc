#include "blocks/DataBlock.h"

#include <algorithm>
#include <cstring>

#include "common/Callbacks.h"

namespace velmar {

uint8_t DataBlock::ComputeChecksum(const uint8_t* data, unsigned length) {
  unsigned sum = 0;
  for (unsigned i = 0; i < length; ++i) sum += data[i];
  return static_cast<uint8_t>((256 - sum % 256) % 256);
}

void DataBlock::WriteChecksum() {
  const unsigned size = GetSize();
  if (bytes == nullptr || size == 0) return;
  bytes[size - 1] = ComputeChecksum(bytes, size - 1);
}

DataBlock::Write::Write(DataBlock& block) : block_(block) {
  if (block_.bytes == nullptr) return;
  size_ = std::min<unsigned>(block_.GetSize(), static_cast<unsigned>(before_.size()));
  std::memcpy(before_.data(), block_.bytes, size_);
}

DataBlock::Write::~Write() {
  if (block_.bytes == nullptr) return;
  block_.WriteChecksum();
  const unsigned sizeAfter = std::min<unsigned>(block_.GetSize(), static_cast<unsigned>(before_.size()));
  const bool changed = sizeAfter != size_ || std::memcmp(before_.data(), block_.bytes, size_) != 0;
  if (changed && block_.listener != nullptr) block_.listener->SetModified();
}

}  // namespace velmar
