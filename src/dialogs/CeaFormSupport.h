#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "blocks/CeaDataBlocks.h"

namespace velmar {

// Pieces shared by the CEA-861 editor forms.

// "name[index]", the name of a field of a row or place.
std::string IndexedName(std::string_view base, unsigned index);
// True when `name` is "<base>[i]" with a decimal i; the index goes to `index`.
bool ParseIndexedName(std::string_view name, std::string_view base, unsigned& index);

// The item of a CEA video format in the descriptor lists:
// "[%u] %ux%u%s@%u, %s" (VIC, width, height, "p" or "i", rate, "16x9" or "4x3").
// Empty text for a VIC outside the table.
std::string VideoFormatItem(unsigned vic);
// The item of a short video descriptor whose VIC the table does not hold.
std::string NonCeaTimingItem(unsigned vic);
// The VIC a descriptor byte stands for: bits 6-0, or the whole byte for the
// codes above 192, whose bit 7 is part of the VIC and not a native flag.
unsigned DescriptorVic(const ShortVideoDescriptor& descriptor);
// True when bit 7 of the descriptor is its native flag (VIC 1-64 and the
// reserved codes 0 and 128); for VICs from 65 up, bit 7 is part of the code.
bool HasNativeFlag(const ShortVideoDescriptor& descriptor);
// The label of the short video descriptor at `position` of the block's list
// in the 3D dialogs: "%2u. %ux%u%s@%uHz", or "Non-CEA Timing" outside the table.
std::string Stereo3DModeLabel(unsigned position, unsigned vic);
// "[%u] %ux%up@%uHz" for HDMI VIC 1-4; "[%u] Non-CEA Timing" for any other.
std::string HdmiVicItem(unsigned vic);

// The places of a list dialog, used from the front and released from the back:
// only the first unused place can be checked and only the last used one
// unchecked, and never below `minimum` used places.
class FrontPlaces {
 public:
  FrontPlaces(unsigned used, unsigned minimum) : used_(used), minimum_(minimum) {}
  unsigned Used() const { return used_; }
  // True when checking (or unchecking) place `place` follows the rule.
  bool Allows(unsigned place, bool checked) const {
    return checked ? place == used_ : used_ > minimum_ && place + 1 == used_;
  }
  void Take(bool checked) { used_ = checked ? used_ + 1 : used_ - 1; }

 private:
  unsigned used_;
  unsigned minimum_;
};

}  // namespace velmar
