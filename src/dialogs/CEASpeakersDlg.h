#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Speakers Allocation": a Speaker Allocation Data Block (form "<block>.db<N>").
//
// One group per row of speakers ("High:", "Front:", "Top:", "Rear:", "Low
// Frequency Effect:"), each box captioned with its column:
//   high-left, high-center, high-right;
//   front-left-wide, front-left, front-left-center, front-center,
//   front-right-center, front-right, front-right-wide;
//   top-center;
//   rear-left, rear-left-center, rear-center, rear-right-center, rear-right;
//   lfe.
// A left box and its right partner stand for one flag and always show the
// same state. Boxes whose byte the data block does not hold are disabled.
// OK writes the changed flags; the reserved bits stay.
class CEASpeakersDlg : public EditorForm {
 public:
  CEASpeakersDlg(std::string address, CeaExtBlock& model, unsigned index);

 protected:
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  CeaExtBlock& model_;
  unsigned index_;
  SpeakerAllocation stored_;
};

}  // namespace velmar
