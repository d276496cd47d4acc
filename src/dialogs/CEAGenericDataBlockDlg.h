#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Data Block": the payload bytes of a data block of kinds 7-15 (form
// "<block>.db<N>"); its group is captioned with the kind's name.
//
// Fields: vendor-id ("[HEX] Vendor IEEE ID:", six hexadecimal digits; shown
// for the vendor specific kinds 7-9, disabled when the block is too short to
// hold an OUI), bytes[0] to bytes[31] (two hexadecimal digits each, four to
// a row labelled "[HEX] Bytes 0-3:" ...) and size ("Select Data Block Size:",
// "%u Bytes" from the kind's smallest payload, or the stored size when it is
// smaller, to the block's capacity). Bytes beyond the chosen size are
// disabled. OK checks, in order, the size, a changed vendor ID (up to
// 0xFFFFFF) and each changed byte inside the size (up to 0xFF), then writes
// the bytes; untouched bytes keep their stored values.
class CEAGenericDataBlockDlg : public EditorForm {
 public:
  CEAGenericDataBlockDlg(std::string address, CeaExtBlock& model, unsigned index);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  // The payload size chosen, or -1.
  int ChosenSize() const;
  void EnableBytes();

  CeaExtBlock& model_;
  unsigned index_;
  GenericDataBlock stored_;
  unsigned firstSize_ = 0;
};

}  // namespace velmar
