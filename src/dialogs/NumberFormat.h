#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmar {

// The longest field text the number readers take; a longer text is refused
// rather than cut, so that a value never passes with its tail missing.
inline constexpr size_t kMaxNumberTextLength = 31;

// Reads an unsigned 32-bit hexadecimal field: leading blanks, an optional "+"
// and an optional 0x prefix are accepted, and the digits must use up the whole
// text. Fails on an empty text, a minus sign, trailing characters (blanks
// included), a value above 0xFFFFFFFF or a text over 31 characters; `value`
// is left alone on failure.
bool ReadHex(const std::string& text, uint32_t& value);
// The same in base 10 (no prefix).
bool ReadDecimal(const std::string& text, uint32_t& value);
// Base 10 for signed fields: a minus sign is accepted, the value must fit
// in 32 signed bits.
bool ReadSignedDecimal(const std::string& text, int32_t& value);

// Reads a real-valued field: blanks, an optional "-", digits, an optional "."
// and fraction digits (only the first 7 count), then only blanks. An empty or
// all-blank text gives 0.00000001 (which counts as 0). Every value carries an
// added 1e-8 (in its sign's direction) so that later truncations of
// value x 100 are exact: "0.29" gives 29.
bool ParseReal(const std::string& text, double& value);

// "0x%0*X" / "0x%X" with the prefix, "%0*X" / "%X" without; width 0 means no padding.
std::string WriteHex(unsigned width, uint32_t value, bool prefix);
// "%x".
std::string WriteHexLower(uint32_t value);
// A real value with as many decimals as it needs (fractions below 1e-8 do not
// count), at least `minimum` and at most `maximum`; zero never shows a sign.
std::string WriteFixed(unsigned minimum, double value, unsigned maximum);
// To nearest, halves away from zero: 2.5 -> 3, -2.5 -> -3, 2.49 -> 2.
// Values beyond the 64-bit range are clamped; NaN gives 0.
int64_t RoundHalfAway(double value);

}  // namespace velmar
