#include "pages/BlockPage.h"

#include <cmath>

#include "blocks/DetailedTiming.h"
#include "common/UserInterface.h"
#include "dialogs/EditorForm.h"
#include "util/Format.h"

namespace velmar {

namespace {

// Grid slots: six controls per row, in the order of the id bases below.
constexpr int kIdBases[6] = {kLeftItemId, kRightItemId, kLeftActionId, kRightActionId, kLeftFrameId, kRightFrameId};

int SlotOf(int id) {
  for (int kind = 0; kind < 6; ++kind) {
    if (id >= kIdBases[kind] && id < kIdBases[kind] + kGridRows) return kind * kGridRows + (id - kIdBases[kind]);
  }
  return -1;
}

}  // namespace

BlockPage::BlockPage(std::string pageCaption, unsigned index, CallbackContext* pageOwner, UserInterface* pageUi)
    : blockIndex(index), owner(pageOwner), ui(pageUi), caption(std::move(pageCaption)) {}

BlockPage::~BlockPage() = default;

bool BlockPage::AttachBlock(uint8_t* data, unsigned available, unsigned offset) {
  (void)data, (void)available, (void)offset;
  return true;
}

bool BlockPage::FinishAttach(const uint8_t* data) {
  if (block != nullptr && block->IsEmpty()) block.reset();
  const bool result = data == nullptr || block != nullptr;
  if (active) {
    Refresh();
  } else {
    refreshPending = true;
  }
  return result;
}

unsigned BlockPage::GetSize() const { return block != nullptr ? block->GetSize() : 0; }

unsigned BlockPage::GetOffset() const { return block != nullptr ? block->GetOffset() : 0; }

bool BlockPage::IsBaseBlock() const { return block != nullptr && block->IsBaseBlock(); }

unsigned BlockPage::Validate(CallbackFillContentTgt* report) const {
  (void)report;
  return 1;
}

std::string BlockPage::FormPrefix() const { return Format("block%u", blockIndex); }

std::unique_ptr<EditorForm> BlockPage::CreateForm(std::string_view name) {
  (void)name;
  return nullptr;
}

bool BlockPage::OpenForm(std::string_view name) {
  if (ui == nullptr) return false;
  std::unique_ptr<EditorForm> form = CreateForm(name);
  if (form == nullptr) return false;
  const bool accepted = ui->EditForm(*form);
  if (accepted) Refresh();
  return accepted;
}

void BlockPage::Refresh() {
  for (int kind = 0; kind < 4; ++kind) {
    for (int row = 0; row < kGridRows; ++row) {
      GridControlState& control = grid_[static_cast<size_t>(kind * kGridRows + row)];
      control.text.clear();
      control.enabled = false;
    }
  }
  refreshPending = false;
  NotifyView();
}

int BlockPage::ShownAction(int id, bool add) const {
  const GridControlState& control = Control(id);
  if (!control.visible || !control.enabled) return 0;
  const bool shown = add ? control.text.rfind("Add", 0) == 0 : control.text == "Remove";
  return shown ? id : 0;
}

int BlockPage::ShownAddAction(int firstId) const {
  for (int row = 0; row < kGridRows; ++row) {
    if (const int id = ShownAction(firstId + row, true)) return id;
  }
  return 0;
}

unsigned BlockPage::ItemNumber(std::string_view item, std::string_view prefix) {
  if (item.size() <= prefix.size() || item.substr(0, prefix.size()) != prefix) return 0;
  unsigned number = 0;
  for (char c : item.substr(prefix.size())) {
    if (c < '0' || c > '9' || number > 1000) return 0;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number;
}

void BlockPage::NotifyView() {
  if (view != nullptr) view->OnGridChanged();
}

void BlockPage::Activate() {
  active = true;
  if (refreshPending) Refresh();
}

void BlockPage::Deactivate() { active = false; }

bool BlockPage::IsGridButton(int id) {
  const int slot = SlotOf(id);
  return slot >= 0 && slot < 4 * kGridRows;
}

bool BlockPage::IsGridFrame(int id) { return SlotOf(id) >= 4 * kGridRows; }

const GridControlState& BlockPage::Control(int id) const {
  static const GridControlState kNone{std::string(), false, false};
  const int slot = SlotOf(id);
  return slot >= 0 ? grid_[static_cast<size_t>(slot)] : kNone;
}

GridControlState* BlockPage::MutableControl(int id) {
  const int slot = SlotOf(id);
  return slot >= 0 ? &grid_[static_cast<size_t>(slot)] : nullptr;
}

void BlockPage::Dispatch(int id) {
  if (id >= kLeftItemId && id < kLeftItemId + kGridRows) {
    OnLeftItem(id);
  } else if (id >= kLeftActionId && id < kLeftActionId + kGridRows) {
    OnLeftAction(id);
  } else if (id >= kRightItemId && id < kRightItemId + kGridRows) {
    OnRightItem(id);
  } else if (id >= kRightActionId && id < kRightActionId + kGridRows) {
    OnRightAction(id);
  }
}

void BlockPage::PressButton(int id) {
  const unsigned wired = WiredRanges();
  const bool isWired = (id >= kLeftItemId && id < kLeftItemId + kGridRows && (wired & kWireLeftItems)) ||
                       (id >= kLeftActionId && id < kLeftActionId + kGridRows && (wired & kWireLeftActions)) ||
                       (id >= kRightItemId && id < kRightItemId + kGridRows && (wired & kWireRightItems)) ||
                       (id >= kRightActionId && id < kRightActionId + kGridRows && (wired & kWireRightActions));
  if (isWired) Dispatch(id);
}

void BlockPage::PressEnter(int focusedId) {
  if (IsGridButton(focusedId)) Dispatch(focusedId);
}

void BlockPage::AppendDetailedTiming(CallbackFillContentTgt* target, const DetailedTiming& timing) const {
  timing.AppendSummary(target);
}

std::string BlockPage::FormatDecimal(unsigned minimum, bool plain, double value, unsigned maximum) {
  return FormatFewestDecimals(minimum, plain, value, maximum);
}

std::string BlockPage::MonthName(unsigned month) {
  static const char* const kNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : std::string();
}

}  // namespace velmar
