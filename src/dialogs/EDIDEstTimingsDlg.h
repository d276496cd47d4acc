#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Established Timings": the timing bits of one set of a base block:
// set 0 is established timings I/II and the manufacturer's bit (17 boxes,
// form "<block>.established"), sets 1-4 the Established Timings III
// descriptor of that slot (44 boxes, form "<block>.slot1"-"slot4").
//
// Fields: timings[0] ... timings[16] or timings[43], check boxes captioned
// with the timing's label. OK sets or clears the bit of each changed box;
// nothing can be invalid.
class EDIDEstTimingsDlg : public EditorForm {
 public:
  EDIDEstTimingsDlg(std::string address, Edid13Block& model, unsigned set);

 protected:
  void Apply() override;

 private:
  Edid13Block& model_;
  unsigned set_;
  unsigned count_;
};

}  // namespace velmar
