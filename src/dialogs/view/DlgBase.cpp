#include "dialogs/view/DlgBase.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

#include "common/UserInterface.h"
#include "app/view/QtText.h"
#include "dialogs/NumberFormat.h"

namespace velmar {

DlgBase::DlgBase(QWidget* parent, UserInterface* ui) : QDialog(parent), ui_(ui) {}

DlgBase::~DlgBase() = default;

void DlgBase::OnOkButton() { done(QDialog::Accepted); }

void DlgBase::OnCancelButton() { done(QDialog::Rejected); }

void DlgBase::reject() { OnCancelButton(); }

bool DlgBase::HandleEnter(QWidget* focused) {
  if (focused == nullptr) return false;
  if (focused == GetOkButton()) {
    OnOkButton();
    return true;
  }
  if (focused == GetCancelButton()) {
    OnCancelButton();
    return true;
  }
  return false;
}

void DlgBase::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      event->accept();
      OnCancelButton();
      return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      event->accept();
      HandleEnter(focusWidget());
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void DlgBase::showEvent(QShowEvent* event) {
  // A dialog's push buttons would otherwise click themselves (or the default
  // button) on Enter before the rules above see the key.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  QDialog::showEvent(event);
}

void DlgBase::ShowMessage(const std::string& text) {
  if (ui_ != nullptr) {
    ui_->ShowMessage(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, windowTitle(), FromCoreText(text), QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::string DlgBase::FieldText(const QLineEdit* field) {
  return field != nullptr ? field->text().toStdString() : std::string();
}

bool DlgBase::ReadHex(const QLineEdit* field, uint32_t& value) { return velmar::ReadHex(FieldText(field), value); }

bool DlgBase::ReadDecimal(const QLineEdit* field, uint32_t& value) {
  return velmar::ReadDecimal(FieldText(field), value);
}

bool DlgBase::ReadSignedDecimal(const QLineEdit* field, int32_t& value) {
  return velmar::ReadSignedDecimal(FieldText(field), value);
}

bool DlgBase::ParseReal(const QLineEdit* field, double& value) {
  return velmar::ParseReal(FieldText(field), value);
}

void DlgBase::WriteHex(QLineEdit* field, unsigned width, uint32_t value, bool prefix) {
  if (field != nullptr) field->setText(QString::fromStdString(velmar::WriteHex(width, value, prefix)));
}

void DlgBase::WriteHexLower(QLineEdit* field, uint32_t value) {
  if (field != nullptr) field->setText(QString::fromStdString(velmar::WriteHexLower(value)));
}

void DlgBase::WriteFixed(QLineEdit* field, unsigned minimum, double value, unsigned maximum) {
  if (field != nullptr) field->setText(QString::fromStdString(velmar::WriteFixed(minimum, value, maximum)));
}

}  // namespace velmar
