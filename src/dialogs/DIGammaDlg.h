#pragma once

#include "blocks/DiExtBlock.h"
#include "dialogs/DiSectionForm.h"

namespace velmar {

// "DI Gamma Section": the gamma curve of a DI-EXT block (form "<block>.gamma",
// e.g. "di1.gamma").
//
// Fields, top to bottom:
//   type                    list: "Not Specified", "Single White Curve",
//                           "3 Separate Color Curves (BGR)", "Not Used" (0-3)
//   count                   0-63, the number of points (per color for three curves)
//   points[0] .. points[44] 0-255, the 45 point values in the order of their
//                           bytes: one white curve, or blue points 0-14
//                           (points[0-14]), green (points[15-29]) and red
//                           (points[30-44]) for three curves
// The point labels follow the chosen type ("White[3]:", "Green[2]:"). OK
// checks the changed fields top to bottom; the first bad one gives its message
// ("Invalid Number of Points (Valid Range 0 --> 63)", "Invalid Green Data
// Point[2] (Valid Range 0 --> 255)").
class DIGammaDlg : public DiSectionForm {
 public:
  DIGammaDlg(std::string address, DiExtBlock& model);

  // The name of the field of point `index` (0-44): "points[index]".
  static std::string PointField(unsigned index);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  bool Read(DiGamma& gamma, std::string& message) const;
  // Labels the count and the points after the type chosen now.
  void LabelPoints();
  // The curve type chosen now (the stored one while the list is on it).
  unsigned ChosenType() const;

  DiGamma stored_;
};

}  // namespace velmar
