#pragma once

// Handlers for the dialogs that the main window's commands open, for a
// testing::ModalScript: each one reads what the dialog shows and closes it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <string>

#include "app/view/GenericContentDlg.h"
#include "app/view/GenericSelectDlg.h"
#include "gui/QtTestSupport.h"

namespace velmar::testing {

inline ModalScript::Handler Answer(QMessageBox::StandardButton button, QString* text = nullptr,
                            Qt::TextFormat* format = nullptr) {
  return [button, text, format](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << modal->metaObject()->className();
    if (text != nullptr) *text = box->text();
    if (format != nullptr) *format = box->textFormat();
    box->button(button)->click();
  };
}

inline ModalScript::Handler Choose(int position, QStringList* items = nullptr) {
  return [position, items](QWidget* modal) {
    auto* dialog = qobject_cast<GenericSelectDlg*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
    if (items != nullptr) {
      items->clear();
      for (int i = 0; i < dialog->List()->count(); ++i) items->append(dialog->List()->itemText(i));
    }
    if (position < 0) {
      dialog->GetCancelButton()->click();
    } else {
      dialog->List()->setCurrentIndex(position);
      dialog->GetOkButton()->click();
    }
  };
}

inline ModalScript::Handler ReadViewer(QString* title, QString* text, bool* atEnd = nullptr) {
  return [title, text, atEnd](QWidget* modal) {
    auto* viewer = qobject_cast<GenericContentDlg*>(modal);
    ASSERT_NE(viewer, nullptr) << modal->metaObject()->className();
    *title = viewer->windowTitle();
    *text = viewer->Text();
    if (atEnd != nullptr) {
      const QScrollBar* bar = viewer->TextBox()->verticalScrollBar();
      *atEnd = bar->value() == bar->maximum();
    }
    // Escape closes the viewer.
    testing::PressKey(viewer->TextBox(), Qt::Key_Escape);
  };
}

inline ModalScript::Handler PickFile(const std::string& path, QFileDialog** seen = nullptr, QStringList* filters = nullptr,
                              QString* suffix = nullptr) {
  return [path, seen, filters, suffix](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
    if (seen != nullptr) *seen = dialog;
    if (filters != nullptr) *filters = dialog->nameFilters();
    if (suffix != nullptr) *suffix = dialog->defaultSuffix();
    if (path.empty()) {
      dialog->reject();
      return;
    }
    dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
  };
}

}  // namespace velmar::testing
