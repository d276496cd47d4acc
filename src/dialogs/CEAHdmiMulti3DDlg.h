#pragma once

#include "blocks/CeaDataBlocks.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "HDMI VSDB Multi-3D Selection", opened by "Select Formats/VICs" of the
// HDMI dialog (form "<hdmi form>.multi-3d-formats"). It edits the HDMI
// dialog's copy of the record; only that dialog's OK writes the block.
//
// Fields: frame-packing, side-by-side, top-and-bottom (the structures of
// 3D_Structure_ALL) and vic[0] ... vic[15], one per short video descriptor
// of the block among the first 16, labelled "%2u. %ux%u%s@%uHz" or
// "Non-CEA Timing": box i is bit i of 3D_MASK, enabled with the choice
// "Selected 16 VICs". Mask bits without a descriptor stay as they are.
class CEAHdmiMulti3DDlg : public EditorForm {
 public:
  CEAHdmiMulti3DDlg(std::string address, HdmiVsdb& copy, const ShortVideoDescriptorList& svds, unsigned multi3D);

  // True once OK wrote the fields into the copy.
  bool Applied() const { return applied_; }

 protected:
  void Apply() override;

 private:
  HdmiVsdb& copy_;
  unsigned modes_ = 0;
  bool applied_ = false;
};

}  // namespace velmar
