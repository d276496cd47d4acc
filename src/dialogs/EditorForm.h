#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class UserInterface;

// What a field of an editor form is, and so which control renders it.
enum class FieldKind {
  Edit,    // a line of text the dialog's parsers read at OK
  Check,   // a check box; its label is the box's caption
  List,    // a drop-down list; `selection` -1 when nothing is chosen
  Label,   // read-only text
  Button,  // a push button that opens a sub-form or acts on the form
};

// One control of an editor form, as the user sees it.
struct FormField {
  std::string name;   // stable, readable: "year", "hsync-width", "channels[0]"
  std::string label;  // the dialog's label, or the caption of a check box or button
  FieldKind kind = FieldKind::Edit;
  std::string text;  // Edit and Label
  bool checked = false;
  std::vector<std::string> items;
  int selection = -1;
  bool enabled = true;
  bool visible = true;
  // Where the views put it: the key of its group (empty: the dialog's top
  // area) and its cell in the group's grid.
  std::string group;
  int row = 0;
  int column = 0;
};

// A frame of fields; the views place the groups on the dialog's own grid.
struct FormGroup {
  std::string key;
  std::string caption;  // empty: no frame
  int row = 0;
  int column = 0;
  int columnSpan = 1;
};

// The toolkit-free logic of one editor dialog: its fields filled from the
// model's record when it opens, the rules that react to a change of a field
// (enable other fields, refuse the change), the checks of OK in their order
// with the first failure's message, and the write through the model's setter.
//
// A form is addressed "<block>.<section>" ("base.general", "cea1.db3") and
// its fields "<address>.<field>" ("base.general.year"); these names are the
// command line's, so they stay stable.
//
// OK with no field different from its state at opening writes nothing and
// runs no check. A field the user did not change keeps the stored value it
// was filled from: derived forms write only changed fields into the record.
class EditorForm {
 public:
  EditorForm(std::string address, std::string caption);
  virtual ~EditorForm();
  EditorForm(const EditorForm&) = delete;
  EditorForm& operator=(const EditorForm&) = delete;

  const std::string& Address() const { return address_; }
  const std::string& Caption() const { return caption_; }
  const std::deque<FormField>& Fields() const { return fields_; }
  const std::vector<FormGroup>& Groups() const { return groups_; }
  // The field named `name`, or null.
  const FormField* Find(std::string_view name) const;

  // The field's value as text: an edit's or label's text, "on"/"off" for a
  // check box, the chosen item's text for a list (empty without a choice),
  // the caption for a button.
  static std::string ValueText(const FormField& field);

  // The user's actions. Each fails (and changes nothing) when the field does
  // not exist, is of another kind, is disabled or hidden, or when the form's
  // rules refuse the change.
  bool SetText(std::string_view name, const std::string& text);
  bool SetChecked(std::string_view name, bool checked);
  bool Select(std::string_view name, int index);
  bool Press(std::string_view name, UserInterface& ui);
  // Sets a field from a value text: an edit takes the text, a check box
  // "on"/"off" (or 1/0, yes/no, true/false), a list an item's text or its
  // position from 0. False with `error` set when the value does not fit.
  bool Assign(std::string_view name, const std::string& value, std::string& error);

  // True when any field differs from its state when the form opened, or the
  // form's own copy of a record was changed (by a sub-form).
  bool Changed() const;
  // OK: with nothing changed, true without a check or a write. Otherwise runs
  // the checks; the first failure returns false with its `message`, and
  // nothing is written; when all pass the record is written and true returned.
  bool Accept(std::string& message);

 protected:
  // Building the form (constructors of derived forms).
  FormGroup& AddGroup(std::string key, std::string caption, int row, int column, int columnSpan = 1);
  FormField& AddEdit(std::string name, std::string label, std::string text);
  FormField& AddCheck(std::string name, std::string label, bool checked);
  FormField& AddList(std::string name, std::string label, std::vector<std::string> items, int selection);
  FormField& AddLabel(std::string name, std::string label, std::string text);
  FormField& AddButton(std::string name, std::string label);
  // Places the next fields in `group` (empty: the top area).
  void InGroup(std::string key) { currentGroup_ = std::move(key); }
  // Records the state every field opened with; derived constructors call it
  // once all fields are filled.
  void Opened();

  // The field named `name`; a missing name is a fault of the form itself.
  FormField& Field(std::string_view name);
  const FormField& Field(std::string_view name) const;
  // True when the field's value differs from its value at opening.
  bool FieldChanged(std::string_view name) const;
  // Marks the form changed beyond its fields (a sub-form edited its copy).
  void MarkChanged() { changedBeyondFields_ = true; }

  // Checks the fields in the dialog's order: the first failure's message, or
  // empty text when every field passes.
  virtual std::string Check() { return {}; }
  // Writes the record through the model's setter.
  virtual void Apply() = 0;
  // The user changed `field` (its previous state in `before`); false undoes
  // the change. Rules may change other fields' values, states and items.
  virtual bool OnChanged(FormField& field, const FormField& before);
  // The user pressed a button.
  virtual void OnPressed(FormField& field, UserInterface& ui);

 private:
  FormField& AddField(FormField field);
  FormField* FindMutable(std::string_view name);
  bool Change(FormField& field, const FormField& before);

  std::string address_;
  std::string caption_;
  std::deque<FormField> fields_;  // a deque keeps references to fields valid as fields are added
  std::vector<FormGroup> groups_;
  std::vector<FormField> opened_;
  std::string currentGroup_;
  bool changedBeyondFields_ = false;
};

}  // namespace velmar
