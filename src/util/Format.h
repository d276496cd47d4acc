#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

namespace velmar {

// printf-style formatting into a std::string. All user-visible texts of the
// program are printf formats, so output matches the formats digit for digit.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

// Appends the formatted text to `out`.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Upper-cases ASCII letters; other bytes are kept.
std::string ToUpperAscii(std::string text);

// Converts single-byte text (ISO 8859-1, as EDID strings are stored) to UTF-8.
std::string Latin1ToUtf8(const std::string& text);

// Converts UTF-8 text to single-byte ISO 8859-1; characters outside it become '?'.
std::string Utf8ToLatin1(const std::string& text);

}  // namespace velmar
