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
// file's date, the REG file's key and value name); nothing when they are
// wrong or missing (the reason was printed).
std::optional<EncodeOptions> EncodeOptionsFor(CommandContext& context, const FileFormat& format);

// Writes the context's image to `path` in the format its name asks for,
// replacing the file atomically. Returns the exit status; failures are printed.
int WriteImageFile(CommandContext& context, const std::string& path);

}  // namespace velmar::cli
