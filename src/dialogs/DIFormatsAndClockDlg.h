#pragma once

#include "blocks/DiExtBlock.h"
#include "dialogs/DiSectionForm.h"

namespace velmar {

// "DI Data Format and Clock": the digital data format, the data enable and
// shift clock signals and the link clocks of a DI-EXT block (form
// "<block>.format", e.g. "di1.format").
//
// Fields, top to bottom:
//   data-format        list: "8-Bit Over 8-Bit RGB" ... "48-Bit MSB-Aligned RGB
//                      (Dual Link, Hi-Color)" (codes 0x15, 0x19, 0x24, 0x48,
//                      0x49); a byte of no known format shows as "Unknown (0x%02X)"
//                      and is kept
//   data-enable        check: the display uses the data enable signal
//   data-enable-high   check: data enabled when that signal is high
//   shift-clock-edge   list: "Not Specified", "Rising Edge", "Falling Edge",
//                      "Rising and Falling Edges"
//   hdcp, double-clocking, packetized-video   checks
//   min-clock          0-255 MHz
//   max-clock          0-65535 MHz
//   crossover          0-65535 MHz, 65535 for a single-link display
// OK checks the changed fields top to bottom; the first bad one gives its
// message ("Invalid Max Pixel Clock Per Link (Valid Range 0 --> 65535)").
class DIFormatsAndClockDlg : public DiSectionForm {
 public:
  DIFormatsAndClockDlg(std::string address, DiExtBlock& model);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(DiFormatAndClock& format, std::string& message) const;

  DiFormatAndClock stored_;
};

}  // namespace velmar
