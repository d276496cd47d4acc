#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

class EdidImage;

enum class TxtParseStatus { Ok, InvalidFormat, Overflow };

// Reads hexadecimal text: tokens separated by blanks (space, tab, vertical tab,
// form feed, carriage return) and separators (line feed, ",", ":", "|"). A token
// that starts a line and is followed by ":" or "|" is a row label and skipped;
// every other token is one byte (an optional "0x" prefix, then base-16 digits,
// of which the low 8 bits count). On any failure `bytes` is all zero.
TxtParseStatus ParseTxtBytes(std::string_view text, std::array<uint8_t, 512>& bytes, unsigned* count = nullptr);

// Loads the text file at `path` into the image. A file that cannot be read
// shows "Failed to open [%s] for reading" and leaves the image unchanged.
// Returns whether the file was read (a format failure still counts as read).
bool LoadTxtFile(EdidImage& image, const std::string& path);

// The text form of the image: "%02X" per used byte, sixteen to a line, CR LF.
std::string TxtFileContents(const EdidImage& image);

}  // namespace velmar
