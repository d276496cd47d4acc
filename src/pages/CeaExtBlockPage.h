#pragma once

#include "pages/BlockPage.h"

namespace velmar {

class CeaExtBlock;

// The page of a CEA-861 extension block.
class CeaExtBlockPage : public BlockPage {
 public:
  CeaExtBlockPage(unsigned index, CallbackContext* owner, UserInterface* ui);

  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override;
  unsigned Validate(CallbackFillContentTgt* report) const override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;
  // The block's section of the data summary; nothing without a model.
  void AppendSummary(CallbackFillContentTgt* target) override;
  void CollectModes(CallbackFillContentTgt* sink) const override;
  void GetLargestMode(unsigned& width, unsigned& height) const override;

  // The page's model, or null.
  CeaExtBlock* Model() const;

 protected:
  unsigned WiredRanges() const override {
    return kWireLeftItems | kWireLeftActions | kWireRightItems | kWireRightActions;
  }
};

}  // namespace velmar
