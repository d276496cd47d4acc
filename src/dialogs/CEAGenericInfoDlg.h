#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Extension General Info": the block's general information (form
// "<block>.general").
//
// Read-only fields: version (the revision), data-blocks, detailed-timings
// ("%u (Reported %u)" when byte 3 reports another count), timing-start (byte
// 2, or "No Timing Data"), free-space, checksum. Check boxes ycbcr-422,
// ycbcr-444, basic-audio and underscan edit bits 4-7 of byte 3; OK writes
// the changed ones, and the reported DTD count in bits 3-0 stays.
class CEAGenericInfoDlg : public EditorForm {
 public:
  CEAGenericInfoDlg(std::string address, CeaExtBlock& model);

 protected:
  void Apply() override;

 private:
  CeaExtBlock& model_;
  CeaGeneralInfo stored_;
};

}  // namespace velmar
