#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/EditorForm.h"

namespace velmar {

class DiExtBlock;

// What the six DI-EXT section forms share: lists of codes that keep a stored
// code they cannot name, decimal fields checked against the range their bytes
// hold, and the message of a bad field, "Invalid <title> (Valid Range <lowest>
// --> <highest>)".
//
// The readers take the value the record was read with and overwrite it only
// when the field changed since opening (or when `force` is set): a field the
// user left alone keeps its stored value exactly.
class DiSectionForm : public EditorForm {
 protected:
  DiSectionForm(std::string address, std::string caption, DiExtBlock& model);

  // A list of the codes 0 .. names.size() - 1, one name each. A stored code
  // beyond them adds the item "Unknown (0x%02X)" (with `shownCode` when it is
  // not negative, else with `stored`) and selects it; choosing it keeps the
  // stored code.
  FormField& AddCodeList(std::string name, std::string label, std::vector<std::string> names, unsigned stored,
                         int shownCode = -1);

  // The code chosen in a list of AddCodeList; the unknown item leaves `value`
  // alone. No choice fails with the message of the range 0 .. `highest`.
  bool ReadCode(std::string_view name, const char* title, unsigned highest, unsigned& value, std::string& message,
                bool force = false) const;
  // A decimal number in `lowest` .. `highest`.
  bool ReadNumber(std::string_view name, const char* title, unsigned lowest, unsigned highest, unsigned& value,
                  std::string& message, bool force = false) const;
  // A real number kept in hundredths by two bytes (0 .. 655.35); `value` gets
  // the hundredths it is stored as, divided by 100.
  bool ReadHundredths(std::string_view name, const char* title, double& value, std::string& message,
                      bool force = false) const;
  void ReadCheck(std::string_view name, bool& value) const;

  static std::string RangeMessage(const char* title, unsigned lowest, unsigned highest);

  DiExtBlock& model_;

 private:
  // How many named items each code list has; the item after them is the unknown code.
  std::map<std::string, unsigned, std::less<>> namedItems_;
};

}  // namespace velmar
