#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "common/ScriptedChoice.h"
#include "common/UserInterface.h"
#include "dialogs/ModeTable.h"

namespace velmar::cli {

// Standard output and standard error of the tool. Documents arrive with the
// program's CR LF line ends; they print with LF unless CR LF was asked for.
class ConsoleOutput {
 public:
  ConsoleOutput(std::FILE* out, std::FILE* err, bool crlf);
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  void SetCrlf(bool crlf) { crlf_ = crlf; }
  bool Crlf() const { return crlf_; }

  // A piece of a document; a CR LF pair may be split across two calls.
  void Text(std::string_view text);
  // One line, followed by the line end.
  void Line(std::string_view line);
  // One line of `count` cells with a tab between each two.
  void Cells(const std::string* cells, size_t count);
  // A message on standard error, on one line: line breaks inside it become
  // blanks. Standard output is flushed first so that both keep their order
  // when they go to the same place.
  void Message(std::string_view text);
  // Flushes standard output; false when anything written to it was lost.
  bool Finish();

 private:
  void FlushPendingCr();
  // Printed text is gathered here and handed to the stream in large pieces.
  void Put(std::string_view bytes);
  void Drain();

  static constexpr size_t kBufferSize = 1 << 16;

  std::FILE* out_;
  std::FILE* err_;
  bool crlf_;
  bool pendingCr_ = false;
  // kBufferSize bytes, of which used_ hold text not yet handed on.
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
};

// The user interface of the command line: message boxes print on standard
// error, the text viewer and the modes list print on standard output. A
// script cannot answer, so questions go on (OK) and choices and file dialogs
// and forms are cancelled, unless a script answers them.
class ConsoleUserInterface : public UserInterface {
 public:
  explicit ConsoleUserInterface(ConsoleOutput& output) : output_(output) {}

  void ShowMessage(const std::string& text) override { output_.Message(messagePrefix_ + text); }
  // What every message starts with from now on ("NAME: " while a run over
  // several files is at NAME); empty for nothing.
  void SetMessagePrefix(std::string prefix) { messagePrefix_ = std::move(prefix); }
  const std::string& MessagePrefix() const { return messagePrefix_; }
  bool AskOkCancel(const std::string& text) override {
    (void)text;
    return true;
  }
  std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override {
    (void)request;
    return std::nullopt;
  }
  std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override {
    (void)request;
    return std::nullopt;
  }
  // A choice that a script set answers the list; any other list is cancelled.
  unsigned SelectItem(CallbackContext* owner, unsigned kind) override {
    if (choice_ != nullptr && choice_->Pending()) return choice_->Answer(owner, kind);
    return kNoSelection;
  }
  // Where the answers of a script's selection lists come from (null: none).
  void SetScriptedChoice(ScriptedChoice* choice) { choice_ = choice; }
  // Prints the document of `kind` (the viewer's caption is not printed).
  void ShowContent(CallbackContext* owner, unsigned kind) override;
  // Prints a header line with the 21 column headings, then one line per mode in
  // the list's opening order; cells are separated by tabs.
  void ShowModes(CallbackContext* owner) override;
  bool EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) override {
    (void)owner, (void)rawData, (void)length;
    return false;
  }
  // No dialog runs on a console: a form opened here is cancelled, unless a
  // script answers it.
  bool EditForm(EditorForm& form) override {
    return choice_ != nullptr && choice_->FormPending() && choice_->AnswerForm(form);
  }

 private:
  ConsoleOutput& output_;
  std::string messagePrefix_;
  ModeTable modeTable_;
  ScriptedChoice* choice_ = nullptr;
};

}  // namespace velmar::cli
