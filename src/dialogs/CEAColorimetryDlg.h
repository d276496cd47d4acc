#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Colorimetry": a Colorimetry Data Block (form "<block>.db<N>").
//
// Check boxes xvycc-601, xvycc-709, sycc-601, adobe-ycc-601, adobe-rgb (payload
// byte 0) and md-profile-0 to md-profile-3 (byte 1); boxes whose byte the
// data block does not hold are disabled. OK writes the changed flags; the
// other bits of both bytes stay.
class CEAColorimetryDlg : public EditorForm {
 public:
  CEAColorimetryDlg(std::string address, CeaExtBlock& model, unsigned index);

 protected:
  void Apply() override;

 private:
  CeaExtBlock& model_;
  unsigned index_;
  ColorimetryFlags stored_;
};

}  // namespace velmar
