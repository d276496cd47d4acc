#pragma once

#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// The text of a serial number, data string or product name descriptor
// (form "<block>.slot1"-"slot4"), captioned with the descriptor kind's name.
//
// Field: text, the descriptor's characters up to the line feed (ISO 8859-1
// shown as Unicode). A changed text is stored one byte per character
// (characters outside ISO 8859-1 become "?"); more than 13 bytes gives
// "String too long. Maximum length 13 characters"; the bytes are followed by
// a line feed when there is room and blanks up to 13. An unchanged text
// writes nothing, so padding and anything after the line feed stay.
class EDIDStringDlg : public EditorForm {
 public:
  EDIDStringDlg(std::string address, std::string caption, Edid13Block& model, unsigned slot);

 protected:
  std::string Check() override;
  void Apply() override;

 private:
  bool Read(DescriptorText& text, std::string& message) const;

  Edid13Block& model_;
  unsigned slot_;
};

}  // namespace velmar
