#pragma once

#include <array>

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

  // The grid: the five section buttons, then one row per descriptor slot with
  // the slot's kind and "Add Descriptor" or "Remove" beside it.
  void Refresh() override;
  // A section or slot button opens its editor form.
  void OnLeftItem(int id) override;
  // Forms: "general", "basic", "color", "established", "standard", and
  // "slot1"-"slot4" for the slots whose kind has an editor.
  std::string FormPrefix() const override { return "base"; }
  std::vector<std::string> FormNames() const override;
  std::unique_ptr<EditorForm> CreateForm(std::string_view name) override;
  // "Remove" asks and clears the slot; "Add Descriptor" offers the kinds the
  // block can take ("Select Descriptor To Add") and creates the chosen one.
  void OnLeftAction(int id) override;
  // "slot1"-"slot4": the slot's "Add Descriptor" or "Remove" button.
  int ActionButton(std::string_view item, bool add) const override;
  // Kind 6: the descriptor kinds that can be added, in kind order.
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override;

  // Slot `slot` (0-3) as last shown: its descriptor kind, and whether it holds
  // anything (a slot of kind 0 may still carry a manufacturer's data).
  unsigned SlotKind(unsigned slot) const { return slot < kSlots ? slotKinds[slot] : 0; }
  bool SlotFilled(unsigned slot) const { return slot < kSlots && slotFilled[slot]; }
  // The grid row of descriptor slot 0; the section buttons are the rows above.
  static constexpr int kFirstSlotRow = 5;

  bool Is14() const { return is14Page; }
  // The page's model, or null.
  Edid13Block* Model() const;

 protected:
  unsigned WiredRanges() const override { return kWireLeftItems | kWireLeftActions; }

  bool is14Page = false;

  static constexpr unsigned kSlots = 4;
  std::array<unsigned, kSlots> slotKinds{};
  std::array<bool, kSlots> slotFilled{};
  // The kind each position of the last "Select Descriptor To Add" list stands for.
  std::array<unsigned, 11> addChoices{};
};

}  // namespace velmar
