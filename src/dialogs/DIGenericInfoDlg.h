#pragma once

#include "blocks/DiExtBlock.h"
#include "dialogs/DiSectionForm.h"

namespace velmar {

// "DI Extension General Info": the interface standard and the release
// information of a DI-EXT block (form "<block>.general", e.g. "di1.general").
//
// Fields, top to bottom:
//   major-version        label: byte 1
//   interface            list: "Analog Video Input" ... "Open LDI - Consumer
//                        Electronics" (codes 0-10)
//   release              list: "Not Present", "Version/Release/Revision",
//                        "Letter Designation", "Date Code" (kinds 0-3)
//   version              0-63, the integer part of the version (kind 1)
//   version-hundredths   0-99, its hundredths
//   revision             0-255, the integer part of the revision
//   revision-hundredths  0-99, its hundredths
//   letter               one letter A-Z (kind 2)
//   year                 1990-2245 (kind 3)
//   month                1-12, or 0 for unspecified
//   day                  1-31, or 0 for unspecified
//   checksum             label: byte 127
// Only the fields of the chosen release kind are enabled. OK checks the
// fields top to bottom, each changed one and, after a change of the release
// kind, every field of the new kind; the first bad one gives its message
// ("Invalid Year (Valid Range 1990 --> 2245)"). Choosing an analog interface
// for a digital block also clears its data format and clock section.
class DIGenericInfoDlg : public DiSectionForm {
 public:
  DIGenericInfoDlg(std::string address, DiExtBlock& model);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  bool Read(DiGeneralInfo& info, std::string& message) const;
  // Enables the fields of the release kind chosen now.
  void EnableReleaseFields();

  DiGeneralInfo stored_;
};

}  // namespace velmar
