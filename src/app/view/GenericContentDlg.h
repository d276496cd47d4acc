#pragma once

#include "common/Callbacks.h"
#include "dialogs/view/DlgBase.h"

class QPlainTextEdit;

namespace velmar {

// The text viewer of the reports: a resizable window with one read-only,
// fixed-pitch text box that its owner fills through FillContent.
class GenericContentDlg : public DlgBase, public CallbackFillContentTgt {
  Q_OBJECT

 public:
  GenericContentDlg(QWidget* parent, CallbackContext* owner, unsigned kind);

  // CallbackFillContentTgt
  void SetTitle(const std::string& text) override;
  void Append(const std::string& text) override;
  void AddMode(const ModeEntry& mode) override { (void)mode; }

  QPlainTextEdit* TextBox() const { return text_; }
  // Everything shown, as one text with "\n" line ends.
  QString Text() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ScrollToEnd();

  QPlainTextEdit* text_ = nullptr;
};

}  // namespace velmar
