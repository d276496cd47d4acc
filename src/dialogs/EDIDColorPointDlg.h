#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Color Point Descriptor": the two white points of a Color Point Data
// descriptor (form "<block>.slot1"-"slot4").
//
// Fields, per entry i (0 and 1): index[i] (decimal 0-255; 0 means the entry
// is not used and clears its bytes), white-x[i] and white-y[i] (code / 1024,
// three decimals, used only with an index), gamma-defined[i] (check box) and
// gamma[i] (1.00-3.54). OK checks the changed fields entry by entry: index,
// white x, white y, gamma.
class EDIDColorPointDlg : public EditorForm {
 public:
  EDIDColorPointDlg(std::string address, Edid13Block& model, unsigned slot);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  bool Read(ColorPoint& point, std::string& message) const;
  void EnableEntry(unsigned entry);

  Edid13Block& model_;
  unsigned slot_;
  ColorPoint stored_;
};

}  // namespace velmar
