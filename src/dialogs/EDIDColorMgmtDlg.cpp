#include "dialogs/EDIDColorMgmtDlg.h"

#include <cstdint>

#include "dialogs/NumberFormat.h"

namespace velmar {

namespace {

// In the descriptor's byte order, which is also the order of the checks.
constexpr struct {
  const char* name;
  const char* label;
  double ColorManagement::*member;
  const char* message;
} kCoefficients[6] = {
    {"red-a3", "Red a3:", &ColorManagement::redA3, "Invalid Red-a3 value (Valid Range -327.7 --> +327.7)"},
    {"red-a2", "Red a2:", &ColorManagement::redA2, "Invalid Red-a2 value (Valid Range -327.7 --> +327.7)"},
    {"green-a3", "Green a3:", &ColorManagement::greenA3, "Invalid Green-a3 value (Valid Range -327.7 --> +327.7)"},
    {"green-a2", "Green a2:", &ColorManagement::greenA2, "Invalid Green-a2 value (Valid Range -327.7 --> +327.7)"},
    {"blue-a3", "Blue a3:", &ColorManagement::blueA3, "Invalid Blue-a3 value (Valid Range -327.7 --> +327.7)"},
    {"blue-a2", "Blue a2:", &ColorManagement::blueA2, "Invalid Blue-a2 value (Valid Range -327.7 --> +327.7)"},
};

}  // namespace

EDIDColorMgmtDlg::EDIDColorMgmtDlg(std::string address, Edid14Block& model, unsigned slot)
    : EditorForm(std::move(address), "EDID Color Mananagement"), model_(model), slot_(slot) {
  model_.GetColorManagement(slot_, stored_);
  // One row per colour, a3 on the left and a2 on the right.
  for (unsigned i = 0; i < 6; ++i) {
    FormField& field = AddEdit(kCoefficients[i].name, kCoefficients[i].label,
                               WriteFixed(0, stored_.*kCoefficients[i].member, 2));
    field.row = static_cast<int>(i / 2);
    field.column = static_cast<int>(i % 2);
  }
  Opened();
}

bool EDIDColorMgmtDlg::Read(ColorManagement& management, std::string& message) const {
  management = stored_;
  for (const auto& coefficient : kCoefficients) {
    if (!FieldChanged(coefficient.name)) continue;
    double value = 0;
    if (!ParseReal(Field(coefficient.name).text, value)) {
      message = coefficient.message;
      return false;
    }
    const int64_t hundredths = RoundHalfAway(value * 100);
    if (hundredths < INT16_MIN || hundredths > INT16_MAX) {
      message = coefficient.message;
      return false;
    }
    management.*coefficient.member = static_cast<double>(hundredths) / 100;
  }
  return true;
}

std::string EDIDColorMgmtDlg::Check() {
  ColorManagement management;
  std::string message;
  Read(management, message);
  return message;
}

void EDIDColorMgmtDlg::Apply() {
  ColorManagement management;
  std::string message;
  if (Read(management, message)) model_.SetColorManagement(slot_, management);
}

}  // namespace velmar
