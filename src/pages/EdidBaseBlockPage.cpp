#include "pages/EdidBaseBlockPage.h"

#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"

namespace velmar {

EdidBaseBlockPage::EdidBaseBlockPage(bool is14, unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage(is14 ? "EDID1.4 BaseBlock" : "EDID1.3 BaseBlock", index, pageOwner, pageUi), is14Page(is14) {}

bool EdidBaseBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (data != nullptr) {
    if (is14Page) {
      block = std::make_unique<Edid14Block>(offset, data, available, owner);
    } else {
      block = std::make_unique<Edid13Block>(offset, data, available, owner);
    }
  }
  return FinishAttach(data);
}

Edid13Block* EdidBaseBlockPage::Model() const { return static_cast<Edid13Block*>(block.get()); }

unsigned EdidBaseBlockPage::GetExtensionCount() const { return block != nullptr ? block->GetExtensionCount() : 0; }

void EdidBaseBlockPage::SetExtensionCount(unsigned count) {
  if (Edid13Block* model = Model()) model->SetExtensionCount(count);
}

unsigned EdidBaseBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

void EdidBaseBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                     std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

}  // namespace velmar
