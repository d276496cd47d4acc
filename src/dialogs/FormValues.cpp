#include "dialogs/FormValues.h"

#include <cmath>

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

// The reader adds 1e-8 to every value so that truncations come out exact;
// a bound is met when the value lies within that much of it.
constexpr double kReadSlack = 1e-7;

}  // namespace

std::string ChromaticityText(uint32_t code) { return Format("%.3f", code / 1024.0); }

bool ReadChromaticity(const std::string& text, uint32_t& code) {
  double value = 0;
  if (!ParseReal(text, value) || value < 0 || value > 1 + kReadSlack) return false;
  const double scaled = value * 1024;
  double whole = std::floor(scaled);
  if (scaled - whole > 0.5) whole += 1;
  code = whole >= 1023 ? 1023 : static_cast<uint32_t>(whole);
  return true;
}

std::string GammaText(double gamma) { return Format("%.2f", gamma); }

bool ReadGamma(const std::string& text, double& gamma) {
  double value = 0;
  if (!ParseReal(text, value) || value < 1 || value > 3.54 + kReadSlack) return false;
  gamma = value;
  return true;
}

}  // namespace velmar
