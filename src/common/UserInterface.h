#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmar {

class CallbackContext;
class EditorForm;

// What an open or save dialog offers: the default extension ("txt") and the
// filter in the "Name (*.ext)|*.ext|...||" form the commands are written with.
struct FileDialogRequest {
  std::string defaultExtension;
  std::string filter;
  // The folder the dialog opens in (the loaded file's); empty for the toolkit's choice.
  std::string folder;
  // The name a save dialog offers (the loaded file's, with this format's extension).
  std::string fileName;
};

// Result of a selection list when nothing was chosen.
inline constexpr unsigned kNoSelection = 65535;

// Every message box, question, file dialog, selection list and text viewer a
// command uses goes through this interface, so commands run the same with the
// Qt widgets, the command line or a scripted double in tests.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A plain message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A question with OK and Cancel; true for OK.
  virtual bool AskOkCancel(const std::string& text) = 0;
  // The open and save dialogs; no value when cancelled.
  virtual std::optional<std::string> AskOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> AskSaveFile(const FileDialogRequest& request) = 0;
  // The selection list filled by owner->FillContent(list, kind); returns the
  // chosen position, or kNoSelection on cancel or an empty list.
  virtual unsigned SelectItem(CallbackContext* owner, unsigned kind) = 0;
  // The text viewer filled by owner->FillContent(viewer, kind).
  virtual void ShowContent(CallbackContext* owner, unsigned kind) = 0;
  // The modes list filled by owner->FillContent(list, 5).
  virtual void ShowModes(CallbackContext* owner) = 0;
  // The raw data editor over `length` bytes at `rawData`; true when it ended
  // with at least one byte changed.
  virtual bool EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) = 0;
  // The editor dialog of `form`, modal: the user changes fields, and OK runs
  // form.Accept (a refusal shows its message and keeps the dialog open).
  // True when the dialog ended with OK.
  virtual bool EditForm(EditorForm& form) = 0;
};

}  // namespace velmar
