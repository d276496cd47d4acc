#include "pages/DiExtBlockPage.h"

#include "blocks/DiExtBlock.h"

namespace velmar {

DiExtBlockPage::DiExtBlockPage(unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage("DI ExtBlock", index, pageOwner, pageUi) {}

bool DiExtBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (data != nullptr && available >= kBlockSize && data[0] == DiExtBlock::kTag) {
    block = std::make_unique<DiExtBlock>(offset, data, available, owner);
  }
  return FinishAttach(data);
}

DiExtBlock* DiExtBlockPage::Model() const { return static_cast<DiExtBlock*>(block.get()); }

void DiExtBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                  std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

}  // namespace velmar
