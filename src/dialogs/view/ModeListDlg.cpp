#include "dialogs/view/ModeListDlg.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QTableView>

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
  for (unsigned column = 0; column < kModeColumnCount; ++column) {
    table->setColumnWidth(static_cast<int>(column), ModeTable::Columns()[column].width);
  }
  connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
    if (section >= 0) ClickHeading(static_cast<unsigned>(section));
  });

  listModel->Open(owner);
  resize(units.Size(550, 250));
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
