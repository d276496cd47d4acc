#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmar {

class BlockPage;
class EdidImage;
class EditorForm;
class ScriptedChoice;

// One editable field of a form that a page of the image offers now.
struct ScriptField {
  std::string address;  // "<form>.<field>": "base.general.year", "di1.gamma.points[3]"
  std::string value;    // as the dialog shows it; "on"/"off" for a check box, the item's text for a list
  std::string label;    // the dialog's label
};

// Where and why a script stopped.
struct ScriptFailure {
  std::string address;
  std::string message;
};

// Edits an image by addresses, through the same forms and page commands the
// dialogs and buttons use, so that a script meets the same checks and
// messages. An assignment is ADDRESS=VALUE:
//   <form>.<field>=VALUE      a field of a form ("base.general.year=2012",
//                             "di1.gamma.type=Single White Curve"); a list takes
//                             an item's text or its position from 0, a check
//                             box on or off
//   <form>.<sub>.<field>=VALUE  a field of a form a button of <form> opens
//                             ("cea1.hdmi.hdmi-vics.vic[0]"); its OK runs
//                             in <form>, whose own OK then writes
//   <page>.<item>=remove      a page's "Remove" button ("base.slot2", "cea1.db4")
//   <page>.<list>=add[:ITEM]  a page's add button ("base.slot2", "cea1.db",
//                             "cea1.dtd"), answering its selection list with
//                             the item of that text
//   block=add:ITEM            "Add Block", answered likewise
// Assignments run in order and each address means the image as the earlier
// ones left it. Consecutive fields of one form are set in one opening of it,
// whose OK runs before anything else is addressed (and at the end).
class FormScript {
 public:
  // `choice` answers the selection lists of the user interface the image's
  // pages ask (that user interface hands its SelectItem to it while an answer
  // is pending).
  FormScript(EdidImage& image, ScriptedChoice& choice);
  ~FormScript();
  FormScript(const FormScript&) = delete;
  FormScript& operator=(const FormScript&) = delete;

  // Every visible edit, check box and list of every form of every page, in
  // block order, the page's form order and the form's field order; after a
  // form's own fields, those of the forms its buttons open now.
  std::vector<ScriptField> Fields();

  // Runs the assignments (address, value) in order. Stops at the first that
  // fails: false, with the address (a field's when its form's OK refused one
  // field set alone, else the form's) and the message (the dialog's own for a
  // refused OK). What ran before the failure stays: forms accepted, blocks
  // and items added or removed, and a button that acted before it could be
  // told an item it had no list for.
  bool Run(const std::vector<std::pair<std::string, std::string>>& assignments, ScriptFailure& failure);

  // Opens every form every page offers and presses OK without a change, in
  // the forms its buttons open first.
  bool AcceptAll(ScriptFailure& failure);

  // The text of a value on one line and back: a backslash becomes "\\", a
  // control character "\t", "\n", "\r" or "\xHH". Unescape fails on a
  // backslash that starts no such sequence.
  static std::string EscapeValue(const std::string& value);
  static bool UnescapeValue(const std::string& text, std::string& value);

 private:
  BlockPage* FindPage(const std::string& prefix) const;
  // Presses OK on the open form, if any, and closes it.
  bool CloseForm(ScriptFailure& failure);
  // Sets the fields given for a form a button of the open form opens, and
  // presses its OK.
  bool RunSubForm(ScriptFailure& failure);
  // Presses each button of the open form that can be pressed now, handing the
  // forms they open to `answer`, until `stop` is set.
  void PressButtons(const std::function<bool(EditorForm&)>& answer, const bool& stop);
  bool RunStructural(BlockPage* page, const std::string& address, const std::string& item, const std::string& value,
                     ScriptFailure& failure);

  EdidImage& image_;
  ScriptedChoice& choice_;
  std::unique_ptr<EditorForm> form_;
  std::vector<std::string> formAssigned_;  // the field addresses set in the open form
  // The form a button of the open form opens, and the fields to set in it (address, value).
  std::string subAddress_;
  std::vector<std::pair<std::string, std::string>> subAssigned_;
};

}  // namespace velmar
