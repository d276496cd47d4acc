#include "dialogs/NumberFormat.h"

#include <cmath>
#include <limits>

#include "util/Format.h"

namespace velmar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int DigitValue(char c, unsigned base) {
  int digit = -1;
  if (c >= '0' && c <= '9') {
    digit = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    digit = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    digit = c - 'A' + 10;
  }
  return digit >= 0 && static_cast<unsigned>(digit) < base ? digit : -1;
}

// Parses an integer field the way the C library's strtoul family does (blanks,
// sign, 0x prefix for base 16), in 64 bits, and checks that the digits reach
// the end of the text. The limits are the largest magnitudes accepted for
// each sign.
bool ParseInteger(const std::string& text, unsigned base, bool allowMinus, uint64_t positiveLimit,
                  uint64_t negativeLimit, bool& negative, uint64_t& magnitude) {
  if (text.empty() || text.size() > kMaxNumberTextLength) return false;
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (negative && !allowMinus) return false;
  // A "0x" counts as a prefix only when a hexadecimal digit follows it;
  // otherwise the "0" is the number and the "x" is left over (and refused).
  if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      DigitValue(text[i + 2], 16) >= 0) {
    i += 2;
  }
  const uint64_t limit = negative ? negativeLimit : positiveLimit;
  const size_t firstDigit = i;
  uint64_t result = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) break;
    result = result * base + static_cast<uint64_t>(digit);
    if (result > limit) return false;
  }
  if (i == firstDigit || i != text.size()) return false;
  magnitude = result;
  return true;
}

}  // namespace

bool ReadHex(const std::string& text, uint32_t& value) {
  bool negative = false;
  uint64_t magnitude = 0;
  if (!ParseInteger(text, 16, false, std::numeric_limits<uint32_t>::max(), 0, negative, magnitude)) return false;
  value = static_cast<uint32_t>(magnitude);
  return true;
}

bool ReadDecimal(const std::string& text, uint32_t& value) {
  bool negative = false;
  uint64_t magnitude = 0;
  if (!ParseInteger(text, 10, false, std::numeric_limits<uint32_t>::max(), 0, negative, magnitude)) return false;
  value = static_cast<uint32_t>(magnitude);
  return true;
}

bool ReadSignedDecimal(const std::string& text, int32_t& value) {
  bool negative = false;
  uint64_t magnitude = 0;
  constexpr uint64_t kPositiveLimit = std::numeric_limits<int32_t>::max();
  constexpr uint64_t kNegativeLimit = kPositiveLimit + 1;
  if (!ParseInteger(text, 10, true, kPositiveLimit, kNegativeLimit, negative, magnitude)) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return true;
}

bool ParseReal(const std::string& text, double& value) {
  if (text.size() > kMaxNumberTextLength) return false;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) {
    value = 0.00000001;
    return true;
  }
  double sign = 1;
  if (text[i] == '-') {
    sign = -1;
    ++i;
  }
  if (i == text.size() || text[i] < '0' || text[i] > '9') return false;
  double integerPart = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) integerPart = integerPart * 10 + (text[i] - '0');
  double fraction = 0;
  double scale = 1;
  if (i < text.size() && text[i] == '.') {
    ++i;
    unsigned counted = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (counted < 7) {
        fraction = fraction * 10 + (text[i] - '0');
        scale *= 10;
        ++counted;
      }
    }
  }
  for (; i < text.size(); ++i) {
    if (text[i] != ' ') return false;
  }
  value = (integerPart + fraction / scale + 0.00000001) * sign;
  return true;
}

std::string WriteHex(unsigned width, uint32_t value, bool prefix) {
  const unsigned v = value;
  const int w = static_cast<int>(width);
  if (prefix) return width != 0 ? Format("0x%0*X", w, v) : Format("0x%X", v);
  return width != 0 ? Format("%0*X", w, v) : Format("%X", v);
}

std::string WriteHexLower(uint32_t value) { return Format("%x", static_cast<unsigned>(value)); }

std::string WriteFixed(unsigned minimum, double value, unsigned maximum) {
  return FormatFewestDecimals(minimum, true, value, maximum);
}

int64_t RoundHalfAway(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; anything at or beyond it is clamped.
  constexpr double kLimit = 9223372036854775808.0;
  if (value >= kLimit) return std::numeric_limits<int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
  const double integerPart = std::trunc(value);
  const double fraction = value - integerPart;
  auto result = static_cast<int64_t>(integerPart);
  if (value >= 0 && fraction >= 0.5) {
    ++result;
  } else if (value < 0 && -fraction >= 0.5) {
    --result;
  }
  return result;
}

}  // namespace velmar
