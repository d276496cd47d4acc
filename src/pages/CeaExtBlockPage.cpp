#include "pages/CeaExtBlockPage.h"

#include "blocks/CeaExtBlock.h"

namespace velmar {

CeaExtBlockPage::CeaExtBlockPage(unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage("CEA ExtBlock", index, pageOwner, pageUi) {}

bool CeaExtBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (data != nullptr) block = std::make_unique<CeaExtBlock>(offset, data, available, owner);
  return FinishAttach(data);
}

CeaExtBlock* CeaExtBlockPage::Model() const { return static_cast<CeaExtBlock*>(block.get()); }

unsigned CeaExtBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

void CeaExtBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                   std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

}  // namespace velmar
