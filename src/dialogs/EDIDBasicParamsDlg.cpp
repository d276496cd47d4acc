#include "dialogs/EDIDBasicParamsDlg.h"

#include <vector>

#include "dialogs/FormValues.h"
#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

const std::vector<std::string> kInputs = {"Analog Signal", "Digital Signal"};
const std::vector<std::string> kSignalLevels = {"0.700:0.300:1.000", "0.714:0.286:1.000", "1.000:0.400:1.400",
                                                "0.700:0.000:0.700"};
const std::vector<std::string> kColorDepths = {"Undefined",         "6 Bits per Color",  "8 Bits per Color",
                                               "10 Bits per Color", "12 Bits per Color", "14 Bits per Color",
                                               "16 Bits per Color"};
const std::vector<std::string> kInterfaces = {"Undefined", "DVI", "HDMI-a", "HDMI-b", "MDDI", "DisplayPort"};
// Display types 0-3, and the colour encodings 4-7 of a digital 1.4 input.
const std::vector<std::string> kColorTypes = {"MonoChrome", "RGB", "Non-RGB", "Undefined"};
const std::vector<std::string> kColorEncodings = {"RGB4:4:4", "RGB4:4:4 & YCbCr4:4:4", "RGB4:4:4 & YCbCr4:2:2",
                                                  "RGB4:4:4 & YCbCr"};
const std::vector<std::string> kAspectRatios = {"Landscape 16x9", "Landscape 16x10", "Landscape 4x3",
                                                "Landscape 5x4",  "Portrait 9x16",   "Portrait 10x16",
                                                "Portrait 3x4",   "Portrait 4x5"};

// The positions of the screen size list.
constexpr int kProjector = 0;
constexpr int kSizeInCm = 1;
constexpr int kAspectRatio = 2;

// The analog sync flags: field, caption, record member.
constexpr struct {
  const char* name;
  const char* label;
  bool BasicParams::*member;
} kSyncFlags[] = {
    {"blank-to-black", "Blank-to-Black Setup:", &BasicParams::blankToBlack},
    {"separate-sync", "Separate Sync H & V Signals:", &BasicParams::separateSync},
    {"composite-sync", "Composite Sync on Horizontal:", &BasicParams::compositeSyncOnH},
    {"sync-on-green", "Composite Sync on Green Video:", &BasicParams::syncOnGreen},
    {"serration", "Serration on the Vertical Sync:", &BasicParams::serrationOnVSync},
};

int Selection(uint32_t value, size_t count) { return value < count ? static_cast<int>(value) : -1; }

}  // namespace

EDIDBasicParamsDlg::EDIDBasicParamsDlg(std::string address, Edid13Block& model, bool is14)
    : EditorForm(std::move(address), "EDID Basic Parameters"), model_(model), is14_(is14) {
  model_.GetBasicParams(stored_);
  const BasicParams& p = stored_;
  const bool encodings = is14_ && p.digital;

  AddGroup("input", "", 0, 0);
  AddGroup("display", "", 0, 1);
  AddGroup("features", "", 1, 0, 2);

  InGroup("input");
  AddList("input", "", kInputs, p.digital ? 1 : 0);
  AddList("signal-level", "Signal Level:", kSignalLevels, static_cast<int>(p.signalLevel & 0x03));
  for (const auto& flag : kSyncFlags) AddCheck(flag.name, flag.label, p.*flag.member);
  if (is14_) {
    AddList("color-depth", "Color Depth:", kColorDepths, Selection(p.colorDepth, kColorDepths.size()));
    AddList("interface", "Interface Standard:", kInterfaces, Selection(p.digitalInterface, kInterfaces.size()));
  }

  InGroup("display");
  AddCheck("gamma-defined", "Gamma defined", p.gammaDefined);
  AddEdit("gamma", "Gamma:", p.gammaDefined ? GammaText(p.gamma) : "");
  AddList("color-type", "Color Type:", encodings ? kColorEncodings : kColorTypes,
          Selection(encodings ? p.displayType - 4 : p.displayType, 4));
  std::vector<std::string> sizes = {"Projector", "HSize(cm)"};
  if (is14_) sizes.emplace_back("Aspect Ratio");
  const int sizeChoice = p.sizeMode == BasicParams::kSizeUndefined ? kProjector
                         : p.sizeMode == BasicParams::kSizeInCm    ? kSizeInCm
                                                                   : kAspectRatio;
  AddList("size-mode", "", sizes, sizeChoice);
  AddEdit("hsize", "HSize(cm)", Format("%u", p.hSizeCm));
  AddEdit("vsize", "VSize(cm)", Format("%u", p.vSizeCm));
  if (is14_) {
    AddList("aspect-ratio", "Aspect Ratio", kAspectRatios,
            sizeChoice == kAspectRatio ? Selection(p.sizeMode - BasicParams::kLandscape16x9, 8) : -1);
  }

  InGroup("features");
  AddCheck("standby", "Standby:", p.standby);
  AddCheck("suspend", "Suspend:", p.suspend);
  AddCheck("low-power", "Low Power:", p.activeOff);
  AddCheck("srgb-default", "sRGB Default CSC:", p.srgbDefault);
  if (is14_) {
    AddCheck("preferred-timing", "Preferred pixel format and rate:", p.preferredTimingNative);
    AddCheck("continuous-frequency", "Continuous frequency:", p.continuousFrequency);
  } else {
    AddCheck("preferred-timing", "First detailed timing is preferred:", p.preferredTimingNative);
    AddCheck("default-gtf", "GTF standard with default vlaues:", p.defaultGtf);
  }
  EnableFields();
  Opened();
}

bool EDIDBasicParamsDlg::Digital() const { return Field("input").selection == 1; }

void EDIDBasicParamsDlg::EnableFields() {
  const bool digital = Digital();
  Field("signal-level").enabled = !digital;
  for (const auto& flag : kSyncFlags) Field(flag.name).enabled = !digital;
  if (is14_) {
    Field("color-depth").enabled = digital;
    Field("interface").enabled = digital;
  }
  Field("gamma").enabled = Field("gamma-defined").checked;
  const int size = Field("size-mode").selection;
  Field("hsize").enabled = size == kSizeInCm;
  Field("vsize").enabled = size == kSizeInCm;
  if (is14_) Field("aspect-ratio").enabled = size == kAspectRatio;
}

bool EDIDBasicParamsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  if (field.name == "input" && is14_) {
    // The same two bits of byte 24 name the colour type of an analog input
    // and the colour encodings of a digital one.
    Field("color-type").items = Digital() ? kColorEncodings : kColorTypes;
  }
  EnableFields();
  return true;
}

bool EDIDBasicParamsDlg::Read(BasicParams& params, std::string& message) const {
  BasicParams p = stored_;
  const bool inputChanged = FieldChanged("input");
  if (inputChanged && Field("input").selection >= 0) p.digital = Digital();

  // Screen size.
  const bool sizeChanged = FieldChanged("size-mode");
  const int size = Field("size-mode").selection;
  if (size == kProjector && sizeChanged) p.sizeMode = BasicParams::kSizeUndefined;
  if (size == kSizeInCm) {
    if (sizeChanged || FieldChanged("hsize")) {
      if (!ReadDecimal(Field("hsize").text, p.hSizeCm) || p.hSizeCm > 255) {
        message = "Invalid [Screen HSize(cm)] value (Valid range 0 --> 255)";
        return false;
      }
    }
    if (sizeChanged || FieldChanged("vsize")) {
      if (!ReadDecimal(Field("vsize").text, p.vSizeCm) || p.vSizeCm > 255) {
        message = "Invalid [Screen VSize(cm)] value (Valid range 0 --> 255)";
        return false;
      }
    }
    p.sizeMode = BasicParams::kSizeInCm;
  }
  if (size == kAspectRatio && is14_ && (sizeChanged || FieldChanged("aspect-ratio"))) {
    const int aspect = Field("aspect-ratio").selection;
    if (aspect < 0) {
      message = "Invalid [Aspect Ratio] value";
      return false;
    }
    p.sizeMode = BasicParams::kLandscape16x9 + static_cast<uint32_t>(aspect);
  }

  const bool gammaDefinedChanged = FieldChanged("gamma-defined");
  if (gammaDefinedChanged) p.gammaDefined = Field("gamma-defined").checked;
  if (p.gammaDefined && (gammaDefinedChanged || FieldChanged("gamma")) && !ReadGamma(Field("gamma").text, p.gamma)) {
    message = "Invalid [Gamma] value (Valid range 1.0 --> 3.54)";
    return false;
  }

  const bool encodings = is14_ && p.digital;
  if (FieldChanged("color-type")) {
    const int type = Field("color-type").selection;
    if (type < 0) {
      message = "Invalid [Color Type] value";
      return false;
    }
    p.displayType = static_cast<uint32_t>(type) + (encodings ? 4 : 0);
  }
  if (encodings) {
    if (inputChanged || FieldChanged("color-depth")) {
      const int depth = Field("color-depth").selection;
      if (depth < 0) {
        message = "Invalid [Color Depth] value";
        return false;
      }
      p.colorDepth = static_cast<uint32_t>(depth);
    }
    if (inputChanged || FieldChanged("interface")) {
      const int standard = Field("interface").selection;
      if (standard < 0) {
        message = "Invalid [Interface Standard] value";
        return false;
      }
      p.digitalInterface = static_cast<uint32_t>(standard);
    }
  }
  if (!p.digital) {
    if (inputChanged || FieldChanged("signal-level")) {
      const int level = Field("signal-level").selection;
      if (level < 0) {
        message = "Invalid [Signal Level] value";
        return false;
      }
      p.signalLevel = static_cast<uint32_t>(level);
    }
    for (const auto& flag : kSyncFlags) {
      if (inputChanged || FieldChanged(flag.name)) p.*flag.member = Field(flag.name).checked;
    }
  }

  const auto readCheck = [this](const char* name, bool& value) {
    if (FieldChanged(name)) value = Field(name).checked;
  };
  readCheck("standby", p.standby);
  readCheck("suspend", p.suspend);
  readCheck("low-power", p.activeOff);
  readCheck("srgb-default", p.srgbDefault);
  readCheck("preferred-timing", p.preferredTimingNative);
  if (is14_) {
    readCheck("continuous-frequency", p.continuousFrequency);
  } else {
    readCheck("default-gtf", p.defaultGtf);
  }
  params = p;
  return true;
}

std::string EDIDBasicParamsDlg::Check() {
  BasicParams params;
  std::string message;
  Read(params, message);
  return message;
}

void EDIDBasicParamsDlg::Apply() {
  BasicParams params;
  std::string message;
  if (Read(params, message)) model_.SetBasicParams(params);
}

}  // namespace velmar
