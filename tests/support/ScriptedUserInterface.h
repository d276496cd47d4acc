#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/Callbacks.h"
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
  bool defaultAnswer = true;

  // Record.
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<FileDialogRequest> openDialogs;
  std::vector<FileDialogRequest> saveDialogs;
  std::vector<Shown> selections;
  std::vector<Shown> contents;
  std::vector<Shown> modeLists;
  // Every event in order: "message: ...", "question: ...", "select: <title>", ...
  std::vector<std::string> events;

  void Clear();
};

}  // namespace velmar::testing
