#include "dialogs/DIDisplayCapsDlg.h"

#include "dialogs/NumberFormat.h"

namespace velmar {

namespace {

// Bits of the frame rate conversion code: vertical, then horizontal conversion.
constexpr unsigned kVerticalConversion = 1;
constexpr unsigned kHorizontalConversion = 2;

const std::vector<std::string> kStereo = {
    "No direct stereo",
    "Field Seq. via Stereosync Signal",
    "Auto-stereoscopic, Column Interleave",
    "Auto-stereoscopic, Line Interleave",
};

const std::vector<std::string> kOrientations = {
    "Not Specified",
    "Fixed Orientation (does not rotate)",
    "Default Orientation (defined for display that is capable of rotation)",
    "Current Orientation (defined for display that rotates)",
};

const std::vector<std::string> kCorners = {"Upper Left Corner", "Upper Right Corner", "Lower Left Corner",
                                           "Lower Right Corner"};

const std::vector<std::string> kScanDirections = {"Not Specified", "Fast Scan on Long Axis",
                                                  "Fast Scan on Short Axis"};

}  // namespace

DIDisplayCapsDlg::DIDisplayCapsDlg(std::string address, DiExtBlock& model)
    : DiSectionForm(std::move(address), "DI Display Capabilities", model) {
  model_.GetDisplayCaps(stored_);
  AddGroup("misc", "Miscellaneous Display Capabilities", 0, 0);
  InGroup("misc");
  AddCodeList("stereo-video", "Stereo Video:", kStereo, stored_.stereoVideo);
  AddCheck("legacy-timings", "VGA/DOS Legacy Timing Modes", stored_.legacyTimings);
  AddCheck("scaler", "Scaler On Board", stored_.scalerOnBoard);
  AddCheck("image-centering", "Image Centering", stored_.imageCentering);
  AddCheck("conditional-update", "Conditional Update", stored_.conditionalUpdate);
  AddCheck("interlaced-scan", "Progressive & Interlaced Scan", stored_.interlacedScan);

  AddGroup("conversion", "Frame Rate Conversion", 0, 1);
  InGroup("conversion");
  AddCheck("framelock", "Framelock", stored_.framelock);
  AddCheck("vertical-conversion", "Vertical Frequency Conversion",
           (stored_.frequencyConversion & kVerticalConversion) != 0);
  AddEdit("vertical-frequency", "Vertical Frequency (Hz):", WriteFixed(0, stored_.verticalConversion, 2));
  AddCheck("horizontal-conversion", "Horizontal Frequency Conversion",
           (stored_.frequencyConversion & kHorizontalConversion) != 0);
  AddEdit("horizontal-frequency", "Horizontal Frequency (kHz):", WriteFixed(0, stored_.horizontalConversion, 2));

  AddGroup("orientation", "Display/Scan Orientation", 1, 0);
  InGroup("orientation");
  AddCodeList("orientation-type", "Orientation Type:", kOrientations, stored_.orientationType);
  AddCodeList("zero-pixel-location", "Zero (0,0) Pixel Location:", kCorners, stored_.zeroPixelLocation);
  AddCodeList("scan-direction", "Scan Direction:", kScanDirections, stored_.scanDirection);
  AddCheck("portrait", "Portrait Screen Orientation", stored_.portrait);
  AddCheck("projector", "Standalone Projector", stored_.projector);

  AddGroup("aspect", "Aspect Ratio Conversion Modes", 1, 1);
  InGroup("aspect");
  AddCheck("full-mode", "Full Mode", stored_.fullMode);
  AddCheck("zoom-mode", "Zoom Mode", stored_.zoomMode);
  AddCheck("squeeze-mode", "Squeeze Mode", stored_.squeezeMode);
  AddCheck("variable-mode", "Variable Mode", stored_.variableMode);
  Opened();
}

bool DIDisplayCapsDlg::Read(DiDisplayCaps& caps, std::string& message) const {
  caps = stored_;
  ReadCheck("legacy-timings", caps.legacyTimings);
  ReadCheck("scaler", caps.scalerOnBoard);
  ReadCheck("image-centering", caps.imageCentering);
  ReadCheck("conditional-update", caps.conditionalUpdate);
  ReadCheck("interlaced-scan", caps.interlacedScan);
  ReadCheck("framelock", caps.framelock);
  for (const auto& [name, bit] : {std::pair{"vertical-conversion", kVerticalConversion},
                                  std::pair{"horizontal-conversion", kHorizontalConversion}}) {
    if (!FieldChanged(name)) continue;
    caps.frequencyConversion = Field(name).checked ? caps.frequencyConversion | bit : caps.frequencyConversion & ~bit;
  }
  ReadCheck("portrait", caps.portrait);
  ReadCheck("projector", caps.projector);
  ReadCheck("full-mode", caps.fullMode);
  ReadCheck("zoom-mode", caps.zoomMode);
  ReadCheck("squeeze-mode", caps.squeezeMode);
  ReadCheck("variable-mode", caps.variableMode);
  return ReadCode("stereo-video", "Stereo Video", 7, caps.stereoVideo, message) &&
         ReadHundredths("vertical-frequency", "Vertical Frequency Conversion", caps.verticalConversion, message) &&
         ReadHundredths("horizontal-frequency", "Horizontal Frequency Conversion", caps.horizontalConversion,
                        message) &&
         ReadCode("orientation-type", "Display/Scan Orientation Type", 3, caps.orientationType, message) &&
         ReadCode("zero-pixel-location", "Zero (0,0) Pixel Location", 3, caps.zeroPixelLocation, message) &&
         ReadCode("scan-direction", "Scan Direction", 3, caps.scanDirection, message);
}

std::string DIDisplayCapsDlg::Check() {
  DiDisplayCaps caps;
  std::string message;
  Read(caps, message);
  return message;
}

void DIDisplayCapsDlg::Apply() {
  DiDisplayCaps caps;
  std::string message;
  if (Read(caps, message)) model_.SetDisplayCaps(caps);
}

}  // namespace velmar
