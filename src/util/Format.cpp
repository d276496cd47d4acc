#include "util/Format.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <sys/types.h>
#include <vector>

namespace velmar {

namespace {

// Most texts are short: they are formatted once into this much stack space and
// only longer ones are measured and formatted again.
constexpr size_t kStackText = 256;

// Text under construction: on the stack while it is short, aside in a string
// once it grows. Never the target string itself, since an argument may point
// into it.
class TextSink {
 public:
  void Put(const char* bytes, size_t count) {
    if (!spilled_ && length_ + count <= sizeof stack_) {
      std::memcpy(stack_ + length_, bytes, count);
      length_ += count;
      return;
    }
    Spill();
    spill_.append(bytes, count);
  }
  void Fill(char c, size_t count) {
    if (!spilled_ && length_ + count <= sizeof stack_) {
      std::memset(stack_ + length_, c, count);
      length_ += count;
      return;
    }
    Spill();
    spill_.append(count, c);
  }
  const char* Data() const { return spilled_ ? spill_.data() : stack_; }
  size_t Size() const { return spilled_ ? spill_.size() : length_; }

 private:
  void Spill() {
    if (spilled_) return;
    spill_.assign(stack_, length_);
    spilled_ = true;
  }
  char stack_[kStackText];
  size_t length_ = 0;
  bool spilled_ = false;
  std::string spill_;
};

// Text appended straight to its target string: for formats without a text
// argument, which therefore cannot point into the target.
class StringSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void Put(const char* bytes, size_t count) { out_.append(bytes, count); }
  void Fill(char c, size_t count) { out_.append(count, c); }

 private:
  std::string& out_;
};

// One conversion of a format, as far as the text of its options goes. Left
// uninitialised by default: a format's pieces are made on every call.
struct Conversion {
  enum class Size { Int, Char, Short, Long, LongLong, SizeT, IntMax, PtrDiff, LongDouble };
  bool left;       // '-'
  bool plus;       // '+'
  bool space;      // ' '
  bool alternate;  // '#'
  bool zero;       // '0'
  int width;
  int precision;  // -1: none
  Size size;
  char type;
};

constexpr Conversion kPlainConversion = {false, false, false, false, false, 0, -1, Conversion::Size::Int, 0};

// Writes `body` (sign and prefix first, then zeros to `digitsWidth`, then
// `digits`) padded to the conversion's width, as printf pads.
template <typename Sink>
void PutPadded(Sink& sink, const Conversion& c, const char* prefix, size_t prefixLength, size_t zeros,
               const char* digits, size_t digitsLength) {
  size_t length = prefixLength + zeros + digitsLength;
  const size_t width = static_cast<size_t>(c.width);
  if (length >= width) {
    // No padding, as for most conversions.
    if (prefixLength != 0) sink.Put(prefix, prefixLength);
    if (zeros != 0) sink.Fill('0', zeros);
    sink.Put(digits, digitsLength);
    return;
  }
  if (length < width && !c.left && c.zero && c.precision < 0) {
    zeros += width - length;
    length = width;
  }
  if (length < width && !c.left) sink.Fill(' ', width - length);
  if (prefixLength != 0) sink.Put(prefix, prefixLength);
  if (zeros != 0) sink.Fill('0', zeros);
  sink.Put(digits, digitsLength);
  if (length < width && c.left) sink.Fill(' ', width - length);
}

// The two digits of every number below 100.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// A plain "%u".
template <typename Sink>
void PutDecimal(Sink& sink, unsigned value) {
  char digits[12];
  char* const end = digits + sizeof digits;
  char* at = end;
  for (; value >= 100; value /= 100) {
    const unsigned pair = value % 100 * 2;
    *--at = kPairs[pair + 1];
    *--at = kPairs[pair];
  }
  if (value >= 10) {
    *--at = kPairs[value * 2 + 1];
    *--at = kPairs[value * 2];
  } else {
    *--at = static_cast<char>('0' + value);
  }
  sink.Put(at, static_cast<size_t>(end - at));
}

template <typename Sink>
void PutInteger(Sink& sink, const Conversion& c, unsigned long long magnitude, bool negative) {
  const unsigned base = c.type == 'o' ? 8 : (c.type == 'x' || c.type == 'X') ? 16 : 10;
  const char* digitChars = c.type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  char digits[24];
  char* end = digits + sizeof digits;
  char* at = end;
  if (base == 10) {
    unsigned long long v = magnitude;
    for (; v >= 100; v /= 100) {
      const unsigned pair = static_cast<unsigned>(v % 100) * 2;
      *--at = kPairs[pair + 1];
      *--at = kPairs[pair];
    }
    if (v >= 10) {
      *--at = kPairs[v * 2 + 1];
      *--at = kPairs[v * 2];
    } else if (v != 0) {
      *--at = static_cast<char>('0' + v);
    }
  } else {
    const unsigned shift = base == 16 ? 4 : 3;
    for (unsigned long long v = magnitude; v != 0; v >>= shift) *--at = digitChars[v & (base - 1)];
  }
  // No precision means at least one digit; a precision of zero prints nothing for zero.
  const size_t minimum = c.precision < 0 ? 1 : static_cast<size_t>(c.precision);
  size_t count = static_cast<size_t>(end - at);
  size_t zeros = count < minimum ? minimum - count : 0;
  char prefix[2];
  size_t prefixLength = 0;
  if (c.type == 'd' || c.type == 'i') {
    if (negative) prefix[prefixLength++] = '-';
    else if (c.plus) prefix[prefixLength++] = '+';
    else if (c.space) prefix[prefixLength++] = ' ';
  } else if (c.alternate && magnitude != 0 && base == 16) {
    prefix[prefixLength++] = '0';
    prefix[prefixLength++] = c.type;
  } else if (c.alternate && base == 8 && zeros == 0 && (count == 0 || *at != '0')) {
    zeros = 1;
  }
  PutPadded(sink, c, prefix, prefixLength, zeros, at, count);
}

// A format taken apart: literal text, then a conversion, over and over.
struct Piece {
  const char* literal;
  size_t literalLength;
  Conversion conversion;  // type 0: the literal ends the format
  bool starWidth;
  bool starPrecision;
};

// A format with more conversions than this is formatted by the C library.
constexpr size_t kMaxPieces = 24;

// Takes `format` apart into `pieces` without looking at any argument. False
// when the format holds anything but the conversions whose rules Emit knows
// (positional arguments, wide characters, %n, %p, a zero flag on a text, flags
// on "%%"), or too many of them: the C library then formats the whole text.
bool Parse(const char* format, Piece* pieces, size_t& count, bool& takesText) {
  const char* p = format;
  count = 0;
  takesText = false;
  for (;;) {
    if (count == kMaxPieces) return false;
    Piece& piece = pieces[count++];
    piece.literal = p;
    piece.starWidth = false;
    piece.starPrecision = false;
    Conversion& c = piece.conversion;
    c = kPlainConversion;
    const char* percent = strchrnul(p, '%');
    piece.literalLength = static_cast<size_t>(percent - p);
    if (*percent == '\0') return true;
    p = percent + 1;
    // Most conversions are a bare letter.
    if (*p == 'u' || *p == 's' || *p == 'd') {
      c.type = *p++;
      if (c.type == 's') takesText = true;
      continue;
    }
    for (;; ++p) {
      if (*p == '-') c.left = true;
      else if (*p == '+') c.plus = true;
      else if (*p == ' ') c.space = true;
      else if (*p == '#') c.alternate = true;
      else if (*p == '0') c.zero = true;
      else break;
    }
    if (*p == '*') {
      piece.starWidth = true;
      ++p;
    } else {
      for (; *p >= '0' && *p <= '9'; ++p) {
        if (c.width > 100000) return false;
        c.width = c.width * 10 + (*p - '0');
      }
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        piece.starPrecision = true;
        ++p;
      } else {
        c.precision = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
          if (c.precision > 100000) return false;
          c.precision = c.precision * 10 + (*p - '0');
        }
      }
    }
    using Size = Conversion::Size;
    switch (*p) {
      case 'h':
        c.size = p[1] == 'h' ? Size::Char : Size::Short;
        p += p[1] == 'h' ? 2 : 1;
        break;
      case 'l':
        c.size = p[1] == 'l' ? Size::LongLong : Size::Long;
        p += p[1] == 'l' ? 2 : 1;
        break;
      case 'z': c.size = Size::SizeT; ++p; break;
      case 'j': c.size = Size::IntMax; ++p; break;
      case 't': c.size = Size::PtrDiff; ++p; break;
      case 'L': c.size = Size::LongDouble; ++p; break;
      default: break;
    }
    c.type = *p;
    switch (c.type) {
      case '%':
        // Only a plain "%%".
        if (p != percent + 1) return false;
        break;
      case 'd':
      case 'i':
      case 'u':
      case 'o':
      case 'x':
      case 'X':
        if (c.size == Size::LongDouble) return false;
        break;
      case 'c':
      case 's':
        if (c.size != Size::Int || c.zero) return false;
        if (c.type == 's') takesText = true;
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        if (c.size != Size::Int && c.size != Size::Long && c.size != Size::LongDouble) return false;
        break;
      default:
        return false;
    }
    ++p;
  }
}

// "%f" of a number whose digits fit 64 bits, as the C library prints it: the
// number's exact binary value rounded to the precision, halfway cases to
// even. False for anything else, which the C library then formats.
template <typename Sink>
bool PutFixed(Sink& sink, const Conversion& c, double value) {
  static constexpr uint64_t kPowers[] = {1,         10,         100,         1000,         10000,
                                         100000,    1000000,    10000000,    100000000,    1000000000};
  const int precision = c.precision < 0 ? 6 : c.precision;
  if (c.alternate || precision > 9 || !std::isfinite(value) || std::fabs(value) >= 1e10) return false;
  const bool negative = std::signbit(value);
  uint64_t scaled = 0;  // the magnitude times 10^precision, rounded
  if (value != 0) {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    // magnitude = mantissa / 2^shift exactly; shift > 0 below 2^53.
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    if (shift < 128) {
      const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * kPowers[precision];
      const unsigned __int128 whole = product >> shift;
      const unsigned __int128 rest = product - (whole << shift);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      scaled = static_cast<uint64_t>(whole);
      if (rest > half || (rest == half && (scaled & 1) != 0)) ++scaled;
    }
  }
  char digits[32];
  char* end = digits + sizeof digits;
  char* at = end;
  for (int i = 0; i < precision; ++i, scaled /= 10) *--at = static_cast<char>('0' + scaled % 10);
  if (precision > 0) *--at = '.';
  do {
    *--at = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0);
  const char sign = negative ? '-' : c.plus ? '+' : c.space ? ' ' : '\0';
  const size_t count = static_cast<size_t>(end - at);
  const size_t length = count + (sign != '\0' ? 1 : 0);
  const size_t width = static_cast<size_t>(c.width);
  const size_t pad = length < width ? width - length : 0;
  if (pad != 0 && !c.left && !c.zero) sink.Fill(' ', pad);
  if (sign != '\0') sink.Put(&sign, 1);
  if (pad != 0 && !c.left && c.zero) sink.Fill('0', pad);
  sink.Put(at, count);
  if (pad != 0 && c.left) sink.Fill(' ', pad);
  return true;
}

// One floating-point conversion, by the C library's own rounding.
template <typename Sink, typename Value>
bool PutFloat(Sink& sink, const Conversion& c, Value value) {
  char pattern[16];
  char* at = pattern;
  *at++ = '%';
  if (c.left) *at++ = '-';
  if (c.plus) *at++ = '+';
  if (c.space) *at++ = ' ';
  if (c.alternate) *at++ = '#';
  if (c.zero) *at++ = '0';
  *at++ = '*';
  *at++ = '.';
  *at++ = '*';
  if (c.size == Conversion::Size::LongDouble) *at++ = 'L';
  *at++ = c.type;
  *at = '\0';
  char number[kStackText];
  const int needed = std::snprintf(number, sizeof number, pattern, c.width, c.precision, value);
  if (needed < 0) return false;
  if (static_cast<size_t>(needed) < sizeof number) {
    sink.Put(number, static_cast<size_t>(needed));
    return true;
  }
  std::string longer(static_cast<size_t>(needed) + 1, '\0');
  std::snprintf(longer.data(), longer.size(), pattern, c.width, c.precision, value);
  sink.Put(longer.data(), static_cast<size_t>(needed));
  return true;
}

// Formats the pieces of a format into `sink`, taking the arguments as the
// conversions say. False where the C library fails too (a width that does not
// fit an int).
template <typename Sink>
bool Emit(Sink& sink, Piece* pieces, size_t count, va_list args) {
  using Size = Conversion::Size;
  for (size_t i = 0; i < count; ++i) {
    Piece& piece = pieces[i];
    if (piece.literalLength != 0) sink.Put(piece.literal, piece.literalLength);
    Conversion& c = piece.conversion;
    if (piece.starWidth) {
      const int width = va_arg(args, int);
      if (width == INT_MIN) return false;
      if (width < 0) c.left = true;
      c.width = width < 0 ? -width : width;
    }
    if (piece.starPrecision) {
      const int precision = va_arg(args, int);
      c.precision = precision < 0 ? -1 : precision;
    }
    switch (c.type) {
      case 0:
        break;
      case '%':
        sink.Put("%", 1);
        break;
      case 'd':
      case 'i': {
        long long value = 0;
        switch (c.size) {
          case Size::Int: value = va_arg(args, int); break;
          case Size::Char: value = static_cast<signed char>(va_arg(args, int)); break;
          case Size::Short: value = static_cast<short>(va_arg(args, int)); break;
          case Size::Long: value = va_arg(args, long); break;
          case Size::LongLong: value = va_arg(args, long long); break;
          case Size::SizeT: value = va_arg(args, ssize_t); break;
          case Size::IntMax: value = va_arg(args, intmax_t); break;
          case Size::PtrDiff: value = va_arg(args, ptrdiff_t); break;
          case Size::LongDouble: break;
        }
        const bool negative = value < 0;
        const unsigned long long magnitude =
            negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
        PutInteger(sink, c, magnitude, negative);
        break;
      }
      case 'u':
      case 'o':
      case 'x':
      case 'X': {
        if (c.type == 'u' && c.size == Size::Int && c.width == 0 && c.precision < 0) {
          PutDecimal(sink, va_arg(args, unsigned));
          break;
        }
        unsigned long long value = 0;
        switch (c.size) {
          case Size::Int: value = va_arg(args, unsigned); break;
          case Size::Char: value = static_cast<unsigned char>(va_arg(args, unsigned)); break;
          case Size::Short: value = static_cast<unsigned short>(va_arg(args, unsigned)); break;
          case Size::Long: value = va_arg(args, unsigned long); break;
          case Size::LongLong: value = va_arg(args, unsigned long long); break;
          case Size::SizeT: value = va_arg(args, size_t); break;
          case Size::IntMax: value = va_arg(args, uintmax_t); break;
          case Size::PtrDiff: value = static_cast<unsigned long long>(va_arg(args, ptrdiff_t)); break;
          case Size::LongDouble: break;
        }
        PutInteger(sink, c, value, false);
        break;
      }
      case 'c': {
        const char ch = static_cast<char>(static_cast<unsigned char>(va_arg(args, int)));
        PutPadded(sink, c, nullptr, 0, 0, &ch, 1);
        break;
      }
      case 's': {
        const char* text = va_arg(args, const char*);
        // What the C library prints for a null text.
        if (text == nullptr) text = c.precision < 0 || c.precision >= 6 ? "(null)" : "";
        const size_t length =
            c.precision < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(c.precision));
        PutPadded(sink, c, nullptr, 0, 0, text, length);
        break;
      }
      default: {
        if (c.size == Size::LongDouble) {
          if (!PutFloat(sink, c, va_arg(args, long double))) return false;
          break;
        }
        const double value = va_arg(args, double);
        if ((c.type == 'f' || c.type == 'F') && PutFixed(sink, c, value)) break;
        if (!PutFloat(sink, c, value)) return false;
        break;
      }
    }
  }
  return true;
}

// Formats into `out` from position `at` on (the rest of `out` is replaced).
void FormatAt(std::string& out, size_t at, const char* format, va_list args) {
  Piece pieces[kMaxPieces];
  size_t count = 0;
  bool takesText = false;
  if (Parse(format, pieces, count, takesText)) {
    if (!takesText) {
      out.resize(at);
      StringSink sink(out);
      if (!Emit(sink, pieces, count, args)) out.resize(at);
      return;
    }
    // A text argument may point into `out` itself: the text is made aside.
    TextSink sink;
    const bool made = Emit(sink, pieces, count, args);
    out.resize(at);
    if (made) out.append(sink.Data(), sink.Size());
    return;
  }
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

void AssignFormatV(std::string& out, const char* format, va_list args) { FormatAt(out, 0, format, args); }

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
