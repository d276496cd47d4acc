#include "dialogs/DIColorPropertiesDlg.h"

#include "util/Format.h"

namespace velmar {

const char* const DIColorPropertiesDlg::kDecodingFields[kDiDecodingCount] = {
    "decoding-bgr",        "decoding-yc-ntsc",    "decoding-yc-pal",     "decoding-yc-secam",
    "decoding-ycrcb-444",  "decoding-ycrcb-422",  "decoding-ycrcb-420",  "decoding-ycrcb-260m",
    "decoding-ypbpr-240m", "decoding-ycrcb-274m", "decoding-ypbpr-274m", "decoding-betacam",
    "decoding-m2",         "decoding-monochrome",
};

namespace {

const char* const kDecodingLabels[kDiDecodingCount] = {
    "BGR (additive color)", "Y/C (S-Video) NTSC", "Y/C (S-Video) PAL",        "Y/C (S-Video) SECAM",
    "YCrCb 4:4:4",          "YCrCb 4:2:2",        "YCrCb 4:2:0",              "YCrCb (SMPTE 260M)",
    "YPbPr (SMPTE 240M)",   "YCrCb (SMPTE 274M)", "YPbPr (SMPTE 274M)",       "Y B-Y R-Y BetaCam (Sony)",
    "Y B-Y R-Y M-2 (Matsushita)", "Monochrome",
};

const std::vector<std::string> kPreferred = {"Not Specified", "BGR (additive color)", "Y/C (S-Video)",
                                             "Yxx (SMPTE 2xxM)", "Monochrome"};

// The depths in the order of their bytes: field, label, title of the message.
struct Depth {
  const char* field;
  const char* label;
  const char* title;
};
const Depth kDepths[kDiColorDepthCount] = {
    {"depth-blue", "Blue:", "Blue Color Depth"},   {"depth-green", "Green:", "Green Color Depth"},
    {"depth-red", "Red:", "Red Color Depth"},      {"depth-cb", "Cb/Pb:", "Cb/Pb Color Depth"},
    {"depth-y", "Y:", "Y Color Depth"},            {"depth-cr", "Cr/Pr:", "Cr/Pr Color Depth"},
};

}  // namespace

DIColorPropertiesDlg::DIColorPropertiesDlg(std::string address, DiExtBlock& model)
    : DiSectionForm(std::move(address), "DI Color/Luminance Properties", model) {
  model_.GetColorProperties(stored_);
  std::vector<std::string> defaults = {"Not Specified"};
  defaults.insert(defaults.end(), std::begin(kDecodingLabels), std::end(kDecodingLabels));
  AddCodeList("default-decoding", "Default Color Decoding:", defaults, stored_.defaultDecoding);
  AddCodeList("preferred-decoding", "Preferred Color Decoding:", kPreferred, stored_.preferredDecoding);
  AddCheck("dithering", "Display uses Dithering", stored_.dithering);

  // Blue, green and red on the left; Cb/Pb, Y and Cr/Pr beside them.
  AddGroup("depths", "Monitor Color Depth (bits per color)", 0, 0);
  InGroup("depths");
  for (unsigned i = 0; i < kDiColorDepthCount; ++i) {
    FormField& field = AddEdit(kDepths[i].field, kDepths[i].label, Format("%u", stored_.colorDepths[i]));
    field.row = static_cast<int>(i % 3);
    field.column = static_cast<int>(i / 3);
  }

  AddGroup("decodings", "Supported Color Decodings", 1, 0);
  InGroup("decodings");
  for (unsigned i = 0; i < kDiDecodingCount; ++i) {
    FormField& field = AddCheck(kDecodingFields[i], kDecodingLabels[i], stored_.decodings[i]);
    field.row = static_cast<int>(i % 7);
    field.column = static_cast<int>(i / 7);
  }
  Opened();
}

bool DIColorPropertiesDlg::Read(DiColorProperties& color, std::string& message) const {
  color = stored_;
  ReadCheck("dithering", color.dithering);
  for (unsigned i = 0; i < kDiDecodingCount; ++i) {
    bool on = color.decodings[i];
    ReadCheck(kDecodingFields[i], on);
    color.decodings[i] = on;
  }
  if (!ReadCode("default-decoding", "Default Color Decoding", 255, color.defaultDecoding, message) ||
      !ReadCode("preferred-decoding", "Preferred Color Decoding", 255, color.preferredDecoding, message)) {
    return false;
  }
  for (unsigned i = 0; i < kDiColorDepthCount; ++i) {
    if (!ReadNumber(kDepths[i].field, kDepths[i].title, 0, 255, color.colorDepths[i], message)) return false;
  }
  return true;
}

std::string DIColorPropertiesDlg::Check() {
  DiColorProperties color;
  std::string message;
  Read(color, message);
  return message;
}

void DIColorPropertiesDlg::Apply() {
  DiColorProperties color;
  std::string message;
  if (Read(color, message)) model_.SetColorProperties(color);
}

}  // namespace velmar
