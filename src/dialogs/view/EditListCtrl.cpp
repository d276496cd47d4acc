#include "dialogs/view/EditListCtrl.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>

namespace velmar {

// ---------------------------------------------------------------------------
// GridTextModel

int GridTextModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int GridTextModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headings.size());
}

QVariant GridTextModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role == Qt::DisplayRole) return rows[static_cast<size_t>(index.row())].at(index.column());
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(static_cast<int>(Qt::AlignCenter));
  return {};
}

QVariant GridTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= headings.size()) return {};
  if (role == Qt::DisplayRole) return headings.at(section);
  return {};
}

Qt::ItemFlags GridTextModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void GridTextModel::AddColumn(const QString& heading) {
  const int column = columnCount();
  beginInsertColumns(QModelIndex(), column, column);
  headings.append(heading);
  for (QStringList& row : rows) row.append(QString());
  endInsertColumns();
}

void GridTextModel::SetRowCount(int count) {
  count = std::max(count, 0);
  const int old = rowCount();
  if (count > old) {
    beginInsertRows(QModelIndex(), old, count - 1);
    QStringList empty;
    for (int i = 0; i < columnCount(); ++i) empty.append(QString());
    rows.resize(static_cast<size_t>(count), empty);
    endInsertRows();
  } else if (count < old) {
    beginRemoveRows(QModelIndex(), count, old - 1);
    rows.resize(static_cast<size_t>(count));
    endRemoveRows();
  }
}

void GridTextModel::SetText(int row, int column, const QString& text) {
  if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return;
  QString& cell = rows[static_cast<size_t>(row)][column];
  if (cell == text) return;
  cell = text;
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

QString GridTextModel::Text(int row, int column) const {
  if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return {};
  return rows[static_cast<size_t>(row)].at(column);
}

// ---------------------------------------------------------------------------
// EditListCtrl

namespace {

// Draws every cell itself: its text centred, the current cell filled, and
// none of the item view's own selection or focus marks.
class CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(EditListCtrl* gridControl) : QStyledItemDelegate(gridControl), grid(gridControl) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    cell.displayAlignment = Qt::AlignCenter;
    if (index.row() == grid->CurrentRow() && index.column() == grid->CurrentColumn()) {
      cell.backgroundBrush = QBrush(EditListCtrl::CurrentCellColor());
    }
    const QWidget* widget = cell.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
  }

 private:
  EditListCtrl* grid;
};

GridKey MapKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return GridKey::Enter;
    case Qt::Key_Escape:
      return GridKey::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return GridKey::Tab;
    case Qt::Key_Left:
      return GridKey::Left;
    case Qt::Key_Right:
      return GridKey::Right;
    case Qt::Key_Up:
      return GridKey::Up;
    case Qt::Key_Down:
      return GridKey::Down;
    case Qt::Key_Home:
      return GridKey::Home;
    case Qt::Key_End:
      return GridKey::End;
    default:
      return GridKey::Other;
  }
}

}  // namespace

EditListCtrl::EditListCtrl(QWidget* parent) : QTableView(parent), navigator(this) {
  textModel = new GridTextModel(this);
  setModel(textModel);
  setItemDelegate(new CellDelegate(this));
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setShowGrid(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { CommitBeforeMoving(); });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { CommitBeforeMoving(); });
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { CommitBeforeMoving(); });
}

EditListCtrl::~EditListCtrl() {
  // The edit box is a child of the viewport and goes with it; nothing must
  // call back into the navigator while the children are destroyed.
  if (editBox != nullptr) editBox->removeEventFilter(this);
  disconnect(verticalScrollBar(), nullptr, this, nullptr);
  disconnect(horizontalScrollBar(), nullptr, this, nullptr);
  disconnect(horizontalHeader(), nullptr, this, nullptr);
  navigator.SetView(nullptr);
  navigator.SetNotifyTarget(nullptr);
}

void EditListCtrl::AddColumn(const QString& heading, int width) {
  textModel->AddColumn(heading);
  setColumnWidth(textModel->columnCount() - 1, width);
}

void EditListCtrl::SetRowCount(int count) { textModel->SetRowCount(count); }

void EditListCtrl::SetItemText(int row, int column, const QString& text) { textModel->SetText(row, column, text); }

QString EditListCtrl::GetItemText(int row, int column) const { return textModel->Text(row, column); }

int EditListCtrl::GetColumnCount() const {
  return horizontalHeader() != nullptr ? horizontalHeader()->count() : textModel->columnCount();
}

int EditListCtrl::GetRowCount() const { return textModel->rowCount(); }

void EditListCtrl::Attach(QLineEdit* edit, CallbackNotify* notifyTarget) {
  if (editBox != nullptr) editBox->removeEventFilter(this);
  editBox = edit;
  if (editBox != nullptr) {
    editBox->hide();
    editBox->setParent(viewport());
    editBox->setFrame(false);
    editBox->setAlignment(Qt::AlignCenter);
    editBox->installEventFilter(this);
  }
  navigator.SetNotifyTarget(notifyTarget);
  setShowGrid(true);
  navigator.SelectCell(navigator.CurrentRow(), navigator.CurrentColumn());
}

QRect EditListCtrl::CellRect(int row, int column) const { return visualRect(textModel->index(row, column)); }

void EditListCtrl::ShowEditor(int row, int column) {
  if (editBox == nullptr) return;
  placingEditor = true;
  editBox->setGeometry(CellRect(row, column));
  editBox->setText(textModel->Text(row, column));
  editBox->show();
  editBox->raise();
  editBox->setFocus(Qt::OtherFocusReason);
  editBox->selectAll();
  placingEditor = false;
}

void EditListCtrl::HideEditor(int row, int column, bool commit) {
  if (editBox == nullptr) return;
  if (commit) textModel->SetText(row, column, editBox->text());
  const bool hadFocus = window()->focusWidget() == editBox;
  editBox->hide();
  if (hadFocus) setFocus(Qt::OtherFocusReason);
}

void EditListCtrl::RepaintCell(int row, int column) { viewport()->update(CellRect(row, column)); }

void EditListCtrl::EnsureCellVisible(int row, int column) {
  const QModelIndex cell = textModel->index(row, column);
  if (cell.isValid()) scrollTo(cell, QAbstractItemView::EnsureVisible);
}

void EditListCtrl::CommitBeforeMoving() {
  if (!placingEditor) navigator.CommitEdit();
}

bool EditListCtrl::HandleKeyPress(QKeyEvent* event) {
  const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0 || event->key() == Qt::Key_Backtab;
  if (!navigator.HandleKey(MapKey(event->key()), shift)) return false;
  event->accept();
  return true;
}

bool EditListCtrl::StartEditWithText(QKeyEvent* event) {
  if (navigator.IsEditing() || editBox == nullptr) return false;
  if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) return false;
  const QString text = event->text();
  if (text.size() != 1 || !text.at(0).isPrint() || text.at(0).isSpace()) return false;
  if (!navigator.BeginEdit()) return false;
  // The typed character replaces the cell's text, as the selected text would be.
  editBox->setText(text);
  editBox->setCursorPosition(static_cast<int>(text.size()));
  event->accept();
  return true;
}

int EditListCtrl::FittingColumnWidth(int column) const {
  if (column < 0 || column >= textModel->columnCount()) return 0;
  // The widest text measured in the font, then the delegate's own size for
  // it: its margins are the ones the cell is drawn with.
  const QFontMetrics metrics(font());
  int widestRow = -1;
  int widest = -1;
  for (int row = 0; row < textModel->rowCount(); ++row) {
    const int width = metrics.horizontalAdvance(textModel->Text(row, column));
    if (width > widest) {
      widest = width;
      widestRow = row;
    }
  }
  int needed = horizontalHeader()->sectionSizeHint(column);
  if (widestRow >= 0) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex cell = textModel->index(widestRow, column);
    // A grid line takes the last pixel of the column.
    needed = std::max(needed, itemDelegate()->sizeHint(option, cell).width() + (showGrid() ? 1 : 0));
  }
  return needed;
}

bool EditListCtrl::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (HandleKeyPress(key) || StartEditWithText(key)) return true;
  }
  return QTableView::event(event);
}

bool EditListCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editBox && event->type() == QEvent::KeyPress && HandleKeyPress(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

void EditListCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTableView::mousePressEvent(event);
    return;
  }
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (cell.isValid()) {
    navigator.Click(cell.row(), cell.column());
  } else {
    navigator.CommitEdit();
  }
  setFocus(Qt::MouseFocusReason);
  event->accept();
}

void EditListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTableView::mouseDoubleClickEvent(event);
    return;
  }
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (cell.isValid()) {
    navigator.DoubleClick(cell.row(), cell.column());
  } else {
    navigator.CommitEdit();
  }
  event->accept();
}

void EditListCtrl::wheelEvent(QWheelEvent* event) {
  navigator.CommitEdit();
  QTableView::wheelEvent(event);
}

}  // namespace velmar
