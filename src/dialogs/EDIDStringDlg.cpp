#include "dialogs/EDIDStringDlg.h"

#include "util/Format.h"

namespace velmar {

EDIDStringDlg::EDIDStringDlg(std::string address, std::string caption, Edid13Block& model, unsigned slot)
    : EditorForm(std::move(address), std::move(caption)), model_(model), slot_(slot) {
  DescriptorText stored;
  model_.GetDescriptorString(slot_, stored);
  std::string text;
  for (uint8_t byte : stored.bytes) {
    if (byte == 0x0A || byte == 0) break;
    text += static_cast<char>(byte);
  }
  AddEdit("text", "", Latin1ToUtf8(text));
  Opened();
}

bool EDIDStringDlg::Read(DescriptorText& text, std::string& message) const {
  const std::string bytes = Utf8ToLatin1(Field("text").text);
  if (bytes.size() > text.bytes.size()) {
    message = "String too long. Maximum length 13 characters";
    return false;
  }
  text.bytes.fill(0x20);
  for (size_t i = 0; i < bytes.size(); ++i) text.bytes[i] = static_cast<uint8_t>(bytes[i]);
  if (bytes.size() < text.bytes.size()) text.bytes[bytes.size()] = 0x0A;
  return true;
}

std::string EDIDStringDlg::Check() {
  DescriptorText text;
  std::string message;
  Read(text, message);
  return message;
}

void EDIDStringDlg::Apply() {
  DescriptorText text;
  std::string message;
  if (Read(text, message)) model_.SetDescriptorString(slot_, text);
}

}  // namespace velmar
