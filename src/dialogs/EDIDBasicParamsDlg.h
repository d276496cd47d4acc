#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Basic Parameters": the video input, screen size, gamma and feature
// support of a base block (form "<block>.basic"), for a 1.0-1.3 block or,
// `is14`, an EDID 1.4 block.
//
// Fields:
//   input (list "Analog Signal", "Digital Signal");
//   analog only: signal-level (list), blank-to-black, separate-sync,
//     composite-sync, sync-on-green, serration (check boxes);
//   1.4 only, digital only: color-depth, interface (lists);
//   gamma-defined (check box), gamma (1.00-3.54);
//   color-type (list; on a 1.4 block with a digital input, the colour
//     encodings);
//   size-mode (list "Projector", "HSize(cm)", and on 1.4 "Aspect Ratio"),
//     hsize, vsize (0-255 cm), and on 1.4 aspect-ratio (list);
//   standby, suspend, low-power, srgb-default, preferred-timing, and
//     default-gtf (1.0-1.3) or continuous-frequency (1.4) (check boxes).
// OK checks the fields that changed (a control that depends on the input or
// on the size choice also counts as changed when that choice changed) in the
// order screen size, aspect ratio, gamma, colour type, colour depth,
// interface, signal level. Untouched fields keep their stored values: a
// digital input that stays digital keeps byte 20 as read.
class EDIDBasicParamsDlg : public EditorForm {
 public:
  EDIDBasicParamsDlg(std::string address, Edid13Block& model, bool is14);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  bool Read(BasicParams& params, std::string& message) const;
  bool Digital() const;
  // Enables the controls that the input, gamma and size choices leave open.
  void EnableFields();

  Edid13Block& model_;
  bool is14_;
  BasicParams stored_;
};

}  // namespace velmar
