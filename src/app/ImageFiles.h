#pragma once

#include <string>

#include "common/SourceKind.h"
#include "storage/ImageFileData.h"

namespace velmar {

class EdidImage;

// The image's side of the file formats: what the encoders read of it, and the
// one way files are loaded into it and saved from it, for the desktop program
// and velmar-edid alike.

// The used bytes, the blocks with their captions, the first block's monitor
// information and the largest mode of all blocks, with `options`.
ImageFileData FileDataOf(const EdidImage& image, const EncodeOptions& options = EncodeOptions());

// The file of the image in the format of `kind` (a file kind).
std::string EncodeImage(const EdidImage& image, SourceKind kind, const EncodeOptions& options = EncodeOptions());

// Reads the file at `path` in the format of `kind` and loads it (EdidImage::Load).
// False when the file could not be read: its message was shown, the image is unchanged.
bool LoadImageFile(EdidImage& image, SourceKind kind, const std::string& path);

// True when `path` is the file the image was loaded from and that file holds
// more than the image kept (EdidImage::SourceLengthNote).
bool OverwritesLongerSource(const EdidImage& image, const std::string& path);

// Writes the image to `path` in the format of `kind`, replacing the file
// atomically. On success the file becomes the source and the modified state is
// cleared; otherwise (options the format cannot carry included) the message
// says why and nothing changed. Writing over the file a longer EDID was
// loaded from (the image kept only part of it) asks first; Cancel writes nothing.
bool SaveImageFile(EdidImage& image, SourceKind kind, const std::string& path,
                   const EncodeOptions& options = EncodeOptions());

// Loads the file named on the desktop program's command line with the reader
// its extension picks (INF, REG, TXT/ETXT, BIN/EBIN/EDID, any case). Nothing
// happens for an empty path or a name ending in "."; an unknown extension, or
// none, shows "Invalid file extension: %s" with the upper-cased extension (the
// whole upper-cased file name when it has no "."). Returns whether a reader
// read the file.
bool OpenFileFromCommandLine(EdidImage& image, const std::string& path);

}  // namespace velmar
