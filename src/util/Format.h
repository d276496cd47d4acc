#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

// printf-style formatting into a std::string. All user-visible texts of the
// program are printf formats, so output matches the formats digit for digit.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

// Appends the formatted text to `out`.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Replaces `out` with the formatted text, reusing its storage.
void AssignFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AssignFormatV(std::string& out, const char* format, va_list args);

// The texts of a printf format that takes one or two unsigned numbers, for
// every pair of numbers below the given bounds, formatted once: for texts that
// are asked for over and over, such as the names of an image's bytes.
class FormatTable {
 public:
  FormatTable(const char* format, unsigned firstCount, unsigned secondCount = 1);
  // Replaces `out` with the text for `first` and `second` (the second is
  // ignored by a format that takes one number), reusing its storage; formatted
  // on the spot outside the bounds.
  void Assign(std::string& out, unsigned first, unsigned second = 0) const;

 private:
  const char* format_;
  unsigned firstCount_;
  unsigned secondCount_;
  std::vector<std::string> texts_;
};

// Stands for a text argument of a format in a template made by FormatHoles.
inline constexpr char kTextHole[] = "\x1F";

// The pieces of `formatted` around each kTextHole, in order (one more than the
// holes). A format whose "%s" conversions have no width or precision, filled
// with kTextHole for them, gives pieces between which any texts can be put to
// get the format's text for them, without formatting it again.
std::vector<std::string> FormatHoles(const std::string& formatted);

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
