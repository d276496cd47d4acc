#include "app/view/GenericContentDlg.h"

#include <QFont>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include "app/view/QtText.h"

namespace velmar {

namespace {

constexpr int kMargin = 2;

QFont ViewerFont(const QFont& base) {
  QFont font(base);
  font.setFamily(QStringLiteral("Courier"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setWeight(QFont::Light);
  return font;
}

}  // namespace

GenericContentDlg::GenericContentDlg(QWidget* parent, CallbackContext* owner, unsigned kind) : DlgBase(parent) {
  setSizeGripEnabled(true);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  text_->setFont(ViewerFont(font()));
  text_->clear();

  const DialogUnits units = Units();
  resize(units.Size(400, 250));
  text_->setGeometry(units.Rect(2, 2, 396, 246));

  if (owner != nullptr) owner->FillContent(this, kind);
}

void GenericContentDlg::SetTitle(const std::string& text) { setWindowTitle(FromCoreText(text)); }

void GenericContentDlg::Append(const std::string& text) {
  if (text.empty()) return;
  QTextCursor cursor = text_->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(FromCoreText(text));
  text_->setTextCursor(cursor);
  ScrollToEnd();
}

QString GenericContentDlg::Text() const { return text_->toPlainText(); }

void GenericContentDlg::ScrollToEnd() {
  text_->ensureCursorVisible();
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

void GenericContentDlg::keyPressEvent(QKeyEvent* event) {
  // The viewer is read-only, so the A key (with or without Ctrl) selects the whole text.
  if (event->key() == Qt::Key_A) {
    text_->selectAll();
    event->accept();
    return;
  }
  DlgBase::keyPressEvent(event);
}

void GenericContentDlg::resizeEvent(QResizeEvent* event) {
  DlgBase::resizeEvent(event);
  const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  text_->setGeometry(area);
}

void GenericContentDlg::showEvent(QShowEvent* event) {
  DlgBase::showEvent(event);
  ScrollToEnd();
}

}  // namespace velmar
