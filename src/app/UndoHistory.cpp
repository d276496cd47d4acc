#include "app/UndoHistory.h"

namespace velmar {

void UndoHistory::Reset(const Bytes& state) {
  current = state;
  saved = state;
  undoSteps.clear();
  redoSteps.clear();
}

bool UndoHistory::Record(const Bytes& state) {
  if (state == current) return false;
  undoSteps.push_back(current);
  if (undoSteps.size() > kMaxUndoSteps) undoSteps.pop_front();
  redoSteps.clear();
  current = state;
  return true;
}

bool UndoHistory::Undo() {
  if (undoSteps.empty()) return false;
  redoSteps.push_back(current);
  current = undoSteps.back();
  undoSteps.pop_back();
  return true;
}

bool UndoHistory::Redo() {
  if (redoSteps.empty()) return false;
  undoSteps.push_back(current);
  current = redoSteps.back();
  redoSteps.pop_back();
  return true;
}

}  // namespace velmar
