#include "dialogs/EDIDRangeLimitsDlg.h"

#include <string_view>
#include <vector>

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

const std::vector<std::string> kOffsets = {"Rate Offsets are zero", "Max + 255Hz, Min is zero",
                                           "Max + 255Hz, Min + 254Hz"};
// The timing support lists and the record value of each position.
const std::vector<std::string> kSupports13 = {"Range Limits Only", "Secondary GTF supported"};
constexpr uint32_t kSupportValues13[] = {RangeLimits::kSupportNone, RangeLimits::kSupportSecondaryGtf};
const std::vector<std::string> kSupports14 = {"Default GTF supported", "Range Limits Only", "Secondary GTF supported",
                                              "CVT supported"};
constexpr uint32_t kSupportValues14[] = {RangeLimits::kSupportDefaultGtf, RangeLimits::kSupportNone,
                                         RangeLimits::kSupportSecondaryGtf, RangeLimits::kSupportCvt};
const std::vector<std::string> kCvtAspects = {"4x3", "16x9", "16x10", "5x4", "15x9"};
constexpr uint32_t kCvtAspectValues[] = {kAspect4x3, kAspect16x9, kAspect16x10, kAspect5x4, kAspect15x9};
// Every rate offset adds this much to the stored rate.
constexpr uint32_t kRateOffset = 255;

// A decimal field, its range, its record member and its message.
struct NumberField {
  const char* name;
  uint32_t minimum;
  uint32_t maximum;
  uint32_t RangeLimits::*member;
  const char* message;
};

constexpr NumberField kRates[] = {
    {"hrate-min", 1, 254, &RangeLimits::minHRate, "Invalid Horizontal Min Rate (Valid range 1KHz --> 254KHz)"},
    {"hrate-max", 2, 255, &RangeLimits::maxHRate, "Invalid Horizontal Min Rate (Valid range 2KHz --> 255KHz)"},
    {"vrate-min", 1, 254, &RangeLimits::minVRate, "Invalid Vertical Min Rate (Valid range 1KHz --> 254Hz)"},
    {"vrate-max", 2, 255, &RangeLimits::maxVRate, "Invalid Vertical Min Rate (Valid range 2KHz --> 255Hz)"},
};
constexpr NumberField kClock = {"max-clock", 10, 2550, &RangeLimits::maxPixelClockMHz,
                                "Invalid Max Pixel Clock (Valid range 10MHz --> 2550MHz)"};
// The start frequency is stored in steps of 2 kHz, so a byte holds 0-510.
constexpr NumberField kGtf[] = {
    {"gtf-start", 0, 510, &RangeLimits::gtfStartFreqKHz, "Invalid GTF start break frequency (Valid range 0 --> 510)"},
    {"gtf-c", 0, 127, &RangeLimits::gtfC, "Invalid GTF C parameter (Valid range 0 --> 127)"},
    {"gtf-m", 0, 65535, &RangeLimits::gtfM, "Invalid GTF M parameter (Valid range 0 --> 65535)"},
    {"gtf-k", 0, 255, &RangeLimits::gtfK, "Invalid GTF K parameter (Valid range 0 --> 255)"},
    {"gtf-j", 0, 127, &RangeLimits::gtfJ, "Invalid GTF J parameter (Valid range 0 --> 127)"},
};
// The maximum line length is a 10-bit field.
constexpr NumberField kCvtLineLength = {"cvt-max-line-length", 0, 1023, &RangeLimits::cvtMaxLineLength,
                                        "Invalid CVT Max line length (Valid range 0 --> 1023)"};
constexpr NumberField kCvtPrecision = {"cvt-clock-precision", 0, 15860, &RangeLimits::cvtClockPrecisionKHz,
                                       "Invalid CVT Pixel Clock precision (Valid range 0KHz --> 15860KHz)"};
constexpr NumberField kCvtRate = {"cvt-preferred-rate", 0, 255, &RangeLimits::cvtPreferredRate,
                                  "Invalid CVT Max Vertical Rate (Valid range 0Hz --> 255Hz)"};

constexpr struct {
  const char* name;
  const char* label;
  bool RangeLimits::*member;
} kCvtFlags[] = {
    {"cvt-standard-blanking", "CVT Standard Blanking:", &RangeLimits::cvtStandardBlanking},
    {"cvt-reduced-blanking", "CVT Reduced Blanking:", &RangeLimits::cvtReducedBlanking},
    {"cvt-hshrink", "CVT Horizontal Shrink:", &RangeLimits::cvtHShrink},
    {"cvt-vshrink", "CVT Vertical Shrink:", &RangeLimits::cvtVShrink},
    {"cvt-hstretch", "CVT Horizontal Stretch:", &RangeLimits::cvtHStretch},
    {"cvt-vstretch", "CVT Vertical Stretch:", &RangeLimits::cvtVStretch},
    {"cvt-aspect-4x3", "4x3", &RangeLimits::cvtAspect4x3},
    {"cvt-aspect-16x9", "16x9", &RangeLimits::cvtAspect16x9},
    {"cvt-aspect-16x10", "16x10", &RangeLimits::cvtAspect16x10},
    {"cvt-aspect-5x4", "5x4", &RangeLimits::cvtAspect5x4},
    {"cvt-aspect-15x9", "15x9", &RangeLimits::cvtAspect15x9},
};

template <typename T, size_t N>
int PositionOf(const T (&values)[N], uint32_t value) {
  for (size_t i = 0; i < N; ++i) {
    if (values[i] == value) return static_cast<int>(i);
  }
  return -1;
}

// The rate the stored one stands for once its offset is applied.
uint32_t MinimumRate(uint32_t stored, uint32_t offsetMode) { return stored + (offsetMode == 2 ? kRateOffset : 0); }
uint32_t MaximumRate(uint32_t stored, uint32_t offsetMode) { return stored + (offsetMode >= 1 ? kRateOffset : 0); }

}  // namespace

EDIDRangeLimitsDlg::EDIDRangeLimitsDlg(std::string address, Edid13Block& model, unsigned slot, bool is14)
    : EditorForm(std::move(address), "EDID Range Limits Descriptor"), model_(model), slot_(slot), is14_(is14) {
  model_.GetRangeLimits(slot_, stored_);
  const RangeLimits& r = stored_;
  const auto number = [this](const NumberField& field, const char* label) -> FormField& {
    return AddEdit(field.name, label, Format("%u", stored_.*field.member));
  };

  AddGroup("rates", "", 0, 0, 2);
  AddGroup("gtf", "", 1, 0);
  if (is14_) AddGroup("cvt", "", 1, 1);

  InGroup("rates");
  AddList("hrate-offset", "HRate Offsets:", kOffsets, static_cast<int>(r.hOffsetMode < 3 ? r.hOffsetMode : 0));
  AddList("vrate-offset", "VRate Offsets:", kOffsets, static_cast<int>(r.vOffsetMode < 3 ? r.vOffsetMode : 0));
  // Minimum and maximum side by side.
  for (unsigned i = 0; i < 4; ++i) {
    FormField& field = number(kRates[i], i == 0 ? "HRate Range (KHz):" : i == 2 ? "VRate Range (Hz):" : "");
    field.row = 2 + static_cast<int>(i / 2);
    field.column = static_cast<int>(i % 2);
  }
  number(kClock, "Max Clock (MHz):").row = 4;
  FormField& support = is14_ ? AddList("timing-support", "Timing Support:", kSupports14,
                                       PositionOf(kSupportValues14, r.timingSupport))
                             : AddList("timing-support", "Timing Support:", kSupports13,
                                       PositionOf(kSupportValues13, r.timingSupport));
  support.row = 5;

  InGroup("gtf");
  number(kGtf[1], "GTF C Parameter:");
  number(kGtf[2], "GTF M Parameter:");
  number(kGtf[3], "GTF K Parameter:");
  number(kGtf[4], "GTF J Parameter:");
  number(kGtf[0], "GTF Start HRate:");

  if (is14_) {
    InGroup("cvt");
    number(kCvtLineLength, "CVT Max Line Length (pixels):");
    AddList("cvt-preferred-aspect", "CVT Preferred Aspect Ratio:", kCvtAspects,
            PositionOf(kCvtAspectValues, r.cvtPreferredAspect));
    number(kCvtPrecision, "CVT Max Clock precision (KHz):");
    number(kCvtRate, "CVT Preferred VRate (Hz):");
    for (const auto& flag : kCvtFlags) AddCheck(flag.name, flag.label, r.*flag.member);
  }
  EnableFields();
  Opened();
}

uint32_t EDIDRangeLimitsDlg::Support() const {
  const int position = Field("timing-support").selection;
  if (position < 0) return stored_.timingSupport;
  return is14_ ? kSupportValues14[position] : kSupportValues13[position];
}

void EDIDRangeLimitsDlg::EnableFields() {
  Field("hrate-offset").enabled = is14_;
  Field("vrate-offset").enabled = is14_;
  const uint32_t support = Support();
  for (const NumberField& field : kGtf) Field(field.name).enabled = support == RangeLimits::kSupportSecondaryGtf;
  if (!is14_) return;
  const bool cvt = support == RangeLimits::kSupportCvt;
  for (const NumberField* field : {&kCvtLineLength, &kCvtPrecision, &kCvtRate}) Field(field->name).enabled = cvt;
  Field("cvt-preferred-aspect").enabled = cvt;
  for (const auto& flag : kCvtFlags) Field(flag.name).enabled = cvt;
}

bool EDIDRangeLimitsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)field, (void)before;
  EnableFields();
  return true;
}

bool EDIDRangeLimitsDlg::Read(RangeLimits& limits, std::string& message) const {
  RangeLimits r = stored_;
  // Reads a decimal field when `force` or when it changed.
  const auto readNumber = [&](const NumberField& field, bool force) {
    if (!force && !FieldChanged(field.name)) return true;
    uint32_t value = 0;
    if (!ReadDecimal(Field(field.name).text, value) || value < field.minimum || value > field.maximum) {
      message = field.message;
      return false;
    }
    r.*field.member = value;
    return true;
  };

  const bool hOffsetChanged = is14_ && FieldChanged("hrate-offset");
  const bool vOffsetChanged = is14_ && FieldChanged("vrate-offset");
  if (hOffsetChanged) {
    if (Field("hrate-offset").selection < 0) {
      message = "Invalid Horizontal Rate offset";
      return false;
    }
    r.hOffsetMode = static_cast<uint32_t>(Field("hrate-offset").selection);
  }
  if (vOffsetChanged) {
    if (Field("vrate-offset").selection < 0) {
      message = "Invalid Vertical Rate offset";
      return false;
    }
    r.vOffsetMode = static_cast<uint32_t>(Field("vrate-offset").selection);
  }
  const bool supportChanged = FieldChanged("timing-support");
  if (supportChanged) {
    if (Field("timing-support").selection < 0) {
      message = "Invalid Video Timing Support";
      return false;
    }
    r.timingSupport = Support();
  }

  for (const NumberField& rate : kRates) {
    if (!readNumber(rate, false)) return false;
  }
  if ((hOffsetChanged || FieldChanged("hrate-min") || FieldChanged("hrate-max")) &&
      MinimumRate(r.minHRate, r.hOffsetMode) > MaximumRate(r.maxHRate, r.hOffsetMode)) {
    message = "Invalid Horizontal Rates (Min Rate should be lees then Max Rate)";
    return false;
  }
  if ((vOffsetChanged || FieldChanged("vrate-min") || FieldChanged("vrate-max")) &&
      MinimumRate(r.minVRate, r.vOffsetMode) > MaximumRate(r.maxVRate, r.vOffsetMode)) {
    message = "Invalid Vertical Rates (Min Rate should be lees then Max Rate)";
    return false;
  }
  if (!readNumber(kClock, false)) return false;

  if (r.timingSupport == RangeLimits::kSupportSecondaryGtf) {
    for (const NumberField& field : kGtf) {
      if (!readNumber(field, supportChanged)) return false;
    }
  }
  if (is14_ && r.timingSupport == RangeLimits::kSupportCvt) {
    if (!readNumber(kCvtLineLength, supportChanged) || !readNumber(kCvtPrecision, supportChanged)) return false;
    if ((supportChanged || FieldChanged(kCvtPrecision.name) || FieldChanged(kClock.name)) &&
        r.cvtClockPrecisionKHz >= r.maxPixelClockMHz * 1000) {
      message = "Invalid CVT Pixel Clock precision (Shoudl be less then Max Pixel Clock)";
      return false;
    }
    if (!readNumber(kCvtRate, supportChanged)) return false;
    // The descriptor's CVT bytes are written whole, so a preferred aspect the
    // list cannot name must be chosen anew rather than silently replaced.
    const int aspect = Field("cvt-preferred-aspect").selection;
    if (aspect < 0) {
      message = "Invalid CVT Preferred Aspect Ratio";
      return false;
    }
    r.cvtPreferredAspect = kCvtAspectValues[aspect];
    for (const auto& flag : kCvtFlags) {
      if (supportChanged || FieldChanged(flag.name)) r.*flag.member = Field(flag.name).checked;
    }
  }
  limits = r;
  return true;
}

std::string EDIDRangeLimitsDlg::Check() {
  RangeLimits limits;
  std::string message;
  Read(limits, message);
  return message;
}

void EDIDRangeLimitsDlg::Apply() {
  RangeLimits limits;
  std::string message;
  if (Read(limits, message)) model_.SetRangeLimits(slot_, limits);
}

}  // namespace velmar
