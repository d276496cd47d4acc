#pragma once

#include <array>

#include "blocks/CeaExtBlock.h"
#include "dialogs/CeaFormSupport.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA Short Audio Descriptors": an Audio Data Block (form "<block>.db<N>").
//
// Ten rows, row i with: used[i] (check box); format[i], the formats "1: LPCM"
// ... "15: Extended" (a row stored with the reserved code 0 lists "0:
// Reserved" first); channels[i]; the rate boxes rate-32[i], rate-44-1[i],
// rate-48[i], rate-88-2[i], rate-96[i], rate-176-4[i], rate-192[i]; value[i],
// whose label follows the format (LPCM: none, the field disabled and the
// sample size boxes bits-16[i], bits-20[i], bits-24[i] enabled instead).
// Rows are used from the front and released from the back, at least one
// stays used; rows from the block's capacity on are disabled.
//
// OK checks each used row in order and stops at the first failure: no
// format, channels outside 1-8, bit rate above 2043 (codes 2-8), value above
// 255 (9-13), profile above 7 (14), extension code above 31 (15). Fields the
// user did not change keep the row's stored values; a row of format code 15
// keeps the bits no field shows.
class CEAAudioDescriptorsDlg : public EditorForm {
 public:
  static constexpr unsigned kRows = kMaxShortAudioDescriptors;

  CEAAudioDescriptorsDlg(std::string address, CeaExtBlock& model, unsigned index);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  // The format code chosen in row `row`, or -1 without a choice.
  int ChosenCode(unsigned row) const;
  // Enables the row's fields and labels its value field after its format.
  void ShowRow(unsigned row, bool used);
  bool IsNewRow(unsigned row) const { return row >= storedCount_; }

  CeaExtBlock& model_;
  unsigned index_;
  ShortAudioDescriptorList stored_;
  unsigned storedCount_ = 0;
  FrontPlaces rows_;
  // The format code of item 0 of each row's list: 0 when the row lists
  // "0: Reserved", else 1.
  std::array<unsigned, kRows> firstCode_{};
};

}  // namespace velmar
