#include "util/Format.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace velmar {

namespace {

// Most texts are short: they are formatted once into this much stack space and
// only longer ones are measured and formatted again.
constexpr size_t kStackText = 256;

// Formats into `out` from position `at` on (the rest of `out` is replaced).
void FormatAt(std::string& out, size_t at, const char* format, va_list args) {
  char buffer[kStackText];
  va_list first;
  va_copy(first, args);
  const int needed = std::vsnprintf(buffer, sizeof buffer, format, first);
  va_end(first);
  if (needed <= 0) {
    out.resize(at);
    return;
  }
  const size_t length = static_cast<size_t>(needed);
  if (length < sizeof buffer) {
    out.replace(at, std::string::npos, buffer, length);
    return;
  }
  // Formatted aside: an argument may point into `out` itself.
  std::string text(length + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  out.replace(at, std::string::npos, text.data(), length);
}

}  // namespace

std::string FormatV(const char* format, va_list args) {
  std::string result;
  FormatAt(result, 0, format, args);
  return result;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result;
  FormatAt(result, 0, format, args);
  va_end(args);
  return result;
}

void AppendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatAt(out, out.size(), format, args);
  va_end(args);
}

void AssignFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatAt(out, 0, format, args);
  va_end(args);
}

FormatTable::FormatTable(const char* format, unsigned firstCount, unsigned secondCount)
    : format_(format), firstCount_(firstCount), secondCount_(secondCount) {
  texts_.reserve(static_cast<size_t>(firstCount) * secondCount);
  for (unsigned first = 0; first < firstCount; ++first) {
    for (unsigned second = 0; second < secondCount; ++second) {
      texts_.emplace_back();
      AssignFormat(texts_.back(), format_, first, second);
    }
  }
}

void FormatTable::Assign(std::string& out, unsigned first, unsigned second) const {
  if (first < firstCount_ && second < secondCount_) {
    out = texts_[static_cast<size_t>(first) * secondCount_ + second];
  } else {
    AssignFormat(out, format_, first, second);
  }
}

std::vector<std::string> FormatHoles(const std::string& formatted) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t hole = formatted.find(kTextHole[0], start);
    if (hole == std::string::npos) break;
    pieces.push_back(formatted.substr(start, hole - start));
    start = hole + 1;
  }
  pieces.push_back(formatted.substr(start));
  return pieces;
}

std::string ToUpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string Latin1ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    // Decode one UTF-8 sequence; anything malformed counts as one unknown character.
    unsigned length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
    uint32_t code = length == 2 ? (c & 0x1Fu) : length == 3 ? (c & 0x0Fu) : (c & 0x07u);
    bool valid = length > 1 && i + length <= text.size();
    for (unsigned k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out += code <= 0xFF ? static_cast<char>(code) : '?';
    i += length;
  }
  return out;
}

std::string FormatFewestDecimals(unsigned minimum, bool plain, double value, unsigned maximum) {
  double a = std::fabs(value);
  unsigned decimals = 0;
  while (decimals < maximum) {
    if (a - std::trunc(a) < 0.00000001) break;
    ++decimals;
    a *= 10;
  }
  if (decimals < minimum) decimals = minimum;
  const double printed = a == 0 ? 0.0 : value;
  return Format(plain ? "%.*f" : "%+.*f", static_cast<int>(decimals), printed);
}

}  // namespace velmar
