#include "support/ScriptedUserInterface.h"

#include "dialogs/EditorForm.h"

namespace velmar::testing {

void ScriptedUserInterface::ShowMessage(const std::string& text) {
  messages.push_back(text);
  events.push_back("message: " + text);
}

bool ScriptedUserInterface::AskOkCancel(const std::string& text) {
  questions.push_back(text);
  events.push_back("question: " + text);
  if (answers.empty()) return defaultAnswer;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedUserInterface::AskOpenFile(const FileDialogRequest& request) {
  openDialogs.push_back(request);
  events.push_back("open: " + request.defaultExtension);
  if (openPaths.empty()) return std::nullopt;
  auto path = openPaths.front();
  openPaths.pop_front();
  return path;
}

std::optional<std::string> ScriptedUserInterface::AskSaveFile(const FileDialogRequest& request) {
  saveDialogs.push_back(request);
  events.push_back("save: " + request.defaultExtension);
  if (savePaths.empty()) return std::nullopt;
  auto path = savePaths.front();
  savePaths.pop_front();
  return path;
}

unsigned ScriptedUserInterface::SelectItem(CallbackContext* owner, unsigned kind) {
  Shown shown;
  shown.kind = kind;
  if (owner != nullptr) owner->FillContent(&shown.content, kind);
  events.push_back("select: " + shown.content.title);
  const size_t items = shown.content.items.size();
  selections.push_back(std::move(shown));
  if (scriptedChoice != nullptr && scriptedChoice->Pending()) return scriptedChoice->Answer(owner, kind);
  if (choices.empty()) return kNoSelection;
  const unsigned choice = choices.front();
  choices.pop_front();
  // Like the real list: only a position of the list can be chosen.
  return choice < items ? choice : kNoSelection;
}

void ScriptedUserInterface::ShowContent(CallbackContext* owner, unsigned kind) {
  Shown shown;
  shown.kind = kind;
  if (owner != nullptr) owner->FillContent(&shown.content, kind);
  events.push_back("content: " + shown.content.title);
  contents.push_back(std::move(shown));
}

void ScriptedUserInterface::ShowModes(CallbackContext* owner) {
  Shown shown;
  shown.kind = kContentModes;
  if (owner != nullptr) owner->FillContent(&shown.content, kContentModes);
  events.push_back("modes");
  modeLists.push_back(std::move(shown));
}

bool ScriptedUserInterface::EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) {
  (void)owner;
  events.push_back("raw editor");
  if (rawEdits.empty()) return false;
  bool changed = false;
  for (const ByteEdit& edit : rawEdits.front()) {
    if (edit.index < length && rawData[edit.index] != edit.value) {
      rawData[edit.index] = edit.value;
      changed = true;
    }
  }
  rawEdits.pop_front();
  return changed;
}

bool ScriptedUserInterface::EditForm(EditorForm& form) {
  forms.push_back(form.Caption());
  events.push_back("form: " + form.Caption());
  if (scriptedChoice != nullptr && scriptedChoice->FormPending()) return scriptedChoice->AnswerForm(form);
  if (formAnswers.empty()) return false;
  const FormAnswer answer = formAnswers.front();
  formAnswers.pop_front();
  for (const auto& [name, value] : answer.assignments) {
    std::string error;
    if (!form.Assign(name, value, error)) events.push_back("refused: " + name);
  }
  for (const std::string& name : answer.presses) {
    if (!form.Press(name, *this)) events.push_back("refused: " + name);
  }
  if (!answer.ok) return false;
  std::string message;
  if (form.Accept(message)) return true;
  ShowMessage(message);
  return false;
}

void ScriptedUserInterface::Clear() {
  messages.clear();
  questions.clear();
  openDialogs.clear();
  saveDialogs.clear();
  selections.clear();
  contents.clear();
  modeLists.clear();
  forms.clear();
  events.clear();
}

}  // namespace velmar::testing
