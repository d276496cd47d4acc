#include "pages/DisplayIDBlockPage.h"

#include "blocks/DisplayIDBlock.h"

namespace velmar {

DisplayIDBlockPage::DisplayIDBlockPage(bool baseSection, unsigned index, CallbackContext* pageOwner,
                                       UserInterface* pageUi)
    : BlockPage(baseSection ? "DID BaseBlock" : "DID ExtBlock", index, pageOwner, pageUi),
      isBaseSection(baseSection) {}

bool DisplayIDBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  const bool roomy = isBaseSection ? available > 4 : available > 127;
  if (data != nullptr && roomy) {
    block = std::make_unique<DisplayIDBlock>(offset, data, available, owner, isBaseSection);
  }
  return FinishAttach(data);
}

DisplayIDBlock* DisplayIDBlockPage::Model() const { return static_cast<DisplayIDBlock*>(block.get()); }

unsigned DisplayIDBlockPage::GetExtensionCount() const {
  return block != nullptr ? block->GetExtensionCount() : 0;
}

void DisplayIDBlockPage::SetExtensionCount(unsigned count) {
  if (DisplayIDBlock* model = Model()) model->SetExtensionCount(count);
}

void DisplayIDBlockPage::Refresh() {
  BlockPage::Refresh();
  for (int row = 0; row < kGridRows; ++row) {
    for (int base : {kLeftItemId, kRightItemId, kLeftActionId, kRightActionId, kLeftFrameId, kRightFrameId}) {
      if (GridControlState* control = MutableControl(base + row)) control->visible = false;
    }
  }
  NotifyView();
}

std::string DisplayIDBlockPage::Note() const { return "This block has no editable sections."; }

unsigned DisplayIDBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

}  // namespace velmar
