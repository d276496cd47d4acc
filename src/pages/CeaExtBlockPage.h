#pragma once

#include <array>

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

  // Rows: "General Info", one row per DTD with "Remove" and "Add DTD" below
  // them on the left; one row per data block with "Remove" and "Add DataBlock"
  // below them on the right.
  void Refresh() override;
  // "General Info" and the DTD rows open their editor forms.
  void OnLeftItem(int id) override;
  // "Remove" asks and removes that DTD; "Add DTD" adds one.
  void OnLeftAction(int id) override;
  // A data block row opens the editor form of its kind (none for kind 0).
  void OnRightItem(int id) override;
  // "Remove" asks and removes that data block; "Add DataBlock" offers the
  // kinds that fit ("Select Data Block To Add") and adds the chosen one.
  void OnRightAction(int id) override;
  // "dtd" and "db": the "Add DTD" and "Add DataBlock" buttons; "dtd1", "dtd2"
  // ... and "db1", "db2" ...: the "Remove" button of that DTD or data block,
  // counted from 1 down the rows.
  int ActionButton(std::string_view item, bool add) const override;
  // Kind 7: the data block kinds that can be added, in kind order.
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override;
  // How many data blocks the nine rows leave out, when they leave any out.
  std::string Note() const override;

  // Forms, under "cea<block index>": "general"; "dtd1", "dtd2" ... for the
  // detailed timings and "db1", "db2" ... for the data blocks of a kind with
  // an editor, both numbered from 1 in block order; and "hdmi", not listed,
  // for the first HDMI vendor specific data block.
  std::string FormPrefix() const override;
  std::vector<std::string> FormNames() const override;
  std::unique_ptr<EditorForm> CreateForm(std::string_view name) override;

  unsigned DtdRows() const { return dtdRows; }
  unsigned DataBlockRows() const { return dataBlockRows; }
  // The data block kind shown in right row `row`; 0 outside the rows shown.
  unsigned RowKind(unsigned row) const { return row < dataBlockRows ? rowKinds[row] : 0; }

 protected:
  unsigned WiredRanges() const override {
    return kWireLeftItems | kWireLeftActions | kWireRightItems | kWireRightActions;
  }

  // The data block kind of each right row as last shown.
  std::array<unsigned, kGridRows> rowKinds{};
  unsigned dtdRows = 0;
  unsigned dataBlockRows = 0;
  // The kind each position of the last "Select Data Block To Add" list stands for.
  std::array<unsigned, 16> addChoices{};
};

}  // namespace velmar
