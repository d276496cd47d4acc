#pragma once

#include <QLabel>

namespace velmar {

// A one-line label that keeps its whole text (text() is the full text) but
// draws it elided in the middle when it does not fit, so that both ends stay
// readable: the start of a long path and its last folder, or a long file
// name and the "(Binary File)" after it. The full text is then its tooltip.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

  // Sets the full text; the tooltip follows.
  void SetFullText(const QString& text);
  // The text as drawn now.
  QString ShownText() const;
  bool IsElided() const { return ShownText() != text(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateToolTip();
};

}  // namespace velmar
