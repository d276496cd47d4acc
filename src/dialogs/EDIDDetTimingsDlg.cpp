#include "dialogs/EDIDDetTimingsDlg.h"

#include <iterator>
#include <string>
#include <vector>

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

// A number field of the dialog and the record field it edits.
struct NumberField {
  const char* name;
  const char* label;
  uint32_t DetailedTiming::*member;
  uint32_t minimum;
  uint32_t maximum;
  const char* message;
};

// In the order OK checks them.
constexpr NumberField kNumbers[] = {
    {"haddressable", "HAdressable:", &DetailedTiming::hActive, 0, 4095,
     "Invalid HAdressable (Valid range 0 --> 4095)"},
    {"vaddressable", "VAdressable:", &DetailedTiming::vActive, 0, 4095,
     "Invalid VAdressable (Valid range 0 --> 4095)"},
    {"hblank", "HBlank:", &DetailedTiming::hBlank, 0, 4095, "Invalid HBlank (Valid range 0 --> 4095)"},
    {"vblank", "VBlank:", &DetailedTiming::vBlank, 0, 4095, "Invalid VBlank (Valid range 0 --> 4095)"},
    {"hsync-start", "HSync Start:", &DetailedTiming::hSyncOffset, 0, 1023,
     "Invalid HSync Start (Valid range 0 --> 1023)"},
    {"hsync-width", "HSync Width:", &DetailedTiming::hSyncWidth, 0, 1023,
     "Invalid HSync Width (Valid range 0 --> 1023)"},
    {"vsync-start", "VSync Start:", &DetailedTiming::vSyncOffset, 0, 63, "Invalid VSync Start (Valid range 0 --> 63)"},
    {"vsync-width", "VSync Width:", &DetailedTiming::vSyncWidth, 0, 63, "Invalid VSync Width (Valid range 0 --> 63)"},
    {"hborder", "HBorder:", &DetailedTiming::hBorder, 0, 255, "Invalid HBorder (Valid range 0 --> 255)"},
    {"vborder", "VBorder:", &DetailedTiming::vBorder, 0, 255, "Invalid VBorder (Valid range 0 --> 255)"},
    {"himage-size", "HImage Size:", &DetailedTiming::hImageMm, 0, 4095,
     "Invalid HImage Size (Valid range 0 --> 4095)"},
    {"vimage-size", "VImage Size:", &DetailedTiming::vImageMm, 0, 4095,
     "Invalid VImage Size (Valid range 0 --> 4095)"},
    {"pixel-clock", "PixelClock(10KHz):", &DetailedTiming::pixelClock, 1, 65535,
     "Invalid Pixel Clock (Valid range 1 --> 65535)"},
};

// The grid: the horizontal fields on the left, the vertical ones on the right.
constexpr const char* kHorizontal[] = {"haddressable", "hblank", "hsync-start", "hsync-width", "hborder",
                                       "himage-size"};
constexpr const char* kVertical[] = {"vaddressable", "vblank", "vsync-start", "vsync-width", "vborder",
                                     "vimage-size"};

const NumberField& Number(std::string_view name) {
  for (const NumberField& field : kNumbers) {
    if (name == field.name) return field;
  }
  return kNumbers[0];
}

std::vector<std::string> Names(const char* (*name)(uint32_t), uint32_t count) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < count; ++i) names.emplace_back(name(i));
  return names;
}

}  // namespace

EDIDDetTimingsDlg::EDIDDetTimingsDlg(std::string address, DataBlock& model, unsigned index)
    : EditorForm(std::move(address), "EDID Detailed Timing"), model_(model), index_(index) {
  model_.GetDetailedTiming(index_, stored_);
  AddGroup("horizontal", "", 0, 0);
  AddGroup("vertical", "", 0, 1);
  AddGroup("signal", "", 1, 0, 2);
  const auto addNumbers = [this](const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const NumberField& number = Number(names[i]);
      AddEdit(number.name, number.label, Format("%u", stored_.*number.member));
    }
  };
  InGroup("horizontal");
  addNumbers(kHorizontal, std::size(kHorizontal));
  InGroup("vertical");
  addNumbers(kVertical, std::size(kVertical));
  InGroup("signal");
  AddEdit("pixel-clock", Number("pixel-clock").label, Format("%u", stored_.pixelClock));
  AddCheck("interlace", "Interlace:", stored_.interlaced);
  AddList("sync-type", "Sync Signal:", Names(DetailedTiming::SyncTypeName, 4), static_cast<int>(stored_.syncType));
  AddCheck("sync-bit1", "", stored_.syncFlagBit1);
  AddCheck("sync-bit2", "", stored_.syncFlagBit2);
  AddList("stereo", "Stereo 3D Format:", Names(DetailedTiming::StereoChoiceName, 7),
          static_cast<int>(stored_.stereo));
  AddLabel("note", "", "[NOTE] Interlaced timing has vertical sizes divided by 2");
  CaptionSyncBits(stored_.syncType);
  Opened();
}

void EDIDDetTimingsDlg::CaptionSyncBits(uint32_t type) {
  switch (type) {
    case DetailedTiming::kSyncDigitalComposite:
      Field("sync-bit1").label = "Positive HSync polarity:";
      Field("sync-bit2").label = "Need serration setup on VSync:";
      break;
    case DetailedTiming::kSyncDigitalSeparate:
      Field("sync-bit1").label = "Positive HSync polarity:";
      Field("sync-bit2").label = "Positive VSync polarity:";
      break;
    default:
      Field("sync-bit1").label = "Sync on all 3 RGB lines:";
      Field("sync-bit2").label = "Need serration setup on VSync:";
      break;
  }
}

bool EDIDDetTimingsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  if (field.name == "sync-type" && field.selection >= 0) CaptionSyncBits(static_cast<uint32_t>(field.selection));
  return true;
}

bool EDIDDetTimingsDlg::Read(DetailedTiming& timing, std::string& message) const {
  timing = stored_;
  for (const NumberField& number : kNumbers) {
    if (!FieldChanged(number.name)) continue;
    uint32_t value = 0;
    if (!ReadDecimal(Field(number.name).text, value) || value < number.minimum || value > number.maximum) {
      message = number.message;
      return false;
    }
    timing.*number.member = value;
  }
  if (FieldChanged("interlace")) timing.interlaced = Field("interlace").checked;
  if (FieldChanged("sync-type") && Field("sync-type").selection >= 0) {
    timing.syncType = static_cast<uint32_t>(Field("sync-type").selection);
  }
  if (FieldChanged("sync-bit1")) timing.syncFlagBit1 = Field("sync-bit1").checked;
  if (FieldChanged("sync-bit2")) timing.syncFlagBit2 = Field("sync-bit2").checked;
  if (FieldChanged("stereo") && Field("stereo").selection >= 0) {
    timing.stereo = static_cast<uint32_t>(Field("stereo").selection);
  }
  return true;
}

std::string EDIDDetTimingsDlg::Check() {
  DetailedTiming timing;
  std::string message;
  Read(timing, message);
  return message;
}

void EDIDDetTimingsDlg::Apply() {
  DetailedTiming timing;
  std::string message;
  if (Read(timing, message)) model_.SetDetailedTiming(index_, timing);
}

}  // namespace velmar
