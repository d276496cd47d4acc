#include "app/view/GenericSelectDlg.h"

#include <QComboBox>
#include <QPushButton>

#include "common/UserInterface.h"
#include "app/view/QtText.h"

namespace velmar {

GenericSelectDlg::GenericSelectDlg(QWidget* parent, CallbackContext* owner, unsigned kind)
    : DlgBase(parent), selection_(kNoSelection) {
  const DialogUnits units = Units();
  setFixedSize(units.Size(280, 50));

  list_ = new QComboBox(this);
  list_->setEditable(false);
  list_->setInsertPolicy(QComboBox::NoInsert);
  QFont listFont(font());
  listFont.setFamily(QStringLiteral("Courier"));
  listFont.setStyleHint(QFont::TypeWriter);
  listFont.setFixedPitch(true);
  listFont.setWeight(QFont::Light);
  list_->setFont(listFont);
  const QRect listArea = units.Rect(5, 5, 270, 12);
  list_->setGeometry(listArea.x(), listArea.y(), listArea.width(), list_->sizeHint().height());

  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setGeometry(units.Rect(5, 30, 75, 15));
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setGeometry(units.Rect(200, 30, 75, 15));
  connect(ok_, &QPushButton::clicked, this, [this] { OnOkButton(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { OnCancelButton(); });

  list_->clear();
  if (owner != nullptr) owner->FillContent(this, kind);
  if (list_->count() > 0) list_->setCurrentIndex(0);
  list_->setFocus();
}

void GenericSelectDlg::SetTitle(const std::string& text) { setWindowTitle(FromCoreText(text)); }

void GenericSelectDlg::Append(const std::string& text) {
  // An empty text is still an item: skipping it would shift every later
  // position the owner maps its choices by.
  list_->addItem(FromCoreText(text));
}

void GenericSelectDlg::OnOkButton() {
  const int index = list_->currentIndex();
  selection_ = index >= 0 ? static_cast<unsigned>(index) : kNoSelection;
  done(QDialog::Accepted);
}

void GenericSelectDlg::OnCancelButton() {
  selection_ = kNoSelection;
  done(QDialog::Rejected);
}

QAbstractButton* GenericSelectDlg::GetOkButton() const { return ok_; }

QAbstractButton* GenericSelectDlg::GetCancelButton() const { return cancel_; }

}  // namespace velmar
