#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace velmar {

// Converts dialog-template units to pixels the way the platform's dialog
// manager does: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
class DialogUnits {
 public:
  // Base units measured from `font`.
  explicit DialogUnits(const QFont& font);
  // Base units given directly (average character width and height in pixels).
  DialogUnits(int baseX, int baseY);

  int X(int units) const;
  int Y(int units) const;
  QPoint Point(int x, int y) const { return QPoint(X(x), Y(y)); }
  QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }
  QRect Rect(int x, int y, int width, int height) const {
    return QRect(Point(x, y), Size(width, height));
  }

  // A width the templates give in pixels, sized for the classic dialog font
  // (an average character width of kTemplateBaseX pixels), scaled to this font.
  int ScaledPixels(int pixels) const;
  static constexpr int kTemplateBaseX = 6;

  int BaseX() const { return baseX_; }
  int BaseY() const { return baseY_; }

 private:
  int baseX_;
  int baseY_;
};

}  // namespace velmar
