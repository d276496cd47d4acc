#pragma once

#include <vector>

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Standard Timings": the eight standard timings of a base block (slot
// 0, form "<block>.standard") or the six of a Standard Timing Identifications
// descriptor (slot 1-4, form "<block>.slot1"-"slot4").
//
// Fields, one row per code i from 0: used[i] (check box, "Entry[i]"),
// width[i] and refresh[i] (decimal), aspect[i] (list: 16:10, or 1:1 below
// revision 3, then 4:3, 5:4, 16:9, as the code's bits 7-6 count them). A row
// not used writes 01 01. OK checks the rows in order, and in a used row the
// width (256-2288, divisible by 8) and then the refresh rate (60-123) when
// they or the used flag changed; only rows with a changed field are written.
class EDIDStdTimingsDlg : public EditorForm {
 public:
  EDIDStdTimingsDlg(std::string address, Edid13Block& model, unsigned slot);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  // The codes with the changed rows read in; false with `message` at the
  // first bad field.
  bool Read(std::vector<StandardTiming>& timings, std::string& message) const;
  bool RowChanged(unsigned row) const;
  // Enables a row's values when the row is used.
  void EnableRow(unsigned row);

  Edid13Block& model_;
  unsigned slot_;
  std::vector<StandardTiming> stored_;
};

}  // namespace velmar
