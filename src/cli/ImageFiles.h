#pragma once

#include <optional>
#include <string>

#include "storage/FileFormat.h"

namespace velmar::cli {

class CommandContext;

// The format velmar-edid writes `path` in: by its extension in any case, and
// raw binary for a file name without a dot. Null when no format takes the
// extension; then `extension` (when given) receives the upper-cased extension
// that was looked for.
const FileFormat* FindOutputFormat(const std::string& path, std::string* extension = nullptr);

// What the options of the command line add to a file of `format` (the INF
// file's date, the REG file's key and value name), checked before anything is
// read. Returns kExitOk, or the exit status of what was wrong (printed).
int EncodeOptionsFor(CommandContext& context, const FileFormat& format, EncodeOptions& options);

// Writes the context's image to `path` in `format`, replacing the file
// atomically; an image without blocks is refused. Returns the exit status;
// failures are printed and leave `path` as it was.
int WriteImageFile(CommandContext& context, const std::string& path, const FileFormat& format,
                   const EncodeOptions& options);

}  // namespace velmar::cli
