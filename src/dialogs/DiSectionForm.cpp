#include "dialogs/DiSectionForm.h"

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

DiSectionForm::DiSectionForm(std::string address, std::string caption, DiExtBlock& model)
    : EditorForm(std::move(address), std::move(caption)), model_(model) {}

FormField& DiSectionForm::AddCodeList(std::string name, std::string label, std::vector<std::string> names,
                                      unsigned stored, int shownCode) {
  const auto named = static_cast<unsigned>(names.size());
  namedItems_[name] = named;
  if (stored >= named) {
    names.push_back(Format("Unknown (0x%02X)", shownCode >= 0 ? static_cast<unsigned>(shownCode) : stored));
    stored = named;
  }
  return AddList(std::move(name), std::move(label), std::move(names), static_cast<int>(stored));
}

bool DiSectionForm::ReadCode(std::string_view name, const char* title, unsigned highest, unsigned& value,
                             std::string& message, bool force) const {
  if (!force && !FieldChanged(name)) return true;
  const int selection = Field(name).selection;
  if (selection < 0) {
    message = RangeMessage(title, 0, highest);
    return false;
  }
  const auto found = namedItems_.find(name);
  const unsigned named = found != namedItems_.end() ? found->second : 0;
  if (static_cast<unsigned>(selection) < named) value = static_cast<unsigned>(selection);
  return true;
}

bool DiSectionForm::ReadNumber(std::string_view name, const char* title, unsigned lowest, unsigned highest,
                               unsigned& value, std::string& message, bool force) const {
  if (!force && !FieldChanged(name)) return true;
  uint32_t number = 0;
  if (!ReadDecimal(Field(name).text, number) || number < lowest || number > highest) {
    message = RangeMessage(title, lowest, highest);
    return false;
  }
  value = number;
  return true;
}

bool DiSectionForm::ReadHundredths(std::string_view name, const char* title, double& value, std::string& message,
                                   bool force) const {
  if (!force && !FieldChanged(name)) return true;
  double number = 0;
  const int64_t hundredths = ParseReal(Field(name).text, number) ? RoundHalfAway(number * 100.0) : -1;
  if (hundredths < 0 || hundredths > 0xFFFF) {
    message = Format("Invalid %s (Valid Range 0 --> 655.35)", title);
    return false;
  }
  value = static_cast<double>(hundredths) / 100.0;
  return true;
}

void DiSectionForm::ReadCheck(std::string_view name, bool& value) const {
  if (FieldChanged(name)) value = Field(name).checked;
}

std::string DiSectionForm::RangeMessage(const char* title, unsigned lowest, unsigned highest) {
  return Format("Invalid %s (Valid Range %u --> %u)", title, lowest, highest);
}

}  // namespace velmar
