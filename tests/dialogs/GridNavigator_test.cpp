#include "dialogs/GridNavigator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Callbacks.h"
#include "util/Format.h"

namespace velmar {
namespace {

// Records what the navigator asks of its widget and tells its owner.
class Recorder : public GridCellView, public CallbackNotify {
 public:
  void ShowEditor(int row, int column) override { events.push_back(Format("show %d,%d", row, column)); }
  void HideEditor(int row, int column, bool commit) override {
    events.push_back(Format("%s %d,%d", commit ? "commit" : "restore", row, column));
  }
  void RepaintCell(int, int) override {}
  void EnsureCellVisible(int, int) override {}
  void OnCellSelected(int row, int column) override { selected.push_back(Format("%d,%d", row, column)); }

  std::vector<std::string> events;
  std::vector<std::string> selected;
};

using Strings = std::vector<std::string>;

class GridNavigatorTest : public ::testing::Test {
 protected:
  GridNavigatorTest() {
    grid.SetNotifyTarget(&recorder);
  }
  // The raw data editor's shape: 32 rows, a label column and 16 byte columns.
  void MarkByteGrid() {
    for (int row = 0; row < 32; ++row) {
      for (int column = 1; column <= 16; ++column) grid.SetCellEditable(row, column);
    }
  }
  std::string Current() const { return Format("%d,%d", grid.CurrentRow(), grid.CurrentColumn()); }

  Recorder recorder;
  GridNavigator grid{&recorder};
};

TEST_F(GridNavigatorTest, NothingMovesBeforeAnyCellIsMarked) {
  for (GridKey key : {GridKey::Left, GridKey::Right, GridKey::Up, GridKey::Down, GridKey::Home, GridKey::End,
                      GridKey::Tab, GridKey::Escape}) {
    EXPECT_FALSE(grid.HandleKey(key, false));
    EXPECT_FALSE(grid.HandleKey(key, true));
  }
  // Enter is always the grid's, even when there is nothing to edit.
  EXPECT_TRUE(grid.HandleKey(GridKey::Enter, false));
  EXPECT_FALSE(grid.Navigate(+1, NavigationMode::ReadingOrder));
  grid.StartAt(0, 0);
  grid.DoubleClick(0, 0);
  EXPECT_EQ(Current(), "-1,-1");
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(recorder.selected.empty());
}

TEST_F(GridNavigatorTest, MarkingRowFiveBeforeRowsOneToFour) {
  grid.SetCellEditable(5, 3);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.ColumnCount(), 4);
  EXPECT_TRUE(grid.NavigationEnabled());
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 6; ++column) {
      EXPECT_FALSE(grid.IsCellSelectable(row, column)) << row << "," << column;
      EXPECT_FALSE(grid.IsCellEditable(row, column)) << row << "," << column;
    }
  }
  EXPECT_TRUE(grid.IsCellEditable(5, 3));
  EXPECT_FALSE(grid.IsCellSelectable(5, 2));

  grid.SetCellSelectable(2, 0);
  EXPECT_TRUE(grid.IsCellSelectable(2, 0));
  EXPECT_FALSE(grid.IsCellEditable(2, 0));
  for (int row : {1, 3, 4}) {
    for (int column = 0; column < 4; ++column) EXPECT_FALSE(grid.IsCellSelectable(row, column));
  }
  EXPECT_FALSE(grid.IsCellSelectable(2, 3));  // row 2's states end before column 3
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.ColumnCount(), 4);

  // Down from (2, 0) skips the unmarked rows and stops at the edge.
  ASSERT_TRUE(grid.SelectCell(2, 0));
  EXPECT_TRUE(grid.HandleKey(GridKey::Down, false));
  EXPECT_EQ(Current(), "2,0");
  // Reading order finds row 5 across the empty rows, and round the grid back.
  EXPECT_TRUE(grid.HandleKey(GridKey::End, false));
  EXPECT_EQ(Current(), "5,3");
  EXPECT_TRUE(grid.HandleKey(GridKey::Home, false));
  EXPECT_EQ(Current(), "2,0");
  EXPECT_EQ(recorder.selected, (Strings{"2,0", "5,3", "2,0"}));
}

TEST_F(GridNavigatorTest, SelectableMarkKeepsEditableAndBadIndexesAreIgnored) {
  grid.SetCellEditable(1, 1);
  grid.SetCellSelectable(1, 1);
  EXPECT_TRUE(grid.IsCellEditable(1, 1));
  grid.SetCellEditable(-1, 2);
  grid.SetCellSelectable(3, -4);
  grid.SetCellEditable(GridNavigator::kMaxRows, 0);
  grid.SetCellEditable(0, GridNavigator::kMaxColumns);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.ColumnCount(), 2);
  EXPECT_FALSE(grid.IsCellEditable(-1, 1));
  EXPECT_FALSE(grid.IsCellSelectable(1, -1));
  EXPECT_FALSE(grid.IsCellSelectable(2, 1));
  EXPECT_FALSE(grid.SelectCell(7, 7));
  grid.MoveTo(-3, 9, +1, NavigationMode::ReadingOrder);
  EXPECT_EQ(Current(), "-1,-1");
}

TEST_F(GridNavigatorTest, StartAtSkipsTheLabelColumn) {
  MarkByteGrid();
  grid.StartAt(0, 0);
  EXPECT_EQ(Current(), "0,1");
  EXPECT_EQ(recorder.selected, (Strings{"0,1"}));
  // Selecting the current cell again tells nobody.
  EXPECT_TRUE(grid.SelectCell(0, 1));
  EXPECT_EQ(recorder.selected.size(), 1u);
}

TEST_F(GridNavigatorTest, ArrowsStopAtTheEdges) {
  MarkByteGrid();
  grid.StartAt(0, 16);
  EXPECT_TRUE(grid.HandleKey(GridKey::Right, false));
  EXPECT_EQ(Current(), "0,16");
  EXPECT_TRUE(grid.HandleKey(GridKey::Up, false));
  EXPECT_EQ(Current(), "0,16");
  EXPECT_TRUE(grid.HandleKey(GridKey::Down, false));
  EXPECT_EQ(Current(), "1,16");
  EXPECT_TRUE(grid.HandleKey(GridKey::Left, false));
  EXPECT_EQ(Current(), "1,15");
  grid.SelectCell(31, 1);
  // The label column is not selectable: Left stays on the first byte.
  EXPECT_TRUE(grid.HandleKey(GridKey::Left, false));
  EXPECT_EQ(Current(), "31,1");
  EXPECT_TRUE(grid.HandleKey(GridKey::Down, false));
  EXPECT_EQ(Current(), "31,1");
  EXPECT_EQ(recorder.selected, (Strings{"0,16", "1,16", "1,15", "31,1"}));
}

TEST_F(GridNavigatorTest, HomeAndEndSearchFromTheCornersInclusive) {
  MarkByteGrid();
  grid.StartAt(10, 5);
  EXPECT_TRUE(grid.HandleKey(GridKey::End, false));
  EXPECT_EQ(Current(), "31,16");
  EXPECT_TRUE(grid.HandleKey(GridKey::Home, false));
  EXPECT_EQ(Current(), "0,1");
  // With the last cell only selectable-by-label, End still finds the last byte.
  GridNavigator labels{&recorder};
  labels.SetCellSelectable(0, 0);
  labels.SetCellSelectable(3, 2);
  labels.SetCellSelectable(3, 0);
  labels.HandleKey(GridKey::End, false);
  EXPECT_EQ(labels.CurrentRow(), 3);
  EXPECT_EQ(labels.CurrentColumn(), 2);
  labels.HandleKey(GridKey::Home, false);
  EXPECT_EQ(labels.CurrentRow(), 0);
  EXPECT_EQ(labels.CurrentColumn(), 0);
}

TEST_F(GridNavigatorTest, TabCarriesTheEditorAndWraps) {
  MarkByteGrid();
  grid.StartAt(0, 0);
  EXPECT_FALSE(grid.HandleKey(GridKey::Tab, false));  // not editing: the dialog's Tab
  ASSERT_TRUE(grid.HandleKey(GridKey::Enter, false));
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_TRUE(grid.HandleKey(GridKey::Tab, false));
  EXPECT_EQ(Current(), "0,2");
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"show 0,1", "commit 0,1", "show 0,2"}));

  recorder.events.clear();
  grid.HandleKey(GridKey::Escape, false);
  grid.SelectCell(31, 16);
  grid.BeginEdit();
  EXPECT_TRUE(grid.HandleKey(GridKey::Tab, false));
  EXPECT_EQ(Current(), "0,1");
  EXPECT_TRUE(grid.HandleKey(GridKey::Tab, true));
  EXPECT_EQ(Current(), "31,16");
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"restore 0,2", "show 31,16", "commit 31,16", "show 0,1", "commit 0,1",
                                      "show 31,16"}));
}

TEST_F(GridNavigatorTest, EscapeRestoresAndEnterCommitsWithoutMoving) {
  MarkByteGrid();
  grid.StartAt(4, 4);
  EXPECT_FALSE(grid.HandleKey(GridKey::Escape, false));  // not editing: the dialog's Escape
  grid.HandleKey(GridKey::Enter, false);
  EXPECT_TRUE(grid.HandleKey(GridKey::Escape, false));
  EXPECT_FALSE(grid.IsEditing());
  grid.HandleKey(GridKey::Enter, false);
  EXPECT_TRUE(grid.HandleKey(GridKey::Enter, false));
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_EQ(Current(), "4,4");
  EXPECT_EQ(recorder.events, (Strings{"show 4,4", "restore 4,4", "show 4,4", "commit 4,4"}));
  EXPECT_EQ(recorder.selected, (Strings{"4,4"}));
}

TEST_F(GridNavigatorTest, ArrowsStayWithTheEditorUnlessShiftIsHeld) {
  MarkByteGrid();
  grid.StartAt(2, 2);
  grid.BeginEdit();
  for (GridKey key : {GridKey::Left, GridKey::Right, GridKey::Up, GridKey::Down, GridKey::Home, GridKey::End}) {
    EXPECT_FALSE(grid.HandleKey(key, false));
  }
  EXPECT_EQ(Current(), "2,2");
  EXPECT_TRUE(grid.HandleKey(GridKey::Down, true));
  EXPECT_EQ(Current(), "3,2");
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_TRUE(grid.HandleKey(GridKey::Home, true));
  EXPECT_EQ(Current(), "0,1");
  EXPECT_EQ(recorder.events, (Strings{"show 2,2", "commit 2,2", "show 3,2", "commit 3,2", "show 0,1"}));
}

TEST_F(GridNavigatorTest, WhileEditingOnlyEditableCellsQualify) {
  // Row 0: editable, selectable, editable; row 1: selectable only.
  grid.SetCellEditable(0, 0);
  grid.SetCellSelectable(0, 1);
  grid.SetCellEditable(0, 2);
  grid.SetCellSelectable(1, 0);
  grid.StartAt(0, 0);
  EXPECT_TRUE(grid.HandleKey(GridKey::Right, false));
  EXPECT_EQ(Current(), "0,1");
  // A selectable-only cell takes no editor.
  EXPECT_TRUE(grid.HandleKey(GridKey::Enter, false));
  EXPECT_FALSE(grid.IsEditing());
  grid.SelectCell(0, 0);
  grid.BeginEdit();
  EXPECT_TRUE(grid.HandleKey(GridKey::Right, true));
  EXPECT_EQ(Current(), "0,2");
  // Reading order from (0, 2) passes row 1 and comes round to (0, 0).
  EXPECT_TRUE(grid.HandleKey(GridKey::Tab, false));
  EXPECT_EQ(Current(), "0,0");
  // Down from (0, 0): (1, 0) is not editable and the edge ends the search.
  EXPECT_TRUE(grid.HandleKey(GridKey::Down, true));
  EXPECT_EQ(Current(), "0,0");
  EXPECT_TRUE(grid.IsEditing());
}

TEST_F(GridNavigatorTest, ALoneCellKeepsReadingOrderFromLooping) {
  grid.SetCellEditable(1, 1);
  grid.SetCellEditable(2, 2);  // only to widen the grid
  grid.StartAt(2, 2);
  grid.BeginEdit();
  EXPECT_TRUE(grid.HandleKey(GridKey::Tab, false));
  EXPECT_EQ(Current(), "1,1");
  EXPECT_TRUE(grid.HandleKey(GridKey::Tab, false));
  EXPECT_EQ(Current(), "2,2");

  GridNavigator lone{&recorder};
  lone.SetCellEditable(0, 0);
  lone.StartAt(0, 0);
  lone.BeginEdit();
  EXPECT_TRUE(lone.HandleKey(GridKey::Tab, false));
  EXPECT_TRUE(lone.HandleKey(GridKey::Tab, true));
  EXPECT_TRUE(lone.IsEditing());
  EXPECT_EQ(lone.CurrentRow(), 0);
  // A search with step 0 from a cell that does not qualify gives up.
  GridNavigator none{&recorder};
  none.SetCellSelectable(0, 0);
  none.SetCellEditable(1, 1);
  none.MoveTo(0, 1, 0, NavigationMode::ReadingOrder);
  EXPECT_EQ(none.CurrentRow(), -1);
}

TEST_F(GridNavigatorTest, ClicksCommitAndDoubleClickEdits) {
  grid.SetCellSelectable(0, 0);
  grid.SetCellEditable(0, 1);
  grid.SetCellEditable(0, 2);
  grid.SetCellEditable(1, 2);
  grid.StartAt(0, 1);
  grid.BeginEdit();
  grid.Click(0, 2);
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_EQ(Current(), "0,2");
  grid.DoubleClick(1, 1);  // nothing there
  EXPECT_EQ(Current(), "0,2");
  EXPECT_FALSE(grid.IsEditing());
  grid.DoubleClick(0, 0);
  EXPECT_EQ(Current(), "0,0");
  EXPECT_FALSE(grid.IsEditing());
  grid.DoubleClick(1, 2);
  EXPECT_TRUE(grid.IsEditing());
  // Moving the current cell by any road closes the editor over the old one first.
  grid.SelectCell(0, 1);
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"show 0,1", "commit 0,1", "show 1,2", "commit 1,2"}));
  EXPECT_EQ(recorder.selected, (Strings{"0,1", "0,2", "0,0", "1,2", "0,1"}));
}

}  // namespace
}  // namespace velmar
