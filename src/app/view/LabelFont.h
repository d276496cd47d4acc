#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmar {

// The face the source and path labels prefer, with its character width.
struct LabelFace {
  std::string face;
  int width = 0;
  int priority = 0;
};

// Walks the installed font families in order: "Calibri" (priority 10, width 6)
// beats "Verdana" (priority 5, width 5), any other family counts 0. No value
// when neither is installed: the labels then keep the window's font.
std::optional<LabelFace> ChooseLabelFace(const std::vector<std::string>& families);

}  // namespace velmar
