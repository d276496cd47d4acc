#pragma once

#include <optional>
#include <string>

#include "app/Callbacks.h"
#include "app/EdidImage.h"

namespace velmar {

class UserInterface;

// File dialog filters of the file commands.
extern const char kTxtFilter[];
extern const char kBinFilter[];
extern const char kInfFilter[];
extern const char kRegFilter[];

// The toolkit-free main window: it owns the image and runs every command of
// the menus and buttons through the user-interface interface. The Qt window
// renders its state and forwards the user's clicks here.
class MainWindowCore : public CallbackContext {
 public:
  explicit MainWindowCore(UserInterface& ui);
  ~MainWindowCore() override;
  MainWindowCore(const MainWindowCore&) = delete;
  MainWindowCore& operator=(const MainWindowCore&) = delete;

  EdidImage& Image() { return image; }
  const EdidImage& Image() const { return image; }
  UserInterface& Ui() const { return ui; }

  // Start-up of the window once it exists: buttons and the source "None".
  void Initialize();

  // The unsaved-data question; true when the command may go on.
  bool ConfirmDiscard();

  // "File" menu.
  void LoadTxtFile();
  void SaveTxtFile();
  void LoadBinFile();
  void SaveBinFile();

  // Buttons.
  void AddBlock() { image.AddBlock(); }
  void RemoveBlock() { image.RemoveBlock(); }
  void ShowModes();
  void ShowSummary();
  void EditRawData();
  // "Misc" menu.
  void GenerateErrorsReport();

  // Writes `contents` to `path`; on success records the source and clears the
  // modified state, otherwise shows why and changes nothing.
  bool SaveToFile(const std::string& path, const std::string& contents, SourceKind kind);

  // CallbackContext
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;
  void RelayoutBlocks() override;
  void SetModified() override;

 private:
  std::optional<std::string> AskOpen(const char* extension, const char* filter);
  std::optional<std::string> AskSave(const char* extension, const char* filter);

  UserInterface& ui;
  EdidImage image;
};

}  // namespace velmar
