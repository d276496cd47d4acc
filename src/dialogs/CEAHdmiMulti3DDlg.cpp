#include "dialogs/CEAHdmiMulti3DDlg.h"

#include <algorithm>

#include "dialogs/CeaFormSupport.h"

namespace velmar {

namespace {

constexpr unsigned kMaskBits = 16;

struct Structure {
  const char* name;
  const char* label;
  unsigned bit;
};

constexpr Structure kStructures[] = {
    {"frame-packing", "Frame Packing", k3DFramePacking},
    {"side-by-side", "Side-by-Side", k3DSideBySide},
    {"top-and-bottom", "Top-and-Bottom", k3DTopAndBottom},
};

}  // namespace

CEAHdmiMulti3DDlg::CEAHdmiMulti3DDlg(std::string address, HdmiVsdb& copy, const ShortVideoDescriptorList& svds,
                                     unsigned multi3D)
    : EditorForm(std::move(address), "HDMI VSDB Multi-3D Selection"), copy_(copy) {
  AddGroup("formats", "Supported Stereo 3D Formats", 0, 0);
  InGroup("formats");
  for (const Structure& structure : kStructures) {
    AddCheck(structure.name, structure.label, (copy_.structureAll3D & structure.bit) != 0);
  }
  AddGroup("modes", "CEA Stereo 3D Modes", 1, 0);
  InGroup("modes");
  modes_ = std::min(svds.count, kMaskBits);
  for (unsigned i = 0; i < modes_; ++i) {
    FormField& box = AddCheck(IndexedName("vic", i), Stereo3DModeLabel(i, svds.entries[i].vic),
                              ((copy_.mask3D >> i) & 1u) != 0);
    box.row = static_cast<int>(i / 2);
    box.column = static_cast<int>(i % 2);
    box.enabled = multi3D == 2;
  }
  InGroup("");
  Opened();
}

void CEAHdmiMulti3DDlg::Apply() {
  for (const Structure& structure : kStructures) {
    if (!FieldChanged(structure.name)) continue;
    copy_.structureAll3D = Field(structure.name).checked ? copy_.structureAll3D | structure.bit
                                                         : copy_.structureAll3D & ~structure.bit;
  }
  for (unsigned i = 0; i < modes_; ++i) {
    const std::string name = IndexedName("vic", i);
    if (!FieldChanged(name)) continue;
    copy_.mask3D = Field(name).checked ? copy_.mask3D | (1u << i) : copy_.mask3D & ~(1u << i);
  }
  applied_ = true;
}

}  // namespace velmar
