#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Color Characteristics": the chromaticities of a base block (form
// "<block>.color").
//
// Fields: red-x, red-y, green-x, green-y, blue-x, blue-y, white-x, white-y,
// each the 10-bit code / 1024 with three decimals. OK checks the changed
// ones in that order (0 to 1, both accepted; 1 and anything that rounds to
// 1024 become 1023); an untouched field keeps its stored code even where
// two codes share one three-decimal text.
class EDIDColorCharsDlg : public EditorForm {
 public:
  EDIDColorCharsDlg(std::string address, Edid13Block& model);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(ColorCharacteristics& colors, std::string& message) const;

  Edid13Block& model_;
  ColorCharacteristics stored_;
};

}  // namespace velmar
