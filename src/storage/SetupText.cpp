#include "storage/SetupText.h"

namespace velmar {

namespace {

bool IsDroppedBlank(char c) { return c == '\r' || c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The low 8 bits of a value of 1 to 4 characters, or -1.
int ParseValue(std::string_view token) {
  if (token.empty() || token.size() > 4) return -1;
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'X' || token[1] == 'x')) token.remove_prefix(2);
  if (token.empty()) return -1;
  unsigned value = 0;
  for (char c : token) {
    const int digit = HexDigit(c);
    if (digit < 0) return -1;
    value = (value << 4) | static_cast<unsigned>(digit);
  }
  return static_cast<int>(value & 0xFFu);
}

}  // namespace

std::string DecodeSetupText(std::string_view contents) {
  if (contents.size() < 2 || static_cast<unsigned char>(contents[0]) != 0xFF ||
      static_cast<unsigned char>(contents[1]) != 0xFE) {
    return std::string(contents);
  }
  std::string text;
  text.reserve(contents.size() / 2);
  for (size_t i = 2; i + 1 < contents.size(); i += 2) {
    const unsigned unit = static_cast<unsigned char>(contents[i]) |
                          (static_cast<unsigned>(static_cast<unsigned char>(contents[i + 1])) << 8);
    text += unit <= 0xFF ? static_cast<char>(unit) : '?';
  }
  return text;
}

std::vector<std::string> LogicalLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (IsDroppedBlank(c)) continue;
    if (c == '\\') {
      // A backslash that ends a physical line joins the next one. Carriage
      // returns and blanks before the line feed are dropped anyway, so files
      // with CR LF line ends continue their lines too.
      size_t next = i + 1;
      while (next < n && IsDroppedBlank(text[next])) ++next;
      if (next < n && text[next] == '\n') {
        i = next;
        continue;
      }
      line += c;
      continue;
    }
    if (c == '\n') {
      if (!line.empty()) lines.push_back(std::move(line));
      line.clear();
      continue;
    }
    line += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

LoadStatus ParseHexList(std::string_view list, bool skipFirst, LoadResult& result) {
  size_t start = 0;
  bool first = true;
  while (true) {
    const size_t comma = list.find(',', start);
    const std::string_view token =
        list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    const int value = ParseValue(token);
    if (value < 0) return LoadStatus::InvalidFormat;
    if (!(first && skipFirst)) {
      if (result.length >= result.bytes.size()) return LoadStatus::Overflow;
      result.bytes[result.length++] = static_cast<uint8_t>(value);
    }
    first = false;
    if (comma == std::string_view::npos) return LoadStatus::Ok;
    start = comma + 1;
    if (start == list.size()) return LoadStatus::InvalidFormat;  // a comma ends the line
  }
}

}  // namespace velmar
