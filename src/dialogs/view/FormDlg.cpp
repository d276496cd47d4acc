#include "dialogs/view/FormDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/view/QtText.h"
#include "common/UserInterface.h"
#include "dialogs/EditorForm.h"

namespace velmar {

namespace {

QString Text(const std::string& text) { return FromCoreText(text); }

// A caption of a check box, a button or a label with a buddy, where the
// toolkit would take "&" for a shortcut mark: the form's "&" is a plain one.
QString Caption(const std::string& text) { return FromCoreText(text).replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

FormDlg::FormDlg(QWidget* parent, UserInterface* ui, EditorForm& form) : DlgBase(parent, ui), form_(form) {
  setWindowTitle(Text(form.Caption()));
  setObjectName(QString::fromStdString(form.Address()));

  // The top area (fields outside any group) spans the dialog; declared groups
  // follow on the dialog's grid below it.
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  outer->addLayout(grid);
  QHash<QString, QGridLayout*> groupLayouts;
  int columns = 1;
  for (const FormGroup& group : form.Groups()) columns = std::max(columns, group.column + group.columnSpan);

  bool anyTop = false;
  for (const FormField& field : form.Fields()) anyTop = anyTop || field.group.empty();
  if (anyTop) {
    auto* top = new QGridLayout();
    grid->addLayout(top, 0, 0, 1, columns);
    groupLayouts.insert(QString(), top);
  }
  for (const FormGroup& group : form.Groups()) {
    QWidget* frame = nullptr;
    if (group.caption.empty()) {
      frame = new QWidget(this);
    } else {
      frame = new QGroupBox(Text(group.caption), this);
    }
    frame->setObjectName(QString::fromStdString(group.key));
    auto* layout = new QGridLayout(frame);
    grid->addWidget(frame, group.row + 1, group.column, 1, group.columnSpan);
    groupLayouts.insert(QString::fromStdString(group.key), layout);
  }

  for (const FormField& field : form.Fields()) {
    QGridLayout* layout = groupLayouts.value(QString::fromStdString(field.group));
    if (layout == nullptr) layout = groupLayouts.value(QString());
    if (layout == nullptr) {
      layout = new QGridLayout();
      grid->addLayout(layout, 0, 0, 1, columns);
      groupLayouts.insert(QString(), layout);
    }
    QWidget* control = MakeControl(field);
    const QString name = QString::fromStdString(field.name);
    controls_.insert(name, control);
    const int column = field.column * 2;
    if (field.kind == FieldKind::Check || field.kind == FieldKind::Button) {
      layout->addWidget(control, field.row, column, 1, 2);
    } else {
      auto* label = new QLabel(Caption(field.label), this);
      label->setObjectName(name + QStringLiteral(".label"));
      label->setBuddy(control);
      labels_.insert(name, label);
      layout->addWidget(label, field.row, column);
      layout->addWidget(control, field.row, column + 1);
    }
  }

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
  buttons_->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
  connect(buttons_, &QDialogButtonBox::accepted, this, &FormDlg::OnOkButton);
  connect(buttons_, &QDialogButtonBox::rejected, this, &FormDlg::OnCancelButton);
  outer->addWidget(buttons_);
  Sync();
}

FormDlg::~FormDlg() = default;

QWidget* FormDlg::MakeControl(const FormField& field) {
  const std::string name = field.name;
  switch (field.kind) {
    case FieldKind::Edit: {
      auto* edit = new QLineEdit(this);
      edit->setMinimumWidth(Units().X(40));
      connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
        if (syncing_) return;
        form_.SetText(name, ToCoreText(text));
        Sync();
      });
      edit->setObjectName(QString::fromStdString(name));
      return edit;
    }
    case FieldKind::Check: {
      auto* box = new QCheckBox(Caption(field.label), this);
      connect(box, &QCheckBox::clicked, this, [this, name](bool checked) {
        if (syncing_) return;
        form_.SetChecked(name, checked);
        Sync();
      });
      box->setObjectName(QString::fromStdString(name));
      return box;
    }
    case FieldKind::List: {
      auto* list = new QComboBox(this);
      connect(list, &QComboBox::activated, this, [this, name](int index) {
        if (syncing_) return;
        form_.Select(name, index);
        Sync();
      });
      list->setObjectName(QString::fromStdString(name));
      return list;
    }
    case FieldKind::Label: {
      auto* text = new QLabel(this);
      text->setTextInteractionFlags(Qt::TextSelectableByMouse);
      text->setObjectName(QString::fromStdString(name));
      return text;
    }
    case FieldKind::Button: {
      auto* button = new QPushButton(Caption(field.label), this);
      connect(button, &QPushButton::clicked, this, [this, name]() {
        if (syncing_ || Ui() == nullptr) return;
        form_.Press(name, *Ui());
        Sync();
      });
      button->setObjectName(QString::fromStdString(name));
      return button;
    }
  }
  return new QWidget(this);
}

void FormDlg::SyncControl(const FormField& field) {
  const QString name = QString::fromStdString(field.name);
  QWidget* control = controls_.value(name);
  if (control == nullptr) return;
  switch (field.kind) {
    case FieldKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(control);
      const QString text = Text(field.text);
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case FieldKind::Check: {
      auto* box = static_cast<QCheckBox*>(control);
      box->setText(Caption(field.label));
      box->setChecked(field.checked);
      break;
    }
    case FieldKind::List: {
      auto* list = static_cast<QComboBox*>(control);
      QStringList items;
      for (const std::string& item : field.items) items << Text(item);
      QStringList shown;
      for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
      if (shown != items) {
        list->clear();
        list->addItems(items);
      }
      list->setCurrentIndex(field.selection);
      break;
    }
    case FieldKind::Label:
      static_cast<QLabel*>(control)->setText(Text(field.text));
      break;
    case FieldKind::Button:
      static_cast<QPushButton*>(control)->setText(Caption(field.label));
      break;
  }
  control->setEnabled(field.enabled);
  control->setVisible(field.visible);
  if (QLabel* label = labels_.value(name)) {
    label->setText(Caption(field.label));
    label->setVisible(field.visible);
    label->setEnabled(field.enabled);
  }
}

void FormDlg::Sync() {
  syncing_ = true;
  for (const FormField& field : form_.Fields()) SyncControl(field);
  syncing_ = false;
}

void FormDlg::OnOkButton() {
  std::string message;
  if (form_.Accept(message)) {
    done(QDialog::Accepted);
    return;
  }
  ShowMessage(message);
}

QAbstractButton* FormDlg::GetOkButton() const { return buttons_->button(QDialogButtonBox::Ok); }

QAbstractButton* FormDlg::GetCancelButton() const { return buttons_->button(QDialogButtonBox::Cancel); }

bool RunFormDlg(QWidget* parent, UserInterface* ui, EditorForm& form) {
  FormDlg dialog(parent, ui, form);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace velmar
