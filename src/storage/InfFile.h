#pragma once

#include <string>
#include <string_view>

#include "storage/ImageFileData.h"
#include "storage/LoadResult.h"

namespace velmar {

// The monitor setup information (INF) file that installs the image as the
// monitor's EDID override.

// The EDID bytes of the override lines: block "0", then "1", ... (a line with
// any other number is ignored). A malformed value list is InvalidFormat, more
// than 512 values Overflow; a file without override lines gives no byte.
LoadResult DecodeInfFile(std::string_view contents);

// The whole file, with CR LF line ends, in the 8-bit code page; the options'
// date fills DriverVer.
std::string EncodeInfFile(const ImageFileData& image);

}  // namespace velmar
