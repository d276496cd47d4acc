#pragma once

#include <QHash>
#include <QString>

#include "dialogs/view/DlgBase.h"

class QAbstractButton;
class QDialogButtonBox;
class QLabel;
class QWidget;

namespace velmar {

class EditorForm;
struct FormField;

// The editor dialog of any form: it lays the form's groups and fields out as
// controls (an edit line, a check box, a drop-down list, a read-only text or
// a push button, each named after its field), passes every change the user
// makes to the form and shows the form's state again after it, so that the
// form's rules (a field enabled, a change refused, a label that follows a
// choice) show at once. OK asks the form to accept: a refusal shows the
// form's message and keeps the dialog open with the user's texts.
class FormDlg : public DlgBase {
  Q_OBJECT

 public:
  FormDlg(QWidget* parent, UserInterface* ui, EditorForm& form);
  ~FormDlg() override;

  void OnOkButton() override;
  QAbstractButton* GetOkButton() const override;
  QAbstractButton* GetCancelButton() const override;

  EditorForm& Form() const { return form_; }
  // The control of the field named `name`, or null.
  QWidget* Control(const QString& name) const { return controls_.value(name); }
  // Shows the form's current state in every control.
  void Sync();

 private:
  QWidget* MakeControl(const FormField& field);
  void SyncControl(const FormField& field);

  EditorForm& form_;
  QHash<QString, QWidget*> controls_;
  QHash<QString, QLabel*> labels_;
  QDialogButtonBox* buttons_ = nullptr;
  bool syncing_ = false;
};

// Runs the dialog of `form` modally over `parent`; true when it ended with OK.
bool RunFormDlg(QWidget* parent, UserInterface* ui, EditorForm& form);

}  // namespace velmar
