#pragma once

#include <array>

#include "blocks/Edid14Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID CVT 3Byte Timings": the four codes of a CVT 3 Byte Timing Codes
// descriptor of an EDID 1.4 block (form "<block>.slot1"-"slot4").
//
// Fields, one row per code i from 0: used[i] (check box, "Entry[i]"),
// height[i] (decimal lines), aspect[i] (list "16x9", "16x10", "4x3"),
// preferred-rate[i] (list 50, 60, 75, 85 Hz), and the check boxes
// rate-50[i], rate-60[i], rate-75[i], rate-85[i] and rate-60-rb[i]. A code
// not used writes 00 00 00. OK checks the used rows in order, the height
// (4-8190, even) and then the aspect choice when they or the used flag
// changed; only codes with a changed field are written.
class EDIDCvt3ByteTimingsDlg : public EditorForm {
 public:
  EDIDCvt3ByteTimingsDlg(std::string address, Edid14Block& model, unsigned slot);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  using Codes = std::array<CvtCode, kCvtCodesPerDescriptor>;
  bool Read(Codes& codes, std::string& message) const;
  bool RowChanged(unsigned row) const;
  void EnableRow(unsigned row);

  Edid14Block& model_;
  unsigned slot_;
  Codes stored_{};
};

}  // namespace velmar
