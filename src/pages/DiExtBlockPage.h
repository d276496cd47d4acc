#pragma once

#include "pages/BlockPage.h"

namespace velmar {

class DiExtBlock;

// The page of a VESA DI-EXT extension block.
class DiExtBlockPage : public BlockPage {
 public:
  DiExtBlockPage(unsigned index, CallbackContext* owner, UserInterface* ui);

  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;

  // The page's model, or null.
  DiExtBlock* Model() const;

 protected:
  unsigned WiredRanges() const override { return kWireLeftItems; }
};

}  // namespace velmar
