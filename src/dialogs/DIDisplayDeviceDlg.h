#pragma once

#include "blocks/DiExtBlock.h"
#include "dialogs/DiSectionForm.h"

namespace velmar {

// "DI Display Device Section": the sub-pixels, pitches and major
// characteristics of a DI-EXT block's display (form "<block>.device", e.g.
// "di1.device").
//
// Fields, top to bottom:
//   layout                   list: "Not Specified", "R.G.B", "B.G.R", and the
//                            two quad pixel layouts (codes 0-4)
//   configuration            list: "Not Specified", "Delta (Tri-ad)", "Stripe",
//                            "Stripe Offset", "Quad Pixel - ..." (codes 0-4)
//   shape                    list: "Not Specified", "Round", "Square",
//                            "Rectangular", "Oval", "Elliptical" (codes 0-5)
//   horizontal-pitch         0-2550, stored in tens (rounded half away from zero)
//   vertical-pitch           0-2550
//   view-direction           list: "Not Specified" and the three views (0-3)
//   physical-implementation  list: "Not Specified" and the three kinds (0-3)
//   fixed-pixel-format, transparent-background, ddc-ci   checks
// A stored code a list cannot name shows as "Unknown (0x%02X)" and is kept.
// OK checks the changed fields top to bottom; the first bad one gives its
// message ("Invalid Horizontal Pitch (Valid Range 0 --> 2550)").
class DIDisplayDeviceDlg : public DiSectionForm {
 public:
  DIDisplayDeviceDlg(std::string address, DiExtBlock& model);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(DiDisplayDevice& device, std::string& message) const;

  DiDisplayDevice stored_;
};

}  // namespace velmar
