#pragma once

#include "pages/BlockPage.h"

namespace velmar {

class OpaqueExtBlock;

// The page of an extension block that no other model decodes. Its caption
// names the block by its tag ("Block Map", "VTB Extension", "Extension (tag
// 0x45)"); it shows no buttons, since only the raw data editor edits the block.
class OpaqueExtBlockPage : public BlockPage {
 public:
  OpaqueExtBlockPage(unsigned index, CallbackContext* owner, UserInterface* ui);

  // Takes the caption of the block's tag when the bytes are accepted.
  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override;
  // The tag, the checksum, a Block Map's list of blocks and the hex dump of
  // the data; nothing without a model.
  void AppendSummary(CallbackFillContentTgt* target) override;
  unsigned Validate(CallbackFillContentTgt* report) const override;
  void Refresh() override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;
  // After the raw data editor wrote the image: `before` is the block's 128
  // bytes as they were. When the data changed and the checksum byte was left
  // alone, the checksum is put right.
  void AfterRawEdit(const uint8_t* before) override;

  // The page's model, or null.
  OpaqueExtBlock* Model() const;
};

}  // namespace velmar
