#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmar::cli {

class CommandContext;

// A file format the tool can write, chosen by the output file's extension.
// Formats register themselves like subcommands, so a new writer is a new file.
struct ImageWriter {
  std::vector<std::string> extensions;  // upper case: "BIN", "EDID"
  std::string description;              // for --help: "raw binary"
  // The file's contents for the context's image; nothing when the image cannot
  // be written in this format (the writer printed why).
  std::function<std::optional<std::string>(CommandContext&)> contents;
};

bool RegisterImageWriter(ImageWriter writer);
std::vector<const ImageWriter*> ImageWriters();

// The writer for `path`: by its extension in any case, and raw binary for a
// file name without a dot. Null when no writer takes the extension; then
// `extension` (when given) receives the upper-cased extension that was looked for.
const ImageWriter* FindImageWriter(const std::string& path, std::string* extension = nullptr);

// Writes the context's image to `path` in the format its name asks for,
// replacing the file atomically. Returns the exit status; failures are printed.
int WriteImageFile(CommandContext& context, const std::string& path);

}  // namespace velmar::cli
