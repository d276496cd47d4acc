#include "app/view/LabelFont.h"

namespace velmar {

std::optional<LabelFace> ChooseLabelFace(const std::vector<std::string>& families) {
  LabelFace best;
  for (const std::string& family : families) {
    int priority = 0;
    int width = 0;
    if (family == "Calibri") {
      priority = 10;
      width = 6;
    } else if (family == "Verdana") {
      priority = 5;
      width = 5;
    }
    if (priority > best.priority) {
      // The face name field holds 29 characters and its terminator.
      best.face = family.substr(0, 29);
      best.width = width;
      best.priority = priority;
    }
  }
  if (best.priority == 0) return std::nullopt;
  return best;
}

}  // namespace velmar
