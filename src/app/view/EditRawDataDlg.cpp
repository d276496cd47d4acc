#include "app/view/EditRawDataDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <initializer_list>
#include <string>

#include "common/UserInterface.h"
#include "app/view/QtText.h"
#include "dialogs/view/EditListCtrl.h"
#include "util/Format.h"

namespace velmar {

namespace {

// A cell's byte: one or more hexadecimal digits worth at most FF.
bool ParseCellByte(const std::string& text, uint8_t& value) {
  if (text.empty()) return false;
  unsigned number = 0;
  for (const char c : text) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return false;
    }
    number = number * 16 + digit;
    if (number > 0xFF) return false;
  }
  value = static_cast<uint8_t>(number);
  return true;
}

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

EditRawDataDlg::EditRawDataDlg(QWidget* parent, UserInterface* ui, CallbackContext* context, uint8_t* rawData,
                               unsigned length)
    : DlgBase(parent, ui), owner(context), data(rawData), dataLength(rawData != nullptr ? length : 0) {
  setWindowTitle(QStringLiteral("View and Edit Raw Data"));
  const DialogUnits units = Units();
  setFixedSize(units.Size(315, 225));

  grid = new EditListCtrl(this);
  grid->setGeometry(units.Rect(5, 5, 305, 160));
  cellEditor = new QLineEdit(this);
  cellEditor->hide();
  frame = new QGroupBox(this);
  frame->setGeometry(units.Rect(5, 170, 305, 25));
  byteLabel = new QLabel(QStringLiteral("Byte[FF]:"), this);
  byteLabel->setGeometry(units.Rect(10, 175, 37, 8));
  infoLabel = new QLabel(QStringLiteral("Info"), this);
  infoLabel->setGeometry(units.Rect(50, 175, 255, 8));
  captionLabel = new QLabel(QStringLiteral("Offset:"), this);
  captionLabel->setGeometry(units.Rect(10, 185, 37, 8));
  extraLabel = new QLabel(QStringLiteral("EInfo"), this);
  extraLabel->setGeometry(units.Rect(50, 185, 255, 8));
  for (QLabel* label : {byteLabel, infoLabel, captionLabel, extraLabel}) label->setTextFormat(Qt::PlainText);
  cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setGeometry(units.Rect(5, 205, 75, 15));
  clearButton = new QPushButton(QStringLiteral("Clear"), this);
  clearButton->setGeometry(units.Rect(122, 205, 75, 15));
  okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setGeometry(units.Rect(235, 205, 75, 15));
  connect(cancelButton, &QPushButton::clicked, this, [this] { OnCancelButton(); });
  connect(clearButton, &QPushButton::clicked, this, [this] { OnClearButton(); });
  connect(okButton, &QPushButton::clicked, this, [this] { OnOkButton(); });

  for (QLabel* label : {byteLabel, infoLabel, captionLabel, extraLabel}) label->clear();
  grid->Attach(cellEditor, this);

  grid->AddColumn(QString(), 31);
  for (int column = 0; column < kByteColumns; ++column) grid->AddColumn(ToQString(Format("%02X", column)), 30);

  rows = static_cast<int>(dataLength / kByteColumns + (dataLength % kByteColumns != 0 ? 1 : 0));
  grid->SetRowCount(rows);
  for (int row = 0; row < rows; ++row) {
    grid->SetItemText(row, 0, ToQString(Format("%2X0", static_cast<unsigned>(row))));
    for (int column = 1; column <= kByteColumns; ++column) {
      const unsigned index = static_cast<unsigned>(row * kByteColumns + column - 1);
      grid->SetItemText(row, column, ToQString(index < dataLength ? Format("%02x", data[index]) : "00"));
    }
  }
  FitColumns();
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column <= kByteColumns; ++column) grid->SetCellEditable(row, column);
  }
  grid->StartAt(0, 0);
  grid->setFocus();
}

EditRawDataDlg::~EditRawDataDlg() = default;

void EditRawDataDlg::FitColumns() {
  // The template's widths suit a small dialog font: they grow with the font,
  // and further where a column's widest text would not fit. The byte columns
  // stay alike.
  const DialogUnits units = Units();
  grid->setColumnWidth(0, std::max(units.ScaledPixels(31), grid->FittingColumnWidth(0)));
  int byteWidth = units.ScaledPixels(30);
  for (int column = 1; column <= kByteColumns; ++column) {
    byteWidth = std::max(byteWidth, grid->FittingColumnWidth(column));
  }
  for (int column = 1; column <= kByteColumns; ++column) grid->setColumnWidth(column, byteWidth);

  // The dialog widens until the grid shows all 17 columns beside its scroll bar.
  int needed = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column <= kByteColumns; ++column) needed += grid->columnWidth(column);
  const int extra = needed - grid->width();
  if (extra <= 0) return;
  setFixedSize(width() + extra, height());
  for (QWidget* wide : std::initializer_list<QWidget*>{grid, frame, infoLabel, extraLabel}) {
    wide->resize(wide->width() + extra, wide->height());
  }
  clearButton->move(clearButton->x() + extra / 2, clearButton->y());
  okButton->move(okButton->x() + extra, okButton->y());
}

QAbstractButton* EditRawDataDlg::GetOkButton() const { return okButton; }

QAbstractButton* EditRawDataDlg::GetCancelButton() const { return cancelButton; }

void EditRawDataDlg::OnCellSelected(int row, int column) {
  // Only a byte cell of the image may be described: the label column and
  // anything outside the grid or past the data are unmapped.
  const long index = static_cast<long>(row) * kByteColumns + column - 1;
  if (row < 0 || row >= rows || column < 1 || column > kByteColumns || index >= static_cast<long>(dataLength)) {
    byteLabel->setText(QStringLiteral("Byte[XX]:"));
    infoLabel->setText(QStringLiteral("No Data Mapped"));
    captionLabel->clear();
    extraLabel->clear();
    return;
  }
  byteLabel->setText(ToQString(Format("Byte[%03u]:", static_cast<unsigned>(index))));
  infoLabel->clear();
  captionLabel->clear();
  extraLabel->clear();
  std::string name;
  std::string group;
  std::string blockLabel;
  if (owner != nullptr) owner->DescribeByte(static_cast<unsigned>(index), name, group, blockLabel);
  infoLabel->setText(name.empty() ? QStringLiteral("No Data Mapped") : ToQString(name));
  if (!blockLabel.empty()) captionLabel->setText(ToQString(blockLabel));
  if (!group.empty()) extraLabel->setText(ToQString(group));
}

void EditRawDataDlg::OnOkButton() {
  grid->CommitEdit();
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column <= kByteColumns; ++column) {
      const unsigned index = static_cast<unsigned>(row * kByteColumns + column - 1);
      if (index >= dataLength) break;
      const std::string text = grid->GetItemText(row, column).toStdString();
      uint8_t value = 0;
      if (!ParseCellByte(text, value)) {
        // The bad cell is the current one, in view, when the message is read.
        grid->SelectCell(row, column);
        grid->setFocus(Qt::OtherFocusReason);
        ShowMessage(Format("Byte[%X0,%02X]=\"%s\" is invalid. Data will no be updated!", static_cast<unsigned>(row),
                           static_cast<unsigned>(column - 1), text.c_str()));
        return;
      }
    }
  }
  bool changed = false;
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column <= kByteColumns; ++column) {
      const unsigned index = static_cast<unsigned>(row * kByteColumns + column - 1);
      if (index >= dataLength) break;
      uint8_t value = 0;
      ParseCellByte(grid->GetItemText(row, column).toStdString(), value);
      if (data[index] != value) {
        data[index] = value;
        changed = true;
      }
    }
  }
  if (changed) {
    done(QDialog::Accepted);
  } else {
    OnCancelButton();
  }
}

void EditRawDataDlg::OnCancelButton() {
  grid->CommitEdit();
  done(QDialog::Rejected);
}

bool EditRawDataDlg::AskOkCancel(const char* question) {
  if (Ui() != nullptr) return Ui()->AskOkCancel(question);
  QMessageBox box(QMessageBox::Question, windowTitle(), FromCoreText(question),
                  QMessageBox::Ok | QMessageBox::Cancel, this);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Ok;
}

void EditRawDataDlg::OnClearButton() {
  grid->CommitEdit();
  if (!AskOkCancel("You requested to clear all data.\r\nConfirm to Proceed")) return;
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column <= kByteColumns; ++column) grid->SetItemText(row, column, QStringLiteral("00"));
  }
}

bool RunEditRawDataDlg(QWidget* parent, UserInterface* ui, CallbackContext* owner, uint8_t* rawData,
                       unsigned length) {
  EditRawDataDlg dialog(parent, ui, owner, rawData, length);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace velmar
