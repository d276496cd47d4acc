#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Range Limits Descriptor": a Display Range Limits descriptor (form
// "<block>.slot1"-"slot4") of a 1.0-1.3 block or, `is14`, an EDID 1.4 block.
//
// Fields:
//   hrate-offset, vrate-offset (lists; EDID 1.4 only, else disabled);
//   hrate-min, hrate-max (kHz), vrate-min, vrate-max (Hz), as stored;
//   max-clock (MHz, stored in steps of 10);
//   timing-support (list: 1.3 "Range Limits Only", "Secondary GTF
//     supported"; 1.4 "Default GTF supported", "Range Limits Only",
//     "Secondary GTF supported", "CVT supported");
//   gtf-start (kHz, 0-510 in steps of 2), gtf-c, gtf-m, gtf-k, gtf-j, used
//     with secondary GTF;
//   EDID 1.4 only, used with CVT: cvt-max-line-length (the stored 10-bit
//     value), cvt-preferred-aspect (list), cvt-clock-precision (kHz),
//     cvt-preferred-rate (Hz), the check boxes cvt-standard-blanking,
//     cvt-reduced-blanking, cvt-hshrink, cvt-vshrink, cvt-hstretch,
//     cvt-vstretch, cvt-aspect-4x3, cvt-aspect-16x9, cvt-aspect-16x10,
//     cvt-aspect-5x4, cvt-aspect-15x9.
// OK checks the changed fields: offsets, timing support, each rate's range,
// minimum <= maximum on the rates as the offsets make them (each offset adds
// 255), the clock, then the GTF or CVT fields (all of them when the support
// just changed to it). A CVT descriptor is written whole, so its preferred
// aspect must name one of the five.
class EDIDRangeLimitsDlg : public EditorForm {
 public:
  EDIDRangeLimitsDlg(std::string address, Edid13Block& model, unsigned slot, bool is14);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  bool Read(RangeLimits& limits, std::string& message) const;
  // The timing support the list names now, or the stored one.
  uint32_t Support() const;
  void EnableFields();

  Edid13Block& model_;
  unsigned slot_;
  bool is14_;
  RangeLimits stored_;
};

}  // namespace velmar
