#pragma once

#include "pages/BlockPage.h"

namespace velmar {

class DisplayIDBlock;

// The page of DisplayID data: a base section or an extension block. It shows
// no buttons, and a line saying so.
class DisplayIDBlockPage : public BlockPage {
 public:
  DisplayIDBlockPage(bool baseSection, unsigned index, CallbackContext* owner, UserInterface* ui);

  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override;
  unsigned GetExtensionCount() const override;
  void SetExtensionCount(unsigned count) override;
  // The model finds nothing to report, so the block adds no error to the verdict.
  unsigned Validate(CallbackFillContentTgt* report) const override;
  // Clears the grid and hides every control of it.
  void Refresh() override;
  std::string Note() const override;

  bool IsBaseSectionPage() const { return isBaseSection; }
  // The page's model, or null.
  DisplayIDBlock* Model() const;

 protected:
  bool isBaseSection = false;
};

}  // namespace velmar
