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

// `value` with the fewest decimals (at least `minimum`, at most `maximum`)
// that show it exactly; a leading "+" on non-negative values unless `plain`.
// Negative zero prints as zero.
std::string FormatFewestDecimals(unsigned minimum, bool plain, double value, unsigned maximum);

// Upper-cases ASCII letters; other bytes are kept.
std::string ToUpperAscii(std::string text);

// Converts single-byte text (ISO 8859-1, as EDID strings are stored) to UTF-8.
std::string Latin1ToUtf8(const std::string& text);

// Converts UTF-8 text to single-byte ISO 8859-1; characters outside it become '?'.
std::string Utf8ToLatin1(const std::string& text);

}  // namespace velmar
