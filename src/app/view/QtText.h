#pragma once

#include <QString>
#include <string>

namespace velmar {

// The core's texts are UTF-8 with "\r\n" line ends; widgets want "\n".
QString FromCoreText(const std::string& text);
// A widget's text for the core (UTF-8).
std::string ToCoreText(const QString& text);
// A path chosen in a dialog, in the file system's own encoding.
std::string ToCorePath(const QString& path);
// A path of the core, for a dialog.
QString FromCorePath(const std::string& path);

}  // namespace velmar
