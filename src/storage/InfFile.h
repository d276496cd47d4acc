#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/SourceKind.h"
#include "util/Clock.h"

namespace velmar {

class EdidImage;

// The monitor setup information file that installs the image as the
// monitor's EDID override, with CR LF line ends. `date` fills DriverVer.
std::string InfFileContents(const EdidImage& image, const LocalTime& date);

// Loads the EDID bytes of the override lines (block "0", then "1", ...) of the
// setup information file at `path`. A file that cannot be read shows
// "Failed to open [%s] for reading" and leaves the image unchanged; returns
// whether the file was read (a format failure still counts as read).
bool LoadInfFile(EdidImage& image, const std::string& path);

// Shared by the INF and REG readers.
//
// The file's text as 8-bit characters: a file starting with the UTF-16LE byte
// order mark is decoded (characters beyond 8 bits become '?'), any other file
// is taken as it is.
std::string DecodeSetupText(std::string_view contents);

// The logical lines of a setup text: carriage returns, spaces, tabs, vertical
// tabs and form feeds dropped; a backslash at the end of a physical line joins
// the next one; empty lines skipped; upper case.
std::vector<std::string> LogicalLines(std::string_view text);

enum class HexListStatus { Ok, InvalidFormat, Overflow };

// Parses a comma-separated list of values of 1 to 4 characters, each entirely
// base-16 (an "0X" prefix allowed), appending the low 8 bits of each to
// `bytes` at `count`. With `skipFirst` the first value is checked but not
// stored. A trailing comma, an empty or malformed value is InvalidFormat; a
// value beyond the 512 bytes is Overflow.
HexListStatus ParseHexList(std::string_view list, bool skipFirst, std::array<uint8_t, 512>& bytes, unsigned& count);

// Reads a setup file for the INF and REG readers, decoded as DecodeSetupText
// does; shows "Failed to open [%s] for reading" when it cannot be read.
// A file too large to be a sane carrier of 512 bytes is TooLarge.
enum class SetupRead { Unreadable, TooLarge, Ok };
SetupRead ReadSetupFile(EdidImage& image, const std::string& path, std::string& text);

// Ends a setup file load: shows the message of a failed list, if any, takes
// the bytes into the image when the list was good, rebuilds the blocks and
// names `path` as the source of `kind`.
void FinishSetupLoad(EdidImage& image, HexListStatus status, const std::array<uint8_t, 512>& bytes,
                     const std::string& path, SourceKind kind);

}  // namespace velmar
