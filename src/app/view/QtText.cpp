#include "app/view/QtText.h"

#include <QFile>

namespace velmar {

QString FromCoreText(const std::string& text) {
  QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  result.remove(QLatin1Char('\r'));
  return result;
}

std::string ToCoreText(const QString& text) { return text.toStdString(); }

std::string ToCorePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromCorePath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace velmar
