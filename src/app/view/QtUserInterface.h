#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "common/UserInterface.h"

class QFileDialog;

namespace velmar {

// The program's message boxes, questions, file dialogs, selection lists and
// text viewer, shown modally over `parent`. Texts are always plain text: a
// file name, a display name or an EDID string never renders as markup.
class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(QWidget* parent = nullptr);

  void SetParent(QWidget* parent) { parent_ = parent; }
  QWidget* Parent() const { return parent_; }

  void ShowMessage(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override;
  unsigned SelectItem(CallbackContext* owner, unsigned kind) override;
  void ShowContent(CallbackContext* owner, unsigned kind) override;
  void ShowModes(CallbackContext* owner) override;
  bool EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) override;
  bool EditForm(EditorForm& form) override;

  // The caption of the message boxes.
  static QString MessageTitle();
  // "Text files (*.txt)|*.txt|All files (*.*)|*.*||" as the file dialog's
  // filters: "Text files (*.txt)", "All files (*)". "*.*" matches every name.
  static QStringList NameFilters(const std::string& filter);
  // Sets up the dialog of a request: its filters, default suffix, mode and
  // options (no overwrite question; the toolkit's own dialog, whose filters
  // match names in any case).
  static void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save);

 private:
  std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save);

  QPointer<QWidget> parent_;
};

}  // namespace velmar
