#include "dialogs/DIGammaDlg.h"

#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kPerColor = kDiGammaPointsPerColor;
constexpr unsigned kSingleCurve = 1;
constexpr unsigned kThreeCurves = 2;

const std::vector<std::string> kTypes = {"Not Specified", "Single White Curve", "3 Separate Color Curves (BGR)",
                                         "Not Used"};

const char* ColorOf(unsigned index) {
  return index < kPerColor ? "Blue" : index < 2 * kPerColor ? "Green" : "Red";
}

}  // namespace

std::string DIGammaDlg::PointField(unsigned index) { return Format("points[%u]", index); }

DIGammaDlg::DIGammaDlg(std::string address, DiExtBlock& model)
    : DiSectionForm(std::move(address), "DI Gamma Section", model) {
  model_.GetGamma(stored_);
  AddCodeList("type", "Gamma Curve Type:", kTypes, stored_.curveType);
  AddEdit("count", "Number of Points:", Format("%u", stored_.pointCount));
  // Fifteen rows of three columns: each color of three curves is a column.
  AddGroup("points", "Data Points", 0, 0);
  InGroup("points");
  for (unsigned i = 0; i < kDiGammaPointCount; ++i) {
    FormField& field = AddEdit(PointField(i), "", Format("%u", stored_.points[i]));
    field.row = static_cast<int>(i % kPerColor);
    field.column = static_cast<int>(i / kPerColor);
  }
  LabelPoints();
  Opened();
}

unsigned DIGammaDlg::ChosenType() const {
  const int selection = Field("type").selection;
  return selection >= 0 ? static_cast<unsigned>(selection) : stored_.curveType;
}

void DIGammaDlg::LabelPoints() {
  const unsigned type = ChosenType();
  Field("count").label = type == kThreeCurves ? "Number of Points per Color:" : "Number of Points:";
  for (unsigned i = 0; i < kDiGammaPointCount; ++i) {
    std::string& label = Field(PointField(i)).label;
    if (type == kSingleCurve) {
      label = Format("White[%u]:", i);
    } else if (type == kThreeCurves) {
      label = Format("%s[%u]:", ColorOf(i), i % kPerColor);
    } else {
      label = Format("Point[%u]:", i);
    }
  }
}

bool DIGammaDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  if (field.name == "type") LabelPoints();
  return true;
}

bool DIGammaDlg::Read(DiGamma& gamma, std::string& message) const {
  gamma = stored_;
  if (!ReadCode("type", "Gamma Curve Type", 3, gamma.curveType, message) ||
      !ReadNumber("count", "Number of Points", 0, 63, gamma.pointCount, message)) {
    return false;
  }
  const unsigned type = ChosenType();
  for (unsigned i = 0; i < kDiGammaPointCount; ++i) {
    std::string title;
    if (type == kSingleCurve) {
      title = Format("White Data Point[%u]", i);
    } else if (type == kThreeCurves) {
      title = Format("%s Data Point[%u]", ColorOf(i), i % kPerColor);
    } else {
      title = Format("Data Point[%u]", i);
    }
    if (!ReadNumber(PointField(i), title.c_str(), 0, 255, gamma.points[i], message)) return false;
  }
  return true;
}

std::string DIGammaDlg::Check() {
  DiGamma gamma;
  std::string message;
  Read(gamma, message);
  return message;
}

void DIGammaDlg::Apply() {
  DiGamma gamma;
  std::string message;
  if (Read(gamma, message)) model_.SetGamma(gamma);
}

}  // namespace velmar
