#include "dialogs/view/EditListCtrl.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "gui/QtTestSupport.h"

namespace velmar {
namespace {

using testing::PressKey;

class Selections : public CallbackNotify {
 public:
  void OnCellSelected(int row, int column) override { cells.push_back({row, column}); }
  std::vector<std::pair<int, int>> cells;
};

// A window holding the grid the way a dialog does, so that keys the grid
// leaves alone travel on to it.
class Host : public QWidget {
 public:
  Host() {
    auto* layout = new QVBoxLayout(this);
    grid = new EditListCtrl(this);
    layout->addWidget(grid);
  }
  void keyPressEvent(QKeyEvent* event) override { keysReachingHost.push_back(event->key()); }
  EditListCtrl* grid;
  std::vector<int> keysReachingHost;
};

class EditListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApp();
    host = new Host;
    grid = host->grid;
    tester = new QAbstractItemModelTester(grid->TextModel(), QAbstractItemModelTester::FailureReportingMode::Fatal,
                                          host);
    // Row labels in column 0 (selectable only), values in columns 1-3.
    grid->AddColumn("", 40);
    for (const char* heading : {"00", "01", "02"}) grid->AddColumn(heading, 30);
    grid->SetRowCount(rows);
    for (int row = 0; row < rows; ++row) {
      grid->SetItemText(row, 0, QString::asprintf("%X0", row));
      for (int column = 1; column <= 3; ++column) grid->SetItemText(row, column, QString::asprintf("%d%d", row, column));
      grid->SetCellSelectable(row, 0);
      for (int column = 1; column <= 3; ++column) grid->SetCellEditable(row, column);
    }
    grid->Attach(new QLineEdit, &selections);
    grid->StartAt(0, 1);
    host->resize(300, 200);
    host->show();
  }
  void TearDown() override { delete host; }

  QPoint CellCenter(int row, int column) { return grid->CellRect(row, column).center(); }
  QLineEdit* Edit() { return grid->EditBox(); }
  // Types into the edit box the way a user does: the selected text is replaced.
  void Type(const char* text) { QTest::keyClicks(Edit(), text); }

  static constexpr int rows = 40;
  Host* host = nullptr;
  EditListCtrl* grid = nullptr;
  QAbstractItemModelTester* tester = nullptr;
  Selections selections;
};

TEST_F(EditListCtrlTest, BuildsColumnsRowsAndTexts) {
  EXPECT_EQ(grid->GetColumnCount(), 4);
  EXPECT_EQ(grid->GetRowCount(), rows);
  EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "01");
  EXPECT_EQ(grid->columnWidth(0), 40);
  EXPECT_EQ(grid->columnWidth(3), 30);
  EXPECT_EQ(grid->GetItemText(12, 0), "C0");
  EXPECT_EQ(grid->GetItemText(2, 3), "23");
  EXPECT_EQ(grid->GetItemText(rows, 1), "");
  EXPECT_EQ(grid->GetItemText(0, 9), "");
  EXPECT_EQ(grid->model()->data(grid->model()->index(1, 1), Qt::TextAlignmentRole).toInt(),
            static_cast<int>(Qt::AlignCenter));
  EXPECT_TRUE(grid->showGrid());
  EXPECT_FALSE(Edit()->isVisible());
  EXPECT_EQ(Edit()->parentWidget(), grid->viewport());
  ASSERT_EQ(selections.cells.size(), 1u);
  EXPECT_EQ(selections.cells[0], std::make_pair(0, 1));
  // Shrinking and growing the rows keeps the model consistent (the tester checks).
  grid->SetRowCount(3);
  grid->SetRowCount(5);
  EXPECT_EQ(grid->GetItemText(4, 1), "");
}

TEST_F(EditListCtrlTest, EnterOpensTheEditBoxOverTheCellAndEnterCommits) {
  EXPECT_TRUE(PressKey(grid, Qt::Key_Return));
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_TRUE(Edit()->isVisible());
  EXPECT_EQ(Edit()->geometry(), grid->CellRect(0, 1));
  EXPECT_EQ(Edit()->text(), "01");
  EXPECT_EQ(Edit()->selectedText(), "01");
  Type("a5");
  EXPECT_TRUE(PressKey(Edit(), Qt::Key_Enter));
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_FALSE(Edit()->isVisible());
  EXPECT_EQ(grid->GetItemText(0, 1), "a5");
  EXPECT_EQ(host->focusWidget(), grid);
  EXPECT_TRUE(host->keysReachingHost.empty());
}

TEST_F(EditListCtrlTest, EscapeRestoresTheCellAndStaysInTheDialog) {
  PressKey(grid, Qt::Key_Return);
  Type("ff");
  EXPECT_TRUE(PressKey(Edit(), Qt::Key_Escape));
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetItemText(0, 1), "01");
  EXPECT_TRUE(host->keysReachingHost.empty());
  // Not editing, Escape is the dialog's.
  PressKey(grid, Qt::Key_Escape);
  EXPECT_EQ(host->keysReachingHost, std::vector<int>{Qt::Key_Escape});
}

TEST_F(EditListCtrlTest, TabCarriesTheEditBoxAndCommitsOnTheWay) {
  grid->SelectCell(rows - 1, 3);
  PressKey(grid, Qt::Key_Return);
  Type("7");
  EXPECT_TRUE(PressKey(Edit(), Qt::Key_Tab));
  EXPECT_EQ(grid->GetItemText(rows - 1, 3), "7");
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->CurrentColumn(), 1);  // the label column is not editable
  EXPECT_TRUE(grid->IsEditing());
  EXPECT_EQ(Edit()->geometry(), grid->CellRect(0, 1));
  EXPECT_EQ(Edit()->text(), "01");
  EXPECT_TRUE(PressKey(Edit(), Qt::Key_Backtab, Qt::ShiftModifier));
  EXPECT_EQ(grid->CurrentRow(), rows - 1);
  EXPECT_EQ(grid->CurrentColumn(), 3);
  EXPECT_EQ(Edit()->text(), "7");
  EXPECT_TRUE(host->keysReachingHost.empty());
}

TEST_F(EditListCtrlTest, ArrowsMoveTheCaretWhileEditing) {
  PressKey(grid, Qt::Key_Return);
  Edit()->setCursorPosition(2);
  PressKey(Edit(), Qt::Key_Left);
  EXPECT_EQ(Edit()->cursorPosition(), 1);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_TRUE(PressKey(Edit(), Qt::Key_Down, Qt::ShiftModifier));
  EXPECT_EQ(grid->CurrentRow(), 1);
  EXPECT_TRUE(grid->IsEditing());
  EXPECT_EQ(Edit()->text(), "11");
  EXPECT_EQ(Edit()->geometry(), grid->CellRect(1, 1));
}

TEST_F(EditListCtrlTest, ClicksSelectAndDoubleClickEdits) {
  PressKey(grid, Qt::Key_Return);
  Type("e");
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(2, 2));
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetItemText(0, 1), "e");
  EXPECT_EQ(grid->CurrentRow(), 2);
  EXPECT_EQ(grid->CurrentColumn(), 2);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(3, 0));
  EXPECT_EQ(grid->CurrentRow(), 3);
  EXPECT_FALSE(grid->IsEditing());  // a label is only selectable
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(3, 3));
  EXPECT_TRUE(grid->IsEditing());
  EXPECT_EQ(Edit()->text(), "33");
  const std::vector<std::pair<int, int>> expected{{0, 1}, {2, 2}, {3, 0}, {3, 3}};
  EXPECT_EQ(selections.cells, expected);
}

TEST_F(EditListCtrlTest, ScrollingCommitsTheEdit) {
  PressKey(grid, Qt::Key_Return);
  Type("9");
  ASSERT_GT(grid->verticalScrollBar()->maximum(), 0);
  grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->value() + 3);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetItemText(0, 1), "9");

  // Going to a cell out of view scrolls it in without losing the new edit.
  grid->verticalScrollBar()->setValue(0);
  grid->SelectCell(rows - 1, 2);
  EXPECT_GT(grid->verticalScrollBar()->value(), 0);
  grid->verticalScrollBar()->setValue(0);
  ASSERT_TRUE(grid->BeginEdit());
  EXPECT_TRUE(grid->IsEditing());
  EXPECT_TRUE(grid->viewport()->rect().contains(Edit()->geometry()));
}

TEST_F(EditListCtrlTest, OnlyTheCurrentCellIsFilled) {
  grid->SelectCell(1, 2);
  const QImage image = grid->viewport()->grab().toImage();
  const QPoint inside = grid->CellRect(1, 2).topLeft() + QPoint(3, 3);
  const QPoint other = grid->CellRect(1, 1).topLeft() + QPoint(3, 3);
  EXPECT_EQ(QColor(image.pixel(inside)), EditListCtrl::CurrentCellColor());
  EXPECT_NE(QColor(image.pixel(other)), EditListCtrl::CurrentCellColor());
}

}  // namespace
}  // namespace velmar
