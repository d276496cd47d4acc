#include "dialogs/EDIDEstTimingsDlg.h"

#include "blocks/Edid14Block.h"
#include "util/Format.h"

namespace velmar {

namespace {

std::string BoxName(unsigned index) { return Format("timings[%u]", index); }

}  // namespace

EDIDEstTimingsDlg::EDIDEstTimingsDlg(std::string address, Edid13Block& model, unsigned set)
    : EditorForm(std::move(address), "EDID Established Timings"),
      model_(model),
      set_(set),
      count_(set == 0 ? kEstablishedTimingCount : kEstablishedTimingIIICount) {
  // Columns of six boxes for the 17 timings, of eleven for the 44.
  const unsigned perColumn = set == 0 ? 6 : 11;
  for (unsigned i = 0; i < count_; ++i) {
    FormField& box = AddCheck(BoxName(i), model_.GetEstablishedTimingLabel(set_, i),
                              model_.IsEstablishedTimingSet(set_, i));
    box.row = static_cast<int>(i % perColumn);
    box.column = static_cast<int>(i / perColumn);
  }
  Opened();
}

void EDIDEstTimingsDlg::Apply() {
  for (unsigned i = 0; i < count_; ++i) {
    const std::string name = BoxName(i);
    if (FieldChanged(name)) model_.SetEstablishedTiming(set_, i, Field(name).checked);
  }
}

}  // namespace velmar
