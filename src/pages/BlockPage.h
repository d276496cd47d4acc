#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/DataBlock.h"

namespace velmar {

class EditorForm;
class UserInterface;
struct DetailedTiming;
struct MonitorInfo;

// Control ids of a page's 9x2 button grid; row r (0-8) adds r.
inline constexpr int kGridRows = 9;
inline constexpr int kLeftItemId = 1701;
inline constexpr int kRightItemId = 1711;
inline constexpr int kLeftActionId = 1731;
inline constexpr int kRightActionId = 1741;
inline constexpr int kLeftFrameId = 1751;
inline constexpr int kRightFrameId = 1761;

// The state of one grid control that a view renders.
struct GridControlState {
  std::string text;
  bool enabled = false;
  bool visible = true;
};

// Told when a page rebuilt its grid, so that a view can render it again.
class PageViewListener {
 public:
  virtual ~PageViewListener() = default;
  virtual void OnGridChanged() = 0;
};

// The toolkit-free side of a block's page: it owns the block's model, keeps the
// state of its button grid and answers for its block what the image asks of
// every block. A page without a model answers 0, false or nothing.
class BlockPage : public CallbackContext {
 public:
  BlockPage(std::string caption, unsigned index, CallbackContext* owner, UserInterface* ui);
  ~BlockPage() override;
  BlockPage(const BlockPage&) = delete;
  BlockPage& operator=(const BlockPage&) = delete;

  // Button handlers, by control id range.
  virtual void OnLeftItem(int id) { (void)id; }
  virtual void OnLeftAction(int id) { (void)id; }
  virtual void OnRightItem(int id) { (void)id; }
  virtual void OnRightAction(int id) { (void)id; }
  virtual void SetIndex(unsigned index) { blockIndex = index; }
  // (Re)attaches the page's model to the bytes at `offset`; a null pointer
  // detaches and succeeds. True when the page now has a model (or none was asked for).
  virtual bool AttachBlock(uint8_t* data, unsigned available, unsigned offset);
  virtual unsigned GetSize() const;
  virtual unsigned GetOffset() const;
  virtual unsigned GetExtensionCount() const { return 0; }
  virtual void SetExtensionCount(unsigned count) { (void)count; }
  virtual bool IsBaseBlock() const;
  virtual void AppendSummary(CallbackFillContentTgt* target) { (void)target; }
  virtual void CollectModes(CallbackFillContentTgt* sink) const { (void)sink; }
  virtual unsigned Validate(CallbackFillContentTgt* report) const;
  virtual void GetMonitorInfo(MonitorInfo& info) const { (void)info; }
  virtual void GetLargestMode(unsigned& width, unsigned& height) const { (void)width, (void)height; }
  // Clears the grid; derived pages then show their block's sections.
  virtual void Refresh();
  // One line the page shows besides its buttons (in place of them when it
  // shows none), such as what the buttons leave out; empty for none.
  virtual std::string Note() const { return std::string(); }
  // Editor forms. The page offers a form for each section and item it can
  // edit now; their names ("general", "slot1", "db3") follow FormPrefix and a
  // dot in a form's address ("base.general"). CreateForm answers null for a
  // name the page does not offer now (or without a model).
  virtual std::string FormPrefix() const;
  virtual std::vector<std::string> FormNames() const { return {}; }
  virtual std::unique_ptr<EditorForm> CreateForm(std::string_view name);
  // Runs the form `name` through the user interface; after OK the page shows
  // its block again. True when the dialog ended with OK.
  bool OpenForm(std::string_view name);
  // Structural edits as a script addresses them: `item` names a place of the
  // page the way its forms are named ("slot2", "db4", "dtd1"), or a list
  // without a number ("db", "dtd") for the button that adds to it. Answers the
  // id of the action button that adds there (`add`) or removes that item, as
  // the grid shows it now (Refresh first), or 0 when it shows none.
  virtual int ActionButton(std::string_view item, bool add) const {
    (void)item, (void)add;
    return 0;
  }

  // Called after the raw data editor wrote the image and the blocks were
  // rebuilt; `before` is this block's bytes (GetSize of them) as they were.
  virtual void AfterRawEdit(const uint8_t* before) { (void)before; }

  // The summary text of one detailed timing.
  virtual void AppendDetailedTiming(CallbackFillContentTgt* target, const DetailedTiming& timing) const;

  // CallbackContext: a page answers its own selection lists and byte-map queries.
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override {
    (void)target, (void)kind;
  }
  void DescribeByte(unsigned index, std::string& name, std::string& group,
                    std::string& blockLabel) override {
    (void)index, (void)name, (void)group, (void)blockLabel;
  }
  void RelayoutBlocks() override {}
  void SetModified() override {}

  const std::string& GetTitle() const { return caption; }
  unsigned GetIndex() const { return blockIndex; }
  DataBlock* GetBlock() const { return block.get(); }

  // Activation by the sheet of pages.
  void Activate();
  void Deactivate();
  bool IsActive() const { return active; }
  bool IsRefreshPending() const { return refreshPending; }
  // Called once when the page's window is first created.
  void OnWindowCreated() { Refresh(); }

  // A click on a grid button: runs its handler when the page wires that range.
  void PressButton(int id);
  // Enter on a focused grid button: runs its handler whatever the wiring.
  void PressEnter(int focusedId);

  // The grid's state. Ids outside the grid give an invisible, disabled control.
  const GridControlState& Control(int id) const;
  void SetViewListener(PageViewListener* listener) { view = listener; }

  static bool IsGridButton(int id);
  static bool IsGridFrame(int id);

  // Writes a real value with as many decimals as it needs, between `minimum` and
  // `maximum`; `plain` clear adds an explicit sign.
  static std::string FormatDecimal(unsigned minimum, bool plain, double value, unsigned maximum);
  // "January" ... "December" for 1-12, empty for anything else.
  static std::string MonthName(unsigned month);

 protected:
  // Which button ranges the page reacts to when clicked.
  enum WiredRange : unsigned {
    kWireLeftItems = 1,
    kWireLeftActions = 2,
    kWireRightItems = 4,
    kWireRightActions = 8,
  };
  virtual unsigned WiredRanges() const { return 0; }

  // `id` when that action button shows the edit, enabled: "Remove" for a
  // removal, a text that begins with "Add" for an addition; else 0.
  int ShownAction(int id, bool add) const;
  // The first action button from `firstId` down its column that shows an addition, or 0.
  int ShownAddAction(int firstId) const;
  // The number after `prefix` in `item` ("slot2" after "slot" is 2); 0 when
  // `item` is not `prefix` followed by digits.
  static unsigned ItemNumber(std::string_view item, std::string_view prefix);

  // Completes AttachBlock once the derived page made (or did not make) its model.
  bool FinishAttach(const uint8_t* data);
  GridControlState* MutableControl(int id);
  // Tells the view that the grid changed.
  void NotifyView();

  unsigned blockIndex = 0;
  CallbackContext* owner = nullptr;
  bool refreshPending = false;
  bool active = false;
  std::unique_ptr<DataBlock> block;
  UserInterface* ui = nullptr;
  std::string caption;

 private:
  void Dispatch(int id);

  std::array<GridControlState, 6 * kGridRows> grid_{};
  PageViewListener* view = nullptr;
};

}  // namespace velmar
