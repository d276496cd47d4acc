#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "blocks/DataBlock.h"

namespace velmar {

// The undo and redo steps of the image. The image's whole state is its 512
// bytes, so a step is a copy of them: Record keeps the bytes as the new
// current state when they differ from it, Undo and Redo move between the
// recorded states. The history also remembers the state last loaded or saved,
// so that the caller can tell when an undo or redo is back at it.
class UndoHistory {
 public:
  using Bytes = std::array<uint8_t, kMaxEdidSize>;
  // Steps kept for undo at most; the oldest is forgotten first.
  static constexpr size_t kMaxUndoSteps = 200;

  explicit UndoHistory(const Bytes& start = Bytes{}) { Reset(start); }

  // Forgets every step: `state` is current, and it is the saved state.
  void Reset(const Bytes& state);
  // Makes `state` current when it differs from the current state: the current
  // state becomes the last undo step and every redo step is dropped. True when
  // a step was recorded.
  bool Record(const Bytes& state);

  bool CanUndo() const { return !undoSteps.empty(); }
  bool CanRedo() const { return !redoSteps.empty(); }
  // Moves back (or forward) one step; false, with nothing changed, when there
  // is none. The new state is Current().
  bool Undo();
  bool Redo();
  const Bytes& Current() const { return current; }

  // `state` was just loaded or saved.
  void MarkSaved(const Bytes& state) { saved = state; }
  bool IsSaved(const Bytes& state) const { return state == saved; }

  size_t UndoCount() const { return undoSteps.size(); }
  size_t RedoCount() const { return redoSteps.size(); }

 private:
  Bytes current{};
  Bytes saved{};
  std::deque<Bytes> undoSteps;
  std::vector<Bytes> redoSteps;
};

}  // namespace velmar
