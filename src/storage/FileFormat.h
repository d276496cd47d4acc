#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/SourceKind.h"
#include "storage/ImageFileData.h"
#include "storage/LoadResult.h"

namespace velmar {

// One file format of the image: everything the File menu, the program's
// command line and velmar-edid need to know of it, listed once.
struct FileFormat {
  SourceKind kind = SourceKind::BinFile;
  // The extensions that pick this format, upper case, in the order the file
  // dialogs offer them.
  std::vector<std::string> extensions;
  // What the open and save dialogs offer.
  const char* defaultExtension = "";
  const char* filter = "";
  // The kind's word in the source label: "%s (%s File)".
  const char* word = "";
  // The File menu's commands.
  const char* loadCommand = "";
  const char* saveCommand = "";
  // One line for velmar-edid's help.
  const char* description = "";
  // Saving needs an image with at least one block.
  bool needsBlocks = false;
  // Saving needs a registry key and value name (EncodeOptions).
  bool needsRegistryValue = false;
  // Why a file of this format cannot carry `options` (empty when it can);
  // null when it can carry any.
  std::string (*optionsProblem)(const EncodeOptions& options) = nullptr;

  LoadResult (*decode)(std::string_view contents) = nullptr;
  std::string (*encode)(const ImageFileData& image) = nullptr;
};

// The four formats in the File menu's order: TXT, BIN, INF, REG.
const std::vector<FileFormat>& FileFormats();

// The format of a file kind; null for the kinds that are no file.
const FileFormat* FormatOf(SourceKind kind);

// The format an upper-case extension picks ("BIN", "ETXT"); null for none.
const FileFormat* FormatForExtension(const std::string& extension);

// Reads the regular file at `path` and decodes it. A file that cannot be read
// gives CannotOpen with the system's reason.
LoadResult ReadImageFile(const FileFormat& format, const std::string& path);

}  // namespace velmar
