#pragma once

#include <string>

namespace velmar {

class EdidImage;

// The extension of a file name: the text after the last "." of its last path
// component, or empty when that component has no ".".
std::string FileExtension(const std::string& path);

// Loads the file named on the command line with the reader its extension
// picks (INF, REG, TXT/ETXT, BIN/EBIN/EDID, any case). Nothing happens for an
// empty path or a name ending in "."; an unknown extension, or none, shows "Invalid file extension: %s"
// with the upper-cased extension (the whole upper-cased file name when it has
// no "."). Returns whether a reader read the file.
bool OpenFileFromCommandLine(EdidImage& image, const std::string& path);

}  // namespace velmar
