#pragma once

#include <string>
#include <string_view>

#include "storage/ImageFileData.h"
#include "storage/LoadResult.h"

namespace velmar {

// The hexadecimal text file.

// Reads tokens separated by blanks (space, tab, vertical tab, form feed,
// carriage return) and separators (line feed, ",", ":", "|"). A token that
// starts a line and is followed by ":" or "|" is a row label and skipped;
// every other token is one byte (an optional "0x" prefix, then base-16 digits,
// of which the low 8 bits count). A token that is not such a number, or is
// longer than 30 characters, is InvalidFormat; more than 512 values Overflow.
// The length is the number of values.
LoadResult DecodeTxtFile(std::string_view contents);

// "%02X" per used byte, sixteen to a line, CR LF; an empty image gives an empty file.
std::string EncodeTxtFile(const ImageFileData& image);

}  // namespace velmar
