#include "blocks/HdmiVicTable.h"

namespace velmar {

namespace {

// vic, width, height, Hz, h blank, v blank, h front porch, v front porch,
// h sync, v sync, clock kHz, clock of the 1000/1001 variant.
constexpr HdmiVicFormat kHdmiVics[] = {
    {1, 3840, 2160, 30, 560, 90, 176, 8, 88, 10, 297000, 296703},
    {2, 3840, 2160, 25, 1440, 90, 1056, 8, 88, 10, 297000, 297000},
    {3, 3840, 2160, 24, 1660, 90, 1276, 8, 88, 10, 297000, 296703},
    {4, 4096, 2160, 24, 1404, 90, 1020, 8, 88, 10, 297000, 297000},
};

}  // namespace

const HdmiVicFormat* HdmiVicTable::Find(unsigned vic) {
  if (vic < kFirstVic || vic > kLastVic) return nullptr;
  return &kHdmiVics[vic - kFirstVic];
}

}  // namespace velmar
