#include "dialogs/view/DialogUnits.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>

namespace velmar {

namespace {

// The platform's own measure: the advance of the 52 letters, averaged and rounded.
int AverageCharWidth(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (width / 26 + 1) / 2;
}

// units * base / divisor, rounded half away from zero, as the platform's MulDiv does.
int Scale(int units, int base, int divisor) {
  const long long product = static_cast<long long>(units) * base;
  const long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : baseX_(AverageCharWidth(font)), baseY_(QFontMetrics(font).height()) {
  if (baseX_ < 1) baseX_ = 1;
  if (baseY_ < 1) baseY_ = 1;
}

DialogUnits::DialogUnits(int baseX, int baseY) : baseX_(baseX < 1 ? 1 : baseX), baseY_(baseY < 1 ? 1 : baseY) {}

int DialogUnits::X(int units) const { return Scale(units, baseX_, 4); }

int DialogUnits::Y(int units) const { return Scale(units, baseY_, 8); }

int DialogUnits::ScaledPixels(int pixels) const { return std::max(pixels, Scale(pixels, baseX_, kTemplateBaseX)); }

}  // namespace velmar
