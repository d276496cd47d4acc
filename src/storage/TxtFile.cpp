#include "storage/TxtFile.h"

#include "util/Format.h"

namespace velmar {

namespace {

// A text file larger than this cannot be a dump of 512 bytes in any sane layout.
constexpr size_t kMaxTextFileSize = 64u * 1024u * 1024u;
constexpr size_t kMaxTokenLength = 30;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }
bool IsSeparator(char c) { return c == '\n' || c == ',' || c == ':' || c == '|'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The low 8 bits of a base-16 token, or -1 when it is not entirely one.
int ParseHexToken(std::string_view token) {
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) token.remove_prefix(2);
  if (token.empty()) return -1;
  unsigned value = 0;
  for (char c : token) {
    const int digit = HexDigit(c);
    if (digit < 0) return -1;
    value = ((value << 4) | static_cast<unsigned>(digit)) & 0xFFu;
  }
  return static_cast<int>(value);
}

}  // namespace

LoadResult DecodeTxtFile(std::string_view text) {
  if (text.size() > kMaxTextFileSize) return LoadResult::Failed(LoadStatus::InvalidFormat);
  LoadResult result;
  size_t stored = 0;
  bool lineStart = true;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && IsBlank(text[i])) ++i;
    const size_t begin = i;
    while (i < n && !IsBlank(text[i]) && !IsSeparator(text[i])) ++i;
    const std::string_view token = text.substr(begin, i - begin);
    while (i < n && IsBlank(text[i])) ++i;
    char delimiter = ' ';  // a blank: another token follows, or the end of the text
    if (i < n && IsSeparator(text[i])) delimiter = text[i++];
    if (token.empty() && delimiter == ' ') break;  // only blanks were left

    if (lineStart && (delimiter == ':' || delimiter == '|')) {
      lineStart = false;
      continue;
    }
    lineStart = delimiter == '\n';
    if (token.size() > kMaxTokenLength) return LoadResult::Failed(LoadStatus::InvalidFormat);
    if (token.empty()) continue;
    const int value = ParseHexToken(token);
    if (value < 0) return LoadResult::Failed(LoadStatus::InvalidFormat);
    if (stored >= result.bytes.size()) return LoadResult::Failed(LoadStatus::Overflow);
    result.bytes[stored++] = static_cast<uint8_t>(value);
  }
  result.length = stored;
  return result;
}

std::string EncodeTxtFile(const ImageFileData& image) {
  const size_t used = image.bytes.size();
  std::string text;
  text.reserve(used * 3 + used / 16 + 2);
  for (size_t i = 0; i < used; ++i) {
    AppendFormat(text, "%02X", image.bytes[i]);
    text += (i % 16 == 15 || i + 1 == used) ? "\r\n" : " ";
  }
  return text;
}

}  // namespace velmar
