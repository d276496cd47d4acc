#include "common/ScriptedChoice.h"

#include "common/Callbacks.h"
#include "common/UserInterface.h"

namespace velmar {

void ScriptedChoice::Set(std::string item) {
  item_ = std::move(item);
  offered_.clear();
  found_ = false;
}

unsigned ScriptedChoice::Answer(CallbackContext* owner, unsigned kind) {
  ContentCollector list;
  if (owner != nullptr) owner->FillContent(&list, kind);
  offered_ = list.items;
  const std::string wanted = item_.value_or(std::string());
  item_.reset();
  found_ = false;
  for (size_t i = 0; i < offered_.size(); ++i) {
    if (offered_[i] == wanted) {
      found_ = true;
      return static_cast<unsigned>(i);
    }
  }
  return kNoSelection;
}

}  // namespace velmar
