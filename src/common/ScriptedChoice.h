#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmar {

class CallbackContext;

// The answer a script gives to the next selection list a command opens: the
// item with a given text. A user interface that a script drives hands its
// next SelectItem to Answer while an answer is pending.
class ScriptedChoice {
 public:
  // The next list is answered with the item whose text is `item`.
  void Set(std::string item);
  bool Pending() const { return item_.has_value(); }
  // Drops an answer no list used.
  void Clear() { item_.reset(); }
  // Fills the list as the user interface would (owner->FillContent(list,
  // kind)) and returns the position of the pending item, or kNoSelection when
  // the list has no such item. The answer is used up either way.
  unsigned Answer(CallbackContext* owner, unsigned kind);

  // What the last answered list offered, and whether it held the item.
  const std::vector<std::string>& Offered() const { return offered_; }
  bool Found() const { return found_; }

 private:
  std::optional<std::string> item_;
  std::vector<std::string> offered_;
  bool found_ = false;
};

}  // namespace velmar
