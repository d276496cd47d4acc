#pragma once

#include <cstdint>
#include <vector>

namespace velmar {

class CallbackNotify;

// How Navigate and MoveTo walk the grid.
enum class NavigationMode : int {
  Vertical = 0,      // up and down one column, stopping at the edges
  Horizontal = 1,    // left and right along one row, stopping at the edges
  ReadingOrder = 2,  // along the rows, wrapping to the next or previous row and round the grid
  Home = 3,          // the first qualifying cell from (0, 0) on
  End = 4,           // the last qualifying cell from the last cell back
};

// The keys the grid looks at before its list does.
enum class GridKey { Enter, Escape, Tab, Left, Right, Up, Down, Home, End, Other };

// What the grid's widget does for the navigator: the in-place editor, the
// drawing of the current cell and the scrolling.
class GridCellView {
 public:
  virtual ~GridCellView() = default;
  // Shows the editor over (row, column) holding the cell's text, all selected.
  virtual void ShowEditor(int row, int column) = 0;
  // Hides the editor; with `commit` its text first becomes the cell's text.
  virtual void HideEditor(int row, int column, bool commit) = 0;
  virtual void RepaintCell(int row, int column) = 0;
  virtual void EnsureCellVisible(int row, int column) = 0;
};

// The editable grid's rules without its widget: which cells may be selected
// and edited, the current cell, the edit state, keyboard navigation and the
// clicks. The widget renders it and forwards keys and clicks here.
class GridNavigator {
 public:
  // Rows and columns past these are never marked, so a stray index cannot
  // make the cell states grow without bound.
  static constexpr int kMaxRows = 65536;
  static constexpr int kMaxColumns = 1024;

  explicit GridNavigator(GridCellView* cellView = nullptr) : view(cellView) {}

  void SetView(GridCellView* cellView) { view = cellView; }
  void SetNotifyTarget(CallbackNotify* target) { notifyTarget = target; }

  // Marks a cell editable and selectable.
  void SetCellEditable(int row, int column);
  // Marks a cell selectable; whether it is editable stays as it was.
  void SetCellSelectable(int row, int column);
  bool IsCellEditable(int row, int column) const;
  bool IsCellSelectable(int row, int column) const;

  // Makes a selectable cell current; tells the notify target when the
  // current cell changed. False (and nothing changes) for any other cell.
  bool SelectCell(int row, int column);
  // Opens the editor over the current cell when it is editable and no edit
  // is in progress.
  bool BeginEdit();
  // Closes the editor, writing its text into the cell with `commit`.
  void EndEdit(bool commit);
  void CommitEdit() { EndEdit(true); }
  // Commits any edit and makes the first qualifying cell from (row, column)
  // on in reading order current.
  void StartAt(int row, int column);

  // Moves by `step` (-1, 0 or +1) in `mode` from the current cell; false
  // before any cell was marked.
  bool Navigate(int step, NavigationMode mode);
  // Makes the first qualifying cell from (row, column) itself on current:
  // selectable ones while not editing, editable ones while editing (the
  // editor then moves along). Gives up and keeps the current cell at an edge
  // (vertical and horizontal) or after going round the grid (reading order).
  void MoveTo(int row, int column, int step, NavigationMode mode);

  // A key pressed in the grid or its editor; true when the grid used it.
  bool HandleKey(GridKey key, bool shift);
  // A click commits any edit and selects the cell; a double click then opens
  // the editor on it.
  void Click(int row, int column);
  void DoubleClick(int row, int column);

  int CurrentRow() const { return currentRow; }
  int CurrentColumn() const { return currentColumn; }
  int RowCount() const { return rowCount; }
  int ColumnCount() const { return columnCount; }
  bool IsEditing() const { return editing; }
  bool NavigationEnabled() const { return navigationEnabled; }

 private:
  struct CellState {
    uint8_t editable = 0;
    uint8_t selectable = 0;
  };

  // The state of a marked cell, grown on demand; null outside the limits.
  CellState* MarkCell(int row, int column);
  const CellState* FindCell(int row, int column) const;
  bool Qualifies(int row, int column) const;
  bool InBounds(int row, int column) const;
  // One step in reading order with wrapping at the row ends and round the grid.
  void StepReadingOrder(int& row, int& column, int step) const;
  void Found(int row, int column);

  GridCellView* view = nullptr;
  CallbackNotify* notifyTarget = nullptr;
  std::vector<std::vector<CellState>> cellStates;
  int currentRow = -1;
  int currentColumn = -1;
  int rowCount = 0;
  int columnCount = 0;
  bool navigationEnabled = false;
  bool editing = false;
};

}  // namespace velmar
