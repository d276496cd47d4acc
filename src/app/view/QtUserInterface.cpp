#include "app/view/QtUserInterface.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/view/EditRawDataDlg.h"
#include "app/view/GenericContentDlg.h"
#include "app/view/GenericSelectDlg.h"
#include "app/view/QtText.h"
#include "dialogs/view/FormDlg.h"
#include "dialogs/view/ModeListDlg.h"

namespace velmar {

QtUserInterface::QtUserInterface(QWidget* parent) : parent_(parent) {}

QString QtUserInterface::MessageTitle() { return QStringLiteral("Velmar EDID Utility"); }

void QtUserInterface::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, MessageTitle(), FromCoreText(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtUserInterface::AskOkCancel(const std::string& text) {
  QMessageBox box(QMessageBox::Question, MessageTitle(), FromCoreText(text), QMessageBox::Ok | QMessageBox::Cancel,
                  parent_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

QStringList QtUserInterface::NameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    if (name.isEmpty()) break;
    // The name carries its own "(*.txt)"; the dialog reads the patterns from
    // the parentheses, so they are rebuilt from the pattern part.
    const qsizetype open = name.lastIndexOf(QLatin1Char('('));
    if (open > 0 && name.endsWith(QLatin1Char(')'))) name = name.left(open).trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
  }
  return filters;
}

void QtUserInterface::ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  // Matching the patterns in any case finds DATA.BIN as well as data.bin.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  const QStringList filters = NameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  // Where the loaded file is, and for a save its name.
  if (!request.folder.empty()) dialog.setDirectory(FromCorePath(request.folder));
  if (save && !request.fileName.empty()) dialog.selectFile(FromCorePath(request.fileName));
}

std::optional<std::string> QtUserInterface::RunFileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent_);
  ConfigureFileDialog(dialog, request, save);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return ToCorePath(files.first());
}

std::optional<std::string> QtUserInterface::AskOpenFile(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<std::string> QtUserInterface::AskSaveFile(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

unsigned QtUserInterface::SelectItem(CallbackContext* owner, unsigned kind) {
  GenericSelectDlg dialog(parent_, owner, kind);
  dialog.exec();
  return dialog.Selection();
}

void QtUserInterface::ShowContent(CallbackContext* owner, unsigned kind) {
  GenericContentDlg dialog(parent_, owner, kind);
  dialog.exec();
}

void QtUserInterface::ShowModes(CallbackContext* owner) { RunModeListDlg(parent_, owner); }

bool QtUserInterface::EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) {
  return RunEditRawDataDlg(parent_, this, owner, rawData, length);
}

bool QtUserInterface::EditForm(EditorForm& form) { return RunFormDlg(parent_, this, form); }

}  // namespace velmar
