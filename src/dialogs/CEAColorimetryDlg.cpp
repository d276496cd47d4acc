#include "dialogs/CEAColorimetryDlg.h"

namespace velmar {

namespace {

struct ColorimetryBox {
  const char* name;
  const char* label;
  bool ColorimetryFlags::*flag;
  unsigned byte;
};

constexpr ColorimetryBox kBoxes[] = {
    {"xvycc-601", "xvYCC-601:", &ColorimetryFlags::xvYcc601, 0},
    {"xvycc-709", "xvYCC-709:", &ColorimetryFlags::xvYcc709, 0},
    {"sycc-601", "sYCC-601:", &ColorimetryFlags::sYcc601, 0},
    {"adobe-ycc-601", "Adobe YCC-601:", &ColorimetryFlags::adobeYcc601, 0},
    {"adobe-rgb", "Adobe RGB:", &ColorimetryFlags::adobeRgb, 0},
    {"md-profile-0", "MD Profile 0:", &ColorimetryFlags::metadataProfile0, 1},
    {"md-profile-1", "MD Profile 1:", &ColorimetryFlags::metadataProfile1, 1},
    {"md-profile-2", "MD Profile 2:", &ColorimetryFlags::metadataProfile2, 1},
    {"md-profile-3", "MD Profile 3:", &ColorimetryFlags::metadataProfile3, 1},
};

}  // namespace

CEAColorimetryDlg::CEAColorimetryDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA Colorimetry"), model_(model), index_(index) {
  model_.GetColorimetry(index_, stored_);
  const DataBlockEntry* entry = model_.Entry(index_);
  const unsigned payload = entry != nullptr ? entry->length - entry->headerLength : 0;
  for (const ColorimetryBox& box : kBoxes) {
    AddCheck(box.name, box.label, stored_.*box.flag).enabled = box.byte < payload;
  }
  Opened();
}

void CEAColorimetryDlg::Apply() {
  ColorimetryFlags flags = stored_;
  for (const ColorimetryBox& box : kBoxes) {
    if (FieldChanged(box.name)) flags.*box.flag = Field(box.name).checked;
  }
  model_.SetColorimetry(index_, flags);
}

}  // namespace velmar
