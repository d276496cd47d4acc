#pragma once

#include "blocks/CeaDataBlocks.h"
#include "dialogs/CeaFormSupport.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA HDMI Short Video Descriptors" for the HDMI VICs, opened by
// "Show/Edit" of "Extended HDMI VICs:" in the HDMI dialog (form "<hdmi
// form>.hdmi-vics"). It edits the HDMI dialog's copy of the record; only
// that dialog's OK writes the block.
//
// Seven places in three columns (place i is row i / 3, column i % 3), each
// used[i] and vic[i] ("[%u] %ux%up@%uHz" for HDMI VICs 1-4; a stored VIC
// outside them shows as "[%u] Non-CEA Timing" and is kept). Places are used
// from the front while the HDMI block has a byte free, and released from
// the back, down to none. OK: a used place without a choice gives
// "Entry[%u:%u]: Invalid Selection".
class CEAHdmiVicsDlg : public EditorForm {
 public:
  static constexpr unsigned kPlaces = kMaxHdmiVics;
  static constexpr unsigned kColumns = 3;

  CEAHdmiVicsDlg(std::string address, HdmiVsdb& copy, unsigned room);

  bool Applied() const { return applied_; }

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  HdmiVsdb& copy_;
  unsigned storedCount_ = 0;
  unsigned room_ = 0;
  FrontPlaces places_;
  bool applied_ = false;
};

}  // namespace velmar
