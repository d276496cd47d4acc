#pragma once

#include <string>
#include <string_view>

#include "storage/ImageFileData.h"
#include "storage/LoadResult.h"

namespace velmar {

// The raw binary file: the image's used bytes exactly, with no header.

// The first 512 bytes of `contents` (a shorter file leaves the rest zero); the
// length is the whole file's.
LoadResult DecodeBinFile(std::string_view contents);

// The used bytes, exactly; an empty image gives an empty file.
std::string EncodeBinFile(const ImageFileData& image);

}  // namespace velmar
