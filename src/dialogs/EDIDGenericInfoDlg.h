#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID General Info": the vendor and product section of a base block
// (form "<block>.general").
//
// Fields: name ("ID Manufacturer Name:", three letters A-Z; a letter code the
// alphabet has no letter for shows as a blank), product code and serial
// number (hexadecimal), week and year of manufacture (decimal); version,
// extension count and checksum are read only. OK checks the changed fields
// in the dialog's order: product code 0-0xFFFF, serial number 0-0xFFFFFFFF,
// week 0-53 or 255 (the model-year flag), year 1990-2245, then the name
// (empty keeps the letters, else exactly three upper-case letters).
class EDIDGenericInfoDlg : public EditorForm {
 public:
  EDIDGenericInfoDlg(std::string address, Edid13Block& model);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  // The fields' values once checked.
  bool Read(VendorProductInfo& info, std::string& message) const;

  Edid13Block& model_;
  VendorProductInfo stored_;
};

}  // namespace velmar
