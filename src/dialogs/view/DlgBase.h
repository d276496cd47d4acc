#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "dialogs/view/DialogUnits.h"

class QAbstractButton;
class QLineEdit;

namespace velmar {

class UserInterface;

// The base of every dialog of the program. It fixes the keyboard rules that
// keep an edit from being committed or lost by accident:
// - Escape runs OnCancelButton (so does the window's close button);
// - Enter runs OnOkButton on the focused OK button, OnCancelButton on the
//   focused Cancel button, and does nothing anywhere else: Enter in a field or
//   a list never closes the dialog.
// A widget that handles Enter or Escape itself (an in-place cell editor) gets
// the key first; only keys it leaves unhandled reach these rules.
class DlgBase : public QDialog {
  Q_OBJECT

 public:
  // `ui`, when given, shows the dialog's messages; otherwise they are plain
  // message boxes over the dialog.
  explicit DlgBase(QWidget* parent = nullptr, UserInterface* ui = nullptr);
  ~DlgBase() override;

  // Checks the fields and commits; the default closes with Accepted.
  virtual void OnOkButton();
  // Abandons the edit; the default closes with Rejected.
  virtual void OnCancelButton();
  virtual QAbstractButton* GetOkButton() const { return nullptr; }
  virtual QAbstractButton* GetCancelButton() const { return nullptr; }
  // Enter with `focused` holding the focus; true when it acted.
  virtual bool HandleEnter(QWidget* focused);

  // Dialog units of the dialog's current font.
  DialogUnits Units() const { return DialogUnits(font()); }

  // A message box for a field's message (or any other), through the dialog's
  // user interface when it has one.
  void ShowMessage(const std::string& text);
  UserInterface* Ui() const { return ui_; }

  // The number readers and writers over line edits (see dialogs/NumberFormat.h).
  // A failed read leaves `value` alone.
  static std::string FieldText(const QLineEdit* field);
  static bool ReadHex(const QLineEdit* field, uint32_t& value);
  static bool ReadDecimal(const QLineEdit* field, uint32_t& value);
  static bool ReadSignedDecimal(const QLineEdit* field, int32_t& value);
  static bool ParseReal(const QLineEdit* field, double& value);
  static void WriteHex(QLineEdit* field, unsigned width, uint32_t value, bool prefix);
  static void WriteHexLower(QLineEdit* field, uint32_t value);
  static void WriteFixed(QLineEdit* field, unsigned minimum, double value, unsigned maximum);

  // Routes every way of rejecting the dialog (Escape, the close button,
  // reject()) through OnCancelButton.
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  UserInterface* ui_ = nullptr;
};

}  // namespace velmar
