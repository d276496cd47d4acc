#pragma once

#include <string>

#include "storage/FileFormat.h"

namespace velmar {

// The extension of a file name: the text after the last "." of its last path
// component, or empty when that component has no ".".
std::string FileExtension(const std::string& path);

// The desktop program's choice of reader for the file named on its command
// line: by the upper-cased extension (INF, REG, TXT/ETXT, BIN/EBIN/EDID); a
// name without "." is its own extension. `extension` receives what was looked
// up; empty for an empty path or a name ending in ".". Null when no format
// takes it.
const FileFormat* CommandLineFormat(const std::string& path, std::string& extension);

}  // namespace velmar
