#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmar {

class CallbackContext;
class EditorForm;

// The answers a script gives to what a command opens: the next selection
// list, answered with the item of a given text, and the editor forms a
// form's buttons open. A user interface that a script drives hands its
// SelectItem to Answer while an answer is pending, and its EditForm to
// AnswerForm while a form answer is set.
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

  // While set, every editor form opened is handed to `answer`, whose result
  // ends the dialog (true: OK, and the form was accepted).
  void SetFormAnswer(std::function<bool(EditorForm&)> answer) { formAnswer_ = std::move(answer); }
  void ClearFormAnswer() { formAnswer_ = nullptr; }
  bool FormPending() const { return static_cast<bool>(formAnswer_); }
  bool AnswerForm(EditorForm& form) { return formAnswer_ ? formAnswer_(form) : false; }

 private:
  std::optional<std::string> item_;
  std::vector<std::string> offered_;
  bool found_ = false;
  std::function<bool(EditorForm&)> formAnswer_;
};

}  // namespace velmar
