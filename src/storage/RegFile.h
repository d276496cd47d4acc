#pragma once

#include <string>
#include <string_view>

#include "storage/ImageFileData.h"
#include "storage/LoadResult.h"

namespace velmar {

// The registry export (REG) file that carries a display's emulated-EDID value.

// The bytes of every line that names an emulated-EDID value ("NEXOEmulatedEDID"
// anywhere in it) and holds "=hex:", one list after the other; a registry
// editor export in UTF-16 included. A malformed list is InvalidFormat, more
// than 512 values Overflow.
LoadResult DecodeRegFile(std::string_view contents);

// Why the key and value name of `options` cannot be written into a REG file,
// or empty when they can. A "]" or a line break in the key, or a line break in
// the value name, would end its line early and let the rest be read as further
// keys and values; a double quote or a backslash in the value name is escaped
// as the registry editor escapes it (\" and \\).
std::string RegOptionsProblem(const EncodeOptions& options);

// The registry import file that sets the value `options.valueName` under the
// key `options.registryPath` (below HKEY_LOCAL_MACHINE) to the used bytes. With
// no bytes the file ends right after "=hex:". Empty when RegOptionsProblem
// finds a problem: such names are never written.
std::string EncodeRegFile(const ImageFileData& image);

// Whether a file written with `options` reads back: the decoder only counts
// lines that name an emulated-EDID value, and a key or value name can break
// the line the bytes stand on.
bool RegFileReadsBack(const EncodeOptions& options);

}  // namespace velmar
