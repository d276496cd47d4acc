#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/LoadResult.h"

namespace velmar {

// The text of the INF and REG files, shared by their decoders.

// A setup file larger than this cannot be a sane carrier of 512 bytes.
inline constexpr size_t kMaxSetupFileSize = 64u * 1024u * 1024u;

// The file's text as 8-bit characters: a file starting with the UTF-16LE byte
// order mark is decoded (characters beyond 8 bits become '?'), any other file
// is taken as it is.
std::string DecodeSetupText(std::string_view contents);

// The logical lines of a setup text: carriage returns, spaces, tabs, vertical
// tabs and form feeds dropped; a backslash at the end of a physical line joins
// the next one; empty lines skipped; upper case.
std::vector<std::string> LogicalLines(std::string_view text);

// Parses a comma-separated list of values of 1 to 4 characters, each entirely
// base-16 (an "0X" prefix allowed), appending the low 8 bits of each to
// `result.bytes` at `result.length`. With `skipFirst` the first value is
// checked but not stored. A trailing comma, an empty or malformed value is
// InvalidFormat; a value beyond the 512 bytes is Overflow; otherwise Ok.
LoadStatus ParseHexList(std::string_view list, bool skipFirst, LoadResult& result);

}  // namespace velmar
