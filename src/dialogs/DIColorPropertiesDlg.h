#pragma once

#include "blocks/DiExtBlock.h"
#include "dialogs/DiSectionForm.h"

namespace velmar {

// "DI Color/Luminance Properties": the color decodings, dithering and monitor
// color depths of a DI-EXT block (form "<block>.color", e.g. "di1.color").
//
// Fields, top to bottom:
//   default-decoding     list: "Not Specified", "BGR (additive color)" ...
//                        "Monochrome" (codes 0-14)
//   preferred-decoding   list: "Not Specified", "BGR (additive color)",
//                        "Y/C (S-Video)", "Yxx (SMPTE 2xxM)", "Monochrome" (0-4)
//   dithering            check
//   depth-blue, depth-green, depth-red, depth-cb, depth-y, depth-cr
//                        0-255 bits per color
//   decoding-bgr, decoding-yc-ntsc, decoding-yc-pal, decoding-yc-secam,
//   decoding-ycrcb-444, decoding-ycrcb-422, decoding-ycrcb-420,
//   decoding-ycrcb-260m, decoding-ypbpr-240m, decoding-ycrcb-274m,
//   decoding-ypbpr-274m, decoding-betacam, decoding-m2, decoding-monochrome
//                        checks: the fourteen supported decodings, in the
//                        order of their bits
// A stored code a list cannot name shows as "Unknown (0x%02X)" and is kept.
// OK checks the changed fields top to bottom; the first bad one gives its
// message ("Invalid Blue Color Depth (Valid Range 0 --> 255)").
class DIColorPropertiesDlg : public DiSectionForm {
 public:
  DIColorPropertiesDlg(std::string address, DiExtBlock& model);

  // The field names of the fourteen decoding flags, in the order of their bits.
  static const char* const kDecodingFields[kDiDecodingCount];

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(DiColorProperties& color, std::string& message) const;

  DiColorProperties stored_;
};

}  // namespace velmar
