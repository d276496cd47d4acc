#include "pages/OpaqueExtBlockPage.h"

#include <cstring>

#include "blocks/OpaqueExtBlock.h"
#include "util/Format.h"

namespace velmar {

namespace {

// "  Extension Tag.............": the labels of the summary are dotted to one width.
constexpr size_t kLabelWidth = 28;

}  // namespace

OpaqueExtBlockPage::OpaqueExtBlockPage(unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : BlockPage("Extension", index, pageOwner, pageUi) {}

bool OpaqueExtBlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  block.reset();
  if (OpaqueExtBlock::Accepts(data, available)) {
    block = std::make_unique<OpaqueExtBlock>(offset, data, available, owner);
    caption = OpaqueExtBlock::CaptionOf(data[0]);
  }
  return FinishAttach(data);
}

OpaqueExtBlock* OpaqueExtBlockPage::Model() const { return static_cast<OpaqueExtBlock*>(block.get()); }

void OpaqueExtBlockPage::AppendSummary(CallbackFillContentTgt* target) {
  const OpaqueExtBlock* model = Model();
  if (model == nullptr || target == nullptr) return;
  const uint8_t* bytes = model->Bytes();
  target->AppendFormatted("\r\n\r\n[EDID EXTENSION BLOCK: %s]\r\n", caption.c_str());
  target->Append("  [General Info]\r\n");
  target->AppendFormatted("  Extension Tag.............: 0x%02X\r\n", model->GetTag());
  target->AppendFormatted("  Checksum..................: 0x%02X\r\n", model->GetChecksum());

  if (model->IsBlockMap()) {
    const OpaqueExtBlock::BlockMap map = model->GetBlockMap();
    target->Append("\r\n  [Block Map]\r\n");
    for (unsigned i = 0; i < map.count; ++i) {
      const OpaqueExtBlock::MapEntry& entry = map.entries[i];
      std::string label = Format("  Block %u", entry.block);
      if (label.size() < kLabelWidth) label.append(kLabelWidth - label.size(), '.');
      target->AppendFormatted("%s: 0x%02X (%s)\r\n", label.c_str(), entry.tag, OpaqueExtBlock::TagName(entry.tag).c_str());
    }
    if (map.count == 0) target->Append("  No blocks announced\r\n");
  }

  // The data as it stands, 16 bytes a row, from the tag to the checksum.
  target->Append("\r\n  [Raw Data]\r\n");
  static const FormatTable kRowStarts("  %3u:", kBlockSize);
  static const FormatTable kCells(" %02X", 256);
  std::string line;
  std::string cell;
  for (unsigned row = 0; row < kBlockSize; row += 16) {
    kRowStarts.Assign(line, row);
    for (unsigned column = 0; column < 16; ++column) {
      kCells.Assign(cell, bytes[row + column]);
      line += cell;
    }
    line += "\r\n";
    target->Append(line);
  }
}

unsigned OpaqueExtBlockPage::Validate(CallbackFillContentTgt* report) const {
  return block != nullptr ? block->Validate(report) : 0;
}

void OpaqueExtBlockPage::Refresh() {
  BlockPage::Refresh();
  for (int row = 0; row < kGridRows; ++row) {
    for (int base : {kLeftItemId, kLeftActionId, kRightItemId, kRightActionId, kLeftFrameId, kRightFrameId}) {
      if (GridControlState* control = MutableControl(base + row)) control->visible = false;
    }
  }
  NotifyView();
}

void OpaqueExtBlockPage::DescribeByte(unsigned index, std::string& name, std::string& group,
                                      std::string& blockLabel) {
  if (block != nullptr) block->DescribeByte(index, name, group, blockLabel);
}

void OpaqueExtBlockPage::AfterRawEdit(const uint8_t* before) {
  OpaqueExtBlock* model = Model();
  if (model == nullptr || before == nullptr) return;
  const uint8_t* bytes = model->Bytes();
  const bool dataChanged = std::memcmp(bytes, before, kBlockSize - 1) != 0;
  const bool checksumKept = bytes[kBlockSize - 1] == before[kBlockSize - 1];
  if (dataChanged && checksumKept) model->UpdateChecksum();
}

}  // namespace velmar
