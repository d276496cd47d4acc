#include "dialogs/EDIDGenericInfoDlg.h"

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr int32_t kFirstYear = 1990;
constexpr int32_t kLastYear = kFirstYear + 255;
constexpr uint32_t kModelYearWeek = 255;

std::string Letters(const VendorProductInfo& info) {
  std::string letters;
  for (uint32_t code : {info.letter1, info.letter2, info.letter3}) {
    if (code < 1 || code > 26) return {};
    letters += static_cast<char>('A' + code - 1);
  }
  return letters;
}

}  // namespace

EDIDGenericInfoDlg::EDIDGenericInfoDlg(std::string address, Edid13Block& model)
    : EditorForm(std::move(address), "EDID General Info"), model_(model) {
  model_.GetVendorProduct(stored_);
  const unsigned version = model_.GetVersion();
  AddLabel("version", "Version and Revision:", Format("%u.%u", version / 256, version % 256));
  AddEdit("manufacturer", "ID Manufacturer Name:", Letters(stored_));
  AddEdit("product-code", "ID Product Code:", WriteHex(4, stored_.productCode, true));
  AddEdit("serial-number", "ID Serial Number:", WriteHex(8, stored_.serialNumber, true));
  AddEdit("week", "Week of Manufacture:", Format("%u", stored_.week));
  AddEdit("year", "Year of Manufacture:", Format("%d", stored_.year));
  AddLabel("extensions", "Number of extension blocks:", Format("%u", model_.GetExtensionCount()));
  AddLabel("checksum", "Checksum:", WriteHex(2, model_.GetChecksum(), true));
  Opened();
}

bool EDIDGenericInfoDlg::Read(VendorProductInfo& info, std::string& message) const {
  info = stored_;
  if (FieldChanged("product-code")) {
    uint32_t code = 0;
    if (!ReadHex(Field("product-code").text, code) || code > 0xFFFF) {
      message = "Invalid [ID Product Code] value";
      return false;
    }
    info.productCode = code;
  }
  if (FieldChanged("serial-number")) {
    uint32_t serial = 0;
    if (!ReadHex(Field("serial-number").text, serial)) {
      message = "Invalid [ID Serial Number] value";
      return false;
    }
    info.serialNumber = serial;
  }
  if (FieldChanged("week")) {
    uint32_t week = 0;
    if (!ReadDecimal(Field("week").text, week) || (week > 53 && week != kModelYearWeek)) {
      message = "Invalid [Week of Manufacture] value";
      return false;
    }
    info.week = week;
  }
  if (FieldChanged("year")) {
    int32_t year = 0;
    if (!ReadSignedDecimal(Field("year").text, year) || year < kFirstYear || year > kLastYear) {
      message = "Invalid [Year of Manufacture] value";
      return false;
    }
    info.year = year;
  }
  if (FieldChanged("manufacturer")) {
    const std::string& name = Field("manufacturer").text;
    if (!name.empty()) {
      if (name.size() != 3) {
        message = "Invalid [ID Manufacturer Name] value";
        return false;
      }
      for (char c : name) {
        if (c < 'A' || c > 'Z') {
          message = "Invalid [ID Manufacturer Name] value";
          return false;
        }
      }
      info.letter1 = static_cast<uint32_t>(name[0] - 64);
      info.letter2 = static_cast<uint32_t>(name[1] - 64);
      info.letter3 = static_cast<uint32_t>(name[2] - 64);
    }
  }
  return true;
}

std::string EDIDGenericInfoDlg::Check() {
  VendorProductInfo info;
  std::string message;
  Read(info, message);
  return message;
}

void EDIDGenericInfoDlg::Apply() {
  VendorProductInfo info;
  std::string message;
  if (Read(info, message)) model_.SetVendorProduct(info);
}

}  // namespace velmar
