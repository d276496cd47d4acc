#include "dialogs/view/ModeListDlg.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QResizeEvent>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <algorithm>

namespace velmar {

// ---------------------------------------------------------------------------
// ModeListModel

int ModeListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table.RowCount());
}

int ModeListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kModeColumnCount);
}

QVariant ModeListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(table.Cell(static_cast<size_t>(index.row()), static_cast<unsigned>(index.column())));
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(static_cast<int>(Qt::AlignCenter));
  return {};
}

QVariant ModeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return QString::fromLatin1(ModeTable::Columns()[static_cast<size_t>(section)].heading);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(static_cast<int>(Qt::AlignCenter));
  return {};
}

Qt::ItemFlags ModeListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void ModeListModel::Open(CallbackContext* owner) {
  beginResetModel();
  table.Open(owner);
  endResetModel();
}

// A sort moves whole rows; the view starts over rather than track them.
void ModeListModel::SortRows(unsigned column) {
  beginResetModel();
  table.SortRows(column);
  endResetModel();
}

void ModeListModel::ClickHeading(unsigned column) {
  beginResetModel();
  table.ClickHeading(column);
  endResetModel();
}

// ---------------------------------------------------------------------------
// ModeListDlg

namespace {
constexpr int kTableMargin = 5;  // pixels between the table and the window's edges
}

ModeListDlg::ModeListDlg(QWidget* parent, CallbackContext* owner) : DlgBase(parent) {
  setWindowTitle(QStringLiteral("View Modes & Timings Reported by EDID"));
  setSizeGripEnabled(true);
  const DialogUnits units = Units();

  listModel = new ModeListModel(this);
  table = new QTableView(this);
  table->setObjectName(QStringLiteral("modeTable"));
  table->setGeometry(units.Rect(5, 5, 540, 240));
  table->setModel(listModel);
  table->setShowGrid(true);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  QHeaderView* header = table->horizontalHeader();
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignCenter);
  // The heading's arrow shows the column sorted by and its direction.
  header->setSortIndicatorShown(true);
  connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
    if (section >= 0) ClickHeading(static_cast<unsigned>(section));
  });

  listModel->Open(owner);
  ShowSortIndicator(0);
  FitColumns();
  resize(units.Size(550, 250));
}

void ModeListDlg::ClickHeading(unsigned column) {
  listModel->ClickHeading(column);
  ShowSortIndicator(column);
}

void ModeListDlg::ShowSortIndicator(unsigned column) {
  const bool ascending = listModel->Table().SortAscending();
  table->horizontalHeader()->setSortIndicator(static_cast<int>(column),
                                              ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int ModeListDlg::FittingColumnWidth(int column) const {
  if (column < 0 || column >= listModel->columnCount()) return 0;
  // The heading with room for the sort arrow, and the widest cell measured
  // by the delegate that draws it (its margins included).
  int needed = table->horizontalHeader()->sectionSizeHint(column);
  const QFontMetrics metrics(table->font());
  int widestRow = -1;
  int widest = -1;
  for (int row = 0; row < listModel->rowCount(); ++row) {
    const int width = metrics.horizontalAdvance(listModel->data(listModel->index(row, column)).toString());
    if (width > widest) {
      widest = width;
      widestRow = row;
    }
  }
  if (widestRow >= 0) {
    QStyleOptionViewItem option;
    option.initFrom(table);
    option.widget = table;
    option.font = table->font();
    option.fontMetrics = QFontMetrics(option.font);
    option.displayAlignment = Qt::AlignCenter;
    option.features = QStyleOptionViewItem::HasDisplay;
    const QModelIndex cell = listModel->index(widestRow, column);
    // A grid line takes the last pixel of the column.
    needed = std::max(needed, table->itemDelegate()->sizeHint(option, cell).width() + (table->showGrid() ? 1 : 0));
  }
  return needed;
}

void ModeListDlg::FitColumns() {
  // The template's widths suit a small dialog font: they grow with the
  // font, and further where the column's widest text would not fit.
  const DialogUnits units = Units();
  for (unsigned column = 0; column < kModeColumnCount; ++column) {
    const int index = static_cast<int>(column);
    table->setColumnWidth(index,
                          std::max(units.ScaledPixels(ModeTable::Columns()[column].width), FittingColumnWidth(index)));
  }
}

ModeListDlg::~ModeListDlg() = default;

void ModeListDlg::resizeEvent(QResizeEvent* event) {
  DlgBase::resizeEvent(event);
  table->setGeometry(rect().adjusted(kTableMargin, kTableMargin, -kTableMargin, -kTableMargin));
}

void RunModeListDlg(QWidget* parent, CallbackContext* owner) {
  ModeListDlg dialog(parent, owner);
  dialog.exec();
}

}  // namespace velmar
