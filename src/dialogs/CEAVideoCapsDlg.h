#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Video Capabilities": a Video Capability Data Block (form "<block>.db<N>").
//
// Lists ce-scan, it-scan, pt-scan (the four scan behaviours),
// rgb-quantization ("No Data", "Selectable (via AVI Q)") and
// ycc-quantization ("Limited Range", "Full Range"); all disabled when the
// data block holds no payload byte. OK stops at the first list without a
// choice ("Invalid CE Scan Type selection" ... "Invalid YCC Quantization
// Range"), else writes the byte with the changed choices.
class CEAVideoCapsDlg : public EditorForm {
 public:
  CEAVideoCapsDlg(std::string address, CeaExtBlock& model, unsigned index);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  CeaExtBlock& model_;
  unsigned index_;
  VideoCapability stored_;
};

}  // namespace velmar
