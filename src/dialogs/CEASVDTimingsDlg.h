#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/CeaFormSupport.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Short Video Descriptors": a Video Data Block (form "<block>.db<N>").
//
// 33 places in three columns of 11 rows (place i is row i / 3, column i % 3),
// each a check box used[i] and a list vic[i] of the 62 CEA video formats
// (item k stands for VIC k + 1); a place holding a VIC the table does not
// have shows it as an extra item "[%u] Non-CEA Timing" and keeps its byte.
// Places are used from the front and released from the back, at least one
// stays used; places from the block's capacity on are disabled. The list
// native ("Select Native Format:") holds "None" and "Timing at Row[%u]
// Col[%u]" for each used place, preselecting the first native one.
//
// OK: a used place without a format gives "Entry[%u:%u]: Invalid Selection".
// Places keep their stored byte unless their format changed; native bits
// stay as read until the user picks in the native list, which then sets the
// bit of the chosen place only. Bit 7 of a descriptor of VIC 65 and up is
// part of its code and is never touched.
class CEASVDTimingsDlg : public EditorForm {
 public:
  static constexpr unsigned kPlaces = 33;
  static constexpr unsigned kColumns = 3;

  CEASVDTimingsDlg(std::string address, CeaExtBlock& model, unsigned index);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  CeaExtBlock& model_;
  unsigned index_;
  ShortVideoDescriptorList stored_;
  FrontPlaces places_;
  bool nativeChosen_ = false;
};

}  // namespace velmar
