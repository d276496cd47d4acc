#include "dialogs/DIFormatsAndClockDlg.h"

#include "util/Format.h"

namespace velmar {

namespace {

const std::vector<std::string> kFormats = {
    "8-Bit Over 8-Bit RGB",
    "12-Bit Over 12-Bit RGB",
    "24-Bit MSB-Aligned RGB (Single Link)",
    "48-Bit MSB-Aligned RGB (Dual Link, Hi-Resolution)",
    "48-Bit MSB-Aligned RGB (Dual Link, Hi-Color)",
};

const std::vector<std::string> kEdges = {"Not Specified", "Rising Edge", "Falling Edge", "Rising and Falling Edges"};

}  // namespace

DIFormatsAndClockDlg::DIFormatsAndClockDlg(std::string address, DiExtBlock& model)
    : DiSectionForm(std::move(address), "DI Data Format and Clock", model) {
  model_.GetFormatAndClock(stored_);
  // A byte the table does not know reads as index 0; an index beyond the
  // table makes the setter leave the byte alone.
  if (DiExtBlock::DataFormatCode(stored_.dataFormatIndex) != static_cast<int>(stored_.dataFormatCode)) {
    stored_.dataFormatIndex = static_cast<unsigned>(kFormats.size());
  }
  AddCodeList("data-format", "Data Format:", kFormats, stored_.dataFormatIndex,
              static_cast<int>(stored_.dataFormatCode));
  AddGroup("signals", "Signals", 0, 0);
  InGroup("signals");
  AddCheck("data-enable", "Display uses the Data Enable (DE) signal", stored_.dataEnableUsed);
  AddCheck("data-enable-high", "Data enabled when the DE signal is high", stored_.dataEnableHigh);
  AddCodeList("shift-clock-edge", "Edge of Shift Clock:", kEdges, stored_.shiftClockEdge);
  AddCheck("hdcp", "HDCP Supported", stored_.hdcp);
  AddCheck("double-clocking", "Double Clocking Supported", stored_.doubleClocking);
  AddCheck("packetized-video", "Packetized Video Supported", stored_.packetizedVideo);
  AddGroup("clocks", "Clocks", 1, 0);
  InGroup("clocks");
  AddEdit("min-clock", "Min Pixel Clock Per Link (MHz):", Format("%u", stored_.minClock));
  AddEdit("max-clock", "Max Pixel Clock Per Link (MHz):", Format("%u", stored_.maxClock));
  AddEdit("crossover", "Crossover Frequency (MHz, 65535 = single link):", Format("%u", stored_.crossover));
  Opened();
}

bool DIFormatsAndClockDlg::Read(DiFormatAndClock& format, std::string& message) const {
  format = stored_;
  ReadCheck("data-enable", format.dataEnableUsed);
  ReadCheck("data-enable-high", format.dataEnableHigh);
  ReadCheck("hdcp", format.hdcp);
  ReadCheck("double-clocking", format.doubleClocking);
  ReadCheck("packetized-video", format.packetizedVideo);
  return ReadCode("data-format", "Data Format", 255, format.dataFormatIndex, message) &&
         ReadCode("shift-clock-edge", "Edge of Shift Clock", 3, format.shiftClockEdge, message) &&
         ReadNumber("min-clock", "Min Pixel Clock Per Link", 0, 255, format.minClock, message) &&
         ReadNumber("max-clock", "Max Pixel Clock Per Link", 0, 0xFFFF, format.maxClock, message) &&
         ReadNumber("crossover", "Crossover Frequency", 0, 0xFFFF, format.crossover, message);
}

std::string DIFormatsAndClockDlg::Check() {
  DiFormatAndClock format;
  std::string message;
  Read(format, message);
  return message;
}

void DIFormatsAndClockDlg::Apply() {
  DiFormatAndClock format;
  std::string message;
  if (Read(format, message)) model_.SetFormatAndClock(format);
}

}  // namespace velmar
