#pragma once

#include "pages/BlockPage.h"

namespace velmar {

class Edid13Block;

// The page of an EDID base block; created as a 1.3 or as a 1.4 page.
class EdidBaseBlockPage : public BlockPage {
 public:
  EdidBaseBlockPage(bool is14, unsigned index, CallbackContext* owner, UserInterface* ui);

  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override;
  unsigned GetExtensionCount() const override;
  void SetExtensionCount(unsigned count) override;
  unsigned Validate(CallbackFillContentTgt* report) const override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;
  // The block's section of the data summary; nothing without a model.
  void AppendSummary(CallbackFillContentTgt* target) override;
  void CollectModes(CallbackFillContentTgt* sink) const override;
  void GetMonitorInfo(MonitorInfo& info) const override;
  void GetLargestMode(unsigned& width, unsigned& height) const override;

  bool Is14() const { return is14Page; }
  // The page's model, or null.
  Edid13Block* Model() const;

 protected:
  unsigned WiredRanges() const override { return kWireLeftItems | kWireLeftActions; }

  bool is14Page = false;
};

}  // namespace velmar
