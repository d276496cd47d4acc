#include "dialogs/DIGenericInfoDlg.h"

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kFirstYear = 1990;
constexpr unsigned kLastYear = kFirstYear + 255;

const std::vector<std::string> kInterfaces = {
    "Analog Video Input",
    "Digital Video Input",
    "DVI - Single Link",
    "DVI - Dual Link - High Resolution",
    "DVI - Dual Link - High Color",
    "DVI - Consumer Electronics",
    "Plug & Display",
    "Digital Flat Panel (DFP)",
    "Open LDI - Single Link",
    "Open LDI - Dual Link",
    "Open LDI - Consumer Electronics",
};

const std::vector<std::string> kReleaseKinds = {"Not Present", "Version/Release/Revision", "Letter Designation",
                                                "Date Code"};

// The fields of each release kind (kind 0 has none).
const std::vector<std::string> kKindFields[4] = {
    {},
    {"version", "version-hundredths", "revision", "revision-hundredths"},
    {"letter"},
    {"year", "month", "day"},
};

bool IsLetter(uint8_t c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

DIGenericInfoDlg::DIGenericInfoDlg(std::string address, DiExtBlock& model)
    : DiSectionForm(std::move(address), "DI Extension General Info", model) {
  model_.GetGeneralInfo(stored_);
  // The fields of kinds other than the stored one show what zero bytes mean.
  const unsigned kind = stored_.releaseKind;
  AddLabel("major-version", "Major Version:", Format("%u", stored_.version));
  AddCodeList("interface", "Interface Standard:", kInterfaces, stored_.interfaceStandard);
  AddCodeList("release", "Release Information:", kReleaseKinds, kind);

  AddGroup("numbers", "Version/Release/Revision", 0, 0);
  InGroup("numbers");
  AddEdit("version", "Version:", Format("%u", stored_.versionInteger));
  FormField& versionHundredths = AddEdit("version-hundredths", "Hundredths:", Format("%u", stored_.versionHundredths));
  versionHundredths.row = 0;
  versionHundredths.column = 1;
  AddEdit("revision", "Revision:", Format("%u", stored_.revisionInteger));
  FormField& revisionHundredths =
      AddEdit("revision-hundredths", "Hundredths:", Format("%u", stored_.revisionHundredths));
  revisionHundredths.row = 1;
  revisionHundredths.column = 1;

  AddGroup("designation", "Letter Designation", 1, 0);
  InGroup("designation");
  AddEdit("letter", "ASCII Letter:", kind == 2 && stored_.letter > ' ' && stored_.letter < 0x7F
                                         ? std::string(1, static_cast<char>(stored_.letter))
                                         : std::string());

  AddGroup("date", "Date Code", 2, 0);
  InGroup("date");
  AddEdit("year", "Year:", Format("%u", kind == 3 ? stored_.year : kFirstYear));
  AddEdit("month", "Month:", Format("%u", stored_.month));
  AddEdit("day", "Day:", Format("%u", stored_.day));

  InGroup("");
  AddLabel("checksum", "Checksum:", WriteHex(2, stored_.checksum, true));
  EnableReleaseFields();
  Opened();
}

void DIGenericInfoDlg::EnableReleaseFields() {
  const int chosen = Field("release").selection;
  for (int kind = 1; kind < 4; ++kind) {
    for (const std::string& name : kKindFields[kind]) Field(name).enabled = kind == chosen;
  }
}

bool DIGenericInfoDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  if (field.name == "release") EnableReleaseFields();
  return true;
}

bool DIGenericInfoDlg::Read(DiGeneralInfo& info, std::string& message) const {
  info = stored_;
  if (!ReadCode("interface", "Interface Standard", 255, info.interfaceStandard, message)) return false;
  if (!ReadCode("release", "Release Information", 3, info.releaseKind, message)) return false;
  // A kind chosen anew takes all its fields as they show now.
  const bool force = FieldChanged("release");
  switch (info.releaseKind) {
    case 1:
      if (!ReadNumber("version", "Version", 0, 63, info.versionInteger, message, force) ||
          !ReadNumber("version-hundredths", "Version Hundredths", 0, 99, info.versionHundredths, message, force) ||
          !ReadNumber("revision", "Revision", 0, 255, info.revisionInteger, message, force) ||
          !ReadNumber("revision-hundredths", "Revision Hundredths", 0, 99, info.revisionHundredths, message,
                      force)) {
        return false;
      }
      // The same numbers in both forms, so that the bytes are written as given.
      info.versionNumber = info.versionInteger + info.versionHundredths / 100.0;
      info.revisionNumber = info.revisionInteger + info.revisionHundredths / 100.0;
      break;
    case 2:
      if (force || FieldChanged("letter")) {
        const std::string& text = Field("letter").text;
        if (text.size() != 1 || !IsLetter(static_cast<uint8_t>(text[0]))) {
          message = "Invalid ASCII Letter (Valid Range A --> Z)";
          return false;
        }
        info.letter = static_cast<uint8_t>(text[0]);
      }
      break;
    case 3: {
      if (!ReadNumber("year", "Year", kFirstYear, kLastYear, info.year, message, force)) return false;
      // 0 stands for an unspecified month or day.
      unsigned month = info.month;
      if (!ReadNumber("month", "Month", 0, 12, month, message, force)) {
        message = RangeMessage("Month", 1, 12);
        return false;
      }
      unsigned day = info.day;
      if (!ReadNumber("day", "Day", 0, 31, day, message, force)) {
        message = RangeMessage("Day", 1, 31);
        return false;
      }
      info.month = month;
      info.day = day;
      break;
    }
    default:
      break;
  }
  return true;
}

std::string DIGenericInfoDlg::Check() {
  DiGeneralInfo info;
  std::string message;
  Read(info, message);
  return message;
}

void DIGenericInfoDlg::Apply() {
  DiGeneralInfo info;
  std::string message;
  if (Read(info, message)) model_.SetGeneralInfo(info);
}

}  // namespace velmar
