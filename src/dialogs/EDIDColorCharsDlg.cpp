#include "dialogs/EDIDColorCharsDlg.h"

#include "dialogs/FormValues.h"

namespace velmar {

namespace {

// In the record's order, which is also the order of the checks.
constexpr struct {
  const char* name;
  const char* label;
  const char* message;
} kColors[8] = {
    {"red-x", "Red X:", "Invalid RedX value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"red-y", "Red Y:", "Invalid RedY value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"green-x", "Green X:", "Invalid GreenX value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"green-y", "Green Y:", "Invalid GreenY value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"blue-x", "Blue X:", "Invalid BlueX value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"blue-y", "Blue Y:", "Invalid BlueY value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"white-x", "White X:", "Invalid WhiteX value (Valid Range 0 --> 1 excluding 0 and 1)"},
    {"white-y", "White Y:", "Invalid WhiteY value (Valid Range 0 --> 1 excluding 0 and 1)"},
};

}  // namespace

EDIDColorCharsDlg::EDIDColorCharsDlg(std::string address, Edid13Block& model)
    : EditorForm(std::move(address), "EDID Color Characteristics"), model_(model) {
  model_.GetColorCharacteristics(stored_);
  // One row per colour, x on the left and y on the right.
  for (unsigned i = 0; i < 8; ++i) {
    FormField& field = AddEdit(kColors[i].name, kColors[i].label, ChromaticityText(stored_.codes[i]));
    field.row = static_cast<int>(i / 2);
    field.column = static_cast<int>(i % 2);
  }
  Opened();
}

bool EDIDColorCharsDlg::Read(ColorCharacteristics& colors, std::string& message) const {
  colors = stored_;
  for (unsigned i = 0; i < 8; ++i) {
    if (!FieldChanged(kColors[i].name)) continue;
    if (!ReadChromaticity(Field(kColors[i].name).text, colors.codes[i])) {
      message = kColors[i].message;
      return false;
    }
  }
  return true;
}

std::string EDIDColorCharsDlg::Check() {
  ColorCharacteristics colors;
  std::string message;
  Read(colors, message);
  return message;
}

void EDIDColorCharsDlg::Apply() {
  ColorCharacteristics colors;
  std::string message;
  if (Read(colors, message)) model_.SetColorCharacteristics(colors);
}

}  // namespace velmar
