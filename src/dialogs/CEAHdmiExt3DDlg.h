#pragma once

#include "blocks/CeaDataBlocks.h"
#include "dialogs/CeaFormSupport.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA HDMI Short Video Descriptors" for the detailed 3D entries, opened by
// "Show/Edit" of "Extended 3D Support:" in the HDMI dialog (form "<hdmi
// form>.extended-3d"). It edits the HDMI dialog's copy of the record; only
// that dialog's OK writes the block.
//
// 21 places, two to a row (place i is row i / 2, column i % 2), each with
// used[i], vic[i] (the block's first 16 short video descriptors, item k for
// position k), format[i] ("Frame Packing", "Side-by-Side",
// "Top-and-Bottom") and detail[i] (0-15, side-by-side only). Places are used
// from the front, while the HDMI block has room for their bytes (two for a
// side-by-side entry), and released from the back, down to none.
//
// OK checks each used place in order: "Entry[%u:%u]: Invalid VIC
// Selection", "Entry[%u:%u]: Invalid Format Selection", then for
// side-by-side "Invalid Detailed Value (Row %u, Col %u) (Valid range is 0
// --> 15)". Untouched places keep their entries, reserved bits included.
class CEAHdmiExt3DDlg : public EditorForm {
 public:
  static constexpr unsigned kPlaces = kMaxDetailed3D;

  CEAHdmiExt3DDlg(std::string address, HdmiVsdb& copy, const ShortVideoDescriptorList& svds, unsigned room);

  bool Applied() const { return applied_; }

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  unsigned BytesOf(int formatSelection) const;
  bool IsNew(unsigned place) const { return place >= storedCount_; }
  void ShowPlace(unsigned place);

  HdmiVsdb& copy_;
  unsigned storedCount_ = 0;
  unsigned room_ = 0;
  unsigned usedBytes_ = 0;
  FrontPlaces places_;
  bool applied_ = false;
};

}  // namespace velmar
