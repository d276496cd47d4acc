#include "app/view/ElidedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace velmar {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  UpdateToolTip();
}

void ElidedLabel::SetFullText(const QString& text) {
  setText(text);
  UpdateToolTip();
}

QString ElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

void ElidedLabel::UpdateToolTip() { setToolTip(IsElided() ? text() : QString()); }

void ElidedLabel::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                        ShownText(), foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  UpdateToolTip();
}

void ElidedLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateToolTip();
}

}  // namespace velmar
