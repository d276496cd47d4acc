#pragma once

#include <QAbstractTableModel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <vector>

#include "dialogs/GridNavigator.h"

namespace velmar {

class CallbackNotify;

// The texts of the editable grid: a heading per column and a text per cell,
// all centred. Cells are not selectable in the item-view sense: the grid keeps
// its own current cell.
class GridTextModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridTextModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Appends a column headed `heading` with empty cells.
  void AddColumn(const QString& heading);
  // Grows or shrinks the rows to `count`; new cells are empty.
  void SetRowCount(int count);
  // Out-of-range positions are ignored (and read as empty).
  void SetText(int row, int column, const QString& text);
  QString Text(int row, int column) const;

 private:
  QStringList headings;
  std::vector<QStringList> rows;
};

// A grid of text cells selected one at a time, navigated with the keyboard
// and edited in place by an edit box the owning dialog hands over. Which
// cells may be selected and edited, the current cell and the key rules live
// in its GridNavigator; this widget draws the grid, places the edit box and
// turns key presses, clicks and scrolls into navigator calls. Keys reach it
// (and its edit box) before the dialog: Enter and Escape close an edit
// instead of the dialog. Typing a character on an editable cell that is not
// being edited starts editing it with that character, as in a spreadsheet.
class EditListCtrl : public QTableView, private GridCellView {
  Q_OBJECT

 public:
  explicit EditListCtrl(QWidget* parent = nullptr);
  ~EditListCtrl() override;

  // Building the grid: columns with their headings and widths, the rows, the
  // texts.
  void AddColumn(const QString& heading, int width);
  void SetRowCount(int count);
  void SetItemText(int row, int column, const QString& text);
  QString GetItemText(int row, int column) const;
  int GetColumnCount() const;
  int GetRowCount() const;

  void SetCellEditable(int row, int column) { navigator.SetCellEditable(row, column); }
  void SetCellSelectable(int row, int column) { navigator.SetCellSelectable(row, column); }
  bool IsCellEditable(int row, int column) const { return navigator.IsCellEditable(row, column); }
  bool IsCellSelectable(int row, int column) const { return navigator.IsCellSelectable(row, column); }

  // Takes the in-place edit box (re-parented into the grid and hidden) and
  // the target told about every change of the current cell.
  void Attach(QLineEdit* editBox, CallbackNotify* notifyTarget);
  void CommitEdit() { navigator.CommitEdit(); }
  void StartAt(int row, int column) { navigator.StartAt(row, column); }
  bool BeginEdit() { return navigator.BeginEdit(); }
  void EndEdit(bool commit) { navigator.EndEdit(commit); }
  bool SelectCell(int row, int column) { return navigator.SelectCell(row, column); }
  bool Navigate(int step, NavigationMode mode) { return navigator.Navigate(step, mode); }
  void MoveTo(int row, int column, int step, NavigationMode mode) { navigator.MoveTo(row, column, step, mode); }

  int CurrentRow() const { return navigator.CurrentRow(); }
  int CurrentColumn() const { return navigator.CurrentColumn(); }
  bool IsEditing() const { return navigator.IsEditing(); }
  QLineEdit* EditBox() const { return editBox; }
  GridTextModel* TextModel() const { return textModel; }
  // The rectangle of a cell in the viewport's coordinates.
  QRect CellRect(int row, int column) const;
  // The width column `column` needs to show its heading and every cell's text
  // whole, in the grid's current font and style.
  int FittingColumnWidth(int column) const;

  // The fill of the current cell.
  static QColor CurrentCellColor() { return QColor(200, 200, 200); }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // GridCellView
  void ShowEditor(int row, int column) override;
  void HideEditor(int row, int column, bool commit) override;
  void RepaintCell(int row, int column) override;
  void EnsureCellVisible(int row, int column) override;

  // A key press on the grid or its edit box; true when the grid used it.
  bool HandleKeyPress(QKeyEvent* event);
  // A character typed on the grid itself: starts editing the current cell
  // with it. True when it did.
  bool StartEditWithText(QKeyEvent* event);
  // Scrolling or resizing moves the cells from under the edit box.
  void CommitBeforeMoving();

  GridNavigator navigator;
  GridTextModel* textModel = nullptr;
  QPointer<QLineEdit> editBox;
  bool placingEditor = false;
};

}  // namespace velmar
