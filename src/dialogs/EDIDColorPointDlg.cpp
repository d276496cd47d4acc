#include "dialogs/EDIDColorPointDlg.h"

#include "dialogs/FormValues.h"
#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

// One white point of the record.
struct Entry {
  uint32_t ColorPoint::*index;
  uint32_t ColorPoint::*x;
  uint32_t ColorPoint::*y;
  bool ColorPoint::*gammaDefined;
  double ColorPoint::*gamma;
};

constexpr Entry kEntries[2] = {
    {&ColorPoint::whiteIndex1, &ColorPoint::whiteX1, &ColorPoint::whiteY1, &ColorPoint::gamma1Defined,
     &ColorPoint::gamma1},
    {&ColorPoint::whiteIndex2, &ColorPoint::whiteX2, &ColorPoint::whiteY2, &ColorPoint::gamma2Defined,
     &ColorPoint::gamma2},
};

std::string Name(const char* field, unsigned entry) { return Format("%s[%u]", field, entry); }

}  // namespace

EDIDColorPointDlg::EDIDColorPointDlg(std::string address, Edid13Block& model, unsigned slot)
    : EditorForm(std::move(address), "EDID Color Point Descriptor"), model_(model), slot_(slot) {
  model_.GetColorPoint(slot_, stored_);
  for (unsigned i = 0; i < 2; ++i) {
    const Entry& e = kEntries[i];
    const std::string group = Format("entry%u", i);
    AddGroup(group, Format("Entry[%u]", i), 0, static_cast<int>(i));
    InGroup(group);
    AddEdit(Name("index", i), "White Point Index:", Format("%u", stored_.*e.index));
    AddEdit(Name("white-x", i), "White X:", ChromaticityText(stored_.*e.x));
    AddEdit(Name("white-y", i), "White Y:", ChromaticityText(stored_.*e.y));
    AddCheck(Name("gamma-defined", i), "Gamma defined", stored_.*e.gammaDefined);
    AddEdit(Name("gamma", i), "Gamma:", stored_.*e.gammaDefined ? GammaText(stored_.*e.gamma) : "");
    EnableEntry(i);
  }
  Opened();
}

void EDIDColorPointDlg::EnableEntry(unsigned entry) {
  Field(Name("gamma", entry)).enabled = Field(Name("gamma-defined", entry)).checked;
}

bool EDIDColorPointDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  for (unsigned i = 0; i < 2; ++i) {
    if (field.name == Name("gamma-defined", i)) EnableEntry(i);
  }
  return true;
}

bool EDIDColorPointDlg::Read(ColorPoint& point, std::string& message) const {
  point = stored_;
  for (unsigned i = 0; i < 2; ++i) {
    const Entry& e = kEntries[i];
    const bool indexChanged = FieldChanged(Name("index", i));
    if (indexChanged) {
      uint32_t index = 0;
      if (!ReadDecimal(Field(Name("index", i)).text, index) || index > 255) {
        message = Format("Entry[%u]: Invalid White Point Index (Valid Range 0 --> 255)", i);
        return false;
      }
      point.*e.index = index;
    }
    // A point without an index has no coordinates; one that gets an index
    // takes them from its fields.
    const bool indexAppeared = indexChanged && stored_.*e.index == 0;
    if (point.*e.index != 0 && (indexAppeared || FieldChanged(Name("white-x", i))) &&
        !ReadChromaticity(Field(Name("white-x", i)).text, point.*e.x)) {
      message = Format("Entry[%u]: Invalid WhiteX (Valid Range 0 --> 1 excluding 0 and 1)", i);
      return false;
    }
    if (point.*e.index != 0 && (indexAppeared || FieldChanged(Name("white-y", i))) &&
        !ReadChromaticity(Field(Name("white-y", i)).text, point.*e.y)) {
      message = Format("Entry[%u]: Invalid WhiteY (Valid Range 0 --> 1 excluding 0 and 1)", i);
      return false;
    }
    const bool definedChanged = FieldChanged(Name("gamma-defined", i));
    if (definedChanged) point.*e.gammaDefined = Field(Name("gamma-defined", i)).checked;
    if (point.*e.gammaDefined && (definedChanged || FieldChanged(Name("gamma", i))) &&
        !ReadGamma(Field(Name("gamma", i)).text, point.*e.gamma)) {
      message = Format("Entry[%u]: Invalid Gamma (Valid Range 1.0 --> 3.54)", i);
      return false;
    }
  }
  return true;
}

std::string EDIDColorPointDlg::Check() {
  ColorPoint point;
  std::string message;
  Read(point, message);
  return message;
}

void EDIDColorPointDlg::Apply() {
  ColorPoint point;
  std::string message;
  if (Read(point, message)) model_.SetColorPoint(slot_, point);
}

}  // namespace velmar
