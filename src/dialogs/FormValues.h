#pragma once

#include <cstdint>
#include <string>

namespace velmar {

// Value conversions shared by several editor forms.

// A chromaticity code (value x 1024) as the dialogs show it: three decimals.
std::string ChromaticityText(uint32_t code);
// Reads a chromaticity between 0 and 1 (both accepted) into its 10-bit code:
// floor(v x 1024), plus 1 when the fraction left is above one half, at most
// 1023 (1 itself would give 1024, which the ten bits cannot hold). False for
// a text that does not parse or a value outside 0-1; `code` is then untouched.
bool ReadChromaticity(const std::string& text, uint32_t& code);

// A gamma as the dialogs show it: two decimals.
std::string GammaText(double gamma);
// Reads a gamma of 1.00-3.54 (the values its byte can hold besides the
// "not defined" mark). False otherwise, `gamma` untouched.
bool ReadGamma(const std::string& text, double& gamma);

}  // namespace velmar
