#include "dialogs/EditorForm.h"

#include <cstdlib>

#include "dialogs/NumberFormat.h"

namespace velmar {

namespace {

bool SameValue(const FormField& a, const FormField& b) {
  switch (a.kind) {
    case FieldKind::Edit:
    case FieldKind::Label:
      return a.text == b.text;
    case FieldKind::Check:
      return a.checked == b.checked;
    case FieldKind::List:
      // A list whose items changed stands for a different value even at the
      // same position.
      return a.selection == b.selection && a.items == b.items;
    case FieldKind::Button:
      return true;
  }
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

EditorForm::EditorForm(std::string address, std::string caption)
    : address_(std::move(address)), caption_(std::move(caption)) {}

EditorForm::~EditorForm() = default;

const FormField* EditorForm::Find(std::string_view name) const {
  for (const FormField& field : fields_) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

FormField* EditorForm::FindMutable(std::string_view name) {
  for (FormField& field : fields_) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

FormField& EditorForm::Field(std::string_view name) {
  FormField* field = FindMutable(name);
  if (field == nullptr) std::abort();  // a form asking for a field it never added
  return *field;
}

const FormField& EditorForm::Field(std::string_view name) const {
  const FormField* field = Find(name);
  if (field == nullptr) std::abort();
  return *field;
}

std::string EditorForm::ValueText(const FormField& field) {
  switch (field.kind) {
    case FieldKind::Edit:
    case FieldKind::Label:
      return field.text;
    case FieldKind::Check:
      return field.checked ? "on" : "off";
    case FieldKind::List:
      if (field.selection >= 0 && static_cast<size_t>(field.selection) < field.items.size()) {
        return field.items[static_cast<size_t>(field.selection)];
      }
      return {};
    case FieldKind::Button:
      return field.label;
  }
  return {};
}

FormGroup& EditorForm::AddGroup(std::string key, std::string caption, int row, int column, int columnSpan) {
  groups_.push_back(FormGroup{std::move(key), std::move(caption), row, column, columnSpan});
  return groups_.back();
}

FormField& EditorForm::AddField(FormField field) {
  field.group = currentGroup_;
  int row = 0;
  for (const FormField& other : fields_) {
    if (other.group == field.group && other.row >= row) row = other.row + 1;
  }
  field.row = row;
  fields_.push_back(std::move(field));
  return fields_.back();
}

FormField& EditorForm::AddEdit(std::string name, std::string label, std::string text) {
  FormField field;
  field.name = std::move(name);
  field.label = std::move(label);
  field.kind = FieldKind::Edit;
  field.text = std::move(text);
  return AddField(std::move(field));
}

FormField& EditorForm::AddCheck(std::string name, std::string label, bool checked) {
  FormField field;
  field.name = std::move(name);
  field.label = std::move(label);
  field.kind = FieldKind::Check;
  field.checked = checked;
  return AddField(std::move(field));
}

FormField& EditorForm::AddList(std::string name, std::string label, std::vector<std::string> items, int selection) {
  FormField field;
  field.name = std::move(name);
  field.label = std::move(label);
  field.kind = FieldKind::List;
  field.items = std::move(items);
  field.selection = selection >= 0 && static_cast<size_t>(selection) < field.items.size() ? selection : -1;
  return AddField(std::move(field));
}

FormField& EditorForm::AddLabel(std::string name, std::string label, std::string text) {
  FormField field;
  field.name = std::move(name);
  field.label = std::move(label);
  field.kind = FieldKind::Label;
  field.text = std::move(text);
  return AddField(std::move(field));
}

FormField& EditorForm::AddButton(std::string name, std::string label) {
  FormField field;
  field.name = std::move(name);
  field.label = std::move(label);
  field.kind = FieldKind::Button;
  return AddField(std::move(field));
}

void EditorForm::Opened() { opened_.assign(fields_.begin(), fields_.end()); }

bool EditorForm::FieldChanged(std::string_view name) const {
  const FormField& now = Field(name);
  for (const FormField& then : opened_) {
    if (then.name == name) return !SameValue(now, then);
  }
  return true;  // added after opening
}

bool EditorForm::Changed() const {
  if (changedBeyondFields_) return true;
  for (const FormField& field : fields_) {
    if (field.kind != FieldKind::Label && field.kind != FieldKind::Button && FieldChanged(field.name)) return true;
  }
  return false;
}

bool EditorForm::Change(FormField& field, const FormField& before) {
  if (SameValue(field, before)) return true;
  if (OnChanged(field, before)) return true;
  field = before;
  return false;
}

bool EditorForm::SetText(std::string_view name, const std::string& text) {
  FormField* field = FindMutable(name);
  if (field == nullptr || field->kind != FieldKind::Edit || !field->enabled || !field->visible) return false;
  const FormField before = *field;
  field->text = text;
  return Change(*field, before);
}

bool EditorForm::SetChecked(std::string_view name, bool checked) {
  FormField* field = FindMutable(name);
  if (field == nullptr || field->kind != FieldKind::Check || !field->enabled || !field->visible) return false;
  const FormField before = *field;
  field->checked = checked;
  return Change(*field, before);
}

bool EditorForm::Select(std::string_view name, int index) {
  FormField* field = FindMutable(name);
  if (field == nullptr || field->kind != FieldKind::List || !field->enabled || !field->visible) return false;
  if (index < -1 || (index >= 0 && static_cast<size_t>(index) >= field->items.size())) return false;
  const FormField before = *field;
  field->selection = index;
  return Change(*field, before);
}

bool EditorForm::Press(std::string_view name, UserInterface& ui) {
  FormField* field = FindMutable(name);
  if (field == nullptr || field->kind != FieldKind::Button || !field->enabled || !field->visible) return false;
  OnPressed(*field, ui);
  return true;
}

bool EditorForm::Assign(std::string_view name, const std::string& value, std::string& error) {
  const FormField* field = Find(name);
  if (field == nullptr) {
    error = "no such field";
    return false;
  }
  if (!field->enabled || !field->visible) {
    error = "the field is disabled";
    return false;
  }
  bool done = false;
  switch (field->kind) {
    case FieldKind::Edit:
      done = SetText(name, value);
      break;
    case FieldKind::Check: {
      const std::string word = Lower(value);
      bool on = false;
      if (word == "on" || word == "1" || word == "yes" || word == "true") {
        on = true;
      } else if (word != "off" && word != "0" && word != "no" && word != "false") {
        error = "a check box takes on or off";
        return false;
      }
      done = SetChecked(name, on);
      break;
    }
    case FieldKind::List: {
      int index = -1;
      for (size_t i = 0; i < field->items.size(); ++i) {
        if (field->items[i] == value) {
          index = static_cast<int>(i);
          break;
        }
      }
      uint32_t position = 0;
      if (index < 0 && ReadDecimal(value, position) && position < field->items.size()) {
        index = static_cast<int>(position);
      }
      if (index < 0) {
        error = "no such item in the list";
        return false;
      }
      done = Select(name, index);
      break;
    }
    case FieldKind::Label:
    case FieldKind::Button:
      error = "the field is read-only";
      return false;
  }
  if (!done) error = "the dialog refuses this change";
  return done;
}

bool EditorForm::Accept(std::string& message) {
  message.clear();
  if (!Changed()) return true;
  message = Check();
  if (!message.empty()) return false;
  Apply();
  return true;
}

bool EditorForm::OnChanged(FormField& field, const FormField& before) {
  (void)field, (void)before;
  return true;
}

void EditorForm::OnPressed(FormField& field, UserInterface& ui) { (void)field, (void)ui; }

}  // namespace velmar
