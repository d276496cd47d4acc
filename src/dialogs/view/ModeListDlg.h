#pragma once

#include <QAbstractTableModel>

#include "dialogs/ModeTable.h"
#include "dialogs/view/DlgBase.h"

class QTableView;

namespace velmar {

class CallbackContext;

// The modes list's rows as an item model: the texts, the order and the
// comparison all come from its ModeTable.
class ModeListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ModeListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Fills the rows from `owner` (none without one), sorted by resolution.
  void Open(CallbackContext* owner);
  // Sorts by `column` in the current direction.
  void SortRows(unsigned column);
  // A click on a heading: reverses the direction, then sorts by that column.
  void ClickHeading(unsigned column);

  const ModeTable& Table() const { return table; }

 private:
  ModeTable table;
};

// "View Modes & Timings Reported by EDID": every mode and timing the image's
// blocks announce, one row each, sorted by resolution when it opens and by
// any column whose heading is clicked (each click reverses the direction).
class ModeListDlg : public DlgBase {
  Q_OBJECT

 public:
  // `owner` (may be null) fills the list with the image's modes.
  explicit ModeListDlg(QWidget* parent, CallbackContext* owner);
  ~ModeListDlg() override;

  void SortRows(unsigned column) { listModel->SortRows(column); }
  // A click on heading `column`: reverses the direction, sorts by the column
  // and shows both in the heading's sort arrow.
  void ClickHeading(unsigned column);
  // The width column `column` needs to show its heading (with the sort
  // arrow) and every cell's text whole.
  int FittingColumnWidth(int column) const;

  QTableView* Table() const { return table; }
  ModeListModel* ListModel() const { return listModel; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowSortIndicator(unsigned column);
  // Widths of the template scaled to the font, widened to fit every text.
  void FitColumns();

  QTableView* table = nullptr;
  ModeListModel* listModel = nullptr;
};

// "Show Modes": runs the modes list modally over `owner`'s image.
void RunModeListDlg(QWidget* parent, CallbackContext* owner);

}  // namespace velmar
