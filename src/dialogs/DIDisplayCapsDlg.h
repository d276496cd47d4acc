#pragma once

#include "blocks/DiExtBlock.h"
#include "dialogs/DiSectionForm.h"

namespace velmar {

// "DI Display Capabilities": the miscellaneous capabilities, frame rate
// conversion, scan orientation and aspect ratio conversion modes of a DI-EXT
// block (form "<block>.caps", e.g. "di1.caps").
//
// Fields, top to bottom:
//   stereo-video            list: "No direct stereo" and the three stereo kinds (0-3 of 0-7)
//   legacy-timings, scaler, image-centering, conditional-update,
//   interlaced-scan         checks (byte 20)
//   framelock               check
//   vertical-conversion     check: vertical frequency conversion supported
//   vertical-frequency      0-655.35 Hz, stored in hundredths
//   horizontal-conversion   check: horizontal frequency conversion supported
//   horizontal-frequency    0-655.35 kHz
//   orientation-type        list: "Not Specified", "Fixed Orientation ...",
//                           "Default Orientation ...", "Current Orientation ..." (0-3)
//   zero-pixel-location     list: "Upper Left Corner" ... "Lower Right Corner" (0-3)
//   scan-direction          list: "Not Specified", "Fast Scan on Long Axis",
//                           "Fast Scan on Short Axis" (0-2 of 0-3)
//   portrait, projector     checks
//   full-mode, zoom-mode, squeeze-mode, variable-mode   checks (aspect ratio conversion)
// A stored code a list cannot name shows as "Unknown (0x%02X)" and is kept.
// OK checks the changed fields top to bottom; the first bad one gives its
// message ("Invalid Vertical Frequency Conversion (Valid Range 0 --> 655.35)").
class DIDisplayCapsDlg : public DiSectionForm {
 public:
  DIDisplayCapsDlg(std::string address, DiExtBlock& model);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(DiDisplayCaps& caps, std::string& message) const;

  DiDisplayCaps stored_;
};

}  // namespace velmar
