#pragma once

#include "pages/BlockPage.h"

namespace velmar {

class DiExtBlock;

// The page of a VESA DI-EXT extension block: one item button per section.
class DiExtBlockPage : public BlockPage {
 public:
  DiExtBlockPage(unsigned index, CallbackContext* owner, UserInterface* ui);

  // The captions of the section buttons, from the top row down.
  static constexpr const char* kSectionNames[6] = {"General Info",         "Data Format And Clock",
                                                   "Display Device",       "Display Capabilities",
                                                   "Color Properties",     "Gamma Curve"};

  bool AttachBlock(uint8_t* data, unsigned available, unsigned offset) override;
  // The block's summary text; nothing without a model.
  void AppendSummary(CallbackFillContentTgt* target) override;
  // The model finds nothing to report, so the block adds no error to the verdict.
  unsigned Validate(CallbackFillContentTgt* report) const override;
  void Refresh() override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;

  // Each section button opens its editor form.
  void OnLeftItem(int id) override;
  // Forms, one per section button from the top row down: "general", "format",
  // "device", "caps", "color", "gamma"; the prefix is "di" and the block's
  // index ("di1.gamma").
  static constexpr const char* kSectionForms[6] = {"general", "format", "device", "caps", "color", "gamma"};
  std::string FormPrefix() const override;
  std::vector<std::string> FormNames() const override;
  std::unique_ptr<EditorForm> CreateForm(std::string_view name) override;

  // The page's model, or null.
  DiExtBlock* Model() const;

 protected:
  unsigned WiredRanges() const override { return kWireLeftItems; }
};

}  // namespace velmar
