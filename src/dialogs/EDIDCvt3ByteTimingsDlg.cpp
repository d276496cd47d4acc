#include "dialogs/EDIDCvt3ByteTimingsDlg.h"

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr uint32_t kAspectOfItem[3] = {kAspect16x9, kAspect16x10, kAspect4x3};

// The fields of one row after "used", in their columns.
constexpr const char* kValueFields[] = {"height", "aspect", "preferred-rate", "rate-50",
                                        "rate-60", "rate-75", "rate-85", "rate-60-rb"};

std::string Name(const char* field, unsigned row) { return Format("%s[%u]", field, row); }

int ItemOfAspect(uint32_t aspect) {
  for (int i = 0; i < 3; ++i) {
    if (kAspectOfItem[i] == aspect) return i;
  }
  return -1;
}

}  // namespace

EDIDCvt3ByteTimingsDlg::EDIDCvt3ByteTimingsDlg(std::string address, Edid14Block& model, unsigned slot)
    : EditorForm(std::move(address), "EDID CVT 3Byte Timings"), model_(model), slot_(slot) {
  for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) {
    model_.GetCvtCode(slot_, i, stored_[i]);
    const CvtCode& c = stored_[i];
    FormField* fields[9] = {
        &AddCheck(Name("used", i), Format("Entry[%u]", i), c.used),
        &AddEdit(Name("height", i), "Height:", c.used ? Format("%u", c.lines) : ""),
        &AddList(Name("aspect", i), "Aspect Ratio:", {"16x9", "16x10", "4x3"}, c.used ? ItemOfAspect(c.aspect) : -1),
        &AddList(Name("preferred-rate", i), "Preferred Rate:", {"50Hz", "60Hz", "75Hz", "85Hz"},
                 static_cast<int>(c.preferredRate)),
        &AddCheck(Name("rate-50", i), "50Hz", c.rate50),
        &AddCheck(Name("rate-60", i), "60Hz", c.rate60),
        &AddCheck(Name("rate-75", i), "75Hz", c.rate75),
        &AddCheck(Name("rate-85", i), "85Hz", c.rate85),
        &AddCheck(Name("rate-60-rb", i), "60Hz(RB)", c.rate60Rb),
    };
    for (int column = 0; column < 9; ++column) {
      fields[column]->row = static_cast<int>(i);
      fields[column]->column = column;
    }
    EnableRow(i);
  }
  Opened();
}

void EDIDCvt3ByteTimingsDlg::EnableRow(unsigned row) {
  const bool used = Field(Name("used", row)).checked;
  for (const char* field : kValueFields) Field(Name(field, row)).enabled = used;
}

bool EDIDCvt3ByteTimingsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) {
    if (field.name == Name("used", i)) EnableRow(i);
  }
  return true;
}

bool EDIDCvt3ByteTimingsDlg::RowChanged(unsigned row) const {
  if (FieldChanged(Name("used", row))) return true;
  for (const char* field : kValueFields) {
    if (FieldChanged(Name(field, row))) return true;
  }
  return false;
}

bool EDIDCvt3ByteTimingsDlg::Read(Codes& codes, std::string& message) const {
  codes = stored_;
  for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) {
    CvtCode& c = codes[i];
    const bool usedChanged = FieldChanged(Name("used", i));
    if (usedChanged) c.used = Field(Name("used", i)).checked;
    if (!c.used) continue;
    const auto read = [&](const char* field) { return usedChanged || FieldChanged(Name(field, i)); };
    if (read("height")) {
      uint32_t lines = 0;
      if (!ReadDecimal(Field(Name("height", i)).text, lines) || lines < 4 || lines > 8190 || lines % 2 != 0) {
        message = Format("Entry[%u]: Invalid Height (Valid range 4 --> 8190, divisible by 2)", i);
        return false;
      }
      c.lines = lines;
    }
    if (read("aspect")) {
      const int item = Field(Name("aspect", i)).selection;
      if (item < 0) {
        message = Format("Entry[%u]: Invalid Aspect Ratio selection", i);
        return false;
      }
      c.aspect = kAspectOfItem[item];
    }
    const int preferred = Field(Name("preferred-rate", i)).selection;
    if (read("preferred-rate") && preferred >= 0) c.preferredRate = static_cast<uint32_t>(preferred);
    if (read("rate-50")) c.rate50 = Field(Name("rate-50", i)).checked;
    if (read("rate-60")) c.rate60 = Field(Name("rate-60", i)).checked;
    if (read("rate-75")) c.rate75 = Field(Name("rate-75", i)).checked;
    if (read("rate-85")) c.rate85 = Field(Name("rate-85", i)).checked;
    if (read("rate-60-rb")) c.rate60Rb = Field(Name("rate-60-rb", i)).checked;
  }
  return true;
}

std::string EDIDCvt3ByteTimingsDlg::Check() {
  Codes codes;
  std::string message;
  Read(codes, message);
  return message;
}

void EDIDCvt3ByteTimingsDlg::Apply() {
  Codes codes;
  std::string message;
  if (!Read(codes, message)) return;
  for (unsigned i = 0; i < kCvtCodesPerDescriptor; ++i) {
    if (RowChanged(i)) model_.SetCvtCode(slot_, i, codes[i]);
  }
}

}  // namespace velmar
