#include "dialogs/GridNavigator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "util/Format.h"

namespace velmar {
namespace {

using Strings = std::vector<std::string>;

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

  Strings events;
  Strings selected;
};

class GridNavigatorTest : public ::testing::Test {
 protected:
  GridNavigatorTest() { grid.SetNotifyTarget(&recorder); }
  // The raw data editor's shape: 32 rows, a label column and 16 byte columns.
  void MarkByteGrid() {
    for (int row = 0; row < 32; ++row) {
      for (int column = 1; column <= 16; ++column) grid.SetCellEditable(row, column);
    }
  }
  std::string Current() const { return Format("%d,%d", grid.CurrentRow(), grid.CurrentColumn()); }
  std::string After(GridKey key, bool shift = false) {
    grid.HandleKey(key, shift);
    return Current();
  }

  Recorder recorder;
  GridNavigator grid{&recorder};
};

TEST_F(GridNavigatorTest, NothingMovesBeforeAnyCellIsMarked) {
  for (GridKey key : {GridKey::Left, GridKey::Right, GridKey::Up, GridKey::Down, GridKey::Home, GridKey::End,
                      GridKey::Tab, GridKey::Escape}) {
    EXPECT_FALSE(grid.HandleKey(key, false));
    EXPECT_FALSE(grid.HandleKey(key, true));
  }
  EXPECT_TRUE(grid.HandleKey(GridKey::Enter, false));  // Enter is always the grid's
  grid.StartAt(0, 0);
  grid.DoubleClick(0, 0);
  EXPECT_EQ(Current(), "-1,-1");
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(recorder.selected.empty());
}

TEST_F(GridNavigatorTest, MarkingRowFiveBeforeRowsOneToFour) {
  grid.SetCellEditable(5, 3);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.ColumnCount(), 4);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 6; ++column) {
      EXPECT_FALSE(grid.IsCellSelectable(row, column) || grid.IsCellEditable(row, column)) << row << "," << column;
    }
  }
  grid.SetCellSelectable(2, 0);
  EXPECT_TRUE(grid.IsCellSelectable(2, 0));
  EXPECT_FALSE(grid.IsCellEditable(2, 0));
  EXPECT_FALSE(grid.IsCellSelectable(2, 3));  // row 2's states end before column 3
  for (int row : {1, 3, 4}) {
    for (int column = 0; column < 4; ++column) EXPECT_FALSE(grid.IsCellSelectable(row, column));
  }
  EXPECT_TRUE(grid.IsCellEditable(5, 3));

  // A selectable mark keeps the editable one; marks outside the limits are ignored.
  grid.SetCellSelectable(5, 3);
  EXPECT_TRUE(grid.IsCellEditable(5, 3));
  grid.SetCellEditable(-1, 2);
  grid.SetCellSelectable(3, -4);
  grid.SetCellEditable(GridNavigator::kMaxRows, 0);
  grid.SetCellEditable(0, GridNavigator::kMaxColumns);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.ColumnCount(), 4);

  // Down stops at the edge; reading order crosses the unmarked rows and goes round.
  ASSERT_TRUE(grid.SelectCell(2, 0));
  EXPECT_EQ(After(GridKey::Down), "2,0");
  EXPECT_EQ(After(GridKey::End), "5,3");
  EXPECT_EQ(After(GridKey::Home), "2,0");
  EXPECT_EQ(recorder.selected, (Strings{"2,0", "5,3", "2,0"}));
}

TEST_F(GridNavigatorTest, ArrowsHomeAndEndOnTheByteGrid) {
  MarkByteGrid();
  grid.StartAt(0, 0);  // the label column is skipped
  EXPECT_EQ(Current(), "0,1");
  EXPECT_TRUE(grid.SelectCell(0, 1));  // selecting the current cell again tells nobody
  EXPECT_EQ(recorder.selected, (Strings{"0,1"}));

  EXPECT_EQ(After(GridKey::Left), "0,1");
  EXPECT_EQ(After(GridKey::Up), "0,1");
  EXPECT_EQ(After(GridKey::Right), "0,2");
  EXPECT_EQ(After(GridKey::Down), "1,2");
  EXPECT_EQ(After(GridKey::End), "31,16");
  EXPECT_EQ(After(GridKey::Right), "31,16");
  EXPECT_EQ(After(GridKey::Down), "31,16");
  EXPECT_EQ(After(GridKey::Home), "0,1");
  EXPECT_EQ(recorder.selected, (Strings{"0,1", "0,2", "1,2", "31,16", "0,1"}));
}

TEST_F(GridNavigatorTest, TabCarriesTheEditorAndWraps) {
  MarkByteGrid();
  grid.StartAt(0, 0);
  EXPECT_FALSE(grid.HandleKey(GridKey::Tab, false));  // not editing: the dialog's Tab
  ASSERT_TRUE(grid.HandleKey(GridKey::Enter, false));
  EXPECT_EQ(After(GridKey::Tab), "0,2");
  EXPECT_TRUE(grid.IsEditing());
  grid.HandleKey(GridKey::Escape, false);
  grid.SelectCell(31, 16);
  grid.BeginEdit();
  EXPECT_EQ(After(GridKey::Tab), "0,1");
  EXPECT_EQ(After(GridKey::Tab, true), "31,16");
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"show 0,1", "commit 0,1", "show 0,2", "restore 0,2", "show 31,16",
                                      "commit 31,16", "show 0,1", "commit 0,1", "show 31,16"}));
}

TEST_F(GridNavigatorTest, KeysWhileEditing) {
  MarkByteGrid();
  grid.StartAt(4, 4);
  EXPECT_FALSE(grid.HandleKey(GridKey::Escape, false));  // not editing: the dialog's Escape
  grid.HandleKey(GridKey::Enter, false);
  EXPECT_TRUE(grid.HandleKey(GridKey::Escape, false));
  EXPECT_FALSE(grid.IsEditing());
  grid.HandleKey(GridKey::Enter, false);
  EXPECT_TRUE(grid.HandleKey(GridKey::Enter, false));
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"show 4,4", "restore 4,4", "show 4,4", "commit 4,4"}));

  // The arrows, Home and End belong to the edit box unless Shift is held.
  recorder.events.clear();
  grid.BeginEdit();
  for (GridKey key : {GridKey::Left, GridKey::Right, GridKey::Up, GridKey::Down, GridKey::Home, GridKey::End}) {
    EXPECT_FALSE(grid.HandleKey(key, false));
  }
  EXPECT_EQ(After(GridKey::Down, true), "5,4");
  EXPECT_EQ(After(GridKey::Home, true), "0,1");
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"show 4,4", "commit 4,4", "show 5,4", "commit 5,4", "show 0,1"}));
  EXPECT_EQ(recorder.selected, (Strings{"4,4", "5,4", "0,1"}));
}

TEST_F(GridNavigatorTest, WhileEditingOnlyEditableCellsQualify) {
  // Row 0: editable, selectable, editable; row 1: selectable only.
  grid.SetCellEditable(0, 0);
  grid.SetCellSelectable(0, 1);
  grid.SetCellEditable(0, 2);
  grid.SetCellSelectable(1, 0);
  grid.StartAt(0, 0);
  EXPECT_EQ(After(GridKey::Right), "0,1");
  grid.HandleKey(GridKey::Enter, false);  // a selectable-only cell takes no editor
  EXPECT_FALSE(grid.IsEditing());
  grid.SelectCell(0, 0);
  grid.BeginEdit();
  EXPECT_EQ(After(GridKey::Right, true), "0,2");
  EXPECT_EQ(After(GridKey::Tab), "0,0");        // past row 1 and round the grid
  EXPECT_EQ(After(GridKey::Down, true), "0,0");  // (1, 0) is not editable, then the edge
  EXPECT_TRUE(grid.IsEditing());

  // A lone editable cell: reading order comes back to it and stops.
  GridNavigator lone;
  lone.SetCellEditable(0, 0);
  lone.StartAt(0, 0);
  lone.BeginEdit();
  EXPECT_TRUE(lone.HandleKey(GridKey::Tab, false));
  EXPECT_TRUE(lone.HandleKey(GridKey::Tab, true));
  EXPECT_TRUE(lone.IsEditing());
  lone.MoveTo(-3, 9, +1, NavigationMode::ReadingOrder);
  EXPECT_EQ(lone.CurrentRow(), 0);
}

TEST_F(GridNavigatorTest, ClicksCommitAndDoubleClickEdits) {
  grid.SetCellSelectable(0, 0);
  grid.SetCellEditable(0, 1);
  grid.SetCellEditable(1, 2);
  grid.StartAt(0, 1);
  grid.BeginEdit();
  grid.Click(1, 2);
  EXPECT_FALSE(grid.IsEditing());
  grid.DoubleClick(1, 1);  // nothing there
  grid.DoubleClick(0, 0);  // selectable only
  EXPECT_FALSE(grid.IsEditing());
  grid.DoubleClick(1, 2);
  EXPECT_TRUE(grid.IsEditing());
  // Any road that moves the current cell closes the editor over the old one first.
  grid.SelectCell(0, 1);
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_EQ(recorder.events, (Strings{"show 0,1", "commit 0,1", "show 1,2", "commit 1,2"}));
  EXPECT_EQ(recorder.selected, (Strings{"0,1", "1,2", "0,0", "1,2", "0,1"}));
}

}  // namespace
}  // namespace velmar
