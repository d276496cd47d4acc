#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Callbacks.h"
#include "common/ScriptedChoice.h"
#include "common/UserInterface.h"

namespace velmar::testing {

// A user-interface double for headless tests of whole commands. It records
// every message, question, dialog and shown content, and answers questions,
// choices and file dialogs from scripted queues. An unscripted question is
// answered with `defaultAnswer`, an unscripted choice with kNoSelection, an
// unscripted file dialog with a cancel.
class ScriptedUserInterface : public UserInterface {
 public:
  // One shown text viewer, modes list or selection list, with what filled it.
  struct Shown {
    unsigned kind = 0;
    ContentCollector content;
  };

  void ShowMessage(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override;
  unsigned SelectItem(CallbackContext* owner, unsigned kind) override;
  void ShowContent(CallbackContext* owner, unsigned kind) override;
  void ShowModes(CallbackContext* owner) override;
  bool EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) override;
  // Runs the next scripted form answer: its assignments in order (an
  // assignment the form refuses is recorded as "refused: <field>"), then OK
  // or Cancel. A refused OK records the form's message like a message box and
  // the dialog, as the user would then give up, ends with Cancel. An
  // unscripted form is cancelled.
  bool EditForm(EditorForm& form) override;

  // Script.
  std::deque<bool> answers;
  std::deque<unsigned> choices;
  std::deque<std::optional<std::string>> openPaths;
  std::deque<std::optional<std::string>> savePaths;
  // Applied by EditRawData: each edit writes `value` at `index`; the result is
  // whether any byte changed.
  struct ByteEdit {
    unsigned index;
    uint8_t value;
  };
  std::deque<std::vector<ByteEdit>> rawEdits;
  // Answers of EditForm, in the order the forms open (a sub-form opened from
  // a form takes the next answer).
  struct FormAnswer {
    std::vector<std::pair<std::string, std::string>> assignments;  // field name, value text
    std::vector<std::string> presses;                               // buttons pressed after the assignments
    bool ok = true;
  };
  std::deque<FormAnswer> formAnswers;
  // While it holds an answer, it answers the next selection list by item text
  // (before `choices`), and while it holds a form answer, the forms opened
  // (before `formAnswers`).
  ScriptedChoice* scriptedChoice = nullptr;
  bool defaultAnswer = true;

  // Record.
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<FileDialogRequest> openDialogs;
  std::vector<FileDialogRequest> saveDialogs;
  std::vector<Shown> selections;
  std::vector<Shown> contents;
  std::vector<Shown> modeLists;
  // The caption of every form shown, in order.
  std::vector<std::string> forms;
  // Every event in order: "message: ...", "question: ...", "select: <title>", ...
  std::vector<std::string> events;

  void Clear();
};

}  // namespace velmar::testing
