#pragma once

#include "blocks/Edid14Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Color Mananagement": the six polynomial coefficients of a Display
// Color Management descriptor of an EDID 1.4 block (form
// "<block>.slot1"-"slot4").
//
// Fields: red-a3, red-a2, green-a3, green-a2, blue-a3, blue-a2, real
// numbers. OK checks the changed ones in that order: each must hold as a
// signed 16-bit count of hundredths (-327.68 to +327.67 after rounding).
class EDIDColorMgmtDlg : public EditorForm {
 public:
  EDIDColorMgmtDlg(std::string address, Edid14Block& model, unsigned slot);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(ColorManagement& management, std::string& message) const;

  Edid14Block& model_;
  unsigned slot_;
  ColorManagement stored_;
};

}  // namespace velmar
