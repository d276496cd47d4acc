#include "dialogs/EDIDStdTimingsDlg.h"

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

// The aspect list by the code's bits 7-6.
constexpr uint32_t kAspectOfItem[4] = {kAspect16x10, kAspect4x3, kAspect5x4, kAspect16x9};

std::string Name(const char* field, unsigned row) { return Format("%s[%u]", field, row); }

int ItemOfAspect(uint32_t aspect) {
  for (int i = 0; i < 4; ++i) {
    if (kAspectOfItem[i] == aspect) return i;
  }
  return -1;
}

}  // namespace

EDIDStdTimingsDlg::EDIDStdTimingsDlg(std::string address, Edid13Block& model, unsigned slot)
    : EditorForm(std::move(address), "EDID Standard Timings"), model_(model), slot_(slot) {
  const unsigned count = slot == 0 ? kEdidStandardTimingCount : kDescriptorStandardTimingCount;
  stored_.resize(count);
  const std::vector<std::string> aspects = {model_.Revision() < 3 ? "Square     1x1" : "LandScape 16x10",
                                            "LandScape  4x3", "LandScape  5x4", "LandScape  16x9"};
  for (unsigned i = 0; i < count; ++i) {
    model_.GetStandardTiming(slot_, i, stored_[i]);
    const StandardTiming& t = stored_[i];
    const int row = static_cast<int>(i);
    FormField* fields[4] = {
        &AddCheck(Name("used", i), Format("Entry[%u]", i), t.used),
        // An unused code (01 01) has no values to show.
        &AddEdit(Name("width", i), "Width:", t.used ? Format("%u", t.width) : ""),
        &AddEdit(Name("refresh", i), "Refresh Rate:", t.used ? Format("%u", t.refresh) : ""),
        &AddList(Name("aspect", i), "Aspect Ratio:", aspects, ItemOfAspect(t.aspect)),
    };
    for (int column = 0; column < 4; ++column) {
      fields[column]->row = row;
      fields[column]->column = column;
    }
    EnableRow(i);
  }
  Opened();
}

void EDIDStdTimingsDlg::EnableRow(unsigned row) {
  const bool used = Field(Name("used", row)).checked;
  for (const char* field : {"width", "refresh", "aspect"}) Field(Name(field, row)).enabled = used;
}

bool EDIDStdTimingsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  for (unsigned i = 0; i < stored_.size(); ++i) {
    if (field.name == Name("used", i)) EnableRow(i);
  }
  return true;
}

bool EDIDStdTimingsDlg::RowChanged(unsigned row) const {
  for (const char* field : {"used", "width", "refresh", "aspect"}) {
    if (FieldChanged(Name(field, row))) return true;
  }
  return false;
}

bool EDIDStdTimingsDlg::Read(std::vector<StandardTiming>& timings, std::string& message) const {
  timings = stored_;
  for (unsigned i = 0; i < timings.size(); ++i) {
    StandardTiming& t = timings[i];
    const bool usedChanged = FieldChanged(Name("used", i));
    if (usedChanged) t.used = Field(Name("used", i)).checked;
    if (!t.used) continue;
    if (usedChanged || FieldChanged(Name("width", i))) {
      uint32_t width = 0;
      if (!ReadDecimal(Field(Name("width", i)).text, width) || width < 256 || width > 2288 || width % 8 != 0) {
        message = Format("Entry[%u]: Invalid Width (Valid range 256 --> 2288, divisible by 8)", i);
        return false;
      }
      t.width = width;
    }
    if (usedChanged || FieldChanged(Name("refresh", i))) {
      uint32_t refresh = 0;
      if (!ReadDecimal(Field(Name("refresh", i)).text, refresh) || refresh < 60 || refresh > 123) {
        message = Format("Entry[%u]: Invalid Refresh Rate (Valid range 60 --> 123)", i);
        return false;
      }
      t.refresh = refresh;
    }
    const int item = Field(Name("aspect", i)).selection;
    if ((usedChanged || FieldChanged(Name("aspect", i))) && item >= 0) t.aspect = kAspectOfItem[item];
  }
  return true;
}

std::string EDIDStdTimingsDlg::Check() {
  std::vector<StandardTiming> timings;
  std::string message;
  Read(timings, message);
  return message;
}

void EDIDStdTimingsDlg::Apply() {
  std::vector<StandardTiming> timings;
  std::string message;
  if (!Read(timings, message)) return;
  for (unsigned i = 0; i < timings.size(); ++i) {
    if (RowChanged(i)) model_.SetStandardTiming(slot_, i, timings[i]);
  }
}

}  // namespace velmar
